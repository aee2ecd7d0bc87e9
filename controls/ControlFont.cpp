#include "ControlFont.h"

#include <QGuiApplication>

#include <cmath>

QFont ControlFont::system(double size) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(std::max(1, int(std::lround(size))));
    return font;
}

double ControlFont::size(const QFont& font) {
    if (font.pixelSize() > 0)
        return font.pixelSize();
    // A font sized in typographic points: 72 of them to the inch, at the 96 logical pixels of the screen.
    return font.pointSizeF() * 96.0 / 72.0;
}
