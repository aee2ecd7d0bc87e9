#include "AutoresizingFilter.h"

#include <gtest/gtest.h>

TEST(AutoresizingFilter, SharesAParentsGrowthByMask) {
    using A = AutoresizingFilter;
    const ViewSize before{1000, 200};
    const ViewSize after{1200, 300};
    struct Case {
        int mask;
        ViewRect frame;
        ViewRect expected;
    };
    const Case cases[] = {
        {0, {100, 10, 200, 50}, {100, 10, 200, 50}},
        {A::WidthSizable, {0, 0, 1000, 180}, {0, 0, 1200, 180}},
        {A::MinXMargin | A::MaxXMargin, {105, 35, 790, 110}, {205, 35, 790, 110}},
        {A::MinXMargin, {900, 0, 100, 20}, {1100, 0, 100, 20}},
        {A::MinXMargin | A::WidthSizable | A::MaxXMargin, {100, 0, 800, 20}, {120, 0, 960, 20}},
        {A::MaxYMargin | A::WidthSizable, {0, 0, 1000, 152}, {0, 0, 1200, 152}},
        {A::MinYMargin, {0, 20, 10, 10}, {0, 120, 10, 10}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(A::resized(c.frame, c.mask, before, after), c.expected) << c.mask;
}
