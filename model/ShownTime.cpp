#include "ShownTime.h"

#include <algorithm>
#include <cmath>

long long ShownTime::hundredths(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    // Past about 2.5 years the count would no longer fit the fields anyway.
    const double count = std::floor(std::min(seconds, 8.0e7) * 100.0 + 0.05);
    return (long long)count;
}

ShownTime::Parts ShownTime::split(double seconds) {
    const long long total = hundredths(seconds);
    Parts p;
    p.hours = total / 360000;
    p.minutes = total / 6000 % 60;
    p.seconds = total / 100 % 60;
    p.hundredths = total % 100;
    return p;
}

QString ShownTime::text(double seconds) {
    const Parts p = split(seconds);
    return QString::asprintf("%02lld:%02lld:%02lld.%02lld", p.hours, p.minutes, p.seconds, p.hundredths);
}

QString ShownTime::durationText(double start, double end) {
    const long long length = hundredths(end) - hundredths(start);
    return text(length > 0 ? double(length) / 100.0 : 0.0);
}
