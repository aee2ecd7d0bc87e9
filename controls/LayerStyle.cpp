#include "LayerStyle.h"

#include <QPainter>

QPainterPath LayerStyle::shape(const QRectF& bounds) const {
    QPainterPath path;
    if (cornerRadius > 0)
        path.addRoundedRect(bounds, cornerRadius, cornerRadius);
    else
        path.addRect(bounds);
    return path;
}

void LayerStyle::clip(QPainter& painter, const QRectF& bounds) const {
    if (masksToBounds)
        painter.setClipPath(shape(bounds), Qt::IntersectClip);
}

void LayerStyle::paintBorder(QPainter& painter, const QRectF& bounds) const {
    if (borderWidth <= 0 || !borderColor.isValid() || borderColor.alpha() == 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(borderColor, borderWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double inset = borderWidth / 2;
    const QRectF inner = bounds.adjusted(inset, inset, -inset, -inset);
    const double radius = std::max(0.0, cornerRadius - inset);
    if (radius > 0)
        painter.drawRoundedRect(inner, radius, radius);
    else
        painter.drawRect(inner);
    painter.restore();
}
