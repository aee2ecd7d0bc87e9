#include "Decoder.h"

#include "EngineLog.h"

#include <algorithm>

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

namespace {
// What a damaged packet gives: the packet is skipped, as players and the ffmpeg program do, and the next one
// decodes again (at the latest from the next key frame). Running out of memory or a stop is no damage.
bool damage(int rc) {
    return rc < 0 && rc != AVERROR(EAGAIN) && rc != AVERROR_EOF && rc != AVERROR(ENOMEM) && rc != AVERROR_EXIT;
}
} // namespace

int Decoder::push(const AVPacket* packet) {
    _draining = packet == nullptr;
    int rc = avcodec_send_packet(_context.get(), packet);
    return damage(rc) ? 0 : rc;
}

int Decoder::pull(AVFrame* frame) {
    int rc = avcodec_receive_frame(_context.get(), frame);
    for (int skipped = 0; damage(rc); ++skipped) {
        // A frame thread reports a damaged packet here rather than in push().
        if (skipped >= kMaxSkippedFrames)
            return _draining ? AVERROR_EOF : AVERROR(EAGAIN);
        rc = avcodec_receive_frame(_context.get(), frame);
    }
    if (rc < 0)
        return rc;
    frame->pts = frame->best_effort_timestamp;
    // A frame the decoder could give no time (the last pictures of a stream that carries none) follows the one
    // before it.
    if (frame->pts == AV_NOPTS_VALUE)
        frame->pts = _nextPts;
    if (frame->pts != AV_NOPTS_VALUE)
        _nextPts = frame->pts + std::max<int64_t>(frame->pkt_duration, 0);
    return rc;
}

void Decoder::reset() {
    _nextPts = AV_NOPTS_VALUE;
    _draining = false;
    if (_context)
        avcodec_flush_buffers(_context.get());
}

} // namespace mediacore
