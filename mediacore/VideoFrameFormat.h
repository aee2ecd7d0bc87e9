#pragma once

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

#include <cstdint>

namespace mediacore {

// What a chain of video filters is fed: the decoded frames' shape and clock.
struct VideoFrameFormat {
    int width = 0;
    int height = 0;
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;
    AVRational timeBase{1, 25};    // of the frames' pts
    AVRational sampleAspect{1, 1}; // 0/1 is read as square
    AVRational frameRate{0, 1};    // average rate, 0/1 when unknown
    int rotation = 0;              // clockwise display rotation stored with the stream: 0, 90, 180 or 270
    bool mirrored = false;         // the stream's display matrix also mirrors left to right, after the rotation
};

} // namespace mediacore
