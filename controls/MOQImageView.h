#pragma once

#include "PanelView.h"
#include "ViewRect.h"

#include <QImage>

#include <functional>

// The picture and panel view of every window: a fill colour, a stretched background image, and one image at its
// natural size, centred horizontally against the top edge (another image while pressed), with curved corners and
// a border. It carries two free tags and, with a drag closure set, can be dragged sideways inside its parent.
// Press, release and drag stop here: they never reach the views behind it.
class MOQImageView : public PanelView {
    Q_OBJECT
public:
    using DragBlock = std::function<void(MOQImageView*)>;

    explicit MOQImageView(QWidget* parent = nullptr);
    MOQImageView(const ViewRect& frame, QWidget* parent);

    QImage normalBackGroundImage() const { return _normalBackGroundImage; }
    void setNormalBackGroundImage(const QImage& image) { _normalBackGroundImage = image; }
    float value() const { return _value; }
    void setValue(float value) { _value = value; }
    qint64 index() const { return _index; }
    void setIndex(qint64 index) { _index = index; }
    QImage normalImage() const { return _normalImage; }
    void setNormalImage(const QImage& image);
    QImage downImage() const { return _downImage; }
    void setDownImage(const QImage& image);
    DragBlock MouseDraggedBlock() const { return _MouseDraggedBlock; }
    void setMouseDraggedBlock(DragBlock block) { _MouseDraggedBlock = std::move(block); }

    // The image view's own image (thumbnails): scaled down to fit, keeping its aspect, centred.
    QImage image() const { return _image; }
    void setImage(const QImage& image);

    bool isPressed() const { return _isDown; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage _normalBackGroundImage;
    float _value = 0;
    qint64 _index = 0;
    QImage _normalImage;
    QImage _downImage;
    DragBlock _MouseDraggedBlock;
    QImage _image;
    bool _isDown = false;
};
