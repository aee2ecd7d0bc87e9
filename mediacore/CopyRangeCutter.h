#pragma once

#include <cstdint>
#include <deque>
#include <vector>

namespace mediacore {

// Chooses, packet by packet in file order, which packets of one clip a stream-copy join keeps.
//
// Copied video can start only at a key frame, and a piece that stops right before a key frame ends cleanly. So
// each end of a clip's range moves to the key frame nearest to it (or to the file's end): two ranges of one file
// then never overlap, and whatever lies between them stays out. A piece is never empty: when both ends meet
// the same key frame, the group of pictures from that key frame is kept. Non-key pictures that follow the first
// key frame but show before it (an open group of pictures) need the previous group and are dropped. Sound is
// kept packet by packet where the middle of the packet lies in the piece; without video the range itself is
// cut that way. A range from the file's start keeps everything before the first key frame's time as well
// (the encoder delay of compressed sound shows as packets a little before 0).
//
// Each packet the caller pushes ends up, exactly once, in `keep` (write it now, in that order) or in `drop`.
class CopyRangeCutter {
public:
    struct Packet {
        bool video = false;
        bool key = false;
        int64_t ptsUs = 0; // presentation time on the file's timeline
        int64_t durationUs = 0;
    };
    struct Decisions {
        std::vector<uint64_t> keep;
        std::vector<uint64_t> drop;
    };

    static constexpr int64_t kToEnd = INT64_MAX;

    // startUs <= 0: from the file's start; stopUs kToEnd: to its end.
    CopyRangeCutter(int64_t startUs, int64_t stopUs, bool hasVideo, bool hasAudio);

    void push(uint64_t id, const Packet& packet, Decisions& out);
    // The end of the file: fileEndUs is where the last video picture ends.
    void finish(int64_t fileEndUs, Decisions& out);

    // Nothing further will be kept: the caller may stop reading.
    bool done() const { return _phase == Phase::Done; }
    // Where the piece starts on the file's timeline; known once the first packet is kept.
    bool started() const { return _started; }
    int64_t pieceStartUs() const { return _pieceStartUs; }

private:
    enum class Phase { Seeking, Running, Ending, Done };
    struct Held {
        uint64_t id;
        Packet packet;
    };

    static int64_t middle(const Packet& p) { return p.ptsUs + p.durationUs / 2; }

    void pushVideo(uint64_t id, const Packet& packet, Decisions& out);
    void pushAudio(uint64_t id, const Packet& packet, Decisions& out);
    void pushSoundOnly(uint64_t id, const Packet& packet, Decisions& out);
    void startPiece(int64_t startUs);
    void keyFrameWhileRunning(uint64_t id, const Packet& packet, Decisions& out);
    void endAt(int64_t endUs, bool keepGroup, Decisions& out);
    void releaseGroup(Decisions& out);
    void dropGroup(Decisions& out);
    void releaseAudio(int64_t limitUs, Decisions& out);

    int64_t _startUs;
    int64_t _stopUs;
    bool _hasVideo;
    bool _hasAudio;
    bool _fromBeginning;
    Phase _phase = Phase::Seeking;

    std::vector<Held> _group; // video from the latest key frame: a start candidate, or a possible end
    int64_t _groupStartUs = 0;
    bool _haveGroup = false;
    bool _groupIsFirst = false; // the piece's first group: always kept
    std::deque<Held> _audio;    // sound waiting until the video shows how far the piece reaches

    bool _started = false;
    int64_t _pieceStartUs = 0;
    int64_t _committedUs = INT64_MIN; // the piece surely reaches this far (start of the open group)
    int64_t _pieceEndUs = kToEnd;
    int64_t _earliestAudioUs = INT64_MAX;
};

} // namespace mediacore
