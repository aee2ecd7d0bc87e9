#include "MoviePlayerView.h"

#include "ViewFrame.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

MoviePlayerView::MoviePlayerView(QWidget* parent) : QWidget(parent) {}

void MoviePlayerView::setPicture(const QImage& picture) {
    _picture = picture;
    update();
}

void MoviePlayerView::setFrameRect(const ViewRect& frame) {
    _frame = frame;
    ViewFrame::setFrame(this, frame);
}

QRect MoviePlayerView::pictureRect() const {
    if (_picture.isNull() || width() <= 0 || height() <= 0)
        return {};
    // The picture is made at its display aspect already; fit it whole and centre it.
    const double scale = std::min(double(width()) / _picture.width(), double(height()) / _picture.height());
    const int w = std::max(1, int(std::lround(_picture.width() * scale)));
    const int h = std::max(1, int(std::lround(_picture.height() * scale)));
    return QRect((width() - w) / 2, (height() - h) / 2, w, h);
}

bool MoviePlayerView::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange && !_frame.isZero())
        ViewFrame::setFrame(this, _frame);
    return QWidget::event(event);
}

void MoviePlayerView::paintEvent(QPaintEvent*) {
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    QPainter painter(this);
    if (target.size() * devicePixelRatioF() != _picture.size())
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, _picture);
}

void MoviePlayerView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (onResize)
        onResize(size() * devicePixelRatioF());
}
