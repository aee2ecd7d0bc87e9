#include "LQUICliper.h"

#include "LQCropTmpView.h"
#include "LQUICliperDelegate.h"
#include "ViewFrame.h"

#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>

namespace {
const QColor kHandleColour(90, 216, 238);
const QLoggingCategory& cropLog() {
    static const QLoggingCategory category("clipwright.crop");
    return category;
}
} // namespace

LQUICliper::LQUICliper(const ViewRect& frame, QWidget* parent)
    : QWidget(parent), _model(frame), _leftView(new LQCropTmpView(this)), _topView(new LQCropTmpView(this)),
      _rightView(new LQCropTmpView(this)), _bottomView(new LQCropTmpView(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    for (LQCropTmpView* mask : maskViews()) {
        mask->setBackgroundColor(QColor(0, 0, 0, 128));
        mask->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (parent)
        ViewFrame::setFrame(this, frame);
    else
        resize(static_cast<int>(frame.width), static_cast<int>(frame.height));
    layMasks();
}

LQUICliper::~LQUICliper() {
    qCDebug(cropLog, "%s", "-[LQUICliper dealloc]");
}

void LQUICliper::setFrameRect(const ViewRect& frame) {
    _model.setFrameRect(frame);
    if (parentWidget())
        ViewFrame::setFrame(this, frame);
    else
        resize(static_cast<int>(frame.width), static_cast<int>(frame.height));
    layMasks();
    update();
}

void LQUICliper::setVideoSize(const ViewSize& size) {
    _model.setVideoSize(size);
    update();
}

void LQUICliper::setCropType(int type) {
    _model.setCropType(type);
    // The panels keep the box on screen; derive it now rather than at the next paint, which a hidden overlay
    // never gets, so no one reads the preset as the crop.
    _model.redraw();
    update();
}

void LQUICliper::setClipRect(const ViewRect& rect) {
    _model.setClipRect(rect);
    layMasks();
    update();
}

void LQUICliper::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layMasks();
}

void LQUICliper::layMasks() {
    // The standard layout of the four panels around the box's sides in a W x H overlay.
    const double x = _model.left(), y = _model.bottom(), x2 = _model.right(), y2 = _model.top();
    const ViewSize size = _model.size();
    const ViewRect frames[4] = {
        {0, 0, x, size.height},                // left
        {x, y2, x2 - x, size.height - y2},     // top
        {x2, 0, size.width - x2, size.height}, // right
        {x, 0, x2 - x, y},                     // bottom
    };
    const auto masks = maskViews();
    for (int i = 0; i < 4; ++i)
        masks[i]->setGeometry(ViewFrame::rectToQt(this, frames[i]).toRect());
}

void LQUICliper::mousePressEvent(QMouseEvent* event) {
    if (_delegate)
        _delegate->actionMoveBeginForLQUICliperBlock(this, ViewRect{});
    _pressPoint = ViewFrame::pointFromQt(this, event->position());
    const ViewRect f = ViewFrame::frame(this);
    qCDebug(cropLog, "x:%f y:%f w:%f h:%f", f.x, f.y, f.width, f.height);
    _model.press(_pressPoint);
}

void LQUICliper::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    _model.drag(ViewFrame::pointFromQt(this, event->position()));
    layMasks();
    update();
    const ViewRect box = _model.getclipRectFrame();
    if (_model.crop_Type() == LQUICliperModel::KeepAspect)
        qCDebug(cropLog, "%lf,%lf,%lf,%lf", box.x, box.y, box.width, box.height);
    if (_delegate)
        _delegate->actionMovedForLQUICliperBlock(this, box);
}

void LQUICliper::mouseReleaseEvent(QMouseEvent* event) {
    _model.release();
    const ViewRect box = _model.getclipRectFrame();
    qCDebug(cropLog, "%lf,%lf,%lf,%lf", box.x, box.y, box.width, box.height);
    const ViewPoint p = ViewFrame::pointFromQt(this, event->position());
    if (_fileType == 1 && p.x == _pressPoint.x && p.y == _pressPoint.y && _delegate)
        _delegate->actionMoveEndForLQUICliperBlock(this, _model.getPercentClipRect());
}

void LQUICliper::paintEvent(QPaintEvent*) {
    _model.redraw();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const std::vector<ViewRect> handles = _model.handleRects();
    for (const ViewRect& handle : handles)
        painter.fillRect(ViewFrame::rectToQt(this, handle), kHandleColour);
    const double x = _model.left(), y = _model.bottom(), x2 = _model.right(), y2 = _model.top();
    QPen pen(kHandleColour, 1);
    pen.setDashPattern({10, 5});
    pen.setDashOffset(0);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // From the top-left corner down, across, up and back; the far sides one pixel in, so they stay on screen.
    const QRectF box = ViewFrame::rectToQt(this, {x, y, x2 - x, y2 - y}).adjusted(0, 0, -1, -1);
    const QPointF corners[5] = {box.topLeft(), box.bottomLeft(), box.bottomRight(), box.topRight(), box.topLeft()};
    painter.drawPolyline(corners, 5);
}
