#include "LQUICliperModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using H = LQUICliperModel::Handle;

void expectBox(const LQUICliperModel& m, ViewRect e, const char* what = "") {
    const ViewRect r = m.getclipRectFrame();
    EXPECT_NEAR(r.x, e.x, 1e-4) << what;
    EXPECT_NEAR(r.y, e.y, 1e-4) << what;
    EXPECT_NEAR(r.width, e.width, 1e-4) << what;
    EXPECT_NEAR(r.height, e.height, 1e-4) << what;
}

// A 400 x 300 overlay with the box (50, 50, 200, 160) placed through setClipRect.
LQUICliperModel overlay(int cropType = 1, ViewSize video = {800, 600}) {
    LQUICliperModel m({0, 0, 400, 300});
    m.setVideoSize(video);
    m.setCrop_Type(cropType);
    m.setClipRect({50, 50, 200, 160});
    return m;
}

} // namespace

TEST(LQUICliperModel, FirstRedrawAfterCreationIsTheFrameInsetByOnePoint) {
    LQUICliperModel m({0, 0, 640, 360});
    expectBox(m, {0, 0, 640, 360}); // the box field before any redraw
    m.redraw();
    expectBox(m, {1, 1, 638, 358});
    EXPECT_EQ(m.crop_Type(), 0);
    EXPECT_EQ(m.cropTouchPoint(), 0);
}

TEST(LQUICliperModel, HitZonesInTheirOrder) {
    // Box (50, 50, 200, 160): left edge 50, right 250, bottom 50, top 210, middles (150, 130).
    struct Case {
        ViewPoint p;
        int code;
        const char* what;
    } cases[] = {
        {{40, 130}, H::LeftMiddle, "10 points left of the left edge at mid-height"},
        {{240, 235}, H::TopRight, "25 above the top, 10 inside the right edge"},
        {{60, 230}, H::TopLeft, "near the top-left corner"},
        {{45, 30}, H::BottomLeft, "below the bottom-left corner"},
        {{260, 55}, H::BottomRight, "beside the bottom-right corner"},
        {{255, 140}, H::RightMiddle, "the right edge's middle"},
        {{160, 40}, H::BottomMiddle, "below the bottom edge's middle"},
        {{140, 220}, H::TopMiddle, "above the top edge's middle"},
        {{150, 130}, H::Move, "inside the box"},
        {{65, 95}, H::None, "inside, 15 from the left edge, away from the bands"},
        {{100, 60}, H::None, "inside, near the bottom edge away from its middle"},
        {{350, 250}, H::None, "outside every zone"},
        {{40, 165}, H::None, "beside the left edge between the corner and middle bands"},
    };
    for (const Case& c : cases) {
        LQUICliperModel m = overlay();
        EXPECT_EQ(m.press(c.p), c.code) << c.what;
        EXPECT_EQ(m.cropTouchPoint(), c.code) << c.what;
    }
}

TEST(LQUICliperModel, FreeDragsStopAtTheirMinimumsAndTheOverlaysEdges) {
    struct Case {
        ViewPoint press, to;
        ViewRect box;
        const char* what;
    } cases[] = {
        {{40, 130}, {400, 130}, {210, 50, 40, 160}, "left middle keeps 40 points of width"},
        {{255, 140}, {0, 140}, {50, 50, 20, 160}, "right middle keeps 20"},
        {{140, 220}, {140, -50}, {50, 50, 200, 20}, "top middle keeps 20"},
        {{160, 40}, {160, 400}, {50, 190, 200, 20}, "bottom middle keeps 20"},
        {{60, 230}, {500, -10}, {230, 50, 20, 20}, "top-left keeps 20 x 20"},
        {{240, 235}, {900, 900}, {50, 50, 350, 250}, "top-right held at the overlay's corner"},
        {{45, 30}, {-30, -30}, {0, 0, 250, 210}, "bottom-left held at the origin"},
        {{260, 55}, {300, 20}, {50, 20, 250, 190}, "bottom-right follows the pointer"},
        {{150, 130}, {500, 500}, {200, 140, 200, 160}, "a move stops at the top-right sides"},
        {{150, 130}, {-100, -100}, {0, 0, 200, 160}, "a move stops at the bottom-left sides"},
        {{65, 95}, {300, 200}, {50, 50, 200, 160}, "a press that grabbed nothing moves nothing"},
    };
    for (const Case& c : cases) {
        LQUICliperModel m = overlay();
        m.press(c.press);
        m.drag(c.to);
        expectBox(m, c.box, c.what);
        m.release();
        EXPECT_EQ(m.cropTouchPoint(), 0) << c.what;
    }
}

