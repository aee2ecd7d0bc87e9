#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The backing layer of a control: corner radius, masking to the bounds and a border drawn inside them. The layer
// keeps what was last set on it, so a control that leaves it alone in one redraw keeps the previous look.
// Rectangles are the widget's own bounds in Qt's coordinates (the shape is symmetric).
class LayerStyle {
public:
    double cornerRadius = 0;
    double borderWidth = 0;
    QColor borderColor; // invalid: no colour set yet (the layer's default, a clear border)
    bool masksToBounds = false;

    // Clips the painter to the rounded bounds when masking is on.
    void clip(QPainter& painter, const QRectF& bounds) const;
    // Strokes the border inside the bounds, when it has a width and a colour.
    void paintBorder(QPainter& painter, const QRectF& bounds) const;
    QPainterPath shape(const QRectF& bounds) const;
};
