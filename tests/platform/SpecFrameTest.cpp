#include "SpecFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

TEST(SpecFrame, ConvertsBetweenBottomLeftAndTopLeft) {
    struct Case {
        SpecRect spec;
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
        EXPECT_EQ(SpecFrame::toQt(c.spec, c.spaceHeight), c.qt);
        EXPECT_EQ(SpecFrame::fromQt(c.qt, c.spaceHeight), c.spec);
    }
}

TEST(SpecFrame, PlacesAChildAndReadsItsFrameBack) {
    QWidget parent;
    parent.resize(400, 300);
    auto* child = new QWidget(&parent);
    SpecFrame::setFrame(child, SpecRect{10, 20, 100, 50});
    EXPECT_EQ(child->geometry(), QRect(10, 230, 100, 50));
    EXPECT_EQ(SpecFrame::frame(child), (SpecRect{10, 20, 100, 50}));

    SpecFrame::setFrame(child, SpecRect{10.4, 20.3, 100.2, 50.1});
    EXPECT_EQ(SpecFrame::frame(child), (SpecRect{10.4, 20.3, 100.2, 50.1})) << "exact while Qt did not move it";

    SpecFrame::setFrameSize(child, SpecSize{60, 30});
    EXPECT_EQ(SpecFrame::frame(child), (SpecRect{10.4, 20.3, 60, 30}));
    SpecFrame::setFrameOrigin(child, SpecPoint{0, 0});
    EXPECT_EQ(child->geometry(), QRect(0, 270, 60, 30));
    EXPECT_EQ(SpecFrame::bounds(child), (SpecRect{0, 0, 60, 30}));
}

TEST(SpecFrame, ChildrenKeepTheirDistanceFromTheBottomWhenTheParentResizes) {
    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    auto* bottomBar = new QWidget(&parent);
    auto* moved = new QWidget(&parent);
    SpecFrame::setFrame(bottomBar, SpecRect{0, 0, 400, 40});
    SpecFrame::setFrame(moved, SpecRect{0, 100, 10, 10});
    moved->move(20, 150); // Qt code moves it: 300 - 150 - 10 = 140 from the bottom

    parent.resize(400, 500);
    EXPECT_EQ(bottomBar->geometry(), QRect(0, 460, 400, 40));
    EXPECT_EQ(SpecFrame::frame(bottomBar), (SpecRect{0, 0, 400, 40}));
    EXPECT_EQ(SpecFrame::frame(moved), (SpecRect{20, 140, 10, 10}));
    EXPECT_EQ(moved->geometry(), QRect(20, 350, 10, 10));

    parent.resize(300, 100);
    EXPECT_EQ(bottomBar->geometry(), QRect(0, 60, 400, 40));
}

TEST(SpecFrame, ConvertsPointsAndRectanglesInsideAWidget) {
    QWidget widget;
    widget.resize(200, 100);
    EXPECT_EQ(SpecFrame::pointFromQt(&widget, QPointF(10, 0)), (SpecPoint{10, 100}));
    EXPECT_EQ(SpecFrame::pointFromQt(&widget, QPointF(10, 100)), (SpecPoint{10, 0}));
    EXPECT_EQ(SpecFrame::pointToQt(&widget, SpecPoint{3, 25}), QPointF(3, 75));
    EXPECT_EQ(SpecFrame::rectToQt(&widget, SpecRect{0, 0, 200, 10}), QRectF(0, 90, 200, 10));
    EXPECT_EQ(SpecFrame::rectFromQt(&widget, QRectF(0, 0, 200, 10)), (SpecRect{0, 90, 200, 10}));
}

TEST(SpecFrame, AWindowFrameIsMeasuredFromTheScreensBottomEdge) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect space = screen->geometry();
    QWidget window;
    SpecFrame::setFrame(&window, SpecRect{100, 50, 300, 200});
    EXPECT_EQ(window.geometry(), QRect(space.x() + 100, space.y() + space.height() - 250, 300, 200));
    EXPECT_EQ(SpecFrame::frame(&window), (SpecRect{100, 50, 300, 200}));

    SpecFrame::centerWindow(&window);
    EXPECT_EQ(window.geometry().center(), screen->availableGeometry().center());
}
