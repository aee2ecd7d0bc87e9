#pragma once

#include "FfmpegOwners.h"

namespace mediacore {

// Decodes one stream. push() a packet (nullptr drains at the end), then pull() frames until AVERROR(EAGAIN)
// or AVERROR_EOF. Frames come out in presentation order with best_effort_timestamp in the stream's time base (a
// frame without one follows the frame before it). Damaged packets are skipped, not reported.
class Decoder {
public:
    // threads 0 lets FFmpeg pick (frame and slice threads where the codec has them).
    int open(const AVStream* stream, int threads = 0);
    int push(const AVPacket* packet);
    int pull(AVFrame* frame);
    // Forgets buffered frames, after a seek.
    void reset();

    AVCodecContext* context() const { return _context.get(); }
    bool isOpen() const { return _context != nullptr; }

private:
    static constexpr int kMaxSkippedFrames = 64;

    CodecContextPtr _context;
    AVRational _timeBase{0, 1};
    int64_t _nextPts = AV_NOPTS_VALUE; // where the frame after the last one pulled starts
    bool _draining = false;
};

} // namespace mediacore
