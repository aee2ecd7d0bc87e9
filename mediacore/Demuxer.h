#pragma once

#include "FfmpegOwners.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace mediacore {

// The reading end of a media file: opens it, names its streams, seeks and hands out packets.
//
// Times in µs are on the file's own timeline: 0 is the file's start time (AVFormatContext::start_time), so a
// transport stream that starts at 1.4 s still runs from 0. Each Demuxer owns its own AVFormatContext, so several
// may read one file at once.
class Demuxer {
public:
    Demuxer() = default;
    Demuxer(const Demuxer&) = delete;
    Demuxer& operator=(const Demuxer&) = delete;

    // Opens and probes the file. `stop`, when given, interrupts blocking reads (they return AVERROR_EXIT).
    // Fails on a missing, empty or unreadable file and on one without a decodable audio or video stream.
    int open(const std::string& path, const std::atomic<bool>* stop = nullptr);
    // As open(), but where the container's header states every stream and a believable duration (MP4/MOV,
    // Matroska/WebM) nothing more is read: no packet is demuxed or decoded, so it is cheap enough for a window's
    // main thread. What only decoding tells (a picture's pixel format, a frame rate) is then left out and
    // headerOnly() is true; such a demuxer tells the streams and the duration, not more. Other files are opened
    // as by open().
    int openHeader(const std::string& path);
    bool headerOnly() const { return _headerOnly; }
    // From now on `stop` (null: nothing) interrupts blocking reads, as if given to open(): for a demuxer opened on
    // one thread and read on another.
    void setStop(const std::atomic<bool>* stop);

    AVFormatContext* context() const { return _context.get(); }
    AVStream* stream(int index) const { return _context->streams[index]; }
    const std::string& path() const { return _path; }

    // Video streams that are pictures over time: attached pictures (covers) are left out.
    std::vector<int> videoStreams() const;
    std::vector<int> audioStreams() const;
    int firstVideoStream() const; // -1 when none
    int firstAudioStream() const; // -1 when none

    // The declared duration, or the measured one where the declared one is missing or absurd (see open()).
    int64_t durationUs() const;
    // Whether durationUs() was measured because the header's was missing or absurd.
    bool durationMeasured() const { return _measuredUs > 0; }
    int64_t originUs() const { return _originUs; }

    // Where the file's audio and video content really ends (µs on the file's timeline), read packet by packet from
    // where the demuxer stands to the end, whatever the header declares: 0 when nothing could be read, a
    // negative AVERROR when stopped or when a read failed. Reads the whole file (demuxing only).
    int64_t measureContentEndUs();

    // Seeks every stream to the key frame at or before timeUs (the caller decodes and drops up to the target); with
    // no key frame that early, to the file's start.
    int seek(int64_t timeUs);

    // Back to the file's start: a seek where the file allows it, else the file opened again (a file without an
    // index, such as a truncated Matroska without cues, can only be read from its start once).
    int rewind();

    // The next packet of any stream; AVERROR_EOF at the end, AVERROR_INVALIDDATA where a damaged file's readable
    // part ends (both: endsReading()). A failed read of the file, or a file that shrank while it was read, is a
    // negative AVERROR of its own and fails the reader's job. In formats whose timestamps may jump (MPEG-TS and
    // -PS: a recording whose clock reset, files joined end to end), a jump back, or forward by more than 10 s, is
    // taken out, so the timeline runs on from where it was. In every other format a span of more than 10 s in which
    // no stream has anything is taken out the same way, unless the packets after it come back to the time before
    // it: then the jump was a damaged packet's, and the rest of the file keeps its times.
    int read(AVPacket* packet);
    static bool endsReading(int rc);
    // The time taken out by forward jumps since the last seek or rewind.
    int64_t takenOutUs() const { return _takenOutUs; }

    // A stream's ticks <-> µs on the file's timeline.
    int64_t toTicks(int streamIndex, int64_t timeUs) const;
    int64_t toMicroseconds(int streamIndex, int64_t ticks) const;

private:
    static int interrupted(void* self);

    int seekQuietly(int64_t timeUs);
    // No key frame of the index (the default stream's) lies at or before timeUs.
    bool beforeFirstKeyFrame(int64_t timeUs) const;
    int readFailure(int rc);
    int openContext(const std::string& path, const std::atomic<bool>* stop, bool probeStreams = true);
    bool headerTellsAll() const;
    int measureWhereUnbelievable();
    void forgetJumps();
    bool seesEveryStream() const;
    void stampUntimed(AVPacket* packet);
    void restartUntimed(int64_t timeUs);
    static constexpr int64_t kBackwardJumpUs = 100'000;
    static constexpr int64_t kForwardJumpUs = 10'000'000;

    InputContextPtr _context;
    std::string _path;
    std::atomic<const std::atomic<bool>*> _stop{nullptr}; // looked at by the reader's interrupt callback
    bool _discontinuous = false;                          // the format's timestamps may jump (AVFMT_TS_DISCONT)
    int64_t _jumpOffsetUs = 0; // added to every timestamp after the jumps taken out so far (formats without jumps)
    int64_t _takenOutUs = 0;   // the forward jumps taken out so far
    int64_t _lastJumpUs = 0;   // the last forward jump taken out, until the timeline comes back from it
    int64_t _frontierUs = INT64_MIN;        // the furthest end of any packet read (AV_NOPTS_VALUE: none yet)
    std::vector<int64_t> _nextDtsUs;        // per stream: where its next packet is expected (AV_NOPTS_VALUE: unknown)
    std::vector<int64_t> _streamShiftUs;    // per stream, where timestamps may jump: added to its timestamps
    std::vector<int64_t> _streamTakenOutUs; // per stream, where timestamps may jump: its forward jumps taken out
    int64_t _readStartUs = 0;               // where reading started (the origin, or a seek's target), in µs
    // Per stream: the next packet's time in its ticks while the stream has carried none (AV_NOPTS_VALUE once it has).
    std::vector<int64_t> _untimedNext;
    int64_t _measuredUs = 0;  // > 0: the content's measured end, in place of the header's
    bool _headerOnly = false; // opened by openHeader without reading any packet
    static constexpr int64_t kMeasurableBytes = 256LL << 20;
    int64_t _originUs = 0;
    int64_t _openedSize = 0; // the file's size when it was opened
};

} // namespace mediacore
