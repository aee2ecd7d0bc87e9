#include "SegmentTimes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QString joined(float t) {
    const std::array<QString, 4> f = SegmentTimes::fieldTexts(t);
    return f[0] + ":" + f[1] + ":" + f[2] + "." + f[3];
}

} // namespace

TEST(SegmentTimes, FourFieldsWrittenAndRead) {
    struct Case {
        float seconds;
        QString shown;
    };
    const std::vector<Case> cases = {
        {0, "00:00:00.00"},       {70.5f, "00:01:10.50"},  {3725.5f, "01:02:05.50"},
        {4500, "01:15:00.00"},    {1.29f, "00:00:01.29"}, // 1.29 in single precision lies just below, shown as typed
        {360000, "100:00:00.00"}, {4.356f, "00:00:04.35"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(joined(c.seconds), c.shown) << c.seconds;

    EXPECT_FLOAT_EQ(SegmentTimes::read(0, 75, 0, 0), 4500);
    EXPECT_FLOAT_EQ(SegmentTimes::read(0, 0, 99, 150), 100.5f) << "parts above their range add up";
    EXPECT_FLOAT_EQ(SegmentTimes::read(0, 0, 1, 29), 1.29f);
}

TEST(SegmentTimes, TypedTimesAreKeptInOrderAndInsideTheFile) {
    struct Case {
        bool startRow;
        float start;
        float end;
        float duration;
        bool accepted;
        float storedStart;
        float storedEnd;
        QStringList messages;
    };
    const std::vector<Case> cases = {
        // A 2-hour file, end at 2:00:00: 75 typed into the start minutes is 1:15:00, accepted as it is.
        {true, 4500, 7200, 7200, true, 4500, 7200, {}},
        // A negative start is refused: nothing stored, the field stays in editing.
        {true, -5, 130, 300, false, -5, 130, {"showmessageTime4"}},
        // A 5-minute file, end 2:10: a start typed as 3:30 is brought back to the end.
        {true, 210, 130, 300, true, 130, 130, {"showmessageTime1"}},
        // An 80-second file: an end of 1:99 is past the file and becomes its duration.
        {false, 0, 159, 80, true, 0, 80, {"showmessageTime2"}},
        // An end of 99:50 is past the file too; it never stays beyond it.
        {false, 0, 5990, 80, true, 0, 80, {"showmessageTime2"}},
        // An end before the start becomes the start.
        {false, 40, 30, 80, true, 40, 40, {"showmessageTime3"}},
        // Both: past the file and before the start (a start beyond the end of the file): both warnings; the end is
        // the duration and the start comes back to it.
        {false, 90, 85, 80, true, 80, 80, {"showmessageTime2", "showmessageTime3"}},
        // Equal start and end are fine everywhere.
        {true, 20, 20, 80, true, 20, 20, {}},
        {false, 20, 20, 80, true, 20, 20, {}},
    };
    for (const Case& c : cases) {
        const SegmentTimes::Checked r =
            c.startRow ? SegmentTimes::checkStart(c.start, c.end) : SegmentTimes::checkEnd(c.start, c.end, c.duration);
        EXPECT_EQ(r.accepted, c.accepted) << c.start << "-" << c.end;
        EXPECT_EQ(r.messageKeys, c.messages) << c.start << "-" << c.end;
        if (r.accepted) {
            EXPECT_FLOAT_EQ(r.start, c.storedStart) << c.start << "-" << c.end;
            EXPECT_FLOAT_EQ(r.end, c.storedEnd) << c.start << "-" << c.end;
            EXPECT_LE(0, r.start);
            EXPECT_LE(r.start, r.end);
            EXPECT_LE(r.end, c.duration);
        }
    }
}

TEST(SegmentTimes, NudgesMoveTheSameStepBothWaysAndStayInside) {
    struct Case {
        double from;
        bool forward;
        double low;
        double high;
        float result;
    };
    const std::vector<Case> cases = {
        {1.0, true, 0, 4, 1.1f},     {1.0, false, 0, 4, 0.9f},     {0.05, false, 0, 4, 0.0f},
        {3.95, true, 0, 4, 4.0f},    {2.0, false, 1.95, 4, 1.95f}, // an end handle never passes the start handle
        {2.0, true, 0, 2.05, 2.05f},                               // a start handle never passes the end handle
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(SegmentTimes::nudge(c.from, c.forward, c.low, c.high), c.result)
            << c.from << (c.forward ? " forward" : " back");
    const float forward = SegmentTimes::nudge(2.0, true, 0, 4) - 2.0f;
    const float back = 2.0f - SegmentTimes::nudge(2.0, false, 0, 4);
    EXPECT_NEAR(forward, back, 1e-6);
}
