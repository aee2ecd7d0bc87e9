#pragma once

#include "ViewRect.h"

#include <QImage>
#include <QWidget>

class QPainter;

// One image layer of a composite control: an image view that scales its image to fill its frame on both axes (or,
// as an icon, scales it down to fit, keeping its aspect, centred), draws no frame and can round its corners
// (clipping the image to them). It takes no mouse events, so presses reach the control it belongs to.
class ImageLayerView : public QWidget {
    Q_OBJECT
public:
    enum class Scaling { AxesIndependently, ProportionallyDown };

    explicit ImageLayerView(QWidget* parent = nullptr, Scaling scaling = Scaling::AxesIndependently);

    QImage image() const { return _image; }
    void setImage(const QImage& image);
    double cornerRadius() const { return _cornerRadius; }
    void setCornerRadius(double radius);

    // Draws an image at its natural size, scaled down to fit the area when it is larger, keeping its aspect,
    // centred.
    static void drawScaledDown(QPainter& painter, const QRectF& area, const QImage& image);

    // The frame in the parent's y-up coordinates, exactly as last set.
    ViewRect frame() const;
    void setFrame(const ViewRect& frame);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage _image;
    Scaling _scaling;
    double _cornerRadius = 0;
};
