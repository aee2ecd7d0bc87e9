// The job runner's timing cases, with an engine stand-in whose worker can be made slow to return after a stop.
// The runner's behaviour with the real engine on generated clips is in EngineJobRunnerTest.cpp.
#include "JobRunner.h"
#include "FakeMediaJob.h"

#include "Dispatch.h"
#include "support/MediaFixtures.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

JobStep conversionStep(const QString& folder, const QString& base) {
    JobStep step;
    step.inputPath = QStringLiteral("/in/%1.mp4").arg(base);
    step.output.folder = folder;
    step.output.baseName = base;
    step.output.extension = QStringLiteral("mp4");
    return step;
}

struct Outcome {
    int finishes = 0;
    bool success = false;
    QList<int> failures;
    int idles = 0;
};

void watch(JobRunner& runner, Outcome& outcome) {
    runner.failed = [&outcome](int code) { outcome.failures << code; };
    runner.becameIdle = [&outcome] { ++outcome.idles; };
}

JobRunner::FinishBlock recordFinish(Outcome& outcome) {
    return [&outcome](bool success) {
        ++outcome.finishes;
        outcome.success = success;
    };
}

} // namespace

TEST(JobRunnerTiming, StaysBusyUntilACancelledWorkerHasReturned) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("runner-linger"));
    FakeJobFactory factory;
    factory.script.workMs = 5000;
    factory.script.lingerAfterStopMs = 400;
    factory.script.stoppedResult = -1; // an engine that reports a stopped job as a failure
    JobRunner runner(factory);
    Outcome outcome;
    watch(runner, outcome);

    ASSERT_TRUE(runner.run({conversionStep(folder, "a"), conversionStep(folder, "b")}, recordFinish(outcome)));
    auto first = factory.made.at(0);
    ASSERT_TRUE(Dispatch::runUntil([&] { return first->started.load(); }, 2000));
    first->holdAfterStop = true;
    runner.cancel();

    EXPECT_FALSE(runner.isRunning());
    EXPECT_TRUE(runner.isBusy());
    EXPECT_FALSE(runner.run({conversionStep(folder, "c")}, recordFinish(outcome))) << "a new run while busy";
    EXPECT_EQ(outcome.finishes, 0);
    EXPECT_EQ(first->closeCount, 0) << "the handle stays open while its worker runs";
    first->holdAfterStop = false;

    ASSERT_TRUE(Dispatch::runUntil([&] { return outcome.finishes > 0; }, 3000));
    EXPECT_TRUE(first->returned);
    EXPECT_EQ(outcome.finishes, 1);
    EXPECT_FALSE(outcome.success);
    EXPECT_TRUE(outcome.failures.isEmpty()) << "a user's cancel is no error";
    EXPECT_EQ(outcome.idles, 1);
    EXPECT_EQ(first->closeCount, 1);
    EXPECT_EQ(factory.made.size(), 1u) << "no further step after a cancel";
    EXPECT_FALSE(runner.isBusy());
}

TEST(JobRunnerTiming, ALateCompletionClosesOnlyItsOwnJob) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("runner-late"));
    FakeJobFactory factory;
    factory.script.workMs = 5000;
    factory.script.lingerAfterStopMs = 200;
    JobRunner runner(factory);
    Outcome outcome;
    watch(runner, outcome);

    ASSERT_TRUE(runner.run({conversionStep(folder, "a")}, recordFinish(outcome)));
    auto first = factory.made.at(0);
    ASSERT_TRUE(Dispatch::runUntil([&] { return first->started.load(); }, 2000));
    runner.cancel();
    ASSERT_TRUE(Dispatch::runUntil([&] { return !runner.isBusy(); }, 3000));

    // The next run's job is left alone by everything that belonged to the first one.
    factory.script.lingerAfterStopMs = 0;
    ASSERT_TRUE(runner.run({conversionStep(folder, "b")}, recordFinish(outcome)));
    auto second = factory.made.at(1);
    ASSERT_TRUE(Dispatch::runUntil([&] { return second->started.load(); }, 2000));
    Dispatch::runUntil([] { return false; }, 300);
    EXPECT_EQ(first->closeCount, 1);
    EXPECT_EQ(second->closeCount, 0);
    EXPECT_EQ(runner.currentJob(), second.get());
    runner.cancel();
    ASSERT_TRUE(Dispatch::runUntil([&] { return !runner.isBusy(); }, 3000));
    EXPECT_EQ(second->closeCount, 1);
    EXPECT_EQ(outcome.finishes, 2);
}

TEST(JobRunnerTiming, ARunnerDestroyedWhileItsWorkerRunsStopsTheJobAndItsCompletionClosesIt) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("runner-gone"));
    FakeJobFactory factory;
    factory.script.workMs = 5000;
    factory.script.lingerAfterStopMs = 100;
    Outcome outcome;
    std::shared_ptr<FakeMediaJob> job;
    {
        JobRunner runner(factory);
        watch(runner, outcome);
        ASSERT_TRUE(runner.run({conversionStep(folder, "a")}, recordFinish(outcome)));
        job = factory.made.at(0);
        ASSERT_TRUE(Dispatch::runUntil([&] { return job->started.load(); }, 2000));
    }
    ASSERT_TRUE(Dispatch::runUntil([&] { return job->closeCount.load() == 1; }, 3000));
    EXPECT_EQ(outcome.finishes, 0);
    EXPECT_TRUE(outcome.failures.isEmpty());
}

