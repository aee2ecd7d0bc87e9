#include "TrimRangeModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// A slider 218 wide and 30 high: the track runs from x 9 to 209 (200 points), its centre line at y 15.
TrimRangeModel laidOut(long long type = 0, bool inverted = false) {
    TrimRangeModel m(218, 30);
    m.setType(type);
    m.setIsFanxuan(inverted);
    m.setSize(218, 30);
    return m;
}

TEST(TrimRangeModel, NewSliderLayoutAndImages) {
    TrimRangeModel m(218, 30);
    EXPECT_EQ(m.trackFrame(), (ViewRect{9, 10, 200, 10}));
    EXPECT_EQ(m.tintFrame(), m.trackFrame());
    EXPECT_EQ(m.playheadFrame(), (ViewRect{0, 6, 15, 24}));
    EXPECT_EQ(m.leftHandleFrame(), (ViewRect{0, 0, 9, 12}));
    EXPECT_EQ(m.rightHandleFrame(), (ViewRect{209, 0, 9, 12}));
    EXPECT_EQ(m.images().track, "Resources/play_notplayed_bkg.png");
    EXPECT_EQ(m.images().tint, "Resources/edit_trim_focus.png");
    EXPECT_EQ(m.images().playhead, "Resources/edit_trimknob_normal.png");
    EXPECT_EQ(m.images().leftHandle, "Resources/edit_trimleft_normal.png");
    EXPECT_EQ(m.images().rightHandle, "Resources/edit_trimright_normal.png");
    EXPECT_EQ(m.handleType(), 0);
}

TEST(TrimRangeModel, SkinsChooseImagesAndPlayhead) {
    struct Case {
        long long type;
        bool inverted;
        const char* track;
        const char* tint;
        const char* playhead;
        ViewRect playheadAfterSize;
    };
    const Case cases[] = {
        {1, false, "Cut/imgBack.bmp", "Cut/imgTop.bmp", "Cut/btnSlip_Normal.png", {0, 9, 12, 12}},
        {1, true, "Cut/imgTop.bmp", "Cut/imgBack.bmp", "Cut/btnSlip_Normal.png", {0, 9, 12, 12}},
        {2,
         false,
         "Resources/play_notplayed_bkg.png",
         "Resources/edit_trim_focus.png",
         "Cut/btnSlip_Normal.png",
         {0, 9, 12, 12}},
        {2,
         true,
         "Resources/edit_trim_focus.png",
         "Resources/play_notplayed_bkg.png",
         "Cut/btnSlip_Normal.png",
         {0, 9, 12, 12}},
        {0,
         false,
         "Resources/play_notplayed_bkg.png",
         "Resources/edit_trim_focus.png",
         "Resources/edit_trimknob_normal.png",
         {0, 13, 17, 17}},
        {5,
         true,
         "Resources/edit_trim_focus.png",
         "Resources/play_notplayed_bkg.png",
         "Resources/edit_trimknob_normal.png",
         {0, 13, 17, 17}},
    };
    for (const Case& c : cases) {
        TrimRangeModel m(218, 30);
        m.setType(c.type);
        m.setIsFanxuan(c.inverted);
        EXPECT_EQ(m.images().track, c.track) << c.type << c.inverted;
        EXPECT_EQ(m.images().tint, c.tint) << c.type << c.inverted;
        EXPECT_EQ(m.images().playhead, c.playhead) << c.type;
        EXPECT_EQ(m.images().leftHandle,
                  c.inverted ? "Resources/edit_trimright_normal.png" : "Resources/edit_trimleft_normal.png");
        m.setSize(218, 30);
        m.setProgress(0);
        EXPECT_EQ(m.playheadFrame(), c.playheadAfterSize) << c.type << c.inverted;
    }
}

TEST(TrimRangeModel, DefaultSkinLookChangePutsThePlayheadOnTheTrackBottom) {
    TrimRangeModel m(218, 30);
    m.setIsFanxuan(true);
    EXPECT_EQ(m.playheadFrame().y, 10);
    EXPECT_EQ(m.playheadFrame().width, 17);
}

