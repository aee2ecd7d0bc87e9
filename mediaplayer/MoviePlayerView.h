#pragma once

#include "ViewRect.h"

#include <QImage>
#include <QWidget>

#include <functional>

// The player's view: paints the shown picture aspect-fit and centred in its bounds (the rest stays clear, so the
// host's background shows) and hosts the windows' overlays (crop, watermark) as child widgets above it.
class MoviePlayerView : public QWidget {
    Q_OBJECT
public:
    explicit MoviePlayerView(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return _picture; }

    // The frame in the parent's bounds (y-up view coordinates). It is applied again whenever the view
    // is put into a parent, since callers set it before they add the view to its host.
    void setFrameRect(const ViewRect& frame);
    const ViewRect& frameRect() const { return _frame; }

    // Where the picture is painted, in the view's own (Qt) coordinates; empty without a picture.
    QRect pictureRect() const;

    // The view's size in device pixels changed.
    std::function<void(QSize)> onResize;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage _picture;
    ViewRect _frame;
};
