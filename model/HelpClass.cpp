#include "HelpClass.h"

#include "ModelLog.h"
#include "ShownTime.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Hours, minutes, seconds and hundredths of a time, rounded as every time field and label shows it.
std::array<int, 4> timeParts(float t) {
    const ShownTime::Parts p = ShownTime::split(double(t));
    return {int(std::min<long long>(p.hours, 2000000000)), int(p.minutes), int(p.seconds), int(p.hundredths)};
}

QString twoDigits(int value) {
    return QString::asprintf("%02i", std::max(value, 0));
}

int colourByte(double component) {
    const double scaled = std::trunc(component * 255.0);
    if (!(scaled > 0))
        return 0;
    return scaled >= 255.0 ? 255 : int(scaled);
}

} // namespace

QString HelpClass::returnTimeToStr(float seconds) {
    const auto p = timeParts(seconds);
    return retrnTimeToStr(p[0], p[1], p[2], p[3]);
}

QString HelpClass::returnTimeToCutFileName(float seconds) {
    const auto p = timeParts(seconds);
    return twoDigits(p[0]) + twoDigits(p[1]) + twoDigits(p[2]) + QLatin1Char('.') + twoDigits(p[3]);
}

QString HelpClass::retrnTimeToStr(int hours, int minutes, int seconds, int hundredths) {
    return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(seconds) +
           QLatin1Char('.') + twoDigits(hundredths);
}

QString HelpClass::createFilename() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
}

uint32_t HelpClass::retDwordColorVolue(const QColor& color) {
    float red = 0, green = 0, blue = 0;
    if (color.isValid())
        color.toRgb().getRgbF(&red, &green, &blue);
    const uint32_t r = uint32_t(colourByte(red));
    const uint32_t g = uint32_t(colourByte(green));
    const uint32_t b = uint32_t(colourByte(blue));
    qCDebug(lcModel, "传入的颜色值：red:%u green:%u blue:%u", r, g, b);
    return (r << 24) | (g << 16) | (b << 8);
}

ViewRect HelpClass::getHeightOfText(const QString& text, double width, double height,
                                    const std::optional<QFont>& font) {
    QFont measured = font.value_or(QGuiApplication::font());
    if (!font)
        measured.setPixelSize(30);
    const QFontMetricsF metrics(measured);
    // A single line measured from its baseline: y up, so the box starts at the descent below the baseline.
    const double y = -metrics.descent();
    const double lineHeight = metrics.ascent() + metrics.descent() + metrics.leading();
    const double textWidth = metrics.horizontalAdvance(text);
    return ViewRect{0, y, textWidth, 2 * y + lineHeight + 4};
}

ButtonTitle HelpClass::retButtonTitle(const QString& text, const QColor& color, const QString& fontName,
                                      qint64 fontSize, bool shadow, unsigned alignment) {
    ButtonTitle title;
    if (text.isEmpty())
        return title;
    title.text = text;
    title.hasAttributes = true;
    switch (alignment) {
    case 1:
        title.alignment = Qt::AlignRight;
        break;
    case 3:
        title.alignment = Qt::AlignJustify;
        break;
    case 4:
        title.alignment = Qt::AlignLeft;
        break;
    default:
        title.alignment = Qt::AlignHCenter;
        break;
    }
    title.color = color.isValid() ? color : QColor(Qt::black);
    title.font = QGuiApplication::font();
    if (!fontName.isEmpty())
        title.font.setFamily(fontName);
    // Sizes are layout points, which are Qt's logical pixels; a Qt point size would come out a third larger.
    title.font.setPixelSize(fontSize < 1 ? 12 : int(std::min<qint64>(fontSize, 4096)));
    if (shadow) {
        title.shadowBlurRadius = 2;
        title.shadowColor = QColor::fromRgbF(1.0f / 3, 1.0f / 3, 1.0f / 3);
        title.shadowOffset = ViewSize{1, 2};
    } else {
        title.shadowBlurRadius = 0;
        title.shadowColor = title.color;
        title.shadowOffset = ViewSize{0, 0};
    }
    return title;
}
