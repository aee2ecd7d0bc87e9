#include "PanelView.h"

#include <QPainter>

void PanelView::setBackGroundColor(const QColor& color) {
    _backGroundColor = color;
    update();
}

void PanelView::setBordColor(const QColor& color) {
    _bordColor = color;
    update();
}

void PanelView::setCornerRadius(float radius) {
    _cornerRadius = radius;
    update();
}

void PanelView::setBorderWidth(float width) {
    _borderWidth = width;
    update();
}

void PanelView::beginPanel(QPainter& painter) {
    _layer.masksToBounds = true;
    _layer.cornerRadius = _cornerRadius;
    _layer.borderWidth = _borderWidth;
    if (_bordColor.isValid())
        _layer.borderColor = _bordColor;
    if (_cornerRadius > 0)
        painter.setRenderHint(QPainter::Antialiasing);
    _layer.clip(painter, rect());
}

void PanelView::fillPanel(QPainter& painter) const {
    if (_backGroundColor.isValid())
        painter.fillRect(rect(), _backGroundColor);
}

void PanelView::endPanel(QPainter& painter) const {
    painter.setClipping(false);
    _layer.paintBorder(painter, rect());
}
