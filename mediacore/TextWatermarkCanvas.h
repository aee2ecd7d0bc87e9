#pragma once

#include "FfmpegOwners.h"
#include "libMediaCore.h"

namespace mediacore {

// A text watermark as a picture: the registered draw-text callback draws the text once on a zeroed canvas the
// size of the video picture (BGRA, premultiplied alpha, top row first, rows without padding: the layout the
// callback is promised), on the calling thread. The result is trimmed to the box of the pixels the callback
// touched, so the overlay blends only that part of each frame.
class TextWatermarkCanvas {
public:
    struct Drawn {
        FramePtr picture; // BGRA, premultiplied
        int x = 0;        // its top-left corner in the video picture, pixels
        int y = 0;
    };

    // False when there is nothing to show: no callback, or it drew nothing.
    static bool draw(DRAW_TEXT_CALLBACK callback, const TEXT_WATERMARK_PARAM& text, int width, int height,
                     Drawn& drawn);
};

} // namespace mediacore
