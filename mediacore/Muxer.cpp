#include "Muxer.h"

#include "EngineLog.h"
#include "FileAccess.h"

namespace mediacore {

int Muxer::interrupted(void* flag) {
    return static_cast<const std::atomic<bool>*>(flag)->load(std::memory_order_relaxed) ? 1 : 0;
}

int Muxer::open(const std::string& path, const AVOutputFormat* format, const std::atomic<bool>* stop) {
    _path = path;
    _format = format;
    AVFormatContext* raw = nullptr;
    int rc = avformat_alloc_output_context2(&raw, format, nullptr, path.c_str());
    if (rc < 0 || !raw)
        return EngineLog::failure("create output", rc < 0 ? rc : AVERROR(ENOMEM), path);
    _context.reset(raw);
    if (stop) {
        raw->interrupt_callback.callback = &Muxer::interrupted;
        raw->interrupt_callback.opaque = const_cast<std::atomic<bool>*>(stop);
    }
    if (!(format->flags & AVFMT_NOFILE)) {
        rc = FileAccess::openOutput(&raw->pb, path, &raw->interrupt_callback);
        if (rc < 0)
            return EngineLog::failure("open output file", rc, path);
    }
    return 0;
}

int Muxer::addStream(const AVCodecContext* encoder) {
    AVStream* stream = avformat_new_stream(_context.get(), nullptr);
    if (!stream)
        return EngineLog::failure("add output stream", AVERROR(ENOMEM));
    int rc = avcodec_parameters_from_context(stream->codecpar, encoder);
    if (rc < 0)
        return EngineLog::failure("add output stream", rc);
    stream->time_base = encoder->time_base;
    if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        stream->avg_frame_rate = encoder->framerate;
        stream->sample_aspect_ratio = encoder->sample_aspect_ratio;
    }
    return stream->index;
}

int Muxer::addCopiedStream(const AVStream* source) {
    AVStream* stream = avformat_new_stream(_context.get(), nullptr);
    if (!stream)
        return EngineLog::failure("add output stream", AVERROR(ENOMEM));
    int rc = avcodec_parameters_copy(stream->codecpar, source->codecpar);
    if (rc < 0)
        return EngineLog::failure("add output stream", rc);
    // The source container's tag may mean nothing here; the muxer picks its own.
    stream->codecpar->codec_tag = 0;
    // A block size carried over from the source makes AVI store AC-3 and MP3 as fixed-size blocks, and readers
    // then give every packet the same time: those frames are told apart by their own headers.
    AVCodecParameters* par = stream->codecpar;
    if (par->codec_id == AV_CODEC_ID_AC3 ||
        (par->codec_id == AV_CODEC_ID_MP3 &&
         (par->block_align == 1 || par->block_align == 576 || par->block_align == 1152)))
        par->block_align = 0;
    stream->time_base = source->time_base;
    stream->avg_frame_rate = source->avg_frame_rate;
    stream->sample_aspect_ratio = source->sample_aspect_ratio;
    return stream->index;
}

int Muxer::writeHeader() {
    int rc = avformat_write_header(_context.get(), nullptr);
    if (rc < 0)
        return EngineLog::failure("write header", rc, _path);
    return 0;
}

int Muxer::write(AVPacket* packet, int streamIndex, AVRational packetTimeBase) {
    packet->stream_index = streamIndex;
    av_packet_rescale_ts(packet, packetTimeBase, _context->streams[streamIndex]->time_base);
    packet->pos = -1;
    int rc = av_interleaved_write_frame(_context.get(), packet);
    if (rc < 0)
        return EngineLog::failure("write packet", rc, _path);
    return 0;
}

int Muxer::finish() {
    int rc = av_write_trailer(_context.get());
    if (rc < 0)
        return EngineLog::failure("write trailer", rc, _path);
    if (_context->pb && !(_format->flags & AVFMT_NOFILE)) {
        rc = avio_closep(&_context->pb);
        if (rc < 0)
            return EngineLog::failure("close output file", rc, _path);
    }
    return 0;
}

int64_t Muxer::bytesWritten() const {
    return _context && _context->pb ? avio_tell(_context->pb) : 0;
}

} // namespace mediacore
