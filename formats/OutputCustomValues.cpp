#include "OutputCustomValues.h"

#include "UserDefaults.h"

#include <algorithm>

const QString OutputCustomValues::kWidthKey = QStringLiteral("resolutionSelectCustom-Width");
const QString OutputCustomValues::kHeightKey = QStringLiteral("resolutionSelectCustom-Height");
const QString OutputCustomValues::kBitRateKey = QStringLiteral("bitSelectCustom-Value");

int OutputCustomValues::sanitizeFrameDimension(qint64 pixels) {
    if (pixels <= 0)
        return 0;
    const auto clamped = static_cast<int>(std::clamp<qint64>(pixels, kMinFrameDimension, kMaxFrameDimension));
    return clamped & ~1;
}

int OutputCustomValues::sanitizeBitRate(qint64 kbps) {
    if (kbps <= 0)
        return 0;
    return static_cast<int>(std::clamp<qint64>(kbps, kMinBitRate, kMaxBitRate));
}

qint64 OutputCustomValues::fieldNumber(const QString& text) {
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            continue;
        value = value * 10 + (c.unicode() - u'0');
        if (value > kMaxBitRate * qint64(10))
            break; // far beyond every range: the clamp decides
    }
    return value;
}

int OutputCustomValues::width() {
    return sanitizeFrameDimension(UserDefaults::standardUserDefaults().integerForKey(kWidthKey));
}

int OutputCustomValues::height() {
    return sanitizeFrameDimension(UserDefaults::standardUserDefaults().integerForKey(kHeightKey));
}

int OutputCustomValues::bitRate() {
    return sanitizeBitRate(UserDefaults::standardUserDefaults().integerForKey(kBitRateKey));
}

void OutputCustomValues::setFrameSize(qint64 width, qint64 height) {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.setInteger(sanitizeFrameDimension(width), kWidthKey);
    defaults.setInteger(sanitizeFrameDimension(height), kHeightKey);
}

void OutputCustomValues::setBitRate(qint64 kbps) {
    UserDefaults::standardUserDefaults().setInteger(sanitizeBitRate(kbps), kBitRateKey);
}

void OutputCustomValues::removeFrameSize() {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.removeObjectForKey(kWidthKey);
    defaults.removeObjectForKey(kHeightKey);
}
