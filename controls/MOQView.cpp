#include "MOQView.h"

#include "SpecFrame.h"

#include <QPainter>

MOQView::MOQView(QWidget* parent) : QWidget(parent) {}

MOQView::MOQView(const SpecRect& frame, QWidget* parent) : MOQView(parent) {
    SpecFrame::setFrame(this, frame);
}

void MOQView::setBackGroundColor(const QColor& color) {
    _backGroundColor = color;
    update();
}

void MOQView::setBordColor(const QColor& color) {
    _bordColor = color;
    update();
}

void MOQView::setCornerRadius(float radius) {
    _cornerRadius = radius;
    update();
}

void MOQView::setBorderWidth(float width) {
    _borderWidth = width;
    update();
}

void MOQView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF bounds = rect();
    _layer.masksToBounds = true;
    _layer.cornerRadius = _cornerRadius;
    _layer.borderWidth = _borderWidth;
    if (_bordColor.isValid())
        _layer.borderColor = _bordColor;
    if (_cornerRadius > 0)
        painter.setRenderHint(QPainter::Antialiasing);
    _layer.clip(painter, bounds);
    if (_backGroundColor.isValid())
        painter.fillRect(bounds, _backGroundColor);
    painter.setClipping(false);
    _layer.paintBorder(painter, bounds);
}
