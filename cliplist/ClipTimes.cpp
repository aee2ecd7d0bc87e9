#include "ClipTimes.h"

#include "ShownTime.h"
#include "SimpleData.h"

#include <algorithm>
#include <cmath>

ClipTimes::Fields ClipTimes::split(float t) {
    // Rounded as every window shows hundredths, so the joiner and the easy cutter agree.
    const ShownTime::Parts p = ShownTime::split(double(t));
    Fields f;
    f.hours = int(p.hours);
    f.minutes = int(p.minutes);
    f.seconds = int(p.seconds);
    f.hundredths = int(p.hundredths);
    return f;
}

QString ClipTimes::twoDigits(long long value) {
    return QString::asprintf("%02lld", value);
}

long long ClipTimes::integerValue(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    long long value = 0;
    for (; i < text.size() && text[i].isDigit() && value < 1000000000LL; ++i)
        value = value * 10 + text[i].digitValue();
    return negative ? -value : value;
}

qint64 ClipTimes::sum(const QString& hours, const QString& minutes, const QString& seconds, const QString& hundredths) {
    const qint64 whole = integerValue(hours) * 3600 + integerValue(minutes) * 60 + integerValue(seconds);
    return qint64((double(whole) + double(integerValue(hundredths)) / 100.0) * 1000000.0);
}

long long ClipTimes::stepperMaximum(Unit unit) {
    return unit == Unit::Minutes || unit == Unit::Seconds ? 59 : 99;
}

std::pair<qint64, qint64> ClipTimes::appliedRange(float selected, float lower, float upper, float duration) {
    const float s = selected * lower;
    const float e = selected * upper;
    const float length = e - s;
    if (length > duration)
        return {0, microseconds(double(duration))};
    if (e > duration && duration > length)
        return {microseconds(double(duration - length)), microseconds(double(duration))};
    // A range that starts at or after the clip's end would be empty: the clip's last `length` seconds instead.
    if (s >= duration)
        return {microseconds(double(duration - length)), microseconds(double(duration))};
    return {microseconds(double(std::min(duration, s))), microseconds(double(std::min(duration, e)))};
}

std::pair<qint64, qint64> ClipTimes::clampedRange(const SimpleData& clip) {
    const qint64 total = qint64(double(clip.sourceData()->duration()) * 1000000.0);
    qint64 start = clip.cutTimeRange_start();
    qint64 stop = clip.cutTimeRange_stop();
    if (stop == 0 && start == 0)
        return {0, total};
    if (start > stop)
        std::swap(start, stop);
    start = std::clamp<qint64>(start, 0, total);
    stop = std::clamp<qint64>(stop, 0, total);
    return {start, stop};
}
