#pragma once

#include "ViewRect.h"

#include <QPointF>
#include <QRectF>

class QWidget;

// The one conversion between y-up view coordinates (points, origin bottom-left, y up) and Qt's
// (origin top-left, y down). Everything outside the platform layer keeps y-up view coordinates and
// goes through these functions to place, read and paint widgets.
//
// A child widget's frame is relative to its parent's bounds, so a frame with y = 0 sits on the parent's bottom
// edge. A frame set with setFrame() stays bottom-anchored: when the parent is resized, the frame is applied again
// (at once for a visible parent, when it is shown for a hidden one). A top-level window's frame is in screen
// coordinates: y up from the bottom edge of the primary screen.
//
// Widgets placed with setFrame() must not also be managed by a QLayout.
class ViewFrame {
public:
    // Pure conversions within a space of the given height.
    static QRectF toQt(const ViewRect& rect, double spaceHeight);
    static ViewRect fromQt(const QRectF& rect, double spaceHeight);

    // Places a widget (a child in its parent's bounds, a window on the primary screen).
    static void setFrame(QWidget* widget, const ViewRect& frame);
    // The widget's frame in the same space; exactly the rectangle last set while Qt has not moved the widget.
    static ViewRect frame(const QWidget* widget);
    // The widget's own bounds: (0, 0, width, height).
    static ViewRect bounds(const QWidget* widget);
    static void setFrameSize(QWidget* widget, const ViewSize& size);      // keeps the origin (bottom-left)
    static void setFrameOrigin(QWidget* widget, const ViewPoint& origin); // keeps the size

    // Points and rectangles inside a widget's bounds, e.g. a mouse position or a rectangle to paint.
    static ViewPoint pointFromQt(const QWidget* widget, const QPointF& point);
    static QPointF pointToQt(const QWidget* widget, const ViewPoint& point);
    static ViewRect rectFromQt(const QWidget* widget, const QRectF& rect);
    static QRectF rectToQt(const QWidget* widget, const ViewRect& rect);

    // Centres a top-level window on its screen (keeping its size).
    static void centerWindow(QWidget* window);
};
