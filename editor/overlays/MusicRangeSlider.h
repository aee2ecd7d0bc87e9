#pragma once

#include "MOQDraggedView.h"
#include "MusicRangeSliderModel.h"

#include <QWidget>

class ImageLayerView;
class MusicRangeSliderDelegate;

// The background-music panel's timeline bar over the whole video: the selected item's place with its two handles,
// the music bar, the repeat lines and the playhead. Editing (enable YES) shows the handles and hides the playhead;
// following shows the playhead. The arithmetic is MusicRangeSliderModel's; this widget lays out its pieces from
// it and forwards drags.
class MusicRangeSlider : public QWidget, public MOQDraggedViewDelegate {
    Q_OBJECT
public:
    explicit MusicRangeSlider(const ViewRect& frame, QWidget* parent = nullptr);

    void setFrame(const ViewRect& frame);
    void setVideoRangeLowerValue(float lower, float upper);
    void setMusicRangeLowerValue(float lower, float duration);
    void setIsRepeat(bool repeat);
    void setProgress(float progress);
    void setEnable(bool enable);

    float positionLeftValue() const { return _model.positionLeftValue(); }
    float positionRightValue() const { return _model.positionRightValue(); }
    float musicLeftValue() const { return _model.musicLeftValue(); }
    float musicRightValue() const { return _model.musicRightValue(); }
    float progress() const { return _model.progress(); }
    bool enable() const { return _model.enable(); }
    bool isRepeat() const { return _model.isRepeat(); }
    const MusicRangeSliderModel& model() const { return _model; }

    MusicRangeSliderDelegate* delegate() const { return _delegate; }
    void setDelegate(MusicRangeSliderDelegate* delegate) { _delegate = delegate; }

    ImageLayerView* backGroundView() const { return _backGroundView; }
    MOQDraggedView* videoPositionView() const { return _videoPositionView; }
    ImageLayerView* musicRangeView() const { return _musicRangeView; }
    MOQDraggedView* leftMoveView() const { return _leftMoveView; }
    MOQDraggedView* rightMoveView() const { return _rightMoveView; }
    MOQDraggedView* tickMarkView() const { return _tickMarkView; }

    void mouseDraggedWithSender(MOQDraggedView* sender) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();

    MusicRangeSliderModel _model;
    ImageLayerView* _backGroundView;
    MOQDraggedView* _videoPositionView;
    ImageLayerView* _musicRangeView;
    MOQDraggedView* _leftMoveView;
    MOQDraggedView* _rightMoveView;
    MOQDraggedView* _tickMarkView;
    MusicRangeSliderDelegate* _delegate = nullptr;
};
