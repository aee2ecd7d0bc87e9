#include "ImageLoader.h"

#include "Decoder.h"
#include "EngineLog.h"
#include "FileAccess.h"

extern "C" {
#include <libavutil/dict.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace mediacore {

namespace {
struct ScalerDeleter {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

struct DictionaryDeleter {
    void operator()(AVDictionary* dictionary) const { av_dict_free(&dictionary); }
};
} // namespace

int ImageLoader::decodeFirst(const std::string& path, FramePtr& decoded) {
    EngineLog::initialise();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return EngineLog::failure("open image", AVERROR(ENOENT), path);
    AVDictionary* options = nullptr;
    AVFormatContext* raw = nullptr;
    int rc = FileAccess::openInput(&raw, path, FileAccess::Kind::Image, &options);
    std::unique_ptr<AVDictionary, DictionaryDeleter> unused(options);
    if (rc < 0)
        return EngineLog::failure("open image", rc, path);
    InputContextPtr input(raw);
    if ((rc = avformat_find_stream_info(raw, nullptr)) < 0)
        return EngineLog::failure("read image", rc, path);
    int stream = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0)
        return EngineLog::failure("open image", AVERROR_INVALIDDATA, "no picture in " + path);
    Decoder decoder;
    if ((rc = decoder.open(raw->streams[stream], 1)) < 0)
        return rc;
    PacketPtr packet = makePacket();
    FramePtr frame = makeFrame();
    bool ended = false;
    while (true) {
        rc = decoder.pull(frame.get());
        if (rc >= 0)
            break;
        if (rc != AVERROR(EAGAIN) || ended)
            return EngineLog::failure("decode image", rc == AVERROR(EAGAIN) ? AVERROR_INVALIDDATA : rc, path);
        rc = av_read_frame(raw, packet.get());
        if (rc < 0) {
            ended = true;
            decoder.push(nullptr);
            continue;
        }
        if (packet->stream_index == stream)
            decoder.push(packet.get());
        av_packet_unref(packet.get());
    }
    if (frame->width <= 0 || frame->height <= 0)
        return EngineLog::failure("decode image", AVERROR_INVALIDDATA, path);
    decoded = std::move(frame);
    return 0;
}

int ImageLoader::probe(const std::string& path, int* width, int* height) {
    FramePtr frame;
    int rc = decodeFirst(path, frame);
    if (rc < 0)
        return rc;
    if (width)
        *width = frame->width;
    if (height)
        *height = frame->height;
    return 0;
}

int ImageLoader::load(const std::string& path, int width, int height, double opacity, FramePtr& picture) {
    if (width <= 0 || height <= 0)
        return EngineLog::failure("load image", AVERROR(EINVAL), std::to_string(width) + "x" + std::to_string(height));
    FramePtr decoded;
    int rc = decodeFirst(path, decoded);
    if (rc < 0)
        return rc;
    std::unique_ptr<SwsContext, ScalerDeleter> scaler(
        sws_getContext(decoded->width, decoded->height, static_cast<AVPixelFormat>(decoded->format), width, height,
                       AV_PIX_FMT_RGBA, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler)
        return EngineLog::failure("scale image", AVERROR(EINVAL), path);
    FramePtr out = makeFrame();
    out->width = width;
    out->height = height;
    out->format = AV_PIX_FMT_RGBA;
    if ((rc = av_frame_get_buffer(out.get(), 0)) < 0)
        return EngineLog::failure("allocate image", rc, path);
    sws_scale(scaler.get(), decoded->data, decoded->linesize, 0, decoded->height, out->data, out->linesize);
    const double factor = std::clamp(opacity, 0.0, 1.0);
    if (factor < 1.0) {
        for (int y = 0; y < height; ++y) {
            uint8_t* row = out->data[0] + static_cast<ptrdiff_t>(y) * out->linesize[0];
            for (int x = 0; x < width; ++x)
                row[x * 4 + 3] = static_cast<uint8_t>(std::lround(row[x * 4 + 3] * factor));
        }
    }
    picture = std::move(out);
    return 0;
}

} // namespace mediacore
