#pragma once

extern "C" {
#include <libavutil/rational.h>
#include <libavutil/samplefmt.h>
}

#include <cstdint>

namespace mediacore {

// What a chain of audio filters is fed: the decoded frames' shape and clock.
struct AudioFrameFormat {
    int sampleRate = 0;
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_NONE;
    int channels = 0;
    uint64_t channelMask = 0;      // native channel mask; 0 takes FFmpeg's default layout for `channels`
    AVRational timeBase{1, 48000}; // of the frames' pts
};

} // namespace mediacore
