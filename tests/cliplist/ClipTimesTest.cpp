#include "ClipTimes.h"

#include "SimpleData.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ClipTimes, SplitIntoFourFields) {
    struct Case {
        float seconds;
        int h, m, s, c;
    };
    for (const Case& c : std::vector<Case>{{0, 0, 0, 0, 0},
                                           {70.5f, 0, 1, 10, 50},
                                           {4.35f, 0, 0, 4, 35},  // 4.34999990 as a float
                                           {1.4f, 0, 0, 1, 40},   // 1.39999998
                                           {4.349f, 0, 0, 4, 34}, // a time between hundredths shows the last
                                           {0.0094f, 0, 0, 0, 0}, // 0.6 ms short of a hundredth
                                           {3725.25f, 1, 2, 5, 25},
                                           {59.99f, 0, 0, 59, 99}}) {
        SCOPED_TRACE(c.seconds);
        const ClipTimes::Fields f = ClipTimes::split(c.seconds);
        EXPECT_EQ(f.hours, c.h);
        EXPECT_EQ(f.minutes, c.m);
        EXPECT_EQ(f.seconds, c.s);
        EXPECT_EQ(f.hundredths, c.c);
    }
    EXPECT_EQ(ClipTimes::twoDigits(7), "07");
    EXPECT_EQ(ClipTimes::twoDigits(75), "75");
}

TEST(ClipTimes, FieldsReadBackAsMicroseconds) {
    struct Case {
        const char *h, *m, *s, *c;
        qint64 expected;
    };
    for (const Case& c : std::vector<Case>{{"00", "01", "30", "00", 90000000},
                                           {"00", "75", "00", "00", 4500000000}, // no field is held to its unit
                                           {"00", "00", "02", "100", 3000000},
                                           {"abc", "", "7", "5", 7050000}, // no digit counts 0
                                           {" 1", "+2", "3x", "04", 3723040000},
                                           {"00", "00", "-5", "00", -5000000}}) {
        SCOPED_TRACE(std::string(c.h) + ":" + c.m + ":" + c.s + "." + c.c);
        EXPECT_EQ(ClipTimes::sum(c.h, c.m, c.s, c.c), c.expected);
    }
}

TEST(ClipTimes, StepperRangesByUnit) {
    EXPECT_EQ(ClipTimes::stepperMaximum(ClipTimes::Unit::Hours), 99);
    EXPECT_EQ(ClipTimes::stepperMaximum(ClipTimes::Unit::Minutes), 59);
    EXPECT_EQ(ClipTimes::stepperMaximum(ClipTimes::Unit::Seconds), 59);
    EXPECT_EQ(ClipTimes::stepperMaximum(ClipTimes::Unit::Hundredths), 99);
}

TEST(ClipTimes, ApplyToAllFitsTheRangeToEachClip) {
    struct Case {
        float selected, lower, upper; // the selected clip's length (s) and its handles
        float duration;
        qint64 start, stop;
    };
    // From a 64 s clip with the handles at a quarter and three quarters: 16 s to 48 s, 32 s long.
    for (const Case& c : std::vector<Case>{{64, 0.25f, 0.75f, 20, 0, 20000000},        // shorter: all of it
                                           {64, 0.25f, 0.75f, 40, 8000000, 40000000},  // ends inside: to its end
                                           {64, 0.25f, 0.75f, 32, 16000000, 32000000}, // the range's length
                                           {64, 0.25f, 0.75f, 50, 16000000, 48000000}, // long enough: same times
                                           // 2 s to 4 s of 6 s on a 2 s clip would be empty at its end: all of it
                                           {6, 0.5f / 1.5f, 1.0f / 1.5f, 2, 0, 2000000}}) {
        SCOPED_TRACE(c.duration);
        const auto [start, stop] = ClipTimes::appliedRange(c.selected, c.lower, c.upper, c.duration);
        EXPECT_NEAR(double(start), double(c.start), 2.0);
        EXPECT_NEAR(double(stop), double(c.stop), 2.0);
        EXPECT_LT(start, stop);
    }
}

TEST(ClipTimes, ClampedRangeStaysInsideTheFileAndInOrder) {
    struct Case {
        double start, stop; // seconds, as the trim editor stores them
        qint64 expectedStart, expectedStop;
    };
    // A clip of 10 s.
    for (const Case& c : std::vector<Case>{{0, 0, 0, 10000000}, // no range: the whole file
                                           {2, 5, 2000000, 5000000},
                                           {5, 2, 2000000, 5000000},   // reversed: put in order
                                           {-1, 4, 0, 4000000},        // before the start
                                           {3, 12, 3000000, 10000000}, // past the end
                                           {11, 14, 10000000, 10000000}}) {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.stop);
        SimpleData clip;
        clip.sourceData()->setDuration(10.0f);
        clip.setCutTimeRange_start(qint64(c.start * 1e6));
        clip.setCutTimeRange_stop(qint64(c.stop * 1e6));
        const auto [start, stop] = ClipTimes::clampedRange(clip);
        EXPECT_EQ(start, c.expectedStart);
        EXPECT_EQ(stop, c.expectedStop);
    }
}
