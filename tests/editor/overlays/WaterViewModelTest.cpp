#include "WaterViewModel.h"

#include <gtest/gtest.h>

namespace {

using Cursor = WaterViewModel::Cursor;

// An overlay 400 x 300 with a 100 x 100 box at (100, 100), image mode, an image of the given size.
WaterViewModel imageOverlay(int scaleType = 1, ViewSize image = {200, 100}) {
    WaterViewModel m({0, 0, 400, 300});
    m.setVideoSize({800, 600});
    m.setMarkWaterType(WaterViewModel::ImageMode);
    m.setImageSize(image);
    m.setHasContent(true);
    m.setClipRect({100, 100, 100, 100});
    m.setScale_Type(scaleType);
    return m;
}

void expectBox(const WaterViewModel& m, double x, double y, double w, double h) {
    const ViewRect r = m.getclipRectFrame();
    EXPECT_NEAR(r.x, x, 1e-4);
    EXPECT_NEAR(r.y, y, 1e-4);
    EXPECT_NEAR(r.width, w, 1e-4);
    EXPECT_NEAR(r.height, h, 1e-4);
}

} // namespace

TEST(WaterViewModel, NewOverlayBoxIsTheFrameInsetByOnePoint) {
    WaterViewModel m({0, 0, 640, 360});
    expectBox(m, 1, 1, 638, 358);
}

TEST(WaterViewModel, SetClipRectLimitsTheSizeOnly) {
    WaterViewModel m({0, 0, 400, 300});
    m.setClipRect({390, 295, 5, 5});
    expectBox(m, 390, 295, 10, 10); // origin kept even past the overlay's sides
    m.setClipRect({20, 30, 900, 700});
    expectBox(m, 20, 30, 400, 300);
    m.setClipRect({});
    expectBox(m, 0, 0, 10, 10);
}

TEST(WaterViewModel, FractionsVideoPixelsAndTheFitOfANewImage) {
    WaterViewModel m({0, 0, 400, 300});
    m.setVideoSize({800, 600});
    m.setClipRect({100, 150, 200, 75});
    const ViewRect f = m.getPercentImageClipRect();
    EXPECT_DOUBLE_EQ(f.x, 0.25);
    EXPECT_DOUBLE_EQ(f.y, 0.5);
    EXPECT_DOUBLE_EQ(f.width, 0.5);
    EXPECT_DOUBLE_EQ(f.height, 0.25);
    const ViewRect px = m.getclipRect();
    EXPECT_DOUBLE_EQ(px.x, 200);
    EXPECT_DOUBLE_EQ(px.width, 400);
    // Too big and relatively taller than the overlay: fitted to its height.
    const ViewRect tall = m.getCheckClipRect({0, 0, 300, 600});
    EXPECT_DOUBLE_EQ(tall.height, 300);
    EXPECT_DOUBLE_EQ(tall.width, 150);
    // Too big but relatively wider: returned unchanged.
    const ViewRect wide = m.getCheckClipRect({0, 0, 900, 300});
    EXPECT_DOUBLE_EQ(wide.width, 900);
    // A re-frame without re-placing changes the fractions, not the points.
    m.setFrameRect({0, 0, 800, 300});
    expectBox(m, 100, 150, 200, 75);
    EXPECT_DOUBLE_EQ(m.getPercentImageClipRect().x, 0.125);
}

TEST(WaterViewModel, ScaleTypeThreeTakesTheImageAspect) {
    WaterViewModel m({0, 0, 400, 300});
    m.setImageSize({200, 100});
    m.setClipRect({10, 20, 30, 50});
    m.setScale_Type(3);
    expectBox(m, 10, 20, 100, 50);
}

TEST(WaterViewModel, PressHitCodesInImageMode) {
    struct Case {
        ViewPoint p;
        int code;
        Cursor cursor;
    } cases[] = {
        {{105, 195}, WaterViewModel::TopLeft, Cursor::ClosedHand},
        {{195, 195}, WaterViewModel::TopRight, Cursor::ClosedHand},
        {{105, 105}, WaterViewModel::BottomLeft, Cursor::ClosedHand},
        {{195, 105}, WaterViewModel::BottomRight, Cursor::ClosedHand},
        {{105, 150}, WaterViewModel::LeftMiddle, Cursor::ResizeLeftRight},
        {{195, 150}, WaterViewModel::RightMiddle, Cursor::ResizeLeftRight},
        {{150, 195}, WaterViewModel::TopMiddle, Cursor::ResizeUpDown},
        {{150, 105}, WaterViewModel::BottomMiddle, Cursor::ResizeUpDown},
        {{150, 150}, WaterViewModel::Move, Cursor::ClosedHand},
        {{105, 125}, WaterViewModel::None, Cursor::ClosedHand}, // left band, away from the handles
        {{90, 195}, WaterViewModel::TopLeft, Cursor::Arrow},    // outer part of a zone: outside the box
        {{300, 250}, WaterViewModel::None, Cursor::Unchanged},  // elsewhere: the press ends
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
        WaterViewModel m = imageOverlay();
        const auto result = m.press(c.p);
        EXPECT_TRUE(result.accepted);
        EXPECT_EQ(m.moveTouchPoint(), c.code);
        EXPECT_EQ(result.cursor, c.cursor);
        m.release();
        EXPECT_EQ(m.moveTouchPoint(), WaterViewModel::None);
    }
}

