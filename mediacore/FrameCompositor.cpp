#include "FrameCompositor.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mediacore {

namespace {
struct Plane {
    int width;
    int height;
};

Plane planeSize(const AVPixFmtDescriptor* d, int plane, int width, int height) {
    bool chroma = (plane == 1 || plane == 2) && !(d->flags & AV_PIX_FMT_FLAG_RGB);
    if (!chroma)
        return {width, height};
    return {AV_CEIL_RSHIFT(width, d->log2_chroma_w), AV_CEIL_RSHIFT(height, d->log2_chroma_h)};
}

int planeCount(AVPixelFormat format) {
    return av_pix_fmt_count_planes(format);
}

FramePtr allocate(int width, int height, AVPixelFormat format) {
    FramePtr frame = makeFrame();
    if (!frame)
        return nullptr;
    frame->width = width;
    frame->height = height;
    frame->format = format;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    return frame;
}

bool fullRange(AVPixelFormat format) {
    return format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P ||
           format == AV_PIX_FMT_YUVJ440P || format == AV_PIX_FMT_YUVJ411P;
}
} // namespace

bool FrameCompositor::composable(AVPixelFormat format) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    if (!d || (d->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL)))
        return false;
    if (!(d->flags & AV_PIX_FMT_FLAG_PLANAR) && d->nb_components > 1)
        return false;
    for (int c = 0; c < d->nb_components; ++c)
        if (d->comp[c].depth != 8 || d->comp[c].step != 1)
            return false;
    return true;
}

FramePtr FrameCompositor::black(int width, int height, AVPixelFormat format) {
    FramePtr frame = allocate(width, height, format);
    if (!frame)
        return nullptr;
    ptrdiff_t lines[4] = {frame->linesize[0], frame->linesize[1], frame->linesize[2], frame->linesize[3]};
    AVColorRange range = fullRange(format) ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
    av_image_fill_black(frame->data, lines, format, range, width, height);
    frame->sample_aspect_ratio = AVRational{1, 1};
    return frame;
}

FramePtr FrameCompositor::centred(const AVFrame* picture, int width, int height) {
    const AVPixelFormat format = static_cast<AVPixelFormat>(picture->format);
    FramePtr canvas = black(width, height, format);
    if (!canvas)
        return nullptr;
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    // Offsets even, so that subsampled chroma lines up with its luma.
    int left = std::max(0, (width - picture->width) / 2) & ~1;
    int top = std::max(0, (height - picture->height) / 2) & ~1;
    for (int p = 0; p < planeCount(format); ++p) {
        Plane in = planeSize(d, p, picture->width, picture->height);
        Plane out = planeSize(d, p, width, height);
        Plane at = planeSize(d, p, left, top);
        int w = std::min(in.width, out.width - at.width);
        int h = std::min(in.height, out.height - at.height);
        if (w <= 0 || h <= 0)
            continue;
        av_image_copy_plane(canvas->data[p] + static_cast<ptrdiff_t>(at.height) * canvas->linesize[p] + at.width,
                            canvas->linesize[p], picture->data[p], picture->linesize[p], w, h);
    }
    return canvas;
}

FramePtr FrameCompositor::transition(const AVFrame* from, const AVFrame* to, int kind, double progress) {
    const AVPixelFormat format = static_cast<AVPixelFormat>(from->format);
    const int width = from->width, height = from->height;
    FramePtr out = allocate(width, height, format);
    if (!out)
        return nullptr;
    out->sample_aspect_ratio = from->sample_aspect_ratio;
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    progress = std::clamp(progress, 0.0, 1.0);
    for (int p = 0; p < planeCount(format); ++p) {
        Plane size = planeSize(d, p, width, height);
        uint8_t* dst = out->data[p];
        const int dstLine = out->linesize[p];
        const uint8_t* a = from->data[p];
        const uint8_t* b = to->data[p];
        const int aLine = from->linesize[p], bLine = to->linesize[p];
        if (kind == 1) {
            // How far the new picture has come in, in this plane's columns.
            int shift = static_cast<int>(std::lround(progress * size.width));
            for (int y = 0; y < size.height; ++y) {
                uint8_t* row = dst + static_cast<ptrdiff_t>(y) * dstLine;
                std::memcpy(row, a + static_cast<ptrdiff_t>(y) * aLine + shift, size.width - shift);
                std::memcpy(row + size.width - shift, b + static_cast<ptrdiff_t>(y) * bLine, shift);
            }
        } else if (kind == 2) {
            int shift = static_cast<int>(std::lround(progress * size.height));
            av_image_copy_plane(dst, dstLine, a + static_cast<ptrdiff_t>(shift) * aLine, aLine, size.width,
                                size.height - shift);
            av_image_copy_plane(dst + static_cast<ptrdiff_t>(size.height - shift) * dstLine, dstLine, b, bLine,
                                size.width, shift);
        } else {
            // Weights in 1/256: exact at both ends, rounded in between.
            const int wb = static_cast<int>(std::lround(progress * 256));
            const int wa = 256 - wb;
            for (int y = 0; y < size.height; ++y) {
                uint8_t* o = dst + static_cast<ptrdiff_t>(y) * dstLine;
                const uint8_t* ra = a + static_cast<ptrdiff_t>(y) * aLine;
                const uint8_t* rb = b + static_cast<ptrdiff_t>(y) * bLine;
                for (int x = 0; x < size.width; ++x)
                    o[x] = static_cast<uint8_t>((ra[x] * wa + rb[x] * wb + 128) >> 8);
            }
        }
    }
    return out;
}

void FrameCompositor::crossfade(float* const* out, const float* const* from, const float* const* to, int channels,
                                int count, double progress, double step) {
    for (int c = 0; c < channels; ++c) {
        double p = progress;
        for (int i = 0; i < count; ++i, p += step) {
            float weight = static_cast<float>(std::clamp(p, 0.0, 1.0));
            out[c][i] = from[c][i] * (1.0f - weight) + to[c][i] * weight;
        }
    }
}

} // namespace mediacore
