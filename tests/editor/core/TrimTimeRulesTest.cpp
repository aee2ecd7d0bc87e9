#include "TrimTimeRules.h"

#include <gtest/gtest.h>

#include <optional>

using Fields = TrimTimeRules::Fields;

TEST(TrimTimeRules, SplitShowsHoursMinutesSecondsAndTruncatedHundredths) {
    struct Case {
        float seconds;
        Fields expected;
    };
    const Case cases[] = {
        {0.0f, {"00", "00", "00", "00"}},       {61.5f, {"00", "01", "01", "50"}}, {3725.25f, {"01", "02", "05", "25"}},
        {59.999f, {"00", "00", "59", "99"}},    // truncated, never rounded up to a minute
        {360000.0f, {"100", "00", "00", "00"}}, // hours are not limited to 99
        {10.07f, {"00", "00", "10", "06"}},     // single precision: 10.07 is a little below
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrimTimeRules::split(c.seconds), c.expected) << c.seconds;
}

TEST(TrimTimeRules, ParseReadsLeadingDigitsOfEachField) {
    struct Case {
        Fields fields;
        double expected;
    };
    const Case cases[] = {
        {{"00", "00", "00", "00"}, 0}, {{"01", "02", "05", "25"}, 3725.25},
        {{"", "x", "7s", "5"}, 7.05},                                    // no digits count as 0; "5" hundredths is 0.05
        {{" 1", "0", "0", "0"}, 3600}, {{"00", "90", "00", "00"}, 5400}, // no bound on a typed part
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(TrimTimeRules::parse(c.fields), c.expected);
}

TEST(TrimTimeRules, TypedTimesAreRefusedWithTheRightReason) {
    struct Case {
        bool startRow;
        double start, end, duration;
        std::optional<QString> expected;
    };
    const double D = 60;
    const Case cases[] = {
        {true, 10, 20, D, std::nullopt},
        {true, 20, 20, D, TrimTimeRules::kStartNotBeforeEnd}, // equal is refused
        {true, 30, 20, D, TrimTimeRules::kStartNotBeforeEnd},
        {false, 10, 20, D, std::nullopt},
        {false, 10, 70, D, std::nullopt}, // an end past the file is taken when after the start
        {false, 20, 20, D, TrimTimeRules::kEndNotAfterStart},
        {false, 30, 20, D, TrimTimeRules::kEndNotAfterStart},
        {false, 80, 70, D, TrimTimeRules::kEndBeyondFile},
        {false, 70, 70, D, TrimTimeRules::kEndBeyondFile},
    };
    for (const Case& c : cases) {
        const std::optional<QString> refusal = c.startRow ? TrimTimeRules::startRefusal(c.start, c.end)
                                                          : TrimTimeRules::endRefusal(c.start, c.end, c.duration);
        EXPECT_EQ(refusal, c.expected) << c.startRow << " " << c.start << " " << c.end;
    }
}

TEST(TrimTimeRules, MarkInMovesTheEndToTheFileEndOnlyWhenItPassesASetEnd) {
    struct Case {
        float t;
        double stopUs;
        double expectedStopUs;
        bool endReset;
    };
    const Case cases[] = {
        {10, 20e6, 20e6, false},
        {20, 20e6, 20e6, false}, // at the end: not beyond it
        {30, 20e6, 60e6, true},
        {30, 0, 0, false}, // no end set: only the start moves
    };
    for (const Case& c : cases) {
        const TrimTimeRules::MarkIn mark = TrimTimeRules::markIn(c.t, 60, c.stopUs);
        EXPECT_DOUBLE_EQ(mark.startUs, double(c.t) * 1e6);
        EXPECT_DOUBLE_EQ(mark.stopUs, c.expectedStopUs) << c.t;
        EXPECT_EQ(mark.endReset, c.endReset) << c.t;
        EXPECT_FLOAT_EQ(mark.lower, c.t / 60.0f);
    }
}

TEST(TrimTimeRules, StepperWritesOnlyWhenTheEndLiesAfterTheStartAndDragsGiveTheRange) {
    const TrimTimeRules::StepperClick ok =
        TrimTimeRules::stepperClick({"00", "00", "10", "00"}, {"00", "00", "20", "50"});
    EXPECT_TRUE(ok.writesField);
    EXPECT_DOUBLE_EQ(ok.startUs, 10e6);
    EXPECT_DOUBLE_EQ(ok.stopUs, 20.5e6);
    const TrimTimeRules::StepperClick refused =
        TrimTimeRules::stepperClick({"00", "00", "30", "00"}, {"00", "00", "20", "00"});
    EXPECT_FALSE(refused.writesField);
    EXPECT_DOUBLE_EQ(refused.startUs, 30e6) << "the fields are still parsed into the range";
    EXPECT_EQ(TrimTimeRules::stepperMaximum(3), 99);
    EXPECT_EQ(TrimTimeRules::stepperMaximum(1), 59);

    const TrimTimeRules::Drag drag = TrimTimeRules::drag(0.25f, 0.5f, 60);
    EXPECT_FLOAT_EQ(drag.start, 15);
    EXPECT_FLOAT_EQ(drag.end, 30);
    EXPECT_DOUBLE_EQ(drag.startUs, 15e6);
    EXPECT_DOUBLE_EQ(drag.stopUs, 30e6);
}
