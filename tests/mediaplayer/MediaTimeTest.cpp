#include "MediaTime.h"

#include <gtest/gtest.h>

TEST(MediaTimeTest, ConvertsCallersTimesToMicroseconds) {
    struct Case {
        MediaTime time;
        int64_t us;
        double seconds;
    };
    const Case cases[] = {
        {MediaTime::make(1, 30), 33333, 1.0 / 30},
        {MediaTime::zero(), 0, 0},
        {MediaTime::withSeconds(1.25, 1000000000), 1250000, 1.25},
        {MediaTime::withSeconds(0.5 * 7.3, 600), 3650000, 3.65},
        {MediaTime::make(3000000000000LL, 1000000000), 3000000000, 3000},
        {MediaTime::make(5, 0), 0, 0}, // invalid
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.time.microseconds(), c.us) << c.time.value << "/" << c.time.timescale;
        EXPECT_NEAR(c.time.seconds(), c.seconds, 1e-9);
    }
}
