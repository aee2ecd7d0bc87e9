#include "WatermarkEditRules.h"

#include "ShownTime.h"

#include <algorithm>
#include <cmath>

WatermarkEditRules::Parts WatermarkEditRules::parts(float t) {
    // Rounded as every other time field: a time typed as 1.15 lies just below it in single precision.
    const ShownTime::Parts shown = ShownTime::split(double(t));
    Parts p;
    p.hours = int(std::min<long long>(shown.hours, 1000000));
    p.minutes = int(shown.minutes);
    p.seconds = int(shown.seconds);
    p.hundredths = int(shown.hundredths);
    return p;
}

float WatermarkEditRules::seconds(const Parts& p) {
    return static_cast<float>(p.hours * 3600.0 + p.minutes * 60.0 + p.seconds + p.hundredths / 100.0);
}

float WatermarkEditRules::value(const WaterParam& w, Time which) {
    switch (which) {
    case Time::Start:
        return w.startTime();
    case Time::Duration:
        return w.duration();
    case Time::ClipStart:
        return w.fileStartTime();
    case Time::ClipEnd:
        return w.fileEndTime();
    }
    return 0;
}

QString WatermarkEditRules::applyTime(WaterParam& w, Time which, float t, double D) {
    if (t < 0)
        return QStringLiteral("watermarkTimeNegative");
    switch (which) {
    case Time::Start:
        if (t > D)
            return QStringLiteral("watermarkStartBeyondVideo");
        if (t > D - w.duration())
            w.setDuration(static_cast<float>(D - t));
        w.setStartTime(t);
        return {};
    case Time::Duration:
        if (t > D - w.startTime())
            return QStringLiteral("watermarkDurationBeyondVideo");
        w.setDuration(t);
        return {};
    case Time::ClipStart:
        if (t > w.fileDuration())
            return QStringLiteral("watermarkClipBeyondFile");
        if (t >= w.fileEndTime())
            return QStringLiteral("watermarkClipStartAfterEnd");
        w.setFileStartTime(t);
        return {};
    case Time::ClipEnd:
        if (t > w.fileDuration())
            return QStringLiteral("watermarkClipBeyondFile");
        if (t <= w.fileStartTime())
            return QStringLiteral("watermarkClipEndBeforeStart");
        w.setFileEndTime(t);
        return {};
    }
    return {};
}

ViewRect WatermarkEditRules::sized(const ViewRect& box, bool width, double v, const ViewSize& overlay) {
    ViewRect r = box;
    if (width) {
        r.width = std::min(overlay.width, v);
        r.x = std::min(overlay.width - v, r.x);
    } else {
        r.height = std::min(overlay.height, v);
        r.y = std::min(overlay.height - v, r.y);
    }
    return r;
}

QString WatermarkEditRules::checkAlph(double alph) {
    if (!(alph >= 0 && alph <= 100))
        return QStringLiteral("watermarkAlphOutOfRange");
    return {};
}
