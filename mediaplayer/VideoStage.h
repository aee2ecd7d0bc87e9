#pragma once

#include "ConvertSettings.h"
#include "Decoder.h"
#include "FfmpegOwners.h"
#include "FilterGraph.h"
#include "NalUnits.h"
#include "PictureConverter.h"

#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace mediacore {
class Demuxer;
}
class VideoFrameQueue;

// The video half of the decoding thread: decodes one stream, finds the exact frame a seek asks for, runs the
// edits through the engine's filter-graph builder (upright first, as the export sees it) and queues the pictures
// scaled for the view.
//
// Frame times inside are the stream's ticks as the demuxer reads them. The graph runs on the file's timeline
// (0 = the file's start, as an export without a cut): the subtitle renderer takes its cue times from the
// pictures' own, and watermark windows are given on that timeline too, so every timed edit lands where the
// export puts it whatever position playback starts from.
class VideoStage {
public:
    VideoStage(const mediacore::Demuxer& demuxer, int streamIndex, VideoFrameQueue& queue);

    int open();
    int streamIndex() const { return _stream; }
    int decoderThreads() const;

    // The edits for the pictures made from now on (the graph is rebuilt before the next frame).
    void setEdits(std::shared_ptr<const mediacore::ConvertSettings> edits, uint64_t version);
    void setSerial(uint64_t serial) { _serial = serial; }
    // The size the view shows pictures in, in device pixels; asked for every picture.
    void setDisplayBox(std::function<QSize()> box) { _displayBox = std::move(box); }

    // Forgets what was decoded: the demuxer has jumped to the key frame before jumpUs.
    void reset(int64_t jumpUs);
    // From now on, frames before the one on screen at targetUs are decoded and dropped; that one is queued as the
    // seek's result (emitResult) or dropped too (the caller shows it already), and the frames after it follow.
    void beginSeek(int64_t targetUs, bool emitResult);
    // The frame the seek asks for has this pts (the latest at or before the target among the packets read ahead):
    // packets before it are decoded only where other frames refer to them.
    void setTargetPts(int64_t ticks);
    bool seeking() const { return _seeking; }
    // The seek got past its target, but the frame on screen there was skipped (on the way to a seek before):
    // decoding stops until the target's packets are looked for, which finds that frame skipped.
    bool parked() const { return _seeking && _parked; }
    // A seek to targetUs can carry on from where decoding stands instead of jumping back to a key frame.
    bool canContinueTo(int64_t targetUs) const;
    // The frame at `ticks` lies ahead of the last decoded one but was skipped (nothing referred to it): a seek
    // to it has to start again from its key frame.
    bool wasSkipped(int64_t ticks) const;
    // While seeking: queues the best frame found so far (the latest at or before the target) as a preview. False
    // when there is none yet, or it is the picture queued last (already on screen).
    bool queuePreview();
    // That frame lies at most this far before the target.
    bool candidateWithin(int64_t us) const;
    // The same, only when the picture queued last (the one on screen) lies more than this far from the target,
    // and that frame nearer.
    bool queuePreviewIfNearer(int64_t fartherThanUs);
    // The latest pts at or before `ticks` among the frames decoded, still inside the decoder, or skipped since the
    // last one out; AV_NOPTS_VALUE when none.
    int64_t latestAtOrBefore(int64_t ticks) const;

    // Decodes one packet; nullptr drains the decoder and the graph at the end of the stream.
    int decode(const AVPacket* packet);
    bool finished() const { return _finished; }

    // Renders an already decoded frame again with the current edits and queues it as a seek result.
    void renderStill(const std::shared_ptr<AVFrame>& decoded);

private:
    void receive(mediacore::FramePtr frame);
    void finishSeek(std::shared_ptr<AVFrame> result, bool isTarget);
    enum class Role { Playback, SeekResult, Preview };
    void queuePicture(const std::shared_ptr<AVFrame>& decoded, Role role);
    void dropGraph();
    void dropGraphForNewRun();
    int ensureGraph(const AVFrame* frame);
    int buildGraph(const AVFrame* frame, const mediacore::ConvertSettings& edits);
    void pullPictures(const std::shared_ptr<AVFrame>& decoded);
    int64_t targetTicks(int64_t us) const;
    int64_t spanUs(int64_t ticks) const; // a length in the stream's ticks, in µs
    bool skippedAtOrBefore(int64_t ticks) const;
    bool leaveOut(const AVPacket* packet) const; // a packet nothing refers to, plainly so

    const mediacore::Demuxer& _demuxer;
    const int _stream;
    VideoFrameQueue& _queue;
    mediacore::Decoder _decoder;
    // H.264 / HEVC stored with length-prefixed units: packets nothing refers to can be told apart before they
    // reach the decoder.
    mediacore::NalUnits _units;
    bool _unitsKnown = false;
    PictureConverter _converter{PictureConverter::Quality::View};
    std::function<QSize()> _displayBox;
    uint64_t _serial = 0;
    int64_t _fileStartTicks = 0;  // the file's start in stream ticks
    int64_t _frameDurationUs = 0; // from the stream's average rate

    std::shared_ptr<const mediacore::ConvertSettings> _edits;
    uint64_t _editsVersion = 0;
    mediacore::FilterGraph _graph;
    uint64_t _graphVersion = 0; // edits the graph was built with
    int _graphWidth = 0, _graphHeight = 0, _graphFormat = -1;
    uint64_t _failedVersion = 0;   // edits whose graph would not build (logged once)
    bool _graphTakesJumps = false; // the graph keeps no state across frames, so a seek need not rebuild it
    // Where the graph's time 0 lies on the file's timeline (µs): 0, or, for a graph with a watermark movie, the
    // frame its run of pictures began with.
    int64_t _graphStartUs = 0;
    Role _pendingRole = Role::Playback; // of the next picture out of the graph

    bool _seeking = false;
    bool _parked = false;
    bool _emitResult = true;
    int64_t _seekTarget = 0;             // ticks
    int64_t _targetPts;                  // ticks, AV_NOPTS_VALUE: not known yet
    std::shared_ptr<AVFrame> _candidate; // the latest frame at or before the target so far
    std::shared_ptr<AVFrame> _lastDecoded;
    int64_t _queuedPts;             // ticks of the picture queued last; AV_NOPTS_VALUE: none yet
    std::vector<int64_t> _inFlight; // pts of packets sent to the decoder whose frames have not come out yet
    std::vector<int64_t> _skipped;  // pts of frames skipped (nothing refers to them) after the last one out
    int64_t _jumpKey;               // ticks of the key frame decoding starts from after a jump; AV_NOPTS_VALUE
                                    // when not known
    // The presentation time of the key frame a decoder starts from for the frame shown at `ticks`.
    int64_t keyFrameAtOrBefore(int64_t ticks) const;
    void learnKeyIndexLag(const AVPacket* packet);
    // How far a key frame is shown after the time its index entry gives: some containers (MP4) index by decoding
    // time, which runs ahead of presentation by the reordering delay; the demuxer's seek goes by presentation.
    int64_t _keyIndexLag = 0;
    bool _finished = false;
};
