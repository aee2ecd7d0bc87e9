#include "MusicRangeSlider.h"

#include "ImageLayerView.h"
#include "MusicRangeSliderDelegate.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QResizeEvent>

using Piece = MusicRangeSliderModel::Piece;

MusicRangeSlider::MusicRangeSlider(const ViewRect& frame, QWidget* parent)
    : QWidget(parent), _model(frame.width, frame.height) {
    ViewFrame::setFrame(this, frame);
    _backGroundView = new ImageLayerView(this);
    _backGroundView->setImage(ResourceBundle::imageWithfileName("Cut/imgBack.bmp"));
    _videoPositionView = new MOQDraggedView({}, this);
    _musicRangeView = new ImageLayerView(this);
    _musicRangeView->setImage(ResourceBundle::imageWithfileName("Cut/pbTop.bmp"));
    _leftMoveView = new MOQDraggedView({}, this);
    _rightMoveView = new MOQDraggedView({}, this);
    _tickMarkView = new MOQDraggedView({}, this);
    _tickMarkView->setImage(ResourceBundle::imageWithfileName("Cut/btnSlip_Normal.png"));
    _leftMoveView->setIsDraw(true);
    _rightMoveView->setIsDraw(true);
    for (MOQDraggedView* v : {_videoPositionView, _leftMoveView, _rightMoveView, _tickMarkView})
        v->setDelegate(this);
    setEnable(false);
    layOut();
}

void MusicRangeSlider::layOut() {
    _backGroundView->setFrame(_model.trackFrame());
    _videoPositionView->setFrame(_model.rangeFrame());
    _musicRangeView->setFrame(_model.musicFrame());
    _leftMoveView->setFrame(_model.leftHandleFrame());
    _rightMoveView->setFrame(_model.rightHandleFrame());
    ViewRect tick = _model.playheadFrame();
    tick.y = std::max(0.0, (_model.height() - tick.height) / 2);
    _tickMarkView->setFrame(tick);
    _videoPositionView->setImage(ResourceBundle::imageWithfileName(QString::fromStdString(_model.rangeImage())));
    _videoPositionView->setRepeatWidth(static_cast<float>(_model.repeatWidth()));
    const std::pair<MOQDraggedView*, Piece> pieces[] = {{_videoPositionView, Piece::RangeBar},
                                                        {_leftMoveView, Piece::LeftHandle},
                                                        {_rightMoveView, Piece::RightHandle},
                                                        {_tickMarkView, Piece::Playhead}};
    for (const auto& [view, piece] : pieces) {
        const MusicRangeSliderModel::Limits limits = _model.dragLimits(piece);
        view->setDragLimits(limits.minimum, limits.maximum);
    }
}

void MusicRangeSlider::setFrame(const ViewRect& frame) {
    ViewFrame::setFrame(this, frame);
    _model.setSize(frame.width, frame.height);
    layOut();
}

void MusicRangeSlider::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (event->size().width() != _model.width() || event->size().height() != _model.height()) {
        _model.setSize(event->size().width(), event->size().height());
        layOut();
    }
}

void MusicRangeSlider::setVideoRangeLowerValue(float lower, float upper) {
    _model.setVideoRange(lower, upper);
    layOut();
}

void MusicRangeSlider::setMusicRangeLowerValue(float lower, float duration) {
    _model.setMusicRange(lower, duration);
    layOut();
}

void MusicRangeSlider::setIsRepeat(bool repeat) {
    _model.setIsRepeat(repeat);
    layOut();
}

void MusicRangeSlider::setProgress(float progress) {
    _model.setProgress(progress);
    layOut();
}

void MusicRangeSlider::setEnable(bool enable) {
    _model.setEnable(enable);
    _videoPositionView->setEnabled(enable);
    _leftMoveView->setEnabled(enable);
    _rightMoveView->setEnabled(enable);
    _leftMoveView->setVisible(enable);
    _rightMoveView->setVisible(enable);
    _tickMarkView->setVisible(!enable);
    _tickMarkView->setEnabled(!enable);
}

void MusicRangeSlider::mouseDraggedWithSender(MOQDraggedView* sender) {
    Piece piece = Piece::Playhead;
    if (sender == _leftMoveView)
        piece = Piece::LeftHandle;
    else if (sender == _rightMoveView)
        piece = Piece::RightHandle;
    else if (sender == _videoPositionView)
        piece = Piece::RangeBar;
    else if (sender != _tickMarkView)
        return;
    _model.dragged(piece, sender->frame().x);
    layOut();
    if (!_delegate)
        return;
    if (piece == Piece::Playhead)
        _delegate->changeProgress(this);
    _delegate->changeRangeValue(this);
}