TEST(LQUICliperModel, AMoveOfABoxAsWideAsTheOverlayKeepsXAtZero) {
    LQUICliperModel m({0, 0, 400, 300});
    m.setClipRect({0, 50, 400, 100});
    m.press({200, 100});
    m.drag({260, 120});
    expectBox(m, {0, 70, 400, 100});
}

TEST(LQUICliperModel, SetClipRectClampsTheSizeButNotTheOrigin) {
    struct Case {
        ViewRect in, out;
    } cases[] = {
        {{10, 20, 10, 10}, {10, 20, 60, 60}},
        {{0, 0, 900, 100}, {0, 0, 400, 100}},
        {{-30, 280, 100, 500}, {-30, 280, 100, 300}},
    };
    for (const Case& c : cases) {
        LQUICliperModel m({0, 0, 400, 300});
        m.setClipRect(c.in);
        expectBox(m, c.out);
        m.redraw(); // the panels show the same box
        expectBox(m, c.out);
    }
}

TEST(LQUICliperModel, PresetsOfSetCropType) {
    struct Case {
        ViewSize frame;
        int type;
        ViewRect box;
    } cases[] = {
        {{400, 300}, 4, {0, 37.5, 400, 225}},
        {{800, 300}, 4, {133.33334, 0, 533.33331, 300}},
        {{400, 300}, 1, {50, 0, 300, 300}},
        {{400, 300}, 3, {50, 0, 300, 300}},
        {{400, 300}, 2, {0, 0, 400, 300}},
        {{400, 300}, 5, {115.625, 0, 168.75, 300}},
        {{100, 300}, 5, {0, 61.111115, 100, 177.77777}},
        {{400, 300}, 6, {0, 0, 400, 300}},
        {{600, 300}, 6, {100, 0, 400, 300}},
        {{400, 300}, 7, {87.5, 0, 225, 300}},
    };
    for (const Case& c : cases) {
        LQUICliperModel m({0, 0, c.frame.width, c.frame.height});
        m.setCropType(c.type);
        EXPECT_EQ(m.crop_Type(), c.type);
        const ViewRect r = m.getclipRectFrame();
        EXPECT_FLOAT_EQ(static_cast<float>(r.x), static_cast<float>(c.box.x)) << c.type;
        EXPECT_FLOAT_EQ(static_cast<float>(r.y), static_cast<float>(c.box.y)) << c.type;
        EXPECT_FLOAT_EQ(static_cast<float>(r.width), static_cast<float>(c.box.width)) << c.type;
        EXPECT_FLOAT_EQ(static_cast<float>(r.height), static_cast<float>(c.box.height)) << c.type;
    }
}

TEST(LQUICliperModel, UnknownPresetStoresTheModeAndLeavesTheBox) {
    LQUICliperModel m = overlay(0);
    m.setCropType(9);
    EXPECT_EQ(m.crop_Type(), 9);
    expectBox(m, {50, 50, 200, 160});
    // Mode 9 resizes freely.
    m.press({40, 130});
    m.drag({30, 130});
    expectBox(m, {30, 50, 220, 160});
}

TEST(LQUICliperModel, APresetNotHandedBackIsLostAtTheNextRedraw) {
    LQUICliperModel m = overlay(0);
    m.setCropType(1);
    expectBox(m, {50, 0, 300, 300});
    m.redraw();
    expectBox(m, {50, 50, 200, 160});
    EXPECT_EQ(m.crop_Type(), 1);
}

