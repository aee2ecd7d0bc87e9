#pragma once

#include <cmath>
#include <cstdint>

// A time as the player's callers pass it: value / timescale seconds (a timescale of 30 with value 1 is one frame
// at 30 fps; 600 while a slider is dragged; 1,000,000,000 for seconds given as a double). The player itself works
// in microseconds.
struct MediaTime {
    int64_t value = 0;
    int32_t timescale = 1;

    static MediaTime make(int64_t value, int32_t timescale) { return MediaTime{value, timescale}; }
    static MediaTime zero() { return MediaTime{0, 1}; }
    // Seconds at the given timescale, rounded to the nearest tick.
    static MediaTime withSeconds(double seconds, int32_t timescale) {
        return MediaTime{static_cast<int64_t>(std::llround(seconds * timescale)), timescale};
    }
    static MediaTime withMicroseconds(int64_t us) { return MediaTime{us, 1000000}; }

    bool isValid() const { return timescale > 0; }
    double seconds() const { return isValid() ? static_cast<double>(value) / timescale : 0.0; }
    // Rounded to the nearest microsecond; 0 for an invalid time.
    int64_t microseconds() const {
        if (!isValid())
            return 0;
        // Split to keep value * 1e6 from overflowing for large values.
        int64_t whole = value / timescale;
        int64_t rest = value % timescale;
        return whole * 1000000 + static_cast<int64_t>(std::llround(static_cast<double>(rest) * 1e6 / timescale));
    }
};