TEST(WaterViewModel, PressOutsideTheBoxMovesNothing) {
    WaterViewModel m = imageOverlay();
    m.press({90, 195}); // top-left zone, but outside
    EXPECT_FALSE(m.drag({50, 250}));
    expectBox(m, 100, 100, 100, 100);
    const auto released = m.release();
    EXPECT_TRUE(released.accepted);
    EXPECT_EQ(released.cursor, Cursor::Arrow);
}

TEST(WaterViewModel, SideBandPressChangesNothingButReports) {
    WaterViewModel m = imageOverlay();
    m.press({105, 125});
    EXPECT_TRUE(m.drag({50, 50}));
    expectBox(m, 100, 100, 100, 100);
}

TEST(WaterViewModel, FreeResizeLimits) {
    struct Case {
        ViewPoint press;
        ViewPoint drag;
        ViewRect box;
    } cases[] = {
        {{105, 195}, {100, 20}, {100, 100, 100, 10}},   // top-left below the bottom: top stops 10 above it
        {{105, 195}, {350, 150}, {190, 100, 10, 50}},   // top-left past the right side: 10 left of it
        {{105, 150}, {350, 150}, {160, 100, 40, 100}},  // left-middle: 40 from the right side
        {{195, 150}, {20, 150}, {100, 100, 10, 100}},   // right-middle: 10 from the left side
        {{150, 195}, {150, 250}, {100, 100, 100, 150}}, // top-middle
        {{150, 105}, {150, -50}, {100, 0, 100, 200}},   // bottom-middle, pointer below the overlay: its edge
        {{195, 105}, {500, 40}, {100, 40, 300, 160}},   // bottom-right, pointer past the right edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.drag.x << "," << c.drag.y);
        WaterViewModel m = imageOverlay(1);
        m.press(c.press);
        EXPECT_TRUE(m.drag(c.drag));
        expectBox(m, c.box.x, c.box.y, c.box.width, c.box.height);
    }
}

TEST(WaterViewModel, MoveStaysInsideTheOverlay) {
    WaterViewModel m = imageOverlay();
    m.press({150, 150});
    EXPECT_TRUE(m.drag({20, 150}));
    expectBox(m, 0, 100, 100, 100);
    EXPECT_TRUE(m.drag({390, 290}));
    expectBox(m, 300, 200, 100, 100);
    EXPECT_TRUE(m.drag({200, 160}));
    expectBox(m, 150, 110, 100, 100);
}

TEST(WaterViewModel, ScaleTypeThreeCornersKeepTheImageAspect) {
    // An image twice as wide as high: the box starts 100 x 50.
    WaterViewModel m = imageOverlay(3);
    expectBox(m, 100, 100, 200, 100);
    m.setClipRect({100, 100, 100, 50});
    m.press({195, 105});
    EXPECT_TRUE(m.drag({140, 0}));
    expectBox(m, 100, 130, 40, 20); // bottom-right 40 points right of the left side: 40 x 20
    m.release();

    // Fewer than 20 points below the top: a smaller box, still 2:1.
    WaterViewModel low = imageOverlay(3);
    low.setClipRect({100, 0, 100, 15});
    low.press({195, 5});
    EXPECT_TRUE(low.drag({140, 0}));
    const ViewRect r = low.getclipRectFrame();
    EXPECT_NEAR(r.width / r.height, 2.0, 1e-4);
    EXPECT_NEAR(r.height, 15, 1e-4);

    // Middle handles are inert and send nothing.
    WaterViewModel inert = imageOverlay(3);
    inert.setClipRect({100, 100, 100, 100});
    inert.press({105, 150});
    EXPECT_EQ(inert.moveTouchPoint(), WaterViewModel::LeftMiddle);
    EXPECT_FALSE(inert.drag({20, 150}));
    expectBox(inert, 100, 100, 100, 100);
    EXPECT_EQ(inert.handleRects().size(), 4u);
    EXPECT_EQ(imageOverlay(1).handleRects().size(), 8u);
}

