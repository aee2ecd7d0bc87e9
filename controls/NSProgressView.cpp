#include "NSProgressView.h"

#include "ControlsLog.h"
#include "ImageLayerView.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <cmath>

NSProgressView::NSProgressView(const ViewRect& frame, QWidget* parent) : QWidget(parent) {
    ViewFrame::setFrame(this, frame);
    _progressBackView = new ImageLayerView(this);
    _progressTintView = new ImageLayerView(this);
    _progressBackView->setImage(ResourceBundle::imageWithfileName("Resources/play_played_bkg.png"));
    _progressTintView->setImage(ResourceBundle::imageWithfileName("Resources/edit_trim_focus.png"));
    for (ImageLayerView* view : {_progressBackView, _progressTintView})
        view->setCornerRadius(5);
    _progressBackView->setFrame({0, 0, frame.width, frame.height});
    _progressTintView->setFrame({0, 0, 0, frame.height});
    _laidOutWidth = frame.width;
    _laidOutHeight = frame.height;
}

NSProgressView::~NSProgressView() {
    qCDebug(lcControls, "%s", "-[NSProgressView dealloc]");
}

void NSProgressView::setProgress(float progress) {
    ViewRect tint = _progressTintView->frame();
    // A fraction that is not a number shows an empty bar.
    tint.width = std::isnan(progress) ? 0.0 : _progressBackView->frame().width * progress;
    _progressTintView->setFrame(tint);
    _progress = progress;
}

void NSProgressView::fitToSize(double width, double height) {
    _laidOutWidth = width;
    _laidOutHeight = height;
    _progressBackView->setFrame({0, 0, width, height});
    ViewRect tint = _progressTintView->frame();
    tint.width = std::isnan(_progress) ? 0.0 : width * _progress;
    _progressTintView->setFrame(tint);
}

void NSProgressView::setFrame(const ViewRect& frame) {
    ViewFrame::setFrame(this, frame);
    fitToSize(frame.width, frame.height);
}

void NSProgressView::resizeEvent(QResizeEvent*) {
    if (_laidOutWidth != width() || _laidOutHeight != height())
        fitToSize(width(), height());
}
