#pragma once

#include "ViewFrame.h"

#include <QTest>
#include <QWidget>

#include <memory>

// A shown top-level window for controls under test, and mouse gestures at points in a control's own y-up
// coordinates. Qt's enter and leave events come from pointer moves over the shown window.
class WidgetHost {
public:
    WidgetHost(int width = 600, int height = 400) : _window(std::make_unique<QWidget>()) {
        _window->resize(width, height);
        _window->show();
        if (!QTest::qWaitForWindowExposed(_window.get()))
            qWarning("the test window was not exposed");
    }

    QWidget* window() const { return _window.get(); }

    static QPoint at(QWidget* widget, double x, double y) {
        return ViewFrame::pointToQt(widget, ViewPoint{x, y}).toPoint();
    }
    static void press(QWidget* widget, double x, double y) {
        QTest::mousePress(widget, Qt::LeftButton, {}, at(widget, x, y));
    }
    static void release(QWidget* widget, double x, double y) {
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at(widget, x, y));
    }
    static void drag(QWidget* widget, double x, double y) { QTest::mouseMove(widget, at(widget, x, y)); }
    static void click(QWidget* widget, double x, double y) {
        press(widget, x, y);
        release(widget, x, y);
    }
    // Moves the pointer over the widget (an enter event) or away from it onto the window (a leave event).
    static void hover(QWidget* widget, double x, double y) { QTest::mouseMove(widget, at(widget, x, y)); }
    void moveAway() { QTest::mouseMove(_window.get(), QPoint(_window->width() - 1, _window->height() - 1)); }

private:
    std::unique_ptr<QWidget> _window;
};
