#pragma once

#include "ViewSize.h"

#include <QColor>
#include <QFont>
#include <QString>

// A styled button title, ready to draw: text, colour, font, horizontal alignment and a shadow. An empty title
// carries no attributes (hasAttributes false) and draws nothing. shadowOffset is y-up (points to the right and
// upwards); a painter in Qt's coordinates offsets the shadow by (width, -height).
struct ButtonTitle {
    QString text;
    bool hasAttributes = false;
    QColor color;
    QFont font;
    Qt::Alignment alignment = Qt::AlignHCenter;
    double shadowBlurRadius = 0;
    QColor shadowColor;
    ViewSize shadowOffset;

    bool isEmpty() const { return text.isEmpty(); }
};