TEST(LQUICliperModel, KeepAspectCornersFollowThePointersHeight) {
    // Picture 1920 x 1080 in a 640 x 360 overlay, box (100, 50, 320, 180).
    struct Case {
        ViewPoint press, to;
        ViewRect box;
        const char* what;
    } cases[] = {
        {{420, 230}, {600, 140}, {100, 50, 160, 90}, "top-right 90 above the bottom: 160 x 90"},
        {{420, 230}, {600, 10}, {100, 50, 20, 20}, "top-right below the bottom: 20 x 20"},
        {{100, 230}, {0, 140}, {260, 50, 160, 90}, "top-left keeps the bottom-right corner"},
        {{100, 50}, {0, 140}, {260, 140, 160, 90}, "bottom-left keeps the top-right corner"},
        {{420, 50}, {0, 95}, {100, 95, 240, 135}, "bottom-right keeps the top-left corner"},
        {{100, 140}, {0, 0}, {100, 50, 320, 180}, "the left middle is inert"},
        {{260, 230}, {0, 360}, {100, 50, 320, 180}, "the top middle is inert"},
        {{260, 140}, {300, 150}, {140, 60, 320, 180}, "a move"},
        // The width follows the height but stays inside the overlay: 540 points of room right of x = 100.
        {{420, 230}, {640, 360}, {100, 50, 540, 303.75}, "top-right held inside the right side"},
        {{100, 230}, {0, 360}, {0, 50, 420, 236.25}, "top-left held inside the left side"},
    };
    for (const Case& c : cases) {
        LQUICliperModel m({0, 0, 640, 360});
        m.setVideoSize({1920, 1080});
        m.setCrop_Type(LQUICliperModel::KeepAspect);
        m.setClipRect({100, 50, 320, 180});
        m.press(c.press);
        m.drag(c.to);
        expectBox(m, c.box, c.what);
        const ViewRect r = m.getclipRectFrame();
        EXPECT_GE(r.x, 0) << c.what;
        EXPECT_LE(r.x + r.width, 640 + 1e-3) << c.what;
        EXPECT_LE(r.y + r.height, 360 + 1e-3) << c.what;
    }
}

TEST(LQUICliperModel, KeepAspectBoxNeverLeavesThePictureWhateverTheDrag) {
    for (int corner : {1, 2, 3, 4}) {
        for (double px = -50; px <= 700; px += 75) {
            for (double py = -50; py <= 420; py += 47) {
                LQUICliperModel m({0, 0, 640, 360});
                m.setVideoSize({1920, 1080});
                m.setCrop_Type(LQUICliperModel::KeepAspect);
                m.setClipRect({200, 100, 160, 90});
                const ViewPoint grab[] = {{}, {200, 190}, {360, 190}, {200, 100}, {360, 100}};
                ASSERT_EQ(m.press(grab[corner]), corner);
                m.drag({px, py});
                const ViewRect r = m.getclipRectFrame();
                EXPECT_GE(r.x, -1e-3);
                EXPECT_GE(r.y, -1e-3);
                EXPECT_LE(r.x + r.width, 640 + 1e-3) << corner << " " << px << " " << py;
                EXPECT_LE(r.y + r.height, 360 + 1e-3) << corner << " " << px << " " << py;
            }
        }
    }
}

TEST(LQUICliperModel, FrameAndVideoSizeWriteTheSquareUntilTheRedraw) {
    LQUICliperModel m = overlay();
    m.setFrameRect({0, 0, 500, 300});
    // The square lasts until the redraw that setFrameRect runs itself: the panels' box comes back.
    expectBox(m, {50, 50, 200, 160});
    EXPECT_DOUBLE_EQ(m.oFrame().width, 500);
}

TEST(LQUICliperModel, ScaleAndPixelsAndFractions) {
    LQUICliperModel m({0, 0, 640, 360});
    m.setVideoSize({1920, 1080});
    m.setClipRect({64, 36, 320, 180});
    EXPECT_DOUBLE_EQ(m.getclipRectScale(), 3);
    const ViewRect px = m.getclipRect();
    EXPECT_DOUBLE_EQ(px.x, 192);
    EXPECT_DOUBLE_EQ(px.y, 108);
    EXPECT_DOUBLE_EQ(px.width, 960);
    EXPECT_DOUBLE_EQ(px.height, 540);
    const ViewRect f = m.getPercentClipRect();
    EXPECT_DOUBLE_EQ(f.x, 0.1);
    EXPECT_DOUBLE_EQ(f.height, 0.5);
}

TEST(LQUICliperModel, HandlesAreDrawnFlushInsideTheBox) {
    LQUICliperModel m = overlay(1);
    const std::vector<ViewRect> free = m.handleRects();
    ASSERT_EQ(free.size(), 8u);
    EXPECT_EQ(free[0], (ViewRect{50, 50, 10, 10}));
    EXPECT_EQ(free[3], (ViewRect{240, 200, 10, 10}));
    EXPECT_EQ(free[4], (ViewRect{50, 125, 10, 10}));
    EXPECT_EQ(free[6], (ViewRect{145, 200, 10, 10}));
    m.setCrop_Type(LQUICliperModel::KeepAspect);
    EXPECT_EQ(m.handleRects().size(), 4u);
}
