#include "SegmentTimes.h"

#include <algorithm>
#include <cmath>

SegmentTimes::Parts SegmentTimes::split(float t) {
    return ShownTime::split(double(t));
}

std::array<QString, 4> SegmentTimes::fieldTexts(float t) {
    const Parts p = split(t);
    auto two = [](long long v) { return QString::asprintf("%02lld", std::max(0LL, v)); };
    return {two(p.hours), two(p.minutes), two(p.seconds), two(p.hundredths)};
}

float SegmentTimes::read(long long hours, long long minutes, long long seconds, long long hundredths) {
    const double whole = double(hours * 3600 + minutes * 60 + seconds);
    return float(whole + double(hundredths) / 100.0);
}

SegmentTimes::Checked SegmentTimes::checkStart(float start, float end) {
    Checked c;
    c.start = start;
    c.end = end;
    if (start < 0) {
        c.accepted = false;
        c.messageKeys << QStringLiteral("showmessageTime4");
        return c;
    }
    if (start > end) {
        c.messageKeys << QStringLiteral("showmessageTime1");
        c.start = std::max(0.0f, end);
    }
    return c;
}

SegmentTimes::Checked SegmentTimes::checkEnd(float start, float end, float duration) {
    Checked c;
    c.start = start;
    c.end = end;
    if (end > duration) {
        c.messageKeys << QStringLiteral("showmessageTime2");
        c.end = duration;
    }
    if (start > end) {
        c.messageKeys << QStringLiteral("showmessageTime3");
        c.end = std::min(start, duration);
    }
    c.end = std::max(0.0f, c.end);
    c.start = std::min(std::max(0.0f, c.start), c.end);
    return c;
}

float SegmentTimes::nudge(double from, bool forward, double low, double high) {
    const double moved = forward ? from + kNudgeStep : from - kNudgeStep;
    return float(std::min(std::max(moved, low), high));
}
