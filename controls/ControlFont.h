#pragma once

#include <QFont>

// Fonts of the kit, sized in points of y-up view coordinates, which are Qt's logical pixels (a Qt
// point size would come out a third larger on a 96-dpi screen). The platform's system UI font, which Linux
// lacks, is the application's default sans font.
class ControlFont {
public:
    static QFont system(double size);
    // The size of a font in the same points.
    static double size(const QFont& font);
};
