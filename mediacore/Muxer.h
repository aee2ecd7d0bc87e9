#pragma once

#include "FfmpegOwners.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace mediacore {

// Writes packets into a container file: open(), add the streams, writeHeader(), write() packets in any
// stream order (interleaved here), finish() writes the trailer. Without finish() the file is incomplete; the
// caller removes it.
class Muxer {
public:
    // `stop`, when given, interrupts blocking writes.
    int open(const std::string& path, const AVOutputFormat* format, const std::atomic<bool>* stop = nullptr);

    // A stream fed by an encoder; returns its index or a negative error.
    int addStream(const AVCodecContext* encoder);
    // A stream whose packets are copied from `source` unchanged; returns its index or a negative error.
    int addCopiedStream(const AVStream* source);

    AVStream* stream(int index) const { return _context->streams[index]; }
    bool needsGlobalHeader() const { return _format->flags & AVFMT_GLOBALHEADER; }

    int writeHeader();
    // Rescales the packet from packetTimeBase to the stream's and hands it to the interleaver (takes its data).
    int write(AVPacket* packet, int streamIndex, AVRational packetTimeBase);
    // An output stream's time base, final once the header is written.
    AVRational timeBase(int streamIndex) const { return _context->streams[streamIndex]->time_base; }
    int finish();

    // Bytes in the file so far (the interleaver may still hold packets that are not counted).
    int64_t bytesWritten() const;

private:
    static int interrupted(void* flag);

    OutputContextPtr _context;
    const AVOutputFormat* _format = nullptr;
    std::string _path;
};

} // namespace mediacore
