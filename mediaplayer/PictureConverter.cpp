#include "PictureConverter.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

namespace {

int swsColourspace(AVColorSpace space) {
    switch (space) {
    case AVCOL_SPC_BT709:
        return SWS_CS_ITU709;
    case AVCOL_SPC_FCC:
        return SWS_CS_FCC;
    case AVCOL_SPC_SMPTE240M:
        return SWS_CS_SMPTE240M;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
        return SWS_CS_BT2020;
    default:
        return SWS_CS_ITU601;
    }
}

bool hasAlpha(int format) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format));
    return descriptor && (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA);
}

bool isYuv(int format) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format));
    return descriptor && !(descriptor->flags & AV_PIX_FMT_FLAG_RGB) && descriptor->nb_components >= 3;
}

// The older "full range" pixel formats (yuvj420p, ...) stand for their plain twins with full-range samples.
AVPixelFormat plainFormat(AVPixelFormat format, bool* fullRange) {
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
        *fullRange = true;
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        *fullRange = true;
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        *fullRange = true;
        return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
        *fullRange = true;
        return AV_PIX_FMT_YUV440P;
    default:
        return format;
    }
}

} // namespace

void PictureConverter::SwsDeleter::operator()(SwsContext* context) const {
    sws_freeContext(context);
}

PictureConverter::PictureConverter(Quality quality) : _flags(quality == Quality::View ? SWS_BILINEAR : SWS_BICUBIC) {}
PictureConverter::~PictureConverter() = default;

QSize PictureConverter::fittedSize(const AVFrame* frame, QSize box) {
    if (!frame || frame->width <= 0 || frame->height <= 0)
        return {};
    double width = frame->width;
    const double height = frame->height;
    if (frame->sample_aspect_ratio.num > 0 && frame->sample_aspect_ratio.den > 0)
        width = width * frame->sample_aspect_ratio.num / frame->sample_aspect_ratio.den;
    if (box.width() <= 0 || box.height() <= 0)
        return QSize(std::max(1, int(std::lround(width))), frame->height);
    const double scale = std::min(box.width() / width, box.height() / height);
    return QSize(std::max(1, int(std::lround(width * scale))), std::max(1, int(std::lround(height * scale))));
}

QImage PictureConverter::toImage(const AVFrame* frame, QSize size) {
    if (!frame || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    if (toBgra(frame, size.width(), size.height(), image.bits(), static_cast<int>(image.bytesPerLine())) < 0)
        return {};
    return image;
}

int PictureConverter::toBgra(const AVFrame* frame, int width, int height, uint8_t* pixels, int stride) {
    if (!frame || width <= 0 || height <= 0 || !pixels || stride < width * 4)
        return AVERROR(EINVAL);
    bool fullRange = frame->color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat source = plainFormat(static_cast<AVPixelFormat>(frame->format), &fullRange);
    SwsContext* context = sws_getCachedContext(_context.release(), frame->width, frame->height, source, width, height,
                                               AV_PIX_FMT_BGRA, _flags, nullptr, nullptr, nullptr);
    _context.reset(context);
    if (!context)
        return AVERROR(EINVAL);
    if (isYuv(source)) {
        const int* coefficients = sws_getCoefficients(swsColourspace(frame->colorspace));
        sws_setColorspaceDetails(context, coefficients, fullRange ? 1 : 0, sws_getCoefficients(SWS_CS_DEFAULT), 1, 0,
                                 1 << 16, 1 << 16);
    }
    uint8_t* planes[4] = {pixels, nullptr, nullptr, nullptr};
    int strides[4] = {stride, 0, 0, 0};
    int rows = sws_scale(context, frame->data, frame->linesize, 0, frame->height, planes, strides);
    if (rows <= 0)
        return AVERROR(EINVAL);
    if (hasAlpha(frame->format)) {
        for (int y = 0; y < height; ++y) {
            uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * stride;
            for (int x = 0; x < width; ++x) {
                uint8_t* p = row + x * 4;
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<uint8_t>((p[c] * p[3] + 127) / 255);
            }
        }
    }
    return 0;
}
