#include "SizeBudget.h"

#include <cmath>

namespace mediacore {

SizeBudget::SizeBudget(int64_t limitBytes, const std::string& formatName) : _limit(limitBytes) {
    const std::string& f = formatName;
    if (f == "mp4" || f == "mov" || f == "ipod" || f == "3gp" || f == "3g2" || f == "ismv") {
        // stsz 4 + stts 8 + ctts 8 + stco 8 + stss 4 bytes per sample at worst, moov/trak boxes in the reserve.
        _perPacket = 32;
        _trailerReserve = 8192;
    } else if (f == "matroska" || f == "webm") {
        // SimpleBlock header, cluster headers and a cue point per key frame.
        _perPacket = 24;
        _trailerReserve = 4096;
    } else if (f == "avi") {
        // Chunk header 8 + padding 1 + idx1 entry 16.
        _perPacket = 32;
        _trailerReserve = 4096;
    } else if (f == "mpegts") {
        // 4 of each 188 bytes are headers, each PES has a header and its last TS packet is padded.
        _perPacket = 400;
        _payloadFactor = 188.0 / 184.0;
        _trailerReserve = 4096;
    } else if (f == "mp3" || f == "wav" || f == "adts" || f == "ac3") {
        _perPacket = 8;
        _trailerReserve = 4096;
    } else if (f == "flac" || f == "ogg" || f == "opus" || f == "oga") {
        _perPacket = 32;
        _trailerReserve = 8192;
    } else {
        _perPacket = 64;
        _payloadFactor = 1.02;
    }
}

int64_t SizeBudget::projectedWith(int64_t packets, int64_t payload) const {
    return _header + static_cast<int64_t>(std::ceil(static_cast<double>(payload) * _payloadFactor)) +
           packets * _perPacket + _trailerReserve;
}

int64_t SizeBudget::projected() const {
    return projectedWith(_packets, _payload);
}

bool SizeBudget::fits(int64_t packetBytes) const {
    return !enabled() || projectedWith(_packets + 1, _payload + packetBytes) <= _limit;
}

void SizeBudget::add(int64_t packetBytes) {
    ++_packets;
    _payload += packetBytes;
}

bool SizeBudget::exhausted(int64_t pendingBytes) const {
    return enabled() && projected() + pendingBytes >= _limit;
}

} // namespace mediacore
