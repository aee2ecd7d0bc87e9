#pragma once

#include "ProgressSliderModel.h"
#include "ViewRect.h"

#include <QWidget>

class ImageLayerView;
class LQProgressSliderDelegate;

// The horizontal slider of the system: a value (a float fraction, 0 at the left end and 1 at the right end)
// shown by a square thumb on a thin image track. It is built from three image layers and reports press, every
// thumb movement and release to an optional delegate. Setting the value from code moves the thumb and reports
// nothing.
class LQProgressSlider : public QWidget {
    Q_OBJECT
public:
    explicit LQProgressSlider(const ViewRect& frame, QWidget* parent = nullptr);
    ~LQProgressSlider() override;

    ImageLayerView* progressBackView() const { return _progressBackView; }
    ImageLayerView* progressTintView() const { return _progressTintView; }
    ImageLayerView* tickMarkView() const { return _tickMarkView; }

    float progress() const { return _model.progress(); }
    void setProgress(float progress);
    bool disable() const { return _disable; }
    void setDisable(bool disable) { _disable = disable; }
    LQProgressSliderDelegate* delegate() const { return _delegate; }
    void setDelegate(LQProgressSliderDelegate* delegate) { _delegate = delegate; }

    // Places the slider and lays out thumb and tint again for the stored value.
    void setFrame(const ViewRect& frame);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void syncSize();
    void applyLayout();
    void dragTo(double x);

    ProgressSliderModel _model;
    ImageLayerView* _progressBackView;
    ImageLayerView* _progressTintView;
    ImageLayerView* _tickMarkView;
    bool _disable = false;
    LQProgressSliderDelegate* _delegate = nullptr;
};
