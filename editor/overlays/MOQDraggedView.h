#pragma once

#include "ViewRect.h"

#include <QImage>
#include <QWidget>

class MOQDraggedView;

// What a dragged view reports: it has moved by one drag step.
class MOQDraggedViewDelegate {
public:
    virtual ~MOQDraggedViewDelegate() = default;
    virtual void mouseDraggedWithSender(MOQDraggedView* sender) = 0;
};

// A small image view that follows the pointer horizontally inside its superview, between limits its owner sets,
// and reports each step. It can draw the look of a range handle (a red dot over a red line) or, over a range,
// white lines every `repeatWidth` points in place of its image. Frames in the superview's y-up points.
class MOQDraggedView : public QWidget {
    Q_OBJECT
public:
    explicit MOQDraggedView(const ViewRect& frame, QWidget* parent = nullptr);

    QImage image() const { return _image; }
    void setImage(const QImage& image);
    bool isDraw() const { return _isDraw; }
    void setIsDraw(bool draw);
    float repeatWidth() const { return _repeatWidth; }
    void setRepeatWidth(float width);
    MOQDraggedViewDelegate* delegate() const { return _delegate; }
    void setDelegate(MOQDraggedViewDelegate* delegate) { _delegate = delegate; }
    // The x the view may take while dragged.
    void setDragLimits(double minimum, double maximum);

    ViewRect frame() const;
    void setFrame(const ViewRect& frame);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    double pointerX(QMouseEvent* event) const;

    QImage _image;
    bool _isDraw = false;
    float _repeatWidth = 0;
    MOQDraggedViewDelegate* _delegate = nullptr;
    double _touchDownPointOrginx = 0;
    double _minimumX = 0;
    double _maximumX = 0;
};
