#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mediacore {

// Which video packets of a cut are copied and which pictures are encoded, so the cut keeps exactly the source's
// pictures from the exact start picture to the exact end while copying all it can.
//
// Input: the video packets in decoding order from the key frame a decoder starts at for the cut's start, to past
// the cut's end, with their presentation times in stream ticks. Output time 0 is the picture on screen at `start`
// (the last at or before it), and the output lasts stop - start: its pictures are those shown from there to
// stop - start later (the end moves with the start onto the picture's start). They fall into
//   - the head: pictures before the first packet the copy can start from, decoded and encoded;
//   - the copy: a run of packets in decoding order from a picture a decoder can start from (its leading pictures,
//     HEVC RASL / RADL, shown before it and never referred to by later pictures, left out). Any run that starts
//     there holds every picture it refers to, so the copy may end anywhere in decoding order where the pictures
//     it holds are exactly those shown before the pictures it leaves out;
//   - the tail: the pictures from there to the end, decoded (from a picture a decoder can start from) and encoded.
// Each picture of the range falls into exactly one of them. A plan without a copy is no plan: the cut is encoded.
class SmartCutPlan {
public:
    struct Packet {
        int64_t pts = 0;
        bool decoderStart = false; // a decoder can start here (H.264 IDR; HEVC IDR, CRA, BLA)
        bool leading = false;      // may be left out when a copy starts at the decoder start before it
        bool unreferenced = false; // no later picture refers to it
    };

    // A stretch of packets fed to a decoder: [firstPacket, lastPacket] in decoding order, of whose pictures
    // those shown in [fromPts, toPts) are encoded.
    struct Encoded {
        bool present = false;
        size_t firstPacket = 0;
        size_t lastPacket = 0;
        int64_t fromPts = 0;
        int64_t toPts = 0;
        int64_t pictures = 0;
    };

    // stopTicks INT64_MAX: to the end (the packets then run to the end of the stream).
    static SmartCutPlan make(const std::vector<Packet>& packets, int64_t startTicks, int64_t stopTicks);

    bool possible() const { return _possible; }
    const std::string& reason() const { return _reason; } // why not, when not possible

    int64_t originPts() const { return _originPts; } // the first output picture's source time: output time 0
    int64_t endPts() const { return _endPts; }       // where the output ends on the source's clock (or INT64_MAX)
    const Encoded& head() const { return _head; }
    const Encoded& tail() const { return _tail; }
    // The copy: packets [copyFirst, copyEnd) in decoding order, less those copyKeeps() refuses.
    size_t copyFirst() const { return _copyFirst; }
    size_t copyEnd() const { return _copyEnd; }
    bool copyKeeps(size_t index) const;
    int64_t copiedPictures() const { return _copied; }
    // Nothing is encoded: the output's video packets are the source's as they are.
    bool pureCopy() const { return _possible && !_head.present && !_tail.present; }
    // The last packet any part of the plan reads.
    size_t lastPacket() const;

private:
    static SmartCutPlan refuse(const std::string& reason);

    bool _possible = false;
    std::string _reason;
    int64_t _originPts = 0;
    int64_t _endPts = INT64_MAX;
    Encoded _head;
    Encoded _tail;
    size_t _copyFirst = 0;
    size_t _copyEnd = 0;
    std::vector<size_t> _leftOut; // leading pictures of the copy's first picture
    int64_t _copied = 0;
};

} // namespace mediacore