TEST(TrimRangeModel, ValuesFromCodePlaceHandlesAgainstTheWholeWidth) {
    struct Case {
        bool inverted;
        float lower, upper;
        double leftX, rightX;
        ViewRect tint;
    };
    // pw is 17 after layout: the ends are held half a playhead in from the edges.
    const Case cases[] = {
        {false, 0, 1, -0.5, 209.5, {8.5, 10, 201, 10}},
        {false, 0.8f, 0.2f, 43.6 - 9, 43.6, {43.6, 10, 0, 10}},
        {false, 0.25f, 0.75f, 54.5 - 9, 163.5, {54.5, 10, 109, 10}},
        {true, 0.25f, 0.75f, 54.5, 155, {54.5, 10, 109.5, 10}},
    };
    for (const Case& c : cases) {
        TrimRangeModel m = laidOut(0, c.inverted);
        m.setLowerValueUpperValue(c.lower, c.upper);
        EXPECT_NEAR(m.leftHandleFrame().x, c.leftX, 1e-4) << c.lower << " " << c.upper;
        EXPECT_NEAR(m.rightHandleFrame().x, c.rightX, 1e-4);
        EXPECT_NEAR(m.tintFrame().x, c.tint.x, 1e-4);
        EXPECT_NEAR(m.tintFrame().width, c.tint.width, 1e-4);
        EXPECT_EQ(m.lowerValue(), c.lower);
        EXPECT_EQ(m.upperValue(), c.upper);
        EXPECT_EQ(m.handleType(), 1);
        // The playhead's centre stands on the left handle's right edge.
        EXPECT_NEAR(m.playheadFrame().midX(), m.leftHandleFrame().maxX(), 1e-4);
    }
}

TEST(TrimRangeModel, SingleValueSettersMoveOneHandleAndNotThePlayhead) {
    TrimRangeModel m = laidOut();
    m.setLowerValueUpperValue(0.2f, 0.6f);
    const ViewRect playhead = m.playheadFrame();
    const ViewRect left = m.leftHandleFrame();
    m.setUpperValue(0.9f);
    EXPECT_EQ(m.handleType(), 2);
    EXPECT_EQ(m.leftHandleFrame(), left);
    EXPECT_EQ(m.playheadFrame(), playhead);
    EXPECT_NEAR(m.rightHandleFrame().x, 0.9 * 218, 1e-4);
    EXPECT_EQ(m.upperValue(), 0.9f);
    EXPECT_EQ(m.lowerValue(), 0.2f);
    m.setLowerValue(0.5f);
    EXPECT_EQ(m.handleType(), 1);
    EXPECT_NEAR(m.leftHandleFrame().maxX(), 0.5 * 218, 1e-4);
    EXPECT_EQ(m.playheadFrame(), playhead);
    EXPECT_NEAR(m.tintFrame().x, m.leftHandleFrame().maxX(), 1e-9);
    EXPECT_NEAR(m.tintFrame().maxX(), m.rightHandleFrame().x, 1e-9);
}

TEST(TrimRangeModel, PlayheadFromCode) {
    struct Case {
        float p;
        double x;
    };
    const Case cases[] = {{0, 0}, {0.5f, 104.75}, {2, 201}, {-0.1f, -20.95}, {NAN, 0}};
    for (const Case& c : cases) {
        TrimRangeModel m = laidOut();
        m.setProgress(c.p);
        EXPECT_NEAR(m.playheadFrame().x, c.x, 1e-4) << c.p;
    }
}

TEST(TrimRangeModel, PressHitTests) {
    TrimRangeModel m = laidOut();
    m.setLowerValueUpperValue(0.25f, 0.75f); // left handle 45.5..54.5, right handle 163.5..172.5
    struct Case {
        double px, py;
        bool left, right, tick;
    };
    const Case cases[] = {
        {50, 5, true, false, false},     {168, 5, false, true, false}, {45.5, 5, false, false, true},
        {54.5, 5, false, false, true},   {50, 15, false, false, true}, {50, 20, false, false, true},
        {168, 14.9, false, true, false}, {100, 5, false, false, true},
    };
    for (const Case& c : cases) {
        const TrimRangeModel::PressReport r = m.press(c.px, c.py);
        EXPECT_EQ(m.handLeft(), c.left) << c.px << "," << c.py;
        EXPECT_EQ(m.handRight(), c.right) << c.px << "," << c.py;
        EXPECT_EQ(m.handtick(), c.tick) << c.px << "," << c.py;
        EXPECT_EQ(r.seek, c.tick);
        if (c.tick) {
            EXPECT_NEAR(m.playheadFrame().midX(), c.px, 1e-9) << "the playhead moves to a press beside the handles";
            EXPECT_FLOAT_EQ(r.seekValue, static_cast<float>((c.px - 9) / 200));
            EXPECT_EQ(r.downValue, r.seekValue);
        }
        m.release();
    }
}

