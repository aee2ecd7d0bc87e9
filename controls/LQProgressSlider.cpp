#include "LQProgressSlider.h"

#include "ControlsLog.h"
#include "ImageLayerView.h"
#include "LQProgressSliderDelegate.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QMouseEvent>

LQProgressSlider::LQProgressSlider(const ViewRect& frame, QWidget* parent)
    : QWidget(parent), _model(frame.width, frame.height) {
    ViewFrame::setFrame(this, frame);
    _progressBackView = new ImageLayerView(this);
    _progressTintView = new ImageLayerView(this);
    _tickMarkView = new ImageLayerView(this);
    const QImage track = ResourceBundle::imageWithfileName("Cut/imgBack.bmp");
    for (ImageLayerView* view : {_progressBackView, _progressTintView}) {
        view->setImage(track);
        view->setCornerRadius(5);
    }
    _tickMarkView->setImage(ResourceBundle::imageWithfileName("Cut/btnSlip_Normal.png"));
    applyLayout();
}

LQProgressSlider::~LQProgressSlider() {
    qCDebug(lcControls, "%s", "-[LQProgressSlider dealloc]");
}

void LQProgressSlider::applyLayout() {
    _progressBackView->setFrame(_model.trackFrame());
    _progressTintView->setFrame(_model.tintFrame());
    _tickMarkView->setFrame(_model.thumbFrame());
}

void LQProgressSlider::syncSize() {
    if (_model.width() != width() || _model.height() != height()) {
        _model.setSize(width(), height());
        applyLayout();
    }
}

void LQProgressSlider::setProgress(float progress) {
    syncSize();
    _model.setProgress(progress);
    qCDebug(lcControls, "progress:%f", double(progress));
    applyLayout();
}

void LQProgressSlider::setFrame(const ViewRect& frame) {
    ViewFrame::setFrame(this, frame);
    _model.setSize(frame.width, frame.height);
    qCDebug(lcControls, "progress:%f", double(_model.progress()));
    applyLayout();
    update();
}

void LQProgressSlider::resizeEvent(QResizeEvent*) {
    syncSize();
}

void LQProgressSlider::dragTo(double x) {
    syncSize();
    const float value = _model.dragTo(x);
    applyLayout();
    qCDebug(lcControls, "progressValue:%f", double(value));
    if (_delegate && _delegate->respondsTo(LQProgressSliderDelegate::Method::Progress))
        _delegate->actionProgressForProgressSliderBlock(this, value);
}

void LQProgressSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || _disable)
        return;
    // Only a delegate that takes the press lets the press move the thumb.
    if (!_delegate || !_delegate->respondsTo(LQProgressSliderDelegate::Method::MouseDown))
        return;
    _delegate->actionMouseDownForProgressSliderBlock(this, _model.progress());
    dragTo(ViewFrame::pointFromQt(this, event->position()).x);
}

void LQProgressSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || _disable)
        return;
    dragTo(ViewFrame::pointFromQt(this, event->position()).x);
}

void LQProgressSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || _disable)
        return;
    if (_delegate && _delegate->respondsTo(LQProgressSliderDelegate::Method::MouseUp))
        _delegate->actionMouseUpForProgressSliderBlock(this, _model.progress());
}
