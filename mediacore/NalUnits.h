#pragma once

#include "FfmpegOwners.h"

#include <cstdint>
#include <vector>

namespace mediacore {

// The NAL units of H.264 and HEVC packets as MP4, MOV and Matroska store them: each unit prefixed by its length
// (1 to 4 bytes, as the stream's avcC / hvcC record says), with the parameter sets in that record.
//
// What a copy-and-encode cut needs to know of a packet (is it a picture a decoder can start from, can it be left
// out, does it carry parameter sets) and to do to one (put the stream's parameter sets in front of it, end the
// coded sequence after it).
class NalUnits {
public:
    struct Summary {
        bool decoderStart = false; // IDR (H.264); IDR, CRA or BLA (HEVC)
        bool leading = false;      // HEVC RASL or RADL picture: later pictures never refer to it
        bool parameterSets = false;
        // No later picture refers to it (H.264 nal_ref_idc 0; HEVC sub-layer non-reference pictures of a
        // stream with one sub-layer): a decoder may be spared it when it shows before the pictures wanted.
        bool unreferenced = false;
        bool valid = true; // the lengths add up to the packet's size
    };

    // Reads the stream's avcC / hvcC record. False when the codec is neither H.264 nor HEVC or the stream has
    // no such record (Annex B streams, as MPEG-TS carries them).
    bool open(const AVCodecParameters* stream);

    Summary summarise(const AVPacket* packet) const;

    // Whether the parameter sets the packet carries are byte for byte those of the stream's record.
    bool sameParameterSets(const AVPacket* packet) const;

    // A new packet: the record's parameter sets, then the packet's own units; timestamps and flags kept.
    PacketPtr withParameterSets(const AVPacket* packet) const;
    // Whether the packet is an HEVC CRA picture.
    bool isCleanRandomAccess(const AVPacket* packet) const;
    // An encoder's packet in start-code form (Annex B) with its units length-prefixed as the stream's are;
    // nullptr when a unit is too long for the stream's length field.
    PacketPtr fromStartCodes(const AVPacket* packet) const;
    // HEVC: a CRA picture whose leading pictures are left out, after other pictures, becomes the broken-link
    // picture it now is (BLA without leading pictures): a decoder then starts its picture order afresh and
    // shows the pictures before it first. Other packets are left as they are. False when out of memory.
    bool markSpliceStart(AVPacket* packet) const;

    bool hevc() const { return _hevc; }

private:
    struct Unit {
        const uint8_t* data;
        size_t size;
    };
    std::vector<Unit> units(const AVPacket* packet, bool& valid) const;
    int type(const Unit& unit) const;
    bool isParameterSet(int unitType) const;
    PacketPtr build(const AVPacket* source, const std::vector<std::vector<uint8_t>>& before,
                    const std::vector<std::vector<uint8_t>>& after) const;

    bool _hevc = false;
    bool _oneSubLayer = false; // HEVC: the record says the stream has a single temporal sub-layer
    int _lengthSize = 4;
    std::vector<std::vector<uint8_t>> _parameterSets; // in the record's order (VPS, SPS, PPS)
};

} // namespace mediacore
