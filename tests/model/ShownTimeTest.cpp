#include "ShownTime.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ShownTime, TimesAndDurationsShowAsTyped) {
    struct Case {
        double seconds;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {0, "00:00:00.00"},
        {-3, "00:00:00.00"},
        {double(1.4f), "00:00:01.40"}, // 1.39999998 as a float
        {double(19.0f / 60.0f * 60.0f), "00:00:19.00"},
        {15.0 - 1e-5, "00:00:15.00"}, // a handle's fraction multiplied back
        {4.356, "00:00:04.35"},       // otherwise truncated
        {59.999, "00:00:59.99"},
        {3725.5, "01:02:05.50"},
        {360000.0, "100:00:00.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShownTime::text(c.seconds), QString::fromLatin1(c.shown)) << c.seconds;

    struct Span {
        double start;
        double end;
        const char* shown;
    };
    const std::vector<Span> spans = {
        {15.0, 19.0, "00:00:04.00"},
        {double(float(15.0 / 30.0)) * 30.0, double(float(19.0 / 30.0)) * 30.0, "00:00:04.00"},
        {15.0 + 1e-5, 19.0 - 1e-5, "00:00:04.00"},
        {1.25, 1.5, "00:00:00.25"},
        {2.0, 1.0, "00:00:00.00"},
    };
    for (const Span& s : spans)
        EXPECT_EQ(ShownTime::durationText(s.start, s.end), QString::fromLatin1(s.shown)) << s.start << " " << s.end;
    const ShownTime::Parts p = ShownTime::split(3725.5);
    EXPECT_EQ(p.hours, 1);
    EXPECT_EQ(p.minutes, 2);
    EXPECT_EQ(p.seconds, 5);
    EXPECT_EQ(p.hundredths, 50);
}
