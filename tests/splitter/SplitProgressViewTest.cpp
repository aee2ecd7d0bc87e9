#include "SplitProgressView.h"

#include "Dispatch.h"
#include "ImageLayerView.h"
#include "LQProgressSlider.h"
#include "MOQImageView.h"
#include "ViewFrame.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// A timeline 217 wide, so that the markers' usable width (W - 17) is 200.
struct Timeline {
    QWidget host;
    SplitProgressView* view;
    Timeline() {
        host.resize(240, 80);
        view = new SplitProgressView(ViewRect{0, 0, 217, 44}, &host);
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
};

void settle() {
    Dispatch::runUntil([] { return false; }, 30);
}

} // namespace

TEST(SplitProgressView, KeepsThePointsAndReturnsThemSorted) {
    Timeline t;
    EXPECT_EQ(t.view->getTimeProgresses(), std::vector<float>{1.0f}) << "an empty plan is one piece";

    t.view->addSplitItemTime(0.6f);
    t.view->addSplitItemTime(0.2f);
    EXPECT_EQ(t.view->selectedSplitIndex(), 1);
    EXPECT_EQ(t.view->getTimeProgresses(), (std::vector<float>{0.2f, 0.6f, 1.0f}));
    EXPECT_FLOAT_EQ(t.view->getProgressForIndex(1), 0.6f) << "index 1 after the sort is the point 0.6";

    t.view->addSplitItemTime(0.6f);
    EXPECT_EQ(t.view->getTimeProgresses(), (std::vector<float>{0.2f, 0.6f, 0.6f, 1.0f})) << "the timeline keeps both";

    // Markers hang below the track at their fraction of W - 17.
    const ViewRect marker = ViewFrame::frame(t.view->times().front());
    EXPECT_DOUBLE_EQ(marker.x, 200 * double(t.view->times().front()->value()));
    EXPECT_DOUBLE_EQ(marker.y, (44 - 17) / 2.0 - 12);

    t.view->removeSplitItemTAtIndex(0);
    EXPECT_EQ(t.view->splitCount(), 2);
    t.view->removeSplitItemTAtIndex(7); // outside: ignored
    EXPECT_EQ(t.view->splitCount(), 2);
}

TEST(SplitProgressView, SelectingAPointMovesTheBeginMarkerAndThePlayheadOntoIt) {
    Timeline t;
    t.view->addSplitItemTime(0.5f);
    t.view->addSplitItemTime(0.25f);
    t.view->setSelectedSplitIndex(-1);
    t.view->setSelectedSplitIndex(2);
    EXPECT_EQ(t.view->selectedSplitIndex(), 1) << "-1 and the count change nothing";

    t.view->setSelectedSplitIndex(0);
    EXPECT_EQ(t.view->selectedSplitIndex(), 0);
    EXPECT_FLOAT_EQ(t.view->progress(), 0) << "the move comes a main-queue turn later";
    settle();
    EXPECT_FLOAT_EQ(t.view->progress(), 0.25f);
    EXPECT_FLOAT_EQ(t.view->slider()->progress(), 0.25f);
    EXPECT_NEAR(t.view->beginProgress(), 0.25f, 1e-6);

    // A redisplay brings the begin marker back onto the selected point.
    t.view->setProgress(0.9f);
    EXPECT_NEAR(t.view->beginProgress(), 0.25f, 1e-6);

    t.view->removeAllSplitItem();
    EXPECT_EQ(t.view->splitCount(), 0);
    EXPECT_FLOAT_EQ(t.view->beginProgress(), 0) << "back at the start";
    t.view->addSplitItemTime();
    EXPECT_EQ(t.view->getTimeProgresses(), (std::vector<float>{0.0f, 1.0f}));
}

TEST(SplitProgressView, DraggingTheBeginMarkerReportsItsPlace) {
    Timeline t;
    std::vector<float> moves;
    t.view->SplitBtnMouseMoveForSliderBlock = [&](float p) { moves.push_back(p); };
    MOQImageView* begin = t.view->beginBtn();
    const QPoint grab(8, 8);
    QTest::mousePress(begin, Qt::LeftButton, {}, grab);
    QMouseEvent move(QEvent::MouseMove, QPointF(grab + QPoint(100, 0)),
                     begin->mapToGlobal(QPointF(grab + QPoint(100, 0))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(begin, &move);
    QTest::mouseRelease(begin, Qt::LeftButton, {}, grab + QPoint(100, 0));
    settle();
    ASSERT_FALSE(moves.empty());
    EXPECT_NEAR(moves.back(), (100 + 8) / 200.0, 0.01) << "the left edge follows the pointer";
    EXPECT_FLOAT_EQ(t.view->progress(), moves.back());
    EXPECT_FLOAT_EQ(t.view->slider()->progress(), moves.back());
    t.view->addSplitItemTime();
    EXPECT_FLOAT_EQ(t.view->getProgressForIndex(0), moves.back()) << "the next point goes where the marker is";
}

TEST(SplitProgressView, TheTrackReportsPressDragAndReleaseOnlyWhileEnabled) {
    Timeline t;
    std::vector<std::string> events;
    t.view->MouseDownForSliderBlock = [&](float) { events.push_back("down"); };
    t.view->ProgressForSliderBlock = [&](float) { events.push_back("drag"); };
    t.view->MouseUpForSliderBlock = [&](float p) { events.push_back("up " + std::to_string(int(p * 10 + 0.5))); };
    LQProgressSlider* track = t.view->slider();
    const QPoint at(track->width() * 3 / 10, track->height() / 2);
    QTest::mousePress(track, Qt::LeftButton, {}, at);
    QTest::mouseRelease(track, Qt::LeftButton, {}, at);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.front(), "down");
    EXPECT_EQ(events.back(), "up 3");
    EXPECT_FLOAT_EQ(t.view->beginProgress(), 0) << "a click on the track leaves the begin marker";

    events.clear();
    t.view->setDisable(true);
    EXPECT_TRUE(t.view->beginBtn()->isHidden());
    QTest::mousePress(track, Qt::LeftButton, {}, at);
    QTest::mouseRelease(track, Qt::LeftButton, {}, at);
    EXPECT_TRUE(events.empty());

    t.view->setHiddenTick(true);
    EXPECT_TRUE(track->tickMarkView()->isHidden());
}
