#pragma once

#include "ButtonTitle.h"
#include "ViewRect.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <optional>

// Stateless helpers for time strings, output base names, packed colours and text measurement.
class HelpClass {
public:
    HelpClass() = delete;

    // Seconds -> "HH:MM:SS.CC" (hours, minutes, seconds, hundredths; each at least two digits, hundredths
    // truncated). Computed in single precision; negative parts print as 00.
    static QString returnTimeToStr(float seconds);
    // The same parts without colons, "HHMMSS.CC", for output file names.
    static QString returnTimeToCutFileName(float seconds);
    // Four parts as given (negative ones as 00, none reduced) -> "HH:MM:SS.CC".
    static QString retrnTimeToStr(int hours, int minutes, int seconds, int hundredths);
    // The local date and time as "yyyy-MM-dd_HH-mm-ss".
    static QString createFilename();

    // The engine's colour word: red in bits 24-31, green 16-23, blue 8-15, low byte 0, no alpha. Each component
    // is truncated from component x 255 and clamped to 0..255 so that it can never spill into another byte. An
    // invalid colour gives 0.
    static uint32_t retDwordColorVolue(const QColor& color);

    // Font sizes here are layout points, which are Qt's logical pixels (QFont::setPixelSize), not Qt points.
    // The single-line bounding box of text in font (no text: ""; no font: the application font at 30 points),
    // as measured with the font's leading; its height is replaced by 2 x y + height + 4, origin and width kept.
    static ViewRect getHeightOfText(const QString& text, double width, double height, const std::optional<QFont>& font);

    // A styled button title. alignment uses the toolkit's values: 0 or 2 centre, 1 right, 3 justified, 4 left
    // (natural). A null colour is black; fontSize below 1 is 12 points. An empty text gives an empty title.
    static ButtonTitle retButtonTitle(const QString& text, const QColor& color, const QString& fontName,
                                      qint64 fontSize, bool shadow, unsigned alignment);
};
