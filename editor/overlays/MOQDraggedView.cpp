#include "MOQDraggedView.h"

#include "ViewFrame.h"

#include <QMouseEvent>
#include <QPainter>

MOQDraggedView::MOQDraggedView(const ViewRect& frame, QWidget* parent) : QWidget(parent) {
    setFrame(frame);
}

void MOQDraggedView::setImage(const QImage& image) {
    _image = image;
    update();
}

void MOQDraggedView::setIsDraw(bool draw) {
    _isDraw = draw;
    update();
}

void MOQDraggedView::setRepeatWidth(float width) {
    _repeatWidth = width;
    update();
}

void MOQDraggedView::setDragLimits(double minimum, double maximum) {
    _minimumX = minimum;
    _maximumX = std::max(minimum, maximum);
}

ViewRect MOQDraggedView::frame() const {
    return ViewFrame::frame(this);
}

void MOQDraggedView::setFrame(const ViewRect& frame) {
    ViewRect shown = frame;
    shown.width = std::max(0.0, shown.width);
    shown.height = std::max(0.0, shown.height);
    ViewFrame::setFrame(this, shown);
}

double MOQDraggedView::pointerX(QMouseEvent* event) const {
    // The pointer in the superview's coordinates: however deep the superview lies in the window.
    return parentWidget() ? mapTo(parentWidget(), event->position().toPoint()).x() : event->position().x();
}

void MOQDraggedView::mousePressEvent(QMouseEvent* event) {
    if (!isEnabled())
        return;
    _touchDownPointOrginx = pointerX(event) - frame().x;
}

void MOQDraggedView::mouseMoveEvent(QMouseEvent* event) {
    if (!isEnabled() || !(event->buttons() & Qt::LeftButton))
        return;
    const double x = std::clamp(pointerX(event) - _touchDownPointOrginx, _minimumX, _maximumX);
    ViewRect f = frame();
    f.x = x;
    setFrame(f);
    if (_delegate)
        _delegate->mouseDraggedWithSender(this);
}

void MOQDraggedView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double w = width(), h = height();
    if (_repeatWidth > 0) {
        // The lines replace the image; a repeat wider than the view shows nothing.
        if (_repeatWidth > w)
            return;
        painter.setPen(QPen(Qt::white, 2));
        for (int k = 1; k * _repeatWidth <= w || k == 1; ++k) {
            const double x = k * _repeatWidth + 2;
            painter.drawLine(QPointF(x, 0), QPointF(x, h));
        }
        return;
    }
    if (!_image.isNull())
        painter.drawImage(rect(), _image);
    if (_isDraw) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::red, 2));
        // Qt's y runs down: the dot stands 10 points below the top, the line runs from there to the bottom.
        painter.drawLine(QPointF(w * 0.5, 10), QPointF(w * 0.5, h));
        painter.setBrush(Qt::red);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(w * 0.5, 10), 4.5, 4.5);
    }
}
