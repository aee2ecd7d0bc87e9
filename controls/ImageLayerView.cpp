#include "ImageLayerView.h"

#include "ViewFrame.h"

#include <QPainter>
#include <QPainterPath>

ImageLayerView::ImageLayerView(QWidget* parent, Scaling scaling) : QWidget(parent), _scaling(scaling) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ImageLayerView::setImage(const QImage& image) {
    _image = image;
    update();
}

void ImageLayerView::setCornerRadius(double radius) {
    _cornerRadius = radius;
    update();
}

ViewRect ImageLayerView::frame() const {
    return ViewFrame::frame(this);
}

void ImageLayerView::setFrame(const ViewRect& frame) {
    // A frame may come out negative in width from the arithmetic of its control; it then shows nothing.
    ViewRect shown = frame;
    if (shown.width < 0)
        shown.width = 0;
    if (shown.height < 0)
        shown.height = 0;
    ViewFrame::setFrame(this, shown);
}

void ImageLayerView::paintEvent(QPaintEvent*) {
    if (_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds = rect();
    if (_cornerRadius > 0) {
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath clip;
        clip.addRoundedRect(bounds, _cornerRadius, _cornerRadius);
        painter.setClipPath(clip);
    }
    if (_scaling == Scaling::AxesIndependently) {
        painter.drawImage(bounds, _image);
        return;
    }
    drawScaledDown(painter, bounds, _image);
}

void ImageLayerView::drawScaledDown(QPainter& painter, const QRectF& area, const QImage& image) {
    QSizeF size = QSizeF(image.size()) / image.devicePixelRatio();
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(0, 0), size);
    target.moveCenter(area.center());
    painter.drawImage(target, image);
}
