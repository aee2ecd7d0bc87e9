#pragma once

#include "ViewRect.h"
#include "TrimRangeModel.h"

#include <QString>
#include <QWidget>

#include <array>

class ImageLayerView;
class LQCutProgressViewDelegate;

// The range slider with which the user marks a time range of a file: a track, a left and a right handle along
// the bottom edge for the range's start and stop, a tint that shows the range, and a playhead that shows and sets
// the player's position. Values are float fractions of the duration. In the inverted look (isFanxuan) the range
// between the handles is the part cut out: the whole track is highlighted and the range shows plain.
class LQCutProgressView : public QWidget {
    Q_OBJECT
public:
    explicit LQCutProgressView(const ViewRect& frame, QWidget* parent = nullptr);
    ~LQCutProgressView() override;

    ImageLayerView* progressBackView() const { return _progressBackView; }
    ImageLayerView* progressTintView() const { return _progressTintView; }
    ImageLayerView* handLeftView() const { return _handLeftView; }
    ImageLayerView* handRightView() const { return _handRightView; }
    ImageLayerView* tickMarkView() const { return _tickMarkView; }

    bool handLeft() const { return _model.handLeft(); }
    bool handRight() const { return _model.handRight(); }
    bool handtick() const { return _model.handtick(); }
    long long type() const { return _model.type(); }
    void setType(long long type);
    bool disable() const { return _disable; }
    void setDisable(bool disable);
    bool tickMark() const { return _tickMark; }
    void setTickMark(bool tickMark);
    float progress() const { return _model.progress(); }
    void setProgress(float progress);
    bool isFanxuan() const { return _model.isFanxuan(); }
    void setIsFanxuan(bool inverted);
    float lowerValue() const { return _model.lowerValue(); }
    float upperValue() const { return _model.upperValue(); }
    void setLowerValueUpperValue(float lower, float upper);
    void setLowerValue(float lower);
    void setUpperValue(float upper);
    long long handleType() const { return _model.handleType(); }
    void setHandleType(long long handle) { _model.setHandleType(handle); }
    LQCutProgressViewDelegate* delegate() const { return _delegate; }
    void setDelegate(LQCutProgressViewDelegate* delegate) { _delegate = delegate; }

    // Places the slider, lays out every part again and re-applies the stored values.
    void setFrame(const ViewRect& frame);

    const TrimRangeModel& model() const { return _model; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void syncSize();
    void applyModel();

    TrimRangeModel _model;
    ImageLayerView* _progressBackView;
    ImageLayerView* _progressTintView;
    ImageLayerView* _tickMarkView;
    ImageLayerView* _handLeftView;
    ImageLayerView* _handRightView;
    std::array<QString, 5> _imageNames; // what each part shows, in the order track, tint, playhead, left, right
    bool _disable = false;
    bool _tickMark = false;
    LQCutProgressViewDelegate* _delegate = nullptr;
};
