#include "NalUnits.h"

#include <cstring>

namespace mediacore {

namespace {
// H.264 unit types.
constexpr int kAvcFirstSlice = 1;
constexpr int kAvcIdr = 5;
constexpr int kAvcSps = 7;
constexpr int kAvcPps = 8;
constexpr int kAvcSpsExtension = 13;
// HEVC unit types.
constexpr int kHevcRadlN = 6;
constexpr int kHevcRaslR = 9;
constexpr int kHevcLastSubLayerNonReference = 14;
constexpr int kHevcBlaWLp = 16;
constexpr int kHevcBlaNLp = 18;
constexpr int kHevcCra = 21;
constexpr int kHevcVps = 32;
constexpr int kHevcPps = 34;
constexpr int kHevcFirstSlice = 0;
constexpr int kHevcLastSlice = 31;

int read16(const uint8_t* p) {
    return (p[0] << 8) | p[1];
}

// Appends the units a record lists as `count` entries of (2-byte length, unit); false when the record is short.
bool readUnits(const uint8_t*& p, const uint8_t* end, int count, std::vector<std::vector<uint8_t>>& out) {
    for (int i = 0; i < count; ++i) {
        if (end - p < 2)
            return false;
        const int size = read16(p);
        p += 2;
        if (end - p < size)
            return false;
        out.emplace_back(p, p + size);
        p += size;
    }
    return true;
}
} // namespace

bool NalUnits::open(const AVCodecParameters* stream) {
    _parameterSets.clear();
    const uint8_t* p = stream->extradata;
    const uint8_t* end = p + stream->extradata_size;
    if (stream->codec_id == AV_CODEC_ID_H264) {
        // avcC: version 1, profile, compatibility, level, length size, SPS count, SPSs, PPS count, PPSs.
        _hevc = false;
        if (stream->extradata_size < 7 || p[0] != 1)
            return false;
        _lengthSize = (p[4] & 3) + 1;
        const int spsCount = p[5] & 0x1f;
        p += 6;
        if (!readUnits(p, end, spsCount, _parameterSets) || p >= end)
            return false;
        const int ppsCount = *p++;
        if (!readUnits(p, end, ppsCount, _parameterSets))
            return false;
    } else if (stream->codec_id == AV_CODEC_ID_HEVC) {
        // hvcC: 22 bytes of profile and format, then arrays of (type, count, units).
        _hevc = true;
        if (stream->extradata_size < 23 || p[0] != 1)
            return false;
        _lengthSize = (p[21] & 3) + 1;
        _oneSubLayer = ((p[21] >> 3) & 7) == 1;
        const int arrays = p[22];
        p += 23;
        for (int i = 0; i < arrays; ++i) {
            if (end - p < 3)
                return false;
            const int count = read16(p + 1);
            p += 3;
            if (!readUnits(p, end, count, _parameterSets))
                return false;
        }
    } else {
        return false;
    }
    return !_parameterSets.empty();
}

std::vector<NalUnits::Unit> NalUnits::units(const AVPacket* packet, bool& valid) const {
    std::vector<Unit> found;
    valid = true;
    const uint8_t* p = packet->data;
    const uint8_t* end = p + packet->size;
    while (p < end) {
        if (end - p < _lengthSize) {
            valid = false;
            break;
        }
        size_t size = 0;
        for (int i = 0; i < _lengthSize; ++i)
            size = (size << 8) | p[i];
        p += _lengthSize;
        if (size == 0 || size > static_cast<size_t>(end - p)) {
            valid = false;
            break;
        }
        found.push_back(Unit{p, size});
        p += size;
    }
    return found;
}

int NalUnits::type(const Unit& unit) const {
    return _hevc ? (unit.data[0] >> 1) & 0x3f : unit.data[0] & 0x1f;
}

bool NalUnits::isParameterSet(int unitType) const {
    return _hevc ? unitType >= kHevcVps && unitType <= kHevcPps
                 : unitType == kAvcSps || unitType == kAvcPps || unitType == kAvcSpsExtension;
}

NalUnits::Summary NalUnits::summarise(const AVPacket* packet) const {
    Summary summary;
    int slices = 0;
    int referenced = 0;
    for (const Unit& unit : units(packet, summary.valid)) {
        const int t = type(unit);
        if (isParameterSet(t))
            summary.parameterSets = true;
        if (!_hevc) {
            if (t == kAvcIdr)
                summary.decoderStart = true;
            if (t >= kAvcFirstSlice && t <= kAvcIdr) {
                ++slices;
                referenced += (unit.data[0] & 0x60) != 0;
            }
        } else if (t >= kHevcFirstSlice && t <= kHevcLastSlice) {
            if (t >= kHevcBlaWLp && t <= kHevcCra)
                summary.decoderStart = true;
            if (t >= kHevcRadlN && t <= kHevcRaslR)
                summary.leading = true;
            ++slices;
            // Types below 16 come in pairs, the even one the sub-layer non-reference picture.
            referenced += !(t <= kHevcLastSubLayerNonReference && t % 2 == 0 && _oneSubLayer);
        }
    }
    summary.unreferenced = summary.valid && slices > 0 && referenced == 0;
    return summary;
}

bool NalUnits::sameParameterSets(const AVPacket* packet) const {
    bool valid = true;
    for (const Unit& unit : units(packet, valid)) {
        if (!isParameterSet(type(unit)))
            continue;
        bool known = false;
        for (const auto& set : _parameterSets)
            if (set.size() == unit.size && std::memcmp(set.data(), unit.data, unit.size) == 0)
                known = true;
        if (!known)
            return false;
    }
    return valid;
}

PacketPtr NalUnits::build(const AVPacket* source, const std::vector<std::vector<uint8_t>>& before,
                          const std::vector<std::vector<uint8_t>>& after) const {
    size_t extra = 0;
    for (const auto& unit : before)
        extra += _lengthSize + unit.size();
    for (const auto& unit : after)
        extra += _lengthSize + unit.size();
    PacketPtr packet = makePacket();
    if (!packet || av_new_packet(packet.get(), static_cast<int>(source->size + extra)) < 0 ||
        av_packet_copy_props(packet.get(), source) < 0)
        return nullptr;
    uint8_t* p = packet->data;
    auto put = [&](const uint8_t* data, size_t size) {
        for (int i = _lengthSize - 1; i >= 0; --i)
            *p++ = static_cast<uint8_t>(size >> (8 * i));
        std::memcpy(p, data, size);
        p += size;
    };
    for (const auto& unit : before)
        put(unit.data(), unit.size());
    if (source->size > 0) {
        std::memcpy(p, source->data, source->size);
        p += source->size;
    }
    for (const auto& unit : after)
        put(unit.data(), unit.size());
    return packet;
}

PacketPtr NalUnits::withParameterSets(const AVPacket* packet) const {
    return build(packet, _parameterSets, {});
}

PacketPtr NalUnits::fromStartCodes(const AVPacket* packet) const {
    // Units run from after one start code (0 0 1, or 0 0 0 1) to the next; trailing zeros belong to the next code.
    std::vector<std::vector<uint8_t>> found;
    const uint8_t* data = packet->data;
    const size_t size = packet->size;
    size_t unitStart = SIZE_MAX;
    size_t i = 0;
    auto close = [&](size_t end) {
        while (end > unitStart && data[end - 1] == 0)
            --end;
        if (unitStart != SIZE_MAX && end > unitStart)
            found.emplace_back(data + unitStart, data + end);
    };
    while (i + 2 < size) {
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1) {
            close(i);
            i += 3;
            unitStart = i;
        } else {
            ++i;
        }
    }
    close(size);
    const size_t limit = _lengthSize >= 4 ? SIZE_MAX : (size_t{1} << (8 * _lengthSize)) - 1;
    for (const auto& unit : found)
        if (unit.size() > limit)
            return nullptr;
    AVPacket empty{};
    empty.data = nullptr;
    empty.size = 0;
    PacketPtr out = build(&empty, found, {});
    if (out && av_packet_copy_props(out.get(), packet) < 0)
        return nullptr;
    return out;
}

bool NalUnits::isCleanRandomAccess(const AVPacket* packet) const {
    if (!_hevc)
        return false;
    bool valid = true;
    for (const Unit& unit : units(packet, valid))
        if (type(unit) == kHevcCra)
            return true;
    return false;
}

bool NalUnits::markSpliceStart(AVPacket* packet) const {
    if (!isCleanRandomAccess(packet))
        return true;
    if (av_packet_make_writable(packet) < 0)
        return false;
    bool valid = true;
    for (const Unit& unit : units(packet, valid))
        if (type(unit) == kHevcCra) {
            // First header byte: forbidden bit, six bits of type, the layer id's top bit.
            uint8_t* header = packet->data + (unit.data - packet->data);
            *header = static_cast<uint8_t>((*header & 0x81) | (kHevcBlaNLp << 1));
        }
    return true;
}

} // namespace mediacore