TEST(WaterViewModel, ScaleTypeThreeTopCornersAndBottomLeft) {
    WaterViewModel m = imageOverlay(3);
    m.setClipRect({100, 100, 100, 50});
    m.press({105, 145});
    EXPECT_EQ(m.moveTouchPoint(), WaterViewModel::TopLeft);
    m.drag({60, 0}); // pointer's y unused: width from x
    expectBox(m, 60, 100, 140, 70);
    m.release();
    m.press({195, 165});
    EXPECT_EQ(m.moveTouchPoint(), WaterViewModel::TopRight);
    m.drag({400, 300}); // limited by the room above the bottom side: 200 high at most
    expectBox(m, 60, 100, 340, 170);
    m.release();
    m.press({65, 105});
    EXPECT_EQ(m.moveTouchPoint(), WaterViewModel::BottomLeft);
    m.drag({300, 105}); // x stops 10 left of the right side; the top stays
    expectBox(m, 300, 220, 100, 50);
}

TEST(WaterViewModel, TextModeAnyPressInsideMoves) {
    WaterViewModel m({0, 0, 400, 300});
    m.setMarkWaterType(WaterViewModel::TextMode);
    m.setHasContent(true);
    m.setClipRect({100, 100, 100, 100});
    const auto pressed = m.press({105, 195}); // a corner zone in image mode
    EXPECT_EQ(m.moveTouchPoint(), WaterViewModel::Move);
    EXPECT_EQ(pressed.cursor, Cursor::ClosedHand);
    m.drag({125, 215});
    expectBox(m, 120, 120, 100, 100);
    EXPECT_EQ(m.hover({150, 150}), Cursor::Unchanged); // a gesture is on
    m.release();
    EXPECT_EQ(m.hover({150, 150}), Cursor::OpenHand);
    EXPECT_EQ(m.hover({10, 10}), Cursor::Arrow);
}

TEST(WaterViewModel, HoverCursorsInImageMode) {
    WaterViewModel free = imageOverlay(1);
    EXPECT_EQ(free.hover({105, 195}), Cursor::ResizeLeftRight);
    EXPECT_EQ(free.hover({150, 195}), Cursor::ResizeUpDown);
    EXPECT_EQ(free.hover({105, 150}), Cursor::ResizeLeftRight);
    EXPECT_EQ(free.hover({150, 150}), Cursor::OpenHand);
    EXPECT_EQ(free.hover({105, 125}), Cursor::Unchanged);
    WaterViewModel keep = imageOverlay(3);
    keep.setClipRect({100, 100, 100, 100});
    EXPECT_EQ(keep.hover({150, 195}), Cursor::Unchanged);
    WaterViewModel empty = imageOverlay(1);
    empty.setHasContent(false);
    EXPECT_EQ(empty.hover({150, 150}), Cursor::Unchanged);
}

TEST(WaterViewModel, DisabledOverlayIgnoresPressDragAndRelease) {
    WaterViewModel m = imageOverlay();
    m.press({150, 150});
    m.setEnabled(false);
    EXPECT_FALSE(m.drag({10, 10}));
    EXPECT_FALSE(m.release().accepted);
    EXPECT_EQ(m.moveTouchPoint(), WaterViewModel::Move); // a release while disabled keeps the code
    EXPECT_FALSE(m.press({150, 150}).accepted);
    expectBox(m, 100, 100, 100, 100);
}

TEST(WaterViewModel, VideoAspectDragOfScaleTypeTwo) {
    WaterViewModel m = imageOverlay(2); // video 800 x 600: v = 4/3
    m.press({195, 195});
    EXPECT_EQ(m.moveTouchPoint(), WaterViewModel::TopRight);
    EXPECT_TRUE(m.drag({0, 160}));
    expectBox(m, 100, 100, 80, 60);
    m.release();
    m.press({105, 105});
    EXPECT_TRUE(m.drag({0, 130})); // bottom-left: height from the top side down to the pointer
    expectBox(m, 140, 130, 40, 30);
}

TEST(WaterViewModel, AResizeReportsTheBoxOnScreen) {
    // The moved report and the release's fractions carry the last step at once.
    WaterViewModel m = imageOverlay(1);
    m.press({195, 105});
    ASSERT_TRUE(m.drag({300, 50}));
    expectBox(m, 100, 50, 200, 150);
    m.release();
    const ViewRect f = m.getPercentImageClipRect();
    EXPECT_DOUBLE_EQ(f.width, 0.5);
    EXPECT_DOUBLE_EQ(f.height, 0.5);
}
