#include "Decoder.h"

#include "EngineLog.h"

namespace mediacore {

int Decoder::open(const AVStream* stream, int threads) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return EngineLog::failure("find decoder", AVERROR_DECODER_NOT_FOUND,
                                  avcodec_get_name(stream->codecpar->codec_id));
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        return EngineLog::failure("allocate decoder", AVERROR(ENOMEM));
    int rc = avcodec_parameters_to_context(context.get(), stream->codecpar);
    if (rc < 0)
        return EngineLog::failure("configure decoder", rc, codec->name);
    context->pkt_timebase = stream->time_base;
    context->thread_count = threads;
    context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    rc = avcodec_open2(context.get(), codec, nullptr);
    if (rc < 0)
        return EngineLog::failure("open decoder", rc, codec->name);
    _timeBase = stream->time_base;
    _context = std::move(context);
    return 0;
}

int Decoder::push(const AVPacket* packet) {
    int rc = avcodec_send_packet(_context.get(), packet);
    // Damaged data is skipped, as players do; the next key frame decodes again.
    if (rc == AVERROR_INVALIDDATA)
        return 0;
    return rc;
}

int Decoder::pull(AVFrame* frame) {
    int rc = avcodec_receive_frame(_context.get(), frame);
    if (rc >= 0)
        frame->pts = frame->best_effort_timestamp;
    return rc;
}

void Decoder::reset() {
    if (_context)
        avcodec_flush_buffers(_context.get());
}

} // namespace mediacore