TEST(JobRunnerTiming, NoHandleEndsTheRunWithoutAnAlert) {
    FakeJobFactory factory;
    factory.giveNoHandle = true;
    JobRunner runner(factory);
    Outcome outcome;
    watch(runner, outcome);
    ASSERT_TRUE(runner.run({conversionStep(QDir::tempPath(), "a")}, recordFinish(outcome)));
    EXPECT_EQ(outcome.finishes, 1);
    EXPECT_FALSE(outcome.success);
    EXPECT_TRUE(outcome.failures.isEmpty());
    EXPECT_FALSE(runner.isBusy());
}

TEST(JobRunnerTiming, ReportsEachStepsProgressWhileItWorks) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("runner-progress"));
    FakeJobFactory factory;
    factory.script.workMs = 700;
    JobRunner runner(factory);
    Outcome outcome;
    watch(runner, outcome);
    QList<QPair<int, double>> polls;
    runner.progressChanged = [&](int step, double percent) { polls << qMakePair(step, percent); };

    ASSERT_TRUE(runner.run({conversionStep(folder, "a"), conversionStep(folder, "b")}, recordFinish(outcome)));
    ASSERT_TRUE(Dispatch::runUntil([&] { return outcome.finishes > 0; }, 5000));
    EXPECT_TRUE(outcome.success);
    ASSERT_GE(polls.size(), 4) << "a poll every 0.2 s over two jobs of 0.7 s";
    EXPECT_EQ(polls.first().first, 0);
    EXPECT_EQ(polls.last().first, 1);
    for (int i = 1; i < polls.size(); ++i) {
        if (polls[i].first == polls[i - 1].first) {
            EXPECT_GE(polls[i].second, polls[i - 1].second);
        }
    }
}

TEST(JobRunnerTiming, AStepsCompletionCanAddStepsToTheRun) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("runner-append"));
    FakeJobFactory factory;
    factory.script.workMs = 20;
    JobRunner runner(factory);
    Outcome outcome;
    watch(runner, outcome);
    int completions = 0;
    std::function<JobStep(int)> chained = [&](int index) {
        JobStep step = conversionStep(folder, QStringLiteral("piece%1").arg(index));
        step.completed = [&, index](MediaJob& job) {
            EXPECT_NE(job.handle(), nullptr) << "read before the handle is closed";
            ++completions;
            if (index < 2)
                runner.appendStep(chained(index + 1));
            return 1;
        };
        return step;
    };
    ASSERT_TRUE(runner.run({chained(0)}, recordFinish(outcome)));
    ASSERT_TRUE(Dispatch::runUntil([&] { return outcome.finishes > 0; }, 5000));
    EXPECT_TRUE(outcome.success);
    EXPECT_EQ(outcome.finishes, 1);
    EXPECT_EQ(completions, 3);
    EXPECT_EQ(runner.outputs().size(), 3);
    runner.appendStep(chained(5)); // no run: ignored
    EXPECT_FALSE(runner.isBusy());
}

TEST(JobRunnerTiming, AFailingCompletionFailsTheRunOnce) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("runner-completion-fails"));
    FakeJobFactory factory;
    factory.script.workMs = 20;
    JobRunner runner(factory);
    Outcome outcome;
    watch(runner, outcome);
    JobStep first = conversionStep(folder, "a");
    first.completed = [](MediaJob&) { return -7; };
    ASSERT_TRUE(runner.run({first, conversionStep(folder, "b")}, recordFinish(outcome)));
    ASSERT_TRUE(Dispatch::runUntil([&] { return outcome.finishes > 0 && !runner.isBusy(); }, 5000));
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.finishes, 1);
    EXPECT_EQ(outcome.failures, QList<int>{-7});
    EXPECT_EQ(factory.made.size(), 1u) << "no step after the failure";
}

TEST(JobRunnerTiming, AFailingIndependentStepIsReportedAndTheRunGoesOn) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("runner-independent"));
    for (const bool independent : {true, false}) {
        SCOPED_TRACE(independent ? "independent" : "dependent");
        FakeJobFactory factory;
        factory.script.workMs = 20;
        JobRunner runner(factory);
        Outcome outcome;
        watch(runner, outcome);
        QList<QPair<int, int>> reported;
        runner.stepFailed = [&](int step, int code) { reported << qMakePair(step, code); };

        std::vector<JobStep> steps = {conversionStep(folder, "a"), conversionStep(folder, "b"),
                                      conversionStep(folder, "c"), conversionStep(folder, "d")};
        steps[1].configure = [](MediaJob&) { return -22; };
        steps[2].configure = [](MediaJob&) { return 0; };
        for (JobStep& step : steps)
            step.independent = independent;
        ASSERT_TRUE(runner.run(std::move(steps), recordFinish(outcome)));
        ASSERT_TRUE(Dispatch::runUntil([&] { return outcome.finishes > 0; }, 5000));
        EXPECT_EQ(outcome.finishes, 1);
        EXPECT_FALSE(outcome.success);
        if (independent) {
            EXPECT_TRUE(outcome.failures.isEmpty()) << "no run-ending alert";
            EXPECT_EQ(reported, (QList<QPair<int, int>>{{1, -22}, {2, 0}}));
            ASSERT_EQ(runner.failedSteps().size(), 2u);
            EXPECT_EQ(runner.failedSteps()[1].step, 2);
            ASSERT_EQ(factory.made.size(), 4u) << "the steps after the failures still ran";
            EXPECT_EQ(factory.made[3]->outputPath, folder + "/d.mp4");
            for (const auto& job : factory.made)
                EXPECT_EQ(job->closeCount, 1);
        } else {
            EXPECT_EQ(outcome.failures, QList<int>{-22});
            EXPECT_TRUE(reported.isEmpty());
            EXPECT_EQ(factory.made.size(), 2u);
        }
        EXPECT_EQ(outcome.idles, 1);
        EXPECT_FALSE(runner.isBusy());
    }
}
