#pragma once

#include "ViewRect.h"

#include <QWidget>

class ImageLayerView;

// The progress bar of every job: a back image over the whole bar and a tint image from the left edge to the
// fraction done. The fraction is not clamped; owners pass 0 to 1.
class NSProgressView : public QWidget {
    Q_OBJECT
public:
    explicit NSProgressView(const ViewRect& frame, QWidget* parent = nullptr);
    ~NSProgressView() override;

    ImageLayerView* progressTintView() const { return _progressTintView; }
    ImageLayerView* progressBackView() const { return _progressBackView; }
    float progress() const { return _progress; }
    void setProgress(float progress);

    // Places the bar: the back view takes the new size; the tint takes the fraction of the new width and keeps
    // its height.
    void setFrame(const ViewRect& frame);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitToSize(double width, double height);

    ImageLayerView* _progressTintView;
    ImageLayerView* _progressBackView;
    float _progress = 0;
    double _laidOutWidth = 0;
    double _laidOutHeight = 0;
};
