#include "LQCropTmpView.h"

#include "ControlsLog.h"

#include <QPaintEvent>
#include <QPainter>

LQCropTmpView::LQCropTmpView(QWidget* parent) : QWidget(parent) {}

LQCropTmpView::~LQCropTmpView() {
    qCDebug(lcControls, "%s", "-[LQCropTmpView dealloc]");
}

QColor LQCropTmpView::backgroundColor() const {
    QMutexLocker lock(&_colorLock);
    return _backgroundColor;
}

void LQCropTmpView::setBackgroundColor(const QColor& color) {
    QMutexLocker lock(&_colorLock);
    _backgroundColor = color;
}

void LQCropTmpView::paintEvent(QPaintEvent* event) {
    const QColor color = backgroundColor();
    if (!color.isValid())
        return;
    // The view draws nothing else, so blending its colour over what lies behind gives the look of a layer whose
    // pixels were replaced with the colour.
    QPainter painter(this);
    painter.fillRect(event->rect(), color);
}
