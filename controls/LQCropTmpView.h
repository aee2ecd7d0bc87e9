#pragma once

#include <QColor>
#include <QMutex>
#include <QWidget>

// A view that fills itself with one colour, alpha included, so a half-transparent colour leaves it half-transparent
// over whatever lies behind it: the
// crop overlay darkens the outside of the crop box with four half-transparent ones, and the watermark overlay
// uses four clear ones as the edges of its box. Setting the colour does not redraw; the next redraw shows it.
class LQCropTmpView : public QWidget {
    Q_OBJECT
public:
    explicit LQCropTmpView(QWidget* parent = nullptr);
    ~LQCropTmpView() override;

    QColor backgroundColor() const;
    void setBackgroundColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable QMutex _colorLock; // the colour is an atomic property
    QColor _backgroundColor;
};
