#pragma once

#include <QColor>

class QWidget;

// The look every window of the application shares: the background colour RGB(33, 176, 235) filling the whole
// window. The title bar itself belongs to the window manager on Linux desktops and cannot be made transparent, so
// the coloured content area is everything below it.
class WindowStyle {
public:
    static QColor backgroundColor() { return QColor(33, 176, 235); }
    static void apply(QWidget* window);
};
