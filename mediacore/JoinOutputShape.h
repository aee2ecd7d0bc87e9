#pragma once

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

namespace mediacore {

// What every clip of a re-encoded join is brought to before the clips are put together: the output's picture
// size, frame rate and working pixel format, and its sample rate and channels (sound is worked on as planar float).
struct JoinOutputShape {
    bool video = false;
    int width = 0;
    int height = 0;
    AVRational frameRate{25, 1};
    AVPixelFormat pixelFormat = AV_PIX_FMT_YUV420P; // one FrameCompositor can work on

    bool audio = false;
    int sampleRate = 44100;
    int channels = 2;
};

} // namespace mediacore
