#pragma once

#include "FfmpegOwners.h"

#include <cstdint>
#include <vector>

namespace mediacore {

// Keeps exactly the part of a decoded stream that lies in a cut range [start, stop) on the stream's clock.
//
// Video: a frame is shown from its pts until the next frame's, so the range keeps every frame shown during it.
// The frame on screen at `start` (the last one at or before it) is kept and re-stamped to `start`; frames from
// `stop` on are dropped. Audio: samples are cut to the range exactly, splitting frames where needed.
// After a seek to the key frame before `start`, everything before the range is decoded and dropped here.
class ExactCut {
public:
    ExactCut() = default;
    // Ticks of `timeBase`; stopTicks INT64_MAX for "to the end".
    ExactCut(AVRational timeBase, int64_t startTicks, int64_t stopTicks);

    // Passes one decoded video frame; appends the frames to pass on (none, one or two) to `out`.
    void pushVideo(FramePtr frame, std::vector<FramePtr>& out);
    // At the end of the input: the frame held back, if any.
    void flushVideo(std::vector<FramePtr>& out);

    // The part of an audio frame inside the range (the frame itself when wholly inside); nullptr when none.
    FramePtr cutAudio(FramePtr frame);

    // A frame at or past the stop has been seen: nothing more will be kept.
    bool finished() const { return _finished; }

private:
    FramePtr restamped(FramePtr frame) const;

    AVRational _timeBase{1, 1};
    int64_t _start = 0;
    int64_t _stop = INT64_MAX;
    FramePtr _held; // the last frame at or before the start, until the next one shows it is the one on screen
    bool _finished = false;
};

} // namespace mediacore