TEST(TrimRangeModel, PressLeftOfTheTrackSeeksBelowZeroButDragClampsToZero) {
    TrimRangeModel m = laidOut();
    const TrimRangeModel::PressReport press = m.press(3, 25);
    EXPECT_NEAR(m.playheadFrame().midX(), 3, 1e-9);
    EXPECT_FLOAT_EQ(press.seekValue, -0.03f);
    const TrimRangeModel::DragReport drag = m.drag(3, 25);
    EXPECT_EQ(drag.kind, TrimRangeModel::DragReport::Seek);
    EXPECT_EQ(drag.seekValue, 0.0f);
    EXPECT_NEAR(m.playheadFrame().midX(), 8.5, 1e-9);
    // Far left of the view a press stops the playhead's centre at x 0.
    m.press(-40, 25);
    EXPECT_NEAR(m.playheadFrame().midX(), 0, 1e-9);
    // Far right it stops at the track's end, and drags never report beyond 1.
    EXPECT_FLOAT_EQ(m.press(400, 25).seekValue, 1.0f);
    EXPECT_EQ(m.drag(400, 25).seekValue, 1.0f);
}

TEST(TrimRangeModel, HandleDragsStopAtTheTrackEnds) {
    for (bool inverted : {false, true}) {
        TrimRangeModel m = laidOut(0, inverted);
        m.setLowerValueUpperValue(0.3f, 0.6f);
        const ViewRect right = m.rightHandleFrame();
        m.press(right.midX(), 5);
        ASSERT_TRUE(m.handRight());
        const TrimRangeModel::DragReport far = m.drag(1000, 5);
        EXPECT_EQ(far.kind, TrimRangeModel::DragReport::Moved);
        EXPECT_EQ(far.handle, TrimRangeModel::RightHandle);
        EXPECT_EQ(far.upper, 1.0f);
        EXPECT_DOUBLE_EQ(m.rightHandleFrame().x, 209);
        EXPECT_EQ(m.handleType(), 2);
        // The playhead follows the right handle's inner edge, or its outer edge in the inverted look.
        EXPECT_DOUBLE_EQ(m.playheadFrame().midX(), inverted ? 218 : 209);
        m.release();

        const ViewRect left = m.leftHandleFrame();
        m.press(left.midX(), 5);
        ASSERT_TRUE(m.handLeft());
        const TrimRangeModel::DragReport near = m.drag(-1000, 5);
        EXPECT_EQ(near.handle, TrimRangeModel::LeftHandle);
        EXPECT_EQ(near.lower, 0.0f);
        EXPECT_DOUBLE_EQ(m.leftHandleFrame().maxX(), 9);
        EXPECT_DOUBLE_EQ(m.playheadFrame().midX(), inverted ? 0 : 9);
        EXPECT_EQ(m.handleType(), 1);
    }
}

TEST(TrimRangeModel, DraggedHandlesNeverCross) {
    for (bool inverted : {false, true}) {
        TrimRangeModel m = laidOut(0, inverted);
        m.setLowerValueUpperValue(0.2f, 0.5f);
        m.press(m.leftHandleFrame().midX(), 5);
        const TrimRangeModel::DragReport left = m.drag(300, 5);
        EXPECT_LE(left.lower, left.upper) << inverted;
        EXPECT_FLOAT_EQ(left.lower, left.upper) << "the left handle stops against the right one";
        EXPECT_LE(m.leftHandleFrame().maxX(), m.rightHandleFrame().x);
        m.release();

        m.press(m.rightHandleFrame().midX(), 5);
        const TrimRangeModel::DragReport right = m.drag(-300, 5);
        EXPECT_LE(right.lower, right.upper) << inverted;
        EXPECT_GE(m.rightHandleFrame().x, m.leftHandleFrame().maxX());
    }
}

