#pragma once

#include <cstdint>
#include <string>

namespace mediacore {

// Keeps an output under a size limit while it is written, so the job can end cleanly before the limit: a
// complete file (trailer and index included) that is not larger than the limit.
//
// The projection counts the header, the packets' bytes and, per container, the bytes each packet adds around
// its payload (chunk headers, index entries, the mp4 sample tables written at the end) plus a fixed reserve for
// the trailer. The figures are upper bounds measured on FFmpeg's muxers.
class SizeBudget {
public:
    SizeBudget() = default;
    // formatName: the muxer's name ("mp4", "matroska", ...). limitBytes 0 disables the budget.
    SizeBudget(int64_t limitBytes, const std::string& formatName);

    bool enabled() const { return _limit > 0; }
    int64_t limit() const { return _limit; }

    void setHeaderBytes(int64_t bytes) { _header = bytes; }
    // Whether a packet of this size can still be written with the trailer fitting afterwards.
    bool fits(int64_t packetBytes) const;
    void add(int64_t packetBytes);
    // The file's size if it were finished now.
    int64_t projected() const;
    // Whether to stop feeding the encoders, when they still hold about pendingBytes of output.
    bool exhausted(int64_t pendingBytes) const;

private:
    int64_t projectedWith(int64_t packets, int64_t payload) const;

    int64_t _limit = 0;
    int64_t _header = 0;
    int64_t _payload = 0;
    int64_t _packets = 0;
    int64_t _perPacket = 64;
    double _payloadFactor = 1.0;
    int64_t _trailerReserve = 16384;
};

} // namespace mediacore
