#include "MOQImageView.h"

#include "ImageLayerView.h"
#include "ViewFrame.h"

#include <QMouseEvent>
#include <QPainter>

MOQImageView::MOQImageView(QWidget* parent) : PanelView(parent) {
    // A press on a disabled view stops here too instead of reaching the view behind it.
    setAttribute(Qt::WA_NoMousePropagation);
}

MOQImageView::MOQImageView(const ViewRect& frame, QWidget* parent) : MOQImageView(parent) {
    ViewFrame::setFrame(this, frame);
}

void MOQImageView::setNormalImage(const QImage& image) {
    _normalImage = image;
    update();
}

void MOQImageView::setDownImage(const QImage& image) {
    _downImage = image;
    update();
}

void MOQImageView::setImage(const QImage& image) {
    _image = image;
    update();
}

void MOQImageView::mousePressEvent(QMouseEvent* event) {
    event->accept();
    _isDown = true;
    update();
}

void MOQImageView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    _isDown = false;
    update();
}

void MOQImageView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!isEnabled() || !(event->buttons() & Qt::LeftButton))
        return;
    if (_MouseDraggedBlock && parentWidget() != nullptr) {
        QWidget* parent = parentWidget();
        const ViewPoint inParent = ViewFrame::pointFromQt(parent, mapToParent(event->position()));
        double x = inParent.x;
        // The lower bound goes first, so in a parent narrower than the view x ends at the negative difference.
        if (x < 0)
            x = 0;
        if (x > parent->width() - width())
            x = parent->width() - width();
        ViewFrame::setFrameOrigin(this, ViewPoint{x, ViewFrame::frame(this).y});
        const DragBlock block = _MouseDraggedBlock;
        block(this);
    }
    update();
}

void MOQImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds = rect();

    beginPanel(painter);
    if (!_image.isNull())
        ImageLayerView::drawScaledDown(painter, bounds, _image);
    fillPanel(painter);
    if (!_normalBackGroundImage.isNull())
        painter.drawImage(bounds, _normalBackGroundImage);

    const QImage& shown = _isDown && !_downImage.isNull() ? _downImage : _normalImage;
    if (!shown.isNull()) {
        const QSizeF size = QSizeF(shown.size()) / shown.devicePixelRatio();
        // Centred horizontally, its top on the view's top edge.
        const ViewRect place{(width() - size.width()) / 2, height() - size.height(), size.width(), size.height()};
        painter.drawImage(ViewFrame::rectToQt(this, place), shown);
    }
    endPanel(painter);
}
