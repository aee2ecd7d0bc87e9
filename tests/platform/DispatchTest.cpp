#include "Dispatch.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

TEST(Dispatch, MainQueueRunsLaterNeverInline) {
    bool ran = false;
    Dispatch::main([&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_TRUE(Dispatch::runUntil([&] { return ran; }, 2000));
}

TEST(Dispatch, BackgroundWorkHandsItsResultToTheMainThread) {
    QThread* mainThread = QThread::currentThread();
    std::atomic<bool> workerOffMain{false};
    QThread* completionThread = nullptr;
    Dispatch::background([&] {
        workerOffMain = QThread::currentThread() != mainThread;
        Dispatch::main([&] { completionThread = QThread::currentThread(); });
    });
    ASSERT_TRUE(Dispatch::runUntil([&] { return completionThread != nullptr; }, 5000));
    EXPECT_TRUE(workerOffMain);
    EXPECT_EQ(completionThread, mainThread);
}
