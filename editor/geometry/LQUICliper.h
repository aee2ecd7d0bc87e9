#pragma once

#include "LQUICliperModel.h"
#include "ViewRect.h"

#include <QWidget>

#include <array>

class LQCropTmpView;
class LQUICliperDelegate;

// The crop overlay laid exactly over the picture rectangle of the preview. It shows the crop box as a dashed
// outline with small square handles and dims everything outside it with four half-transparent mask panels. A
// drag on a corner or an edge handle resizes the box, a drag inside it moves it; after every drag step the box, in
// the overlay's points, goes to the delegate. The box arithmetic is LQUICliperModel's. Geometry is in the
// overlay's points, origin bottom-left, y up.
class LQUICliper : public QWidget {
    Q_OBJECT
public:
    LQUICliper(const ViewRect& frame, QWidget* parent = nullptr);
    ~LQUICliper() override;

    LQUICliperDelegate* delegate() const { return _delegate; }
    void setDelegate(LQUICliperDelegate* delegate) { _delegate = delegate; }
    int crop_Type() const { return _model.crop_Type(); }
    void setCrop_Type(int type) { _model.setCrop_Type(type); }
    long long fileType() const { return _fileType; }
    void setFileType(long long type) { _fileType = type; }

    void setFrameRect(const ViewRect& frame);
    ViewRect oFrame() const { return _model.oFrame(); }
    void setVideoSize(const ViewSize& size);
    ViewSize videoSize() const { return _model.videoSize(); }
    // Sets the resize mode. The box stays the one on screen (a preset box: LQUICliperModel::presetBox).
    void setCropType(int type);
    void setClipRect(const ViewRect& rect);
    ViewRect getclipRectFrame() const { return _model.getclipRectFrame(); }
    double getclipRectScale() const { return _model.getclipRectScale(); }
    ViewRect getclipRect() const { return _model.getclipRect(); }
    ViewRect getPercentClipRect() const { return _model.getPercentClipRect(); }

    const LQUICliperModel& model() const { return _model; }
    std::array<LQCropTmpView*, 4> maskViews() const { return {_leftView, _topView, _rightView, _bottomView}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layMasks();

    LQUICliperModel _model;
    LQUICliperDelegate* _delegate = nullptr;
    long long _fileType = 0;
    ViewPoint _pressPoint;
    LQCropTmpView* _leftView;
    LQCropTmpView* _topView;
    LQCropTmpView* _rightView;
    LQCropTmpView* _bottomView;
};
