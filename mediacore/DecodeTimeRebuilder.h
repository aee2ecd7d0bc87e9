#pragma once

#include <array>
#include <cstdint>

namespace mediacore {

// Gives copied video packets decoding times worked out from their presentation times alone.
//
// Some containers store no decoding time (Matroska has presentation times only; its reader fills in some
// packets' and not others'), and a muxer fed a mix of given and missing decoding times may find them out of
// order. With pictures reordered by up to `delay` places, each packet's decoding time is the earliest
// presentation time among the last delay + 1 packets: rising, and never after the packet's own presentation.
// One rebuilder per stretch that starts on a key frame (a copied clip).
class DecodeTimeRebuilder {
public:
    static constexpr int kMaxDelay = 16;

    explicit DecodeTimeRebuilder(int delay) : _delay(delay < 0 ? 0 : (delay > kMaxDelay ? kMaxDelay : delay)) {}

    // The decoding time of the next packet in decoding order; `duration` (of one picture, same unit) spaces the
    // times before the first packet.
    int64_t next(int64_t pts, int64_t duration);

private:
    int _delay;
    bool _started = false;
    std::array<int64_t, kMaxDelay + 1> _window{};
};

} // namespace mediacore
