#pragma once

#include "FfmpegOwners.h"
#include "JoinClip.h"
#include "JoinOutputShape.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>

struct AVAudioFifo;

namespace mediacore {

// Reads one clip of a re-encoded join, already in the output's shape: its range decoded exactly (frame-accurate
// cut), pictures turned upright and fitted inside the output size, sound at the output's rate and channels with
// the clip's volume applied. The join asks for one picture per output frame and for sound by the sample; the
// reader picks the picture on screen at each output frame's time (dropping or repeating pictures where the frame
// rates differ) and gives silence where the clip has no sound.
//
// Each stream is read through its own demuxer, so a file whose streams are stored far apart never makes one
// stream's frames pile up while the other is looked for.
class JoinClipReader {
public:
    JoinClipReader(const JoinClip& clip, const JoinOutputShape& shape, const std::atomic<bool>& stop);
    ~JoinClipReader();
    JoinClipReader(const JoinClipReader&) = delete;
    JoinClipReader& operator=(const JoinClipReader&) = delete;

    int open();

    // The picture of the clip's next output frame (the first call gives frame 0 of the clip), fitted inside the
    // output size but not padded; nullptr when the clip has no picture. 0 or a negative AVERROR.
    int nextPicture(FramePtr& picture);

    // The clip's next `count` samples into planar float `planes` (the output's channels); silence where the
    // clip has no sound left. 0 or a negative AVERROR.
    int readSound(float* const* planes, int count);

    // The size a picture of width x height (pixel aspect `sampleAspect`, turned by `rotation` degrees clockwise
    // for display) takes inside a box, keeping its displayed shape: even numbers, the box's own where it nearly fits.
    static std::pair<int, int> fittedSize(int width, int height, AVRational sampleAspect, int rotation, int boxWidth,
                                          int boxHeight);

private:
    struct Lane;
    struct FifoDeleter {
        void operator()(AVAudioFifo* fifo) const;
    };

    int openLane(Lane& lane, int streamIndex);
    int pump(Lane& lane);
    int decodePacket(Lane& lane, const AVPacket* packet);
    int acceptFrame(Lane& lane, FramePtr frame);
    int buildGraph(Lane& lane, const AVFrame* first);
    int endInput(Lane& lane);
    int pullGraph(Lane& lane);
    int deliverSound(AVFrame* frame, AVRational timeBase);
    int queueSilence(int wanted);
    int64_t slotOf(const AVFrame* picture) const;

    const JoinClip& _clip;
    const JoinOutputShape& _shape;
    const std::atomic<bool>& _stop;

    std::unique_ptr<Lane> _video;
    std::unique_ptr<Lane> _audio;
    AVRational _pictureTimeBase{1, 1};
    std::deque<FramePtr> _pictures; // fitted pictures not yet shown, on the clip's timeline
    FramePtr _shown;                // the picture on screen
    int64_t _nextSlot = 0;          // the clip's next output frame
    std::unique_ptr<AVAudioFifo, FifoDeleter> _sound;
    int64_t _soundQueued = 0; // samples put into _sound since the clip's start, silence for gaps included
    int64_t _silenceDue = 0;  // samples of a gap not yet put into _sound
    FramePtr _afterSilence;   // the sound that follows that gap
    AVRational _afterSilenceTimeBase{1, 1};
    static constexpr int kSilenceChunk = 1 << 16;
};

} // namespace mediacore
