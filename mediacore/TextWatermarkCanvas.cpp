#include "TextWatermarkCanvas.h"

#include "EngineLog.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace mediacore {

bool TextWatermarkCanvas::draw(DRAW_TEXT_CALLBACK callback, const TEXT_WATERMARK_PARAM& text, int width, int height,
                               Drawn& drawn) {
    if (!callback || width <= 0 || height <= 0)
        return false;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    std::vector<uint8_t> canvas(rowBytes * static_cast<size_t>(height), 0);
    callback(width, height, canvas.data(), text);

    // The box of touched pixels, widened to even coordinates so 4:2:0 chroma lines up with the picture's.
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(canvas.data() + rowBytes * y);
        for (int x = 0; x < width; ++x) {
            if (row[x] == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return false;
    left &= ~1;
    top &= ~1;
    right = std::min(width - 1, right | 1);
    bottom = std::min(height - 1, bottom | 1);

    FramePtr picture = makeFrame();
    picture->width = right - left + 1;
    picture->height = bottom - top + 1;
    picture->format = AV_PIX_FMT_BGRA;
    int rc = av_frame_get_buffer(picture.get(), 0);
    if (rc < 0) {
        EngineLog::failure("allocate text watermark", rc);
        return false;
    }
    for (int y = 0; y < picture->height; ++y)
        std::memcpy(picture->data[0] + static_cast<ptrdiff_t>(y) * picture->linesize[0],
                    canvas.data() + rowBytes * (top + y) + static_cast<size_t>(left) * 4,
                    static_cast<size_t>(picture->width) * 4);
    drawn.picture = std::move(picture);
    drawn.x = left;
    drawn.y = top;
    return true;
}

} // namespace mediacore