TEST(TrimRangeModel, RandomGesturesKeepLowerAtOrBelowUpper) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(-50, 270);
    std::uniform_real_distribution<float> value(-0.2f, 1.2f);
    for (int round = 0; round < 400; ++round) {
        TrimRangeModel m = laidOut(round % 3, round % 2 == 1);
        m.setLowerValueUpperValue(value(random), value(random));
        for (int step = 0; step < 6; ++step) {
            const bool grabRight = random() % 2 == 0;
            const ViewRect handle = grabRight ? m.rightHandleFrame() : m.leftHandleFrame();
            m.press(handle.midX(), 5);
            for (int d = 0; d < 4; ++d) {
                const TrimRangeModel::DragReport r = m.drag(x(random), 5);
                if (r.kind != TrimRangeModel::DragReport::Moved)
                    continue;
                ASSERT_LE(r.lower, r.upper) << "round " << round;
                ASSERT_GE(r.lower, 0.0f);
                ASSERT_LE(r.upper, 1.0f);
            }
            m.release();
        }
    }
}

TEST(TrimRangeModel, InvertedLookReportsTheSameValuesForTheSameHandlePositions) {
    TrimRangeModel normal = laidOut(0, false);
    TrimRangeModel inverted = laidOut(0, true);
    for (TrimRangeModel* m : {&normal, &inverted}) {
        m->setLowerValueUpperValue(0.1f, 0.9f);
        m->press(m->rightHandleFrame().midX(), 5);
        m->drag(150, 5);
        m->release();
        m->press(m->leftHandleFrame().midX(), 5);
        m->drag(60, 5);
    }
    EXPECT_EQ(normal.leftHandleFrame(), inverted.leftHandleFrame());
    EXPECT_EQ(normal.rightHandleFrame(), inverted.rightHandleFrame());
    EXPECT_EQ(normal.lowerValue(), inverted.lowerValue());
    EXPECT_EQ(normal.upperValue(), inverted.upperValue());
    // The inverted tint spans both handles.
    EXPECT_DOUBLE_EQ(inverted.tintFrame().x, inverted.leftHandleFrame().x);
    EXPECT_DOUBLE_EQ(inverted.tintFrame().maxX(), inverted.rightHandleFrame().maxX());
    EXPECT_DOUBLE_EQ(normal.tintFrame().x, normal.leftHandleFrame().maxX());
    EXPECT_DOUBLE_EQ(normal.tintFrame().maxX(), normal.rightHandleFrame().x);
}

TEST(TrimRangeModel, HandleGestureReportsThePlayheadBeforeAndAfter) {
    TrimRangeModel m = laidOut();
    m.setLowerValueUpperValue(0.25f, 0.75f);
    m.setProgress(0.5f);
    const float before = m.playheadValue();
    const TrimRangeModel::PressReport press = m.press(m.leftHandleFrame().midX(), 5);
    EXPECT_FALSE(press.seek);
    EXPECT_EQ(press.downValue, before);
    m.drag(100, 5);
    const float after = m.release();
    EXPECT_FLOAT_EQ(after, m.lowerValue()) << "the playhead followed the left handle's inner edge";
    EXPECT_FALSE(m.handLeft() || m.handRight() || m.handtick());
}

TEST(TrimRangeModel, TrackWithoutWidthReportsZero) {
    for (double width : {18.0, 10.0, 0.0}) {
        TrimRangeModel m(width, 30);
        m.setSize(width, 30);
        const TrimRangeModel::PressReport press = m.press(5, 25);
        EXPECT_EQ(press.seekValue, 0.0f) << width;
        EXPECT_EQ(press.downValue, 0.0f);
        EXPECT_EQ(m.drag(7, 25).seekValue, 0.0f);
        EXPECT_EQ(m.release(), 0.0f);
        m.press(m.leftHandleFrame().midX(), 2);
        const TrimRangeModel::DragReport r = m.drag(3, 2);
        EXPECT_FALSE(std::isnan(r.lower) || std::isnan(r.upper)) << width;
    }
}

TEST(TrimRangeModel, FrameChangeReappliesValuesAndSetsHandleOne) {
    TrimRangeModel m = laidOut();
    m.setLowerValueUpperValue(0.2f, 0.7f);
    m.setUpperValue(0.8f);
    m.setProgress(0.9f);
    m.setSize(418, 30);
    EXPECT_EQ(m.handleType(), 1);
    EXPECT_EQ(m.trackFrame(), (ViewRect{9, 10, 400, 10}));
    EXPECT_NEAR(m.rightHandleFrame().x, 0.8 * 418, 1e-4);
    EXPECT_NEAR(m.playheadFrame().midX(), m.leftHandleFrame().maxX(), 1e-4);
    EXPECT_EQ(m.progress(), 0.9f);
}

} // namespace
