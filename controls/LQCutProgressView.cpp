#include "LQCutProgressView.h"

#include "ControlsLog.h"
#include "ImageLayerView.h"
#include "LQCutProgressViewDelegate.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QMouseEvent>

using Method = LQCutProgressViewDelegate::Method;

namespace {

bool responds(const LQCutProgressViewDelegate* delegate, Method method) {
    return delegate != nullptr && delegate->respondsTo(method);
}

} // namespace

LQCutProgressView::LQCutProgressView(const ViewRect& frame, QWidget* parent)
    : QWidget(parent), _model(frame.width, frame.height) {
    ViewFrame::setFrame(this, frame);
    _progressBackView = new ImageLayerView(this);
    _progressTintView = new ImageLayerView(this);
    _tickMarkView = new ImageLayerView(this);
    _handLeftView = new ImageLayerView(this);
    _handRightView = new ImageLayerView(this);
    _progressBackView->setCornerRadius(5);
    _progressTintView->setCornerRadius(5);
    applyModel();
}

LQCutProgressView::~LQCutProgressView() {
    qCDebug(lcControls, "%s", "-[LQCutProgressView dealloc]");
}

void LQCutProgressView::applyModel() {
    _progressBackView->setFrame(_model.trackFrame());
    _progressTintView->setFrame(_model.tintFrame());
    _tickMarkView->setFrame(_model.playheadFrame());
    _handLeftView->setFrame(_model.leftHandleFrame());
    _handRightView->setFrame(_model.rightHandleFrame());

    // Images are looked up again only when the skin or the look changed what they should be.
    const TrimRangeModel::Images& images = _model.images();
    const std::pair<ImageLayerView*, const std::string*> parts[] = {
        {_progressBackView, &images.track},  {_progressTintView, &images.tint},     {_tickMarkView, &images.playhead},
        {_handLeftView, &images.leftHandle}, {_handRightView, &images.rightHandle},
    };
    for (size_t i = 0; i < std::size(parts); ++i) {
        const QString wanted = QString::fromStdString(*parts[i].second);
        if (_imageNames[i] != wanted) {
            _imageNames[i] = wanted;
            parts[i].first->setImage(ResourceBundle::imageWithfileName(wanted));
        }
    }
}

void LQCutProgressView::syncSize() {
    if (_model.width() != width() || _model.height() != height()) {
        _model.setSize(width(), height());
        applyModel();
    }
}

void LQCutProgressView::setFrame(const ViewRect& frame) {
    ViewFrame::setFrame(this, frame);
    _model.setSize(frame.width, frame.height);
    applyModel();
}

void LQCutProgressView::resizeEvent(QResizeEvent*) {
    syncSize();
}

void LQCutProgressView::setType(long long type) {
    syncSize();
    _model.setType(type);
    applyModel();
}

void LQCutProgressView::setIsFanxuan(bool inverted) {
    syncSize();
    _model.setIsFanxuan(inverted);
    applyModel();
    update();
}

void LQCutProgressView::setDisable(bool disable) {
    _disable = disable;
    _handLeftView->setHidden(disable);
    _handRightView->setHidden(disable);
    update();
}

void LQCutProgressView::setTickMark(bool tickMark) {
    _tickMark = tickMark;
    _tickMarkView->setHidden(!tickMark);
}

void LQCutProgressView::setProgress(float progress) {
    syncSize();
    _model.setProgress(progress);
    applyModel();
}

void LQCutProgressView::setLowerValueUpperValue(float lower, float upper) {
    syncSize();
    _model.setLowerValueUpperValue(lower, upper);
    applyModel();
}

void LQCutProgressView::setLowerValue(float lower) {
    syncSize();
    _model.setLowerValue(lower);
    applyModel();
}

void LQCutProgressView::setUpperValue(float upper) {
    syncSize();
    _model.setUpperValue(upper);
    applyModel();
}

void LQCutProgressView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || _disable)
        return;
    syncSize();
    qCDebug(lcControls, "%s", "-[LQCutProgressView mouseDown:]");
    const ViewPoint p = ViewFrame::pointFromQt(this, event->position());
    const TrimRangeModel::PressReport report = _model.press(p.x, p.y);
    applyModel();
    if (report.seek && responds(_delegate, Method::SeekToTime))
        _delegate->actionSeekToTimeForCutProgressViewBlock(this, report.seekValue);
    qCDebug(lcControls, "progress : %f", double(report.downValue));
    if (responds(_delegate, Method::MouseDown))
        _delegate->actionMouseDownForCutProgressViewBlock(this, report.downValue);
}

void LQCutProgressView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || _disable)
        return;
    const ViewPoint p = ViewFrame::pointFromQt(this, event->position());
    const TrimRangeModel::DragReport report = _model.drag(p.x, p.y);
    applyModel();
    if (report.kind == TrimRangeModel::DragReport::Seek && responds(_delegate, Method::SeekToTime)) {
        qCDebug(lcControls, "%s \uff1atouchPoint.x : %f touchPoint.y : %f progress:%f",
                "-[LQCutProgressView mouseDragged:]", p.x, p.y, double(report.seekValue));
        _delegate->actionSeekToTimeForCutProgressViewBlock(this, report.seekValue);
    } else if (report.kind == TrimRangeModel::DragReport::Moved && responds(_delegate, Method::MouseMoved)) {
        _delegate->actionMouseMovedForCutProgressViewBlock(this, report.lower, report.upper, report.handle);
    }
}

void LQCutProgressView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || _disable)
        return;
    const float value = _model.release();
    qCDebug(lcControls, "progress : %f", double(value));
    if (responds(_delegate, Method::MouseUp))
        _delegate->actionMouseUpForCutProgressViewBlock(this, value);
}
