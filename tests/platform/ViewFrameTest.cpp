#include "ViewFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

TEST(ViewFrame, ConvertsBetweenBottomLeftAndTopLeft) {
    struct Case {
        ViewRect view;
        double spaceHeight;
        QRectF qt;
    };
    const Case cases[] = {
        {{0, 0, 100, 20}, 300, QRectF(0, 280, 100, 20)},     // on the bottom edge
        {{10, 280, 50, 20}, 300, QRectF(10, 0, 50, 20)},     // on the top edge
        {{5.5, 10.25, 1, 2}, 100, QRectF(5.5, 87.75, 1, 2)}, // fractions survive
        {{0, -10, 30, 40}, 100, QRectF(0, 70, 30, 40)},      // partly below the bottom edge
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ViewFrame::toQt(c.view, c.spaceHeight), c.qt);
        EXPECT_EQ(ViewFrame::fromQt(c.qt, c.spaceHeight), c.view);
    }
}

TEST(ViewFrame, PlacesAChildAndReadsItsFrameBack) {
    QWidget parent;
    parent.resize(400, 300);
    auto* child = new QWidget(&parent);
    ViewFrame::setFrame(child, ViewRect{10, 20, 100, 50});
    EXPECT_EQ(child->geometry(), QRect(10, 230, 100, 50));
    EXPECT_EQ(ViewFrame::frame(child), (ViewRect{10, 20, 100, 50}));

    ViewFrame::setFrame(child, ViewRect{10.4, 20.3, 100.2, 50.1});
    EXPECT_EQ(ViewFrame::frame(child), (ViewRect{10.4, 20.3, 100.2, 50.1})) << "exact while Qt did not move it";

    ViewFrame::setFrameSize(child, ViewSize{60, 30});
    EXPECT_EQ(ViewFrame::frame(child), (ViewRect{10.4, 20.3, 60, 30}));
    ViewFrame::setFrameOrigin(child, ViewPoint{0, 0});
    EXPECT_EQ(child->geometry(), QRect(0, 270, 60, 30));
    EXPECT_EQ(ViewFrame::bounds(child), (ViewRect{0, 0, 60, 30}));
}

TEST(ViewFrame, ChildrenKeepTheirDistanceFromTheBottomWhenTheParentResizes) {
    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    auto* bottomBar = new QWidget(&parent);
    auto* moved = new QWidget(&parent);
    ViewFrame::setFrame(bottomBar, ViewRect{0, 0, 400, 40});
    ViewFrame::setFrame(moved, ViewRect{0, 100, 10, 10});
    moved->move(20, 150); // Qt code moves it: 300 - 150 - 10 = 140 from the bottom

    parent.resize(400, 500);
    EXPECT_EQ(bottomBar->geometry(), QRect(0, 460, 400, 40));
    EXPECT_EQ(ViewFrame::frame(bottomBar), (ViewRect{0, 0, 400, 40}));
    EXPECT_EQ(ViewFrame::frame(moved), (ViewRect{20, 140, 10, 10}));
    EXPECT_EQ(moved->geometry(), QRect(20, 350, 10, 10));

    parent.resize(300, 100);
    EXPECT_EQ(bottomBar->geometry(), QRect(0, 60, 400, 40));
}

TEST(ViewFrame, ConvertsPointsAndRectanglesInsideAWidget) {
    QWidget widget;
    widget.resize(200, 100);
    EXPECT_EQ(ViewFrame::pointFromQt(&widget, QPointF(10, 0)), (ViewPoint{10, 100}));
    EXPECT_EQ(ViewFrame::pointFromQt(&widget, QPointF(10, 100)), (ViewPoint{10, 0}));
    EXPECT_EQ(ViewFrame::pointToQt(&widget, ViewPoint{3, 25}), QPointF(3, 75));
    EXPECT_EQ(ViewFrame::rectToQt(&widget, ViewRect{0, 0, 200, 10}), QRectF(0, 90, 200, 10));
    EXPECT_EQ(ViewFrame::rectFromQt(&widget, QRectF(0, 0, 200, 10)), (ViewRect{0, 90, 200, 10}));
}

TEST(ViewFrame, AWindowFrameIsMeasuredFromTheScreensBottomEdge) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect space = screen->geometry();
    QWidget window;
    ViewFrame::setFrame(&window, ViewRect{100, 50, 300, 200});
    EXPECT_EQ(window.geometry(), QRect(space.x() + 100, space.y() + space.height() - 250, 300, 200));
    EXPECT_EQ(ViewFrame::frame(&window), (ViewRect{100, 50, 300, 200}));

    ViewFrame::centerWindow(&window);
    EXPECT_EQ(window.geometry().center(), screen->availableGeometry().center());
}
