#include "Dispatch.h"
#include "Modal.h"
#include "RepeatingTimer.h"

#include <QWidget>
#include <gtest/gtest.h>

// Progress polls and player timers must keep ticking while a dialog runs modally.
TEST(ModalAndTimer, TimersKeepFiringInsideAModalRunUntilItIsStopped) {
    QWidget dialog;
    int ticks = 0;
    auto timer = RepeatingTimer::schedule(0.02, [&] {
        if (++ticks == 3)
            Modal::stopModal(42);
    });
    EXPECT_TRUE(timer->isValid());
    EXPECT_DOUBLE_EQ(timer->interval(), 0.02);
    EXPECT_EQ(Modal::runModalForWindow(&dialog), 42);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(Modal::depth(), 0);

    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
}

TEST(ModalAndTimer, ClosingTheWindowEndsItsModalRun) {
    QWidget dialog;
    Dispatch::main([&] { dialog.close(); });
    EXPECT_EQ(Modal::runModalForWindow(&dialog), Modal::kModalResponseAbort);
}

TEST(ModalAndTimer, ATickMayDestroyItsOwnTimer) {
    std::unique_ptr<RepeatingTimer> timer;
    int ticks = 0;
    timer = RepeatingTimer::schedule(0.01, [&] {
        ++ticks;
        timer.reset();
    });
    Dispatch::runUntil([&] { return timer == nullptr; }, 2000);
    EXPECT_EQ(ticks, 1);
}
