#pragma once

#include "ShownTime.h"

#include <QString>
#include <QStringList>

#include <array>

// The easy cutter's time arithmetic, in seconds (single precision, as the segments keep them): a time shown in
// four fields (hours, minutes, seconds, hundredths), typed times checked against the other end and the file's
// duration, and the 0.1 s nudges of the trim handles.
class SegmentTimes {
public:
    using Parts = ShownTime::Parts;

    // The parts as every window shows them (ShownTime); hours are not limited to two digits.
    static Parts split(float t);
    // The four field texts, each at least two digits.
    static std::array<QString, 4> fieldTexts(float t);
    // Any integers add up: minutes above 59 carry into hours and so on.
    static float read(long long hours, long long minutes, long long seconds, long long hundredths);

    // The outcome of a typed (or stepped) time. A refused edit keeps the field in editing and stores nothing.
    // Otherwise start and end are the times to store, always 0 <= start <= end <= duration (except a start that
    // already lay beyond a shorter duration's end, which the end check handles); messageKeys are the warnings to
    // show, in order.
    struct Checked {
        bool accepted = true;
        float start = 0;
        float end = 0;
        QStringList messageKeys;
    };
    // The start row was edited: a negative start is refused ("showmessageTime4"); a start after the end is
    // brought back to the end ("showmessageTime1").
    static Checked checkStart(float start, float end);
    // The end row was edited: an end beyond the duration becomes the duration ("showmessageTime2"); an end before
    // the start becomes the start ("showmessageTime3"); both warnings show when both hold.
    static Checked checkEnd(float start, float end, float duration);

    // A nudge of 0.1 s back or forward from `from`, kept within [low, high]; the same step both ways.
    static float nudge(double from, bool forward, double low, double high);
    static constexpr double kNudgeStep = 0.1;
};
