#include "MediaFile.h"

#include "DecodableSeek.h"
#include "EngineLog.h"
#include "FilterGraph.h"
#include "FilterGraphBuilder.h"
#include "StreamRecords.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <cstring>

namespace mediacore {

int MediaFile::open(const std::string& path) {
    std::lock_guard lock(_mutex);
    return _demuxer.open(path);
}

const std::vector<int64_t>& MediaFile::bitRates() {
    if (!_bitRates)
        _bitRates = StreamRecords::bitRates(_demuxer);
    return *_bitRates;
}

int MediaFile::info(AUDIO_STREAM_INFO* audio, VIDEO_STREAM_INFO* video) {
    std::lock_guard lock(_mutex);
    if (!_demuxer.context())
        return AVERROR(EINVAL);
    const std::vector<int64_t>& rates = bitRates();
    if (audio) {
        std::memset(audio, 0, sizeof *audio);
        int index = _demuxer.firstAudioStream();
        if (index >= 0)
            StreamRecords::fillAudio(_demuxer, index, rates[index], *audio);
    }
    if (video) {
        std::memset(video, 0, sizeof *video);
        int index = _demuxer.firstVideoStream();
        if (index >= 0)
            StreamRecords::fillVideo(_demuxer, index, rates[index], *video);
    }
    return 0;
}

int64_t MediaFile::durationUs() const {
    std::lock_guard lock(_mutex);
    return _demuxer.context() ? _demuxer.durationUs() : 0;
}

int MediaFile::decodeFrameAt(int streamIndex, int64_t timeUs, FramePtr& shown) {
    int rc = DecodableSeek::seek(_demuxer, streamIndex, timeUs);
    if (rc < 0)
        return rc;
    _videoDecoder.reset();
    const int64_t target = _demuxer.toTicks(streamIndex, timeUs);
    PacketPtr packet = makePacket();
    FramePtr frame = makeFrame();
    bool draining = false;
    while (true) {
        if (!draining) {
            rc = _demuxer.read(packet.get());
            if (rc < 0) {
                draining = true;
                _videoDecoder.push(nullptr);
            } else if (packet->stream_index != streamIndex) {
                av_packet_unref(packet.get());
                continue;
            } else {
                rc = _videoDecoder.push(packet.get());
                av_packet_unref(packet.get());
                if (rc < 0 && rc != AVERROR(EAGAIN))
                    return EngineLog::failure("decode", rc, _demuxer.path());
            }
        }
        while ((rc = _videoDecoder.pull(frame.get())) >= 0) {
            // The frame on screen at the target is the last one at or before it; the first frame stands in for
            // a time before it.
            if (frame->pts != AV_NOPTS_VALUE && frame->pts > target && shown)
                return 0;
            shown = std::move(frame);
            frame = makeFrame();
            if (shown->pts != AV_NOPTS_VALUE && shown->pts >= target)
                return 0;
        }
        if (rc == AVERROR_EOF || (draining && rc == AVERROR(EAGAIN)))
            break;
        if (rc != AVERROR(EAGAIN))
            return EngineLog::failure("decode", rc, _demuxer.path());
    }
    return shown ? 0 : EngineLog::failure("snapshot", AVERROR_INVALIDDATA, "no frame decoded: " + _demuxer.path());
}

int MediaFile::snapshot(int64_t timeUs, int width, int height, uint8_t* pixels) {
    std::lock_guard lock(_mutex);
    if (!_demuxer.context() || width <= 0 || height <= 0 || !pixels)
        return EngineLog::failure("snapshot", AVERROR(EINVAL));
    const int index = _demuxer.firstVideoStream();
    if (index < 0)
        return EngineLog::failure("snapshot", AVERROR_STREAM_NOT_FOUND, "no video: " + _demuxer.path());
    if (!_videoDecoder.isOpen()) {
        int rc = _videoDecoder.open(_demuxer.stream(index));
        if (rc < 0)
            return rc;
    }
    int64_t duration = _demuxer.durationUs();
    int64_t time = std::max<int64_t>(0, duration > 0 ? std::min(timeUs, duration) : timeUs);
    FramePtr frame;
    int rc = decodeFrameAt(index, time, frame);
    if (rc < 0)
        return rc;

    const AVStream* stream = _demuxer.stream(index);
    VideoFrameFormat source;
    source.width = frame->width;
    source.height = frame->height;
    source.pixelFormat = static_cast<AVPixelFormat>(frame->format);
    source.timeBase = stream->time_base;
    source.sampleAspect = frame->sample_aspect_ratio;
    source.rotation = StreamRecords::rotation(stream);
    source.mirrored = StreamRecords::mirrored(stream);
    VideoTarget target;
    target.width = width;
    target.height = height;
    target.pixelFormats = {AV_PIX_FMT_BGRA};
    target.applyStreamRotation = true;
    ConvertSettings noEdits;
    FilterGraph graph;
    rc = graph.open(FilterGraphBuilder(noEdits).video(source, target));
    if (rc < 0)
        return rc;
    FramePtr picture = makeFrame();
    if ((rc = graph.push(frame.get())) < 0 || (rc = graph.push(nullptr)) < 0 || (rc = graph.pull(picture.get())) < 0)
        return EngineLog::failure("snapshot filter", rc, _demuxer.path());
    if (picture->width != width || picture->height != height)
        return EngineLog::failure("snapshot", AVERROR_BUG, "unexpected picture size");

    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(source.pixelFormat);
    const bool alpha = descriptor && (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels + static_cast<size_t>(y) * width * 4;
        std::memcpy(row, picture->data[0] + static_cast<ptrdiff_t>(y) * picture->linesize[0],
                    static_cast<size_t>(width) * 4);
        if (alpha)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    row[x * 4 + c] = static_cast<uint8_t>((row[x * 4 + c] * row[x * 4 + 3] + 127) / 255);
    }
    return 0;
}

} // namespace mediacore
