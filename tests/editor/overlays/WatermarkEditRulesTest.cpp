#include "WatermarkEditRules.h"

#include <gtest/gtest.h>

#include <cmath>

using Time = WatermarkEditRules::Time;

TEST(WatermarkEditRules, TimeParts) {
    struct Case {
        float t;
        int h, m, s, c;
    } cases[] = {{3725.5f, 1, 2, 5, 50}, {1.15f, 0, 0, 1, 15},  {3.07f, 0, 0, 3, 7},
                 {0, 0, 0, 0, 0},        {61.25f, 0, 1, 1, 25}, {-2.0f, 0, 0, 0, 0}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.t);
        const auto p = WatermarkEditRules::parts(k.t);
        EXPECT_EQ(p.hours, k.h);
        EXPECT_EQ(p.minutes, k.m);
        EXPECT_EQ(p.seconds, k.s);
        EXPECT_EQ(p.hundredths, k.c);
    }
    EXPECT_FLOAT_EQ(WatermarkEditRules::seconds({0, 3, 0, 50}), 180.5f);
    // Every time typed reads back as typed.
    for (int hundredths = 0; hundredths < 2 * 360000; hundredths += 7) {
        const WatermarkEditRules::Parts typed{hundredths / 360000, hundredths / 6000 % 60, hundredths / 100 % 60,
                                              hundredths % 100};
        const auto shown = WatermarkEditRules::parts(WatermarkEditRules::seconds(typed));
        ASSERT_EQ(shown.hundredths + 100 * (shown.seconds + 60 * (shown.minutes + 60 * shown.hours)), hundredths);
    }
}

TEST(WatermarkEditRules, DisplayTimes) {
    WaterParam w;
    w.setDuration(10);
    // A start of exactly the video's length is taken; the duration then becomes 0.
    EXPECT_TRUE(WatermarkEditRules::applyTime(w, Time::Start, 20, 20).isEmpty());
    EXPECT_FLOAT_EQ(w.startTime(), 20);
    EXPECT_FLOAT_EQ(w.duration(), 0);
    // Beyond the video: refused, nothing stored.
    EXPECT_EQ(WatermarkEditRules::applyTime(w, Time::Start, 20.01f, 20), "watermarkStartBeyondVideo");
    EXPECT_FLOAT_EQ(w.startTime(), 20);
    w.setStartTime(5);
    EXPECT_TRUE(WatermarkEditRules::applyTime(w, Time::Duration, 15, 20).isEmpty());
    EXPECT_FLOAT_EQ(w.duration(), 15);
    // One hundredth past the video's end is refused and not stored.
    EXPECT_EQ(WatermarkEditRules::applyTime(w, Time::Duration, 15.01f, 20), "watermarkDurationBeyondVideo");
    EXPECT_FLOAT_EQ(w.duration(), 15);
    EXPECT_EQ(WatermarkEditRules::applyTime(w, Time::Duration, -1, 20), "watermarkTimeNegative");
    // Without a player every time within reason is taken.
    EXPECT_TRUE(WatermarkEditRules::applyTime(w, Time::Duration, 500, std::nan("")).isEmpty());
}

TEST(WatermarkEditRules, ClipRangeOfAVideoWatermark) {
    WaterParam w;
    w.setFileDuration(6);
    w.setFileEndTime(6);
    EXPECT_TRUE(WatermarkEditRules::applyTime(w, Time::ClipStart, 2, 20).isEmpty());
    EXPECT_TRUE(WatermarkEditRules::applyTime(w, Time::ClipEnd, 4.5f, 20).isEmpty());
    EXPECT_EQ(WatermarkEditRules::applyTime(w, Time::ClipEnd, 6.5f, 20), "watermarkClipBeyondFile");
    EXPECT_EQ(WatermarkEditRules::applyTime(w, Time::ClipEnd, 2, 20), "watermarkClipEndBeforeStart");
    EXPECT_EQ(WatermarkEditRules::applyTime(w, Time::ClipEnd, 1, 20), "watermarkClipEndBeforeStart");
    EXPECT_EQ(WatermarkEditRules::applyTime(w, Time::ClipStart, 4.5f, 20), "watermarkClipStartAfterEnd");
    EXPECT_EQ(WatermarkEditRules::applyTime(w, Time::ClipStart, 7, 20), "watermarkClipBeyondFile");
    EXPECT_FLOAT_EQ(w.fileStartTime(), 2);
    EXPECT_FLOAT_EQ(w.fileEndTime(), 4.5f);
}

TEST(WatermarkEditRules, SizeInsideTheOverlay) {
    const ViewSize overlay{400, 300};
    ViewRect r = WatermarkEditRules::sized({350, 10, 40, 40}, true, 100, overlay);
    EXPECT_DOUBLE_EQ(r.width, 100);
    EXPECT_DOUBLE_EQ(r.x, 300);
    r = WatermarkEditRules::sized({10, 10, 40, 40}, false, 500, overlay);
    EXPECT_DOUBLE_EQ(r.height, 300);
    EXPECT_DOUBLE_EQ(r.y, -200); // the overlay's own limits place it
    EXPECT_TRUE(WatermarkEditRules::checkAlph(50).isEmpty());
    EXPECT_EQ(WatermarkEditRules::checkAlph(101), "watermarkAlphOutOfRange");
    EXPECT_EQ(WatermarkEditRules::checkAlph(-1), "watermarkAlphOutOfRange");
}
