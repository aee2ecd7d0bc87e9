#pragma once

#include <cstdint>

// What the player showed, for the benchmark and for tests.
struct PlaybackStatistics {
    uint64_t presented = 0;   // pictures shown while playing
    uint64_t dropped = 0;     // pictures skipped because a later one was already due
    uint64_t seekResults = 0; // pictures shown as the answer to a seek or a refresh
    uint64_t seekPreviews = 0; // pictures shown on the way to a seek's exact one (while a slider is dragged)
};
