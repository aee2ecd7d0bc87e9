#pragma once

#include <QRect>

#include <string>
#include <vector>

class QWidget;

// What a person sees of a window's area: every shown control (texts, buttons, steppers, sliders, pop-ups and
// fields, but not the frames and backgrounds behind them, nor the rows inside a scrolling list) must lie inside
// the area where it can be seen, show its text whole, and cover no other control.
class LayoutCheck {
public:
    struct Control {
        QWidget* widget;
        QRect rect; // in the area's coordinates
        std::string name;
    };

    // The area's shown controls.
    static std::vector<Control> shownControls(QWidget* area);
    // The part of the area that its parents leave visible, in its own coordinates.
    static QRect visibleRect(QWidget* area);
    // Adds a test failure for each control that sticks out, is cut off or covers another; returns the count.
    static int expectFits(QWidget* area);
};
