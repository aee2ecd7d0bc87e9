#include "WatermarkEditRules.h"

#include <cmath>

WatermarkEditRules::Parts WatermarkEditRules::parts(float t) {
    Parts p;
    const float whole = std::floor(t);
    p.hours = static_cast<int>(whole) / 3600;
    const float rest = t - static_cast<float>(p.hours) * 3600.0f;
    p.minutes = static_cast<int>(std::floor(rest)) / 60;
    p.seconds = static_cast<int>(std::floor(rest - static_cast<float>(p.minutes) * 60.0f));
    p.hundredths = static_cast<int>((t - whole) * 100.0f);
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
