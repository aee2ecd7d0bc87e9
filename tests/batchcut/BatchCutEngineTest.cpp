// Batch cuts through the real engine on generated clips: every file's own range kept or cut out, the outputs named
// after their inputs without replacing anything, and a file that fails leaving the others to complete.
#include "BatchCutPlan.h"

#include "BatchClips.h"
#include "ClipIntake.h"
#include "EngineJobFactory.h"
#include "JobRunner.h"
#include "SimpleData.h"
#include "WindowShots.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct Batch {
    bool success = false;
    QStringList outputs;
    std::vector<JobRunner::StepFailure> failures;
    QList<int> reportedSteps;
    QList<int> runFailures;
};

Batch runBatch(const QList<std::shared_ptr<SimpleData>>& files, const QString& folder) {
    JobRunner runner(EngineJobFactory::shared());
    Batch batch;
    runner.failed = [&](int code) { batch.runFailures << code; };
    runner.stepFailed = [&](int step, int) { batch.reportedSteps << step; };
    std::vector<JobStep> steps;
    for (const auto& f : files)
        steps.push_back(BatchCutPlan::jobStep(*f, folder));
    bool ended = false;
    EXPECT_TRUE(runner.run(std::move(steps), [&](bool ok) {
        ended = true;
        batch.success = ok;
    }));
    EXPECT_TRUE(WindowShots::waitUntil([&] { return ended && !runner.isBusy(); }, 120000));
    batch.outputs = runner.outputs();
    batch.failures = runner.failedSteps();
    return batch;
}

std::shared_ptr<SimpleData> probed(const std::string& path) {
    QList<std::shared_ptr<SimpleData>> added;
    QStringList rejected;
    ClipIntake::probeNow({QString::fromStdString(path)}, added, rejected);
    EXPECT_EQ(added.size(), 1) << path;
    return added.isEmpty() ? std::make_shared<SimpleData>() : added.first();
}

std::shared_ptr<SimpleData> withRange(std::shared_ptr<SimpleData> f, double start, double stop, bool inverted) {
    f->setCutTimeRange_start(qint64(start * 1e6));
    f->setCutTimeRange_stop(qint64(stop * 1e6));
    f->setIsTrimFanxuan(inverted);
    return f;
}

double duration(const QString& path) {
    const FfprobeResult probe = ffprobe(path.toStdString());
    EXPECT_TRUE(probe.ok) << path.toStdString();
    return probe.duration;
}

} // namespace

TEST(BatchCutEngine, EachFileItsOwnRangeKeptOrInvertedNamedAfterItsInputWithoutReplacing) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("batch-three"));
    // An unrelated file already called like the first output stays as it is.
    {
        QFile existing(folder + "/alpha.mp4");
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("mine");
    }
    const QList<std::shared_ptr<SimpleData>> files = {
        withRange(probed(batchClip("alpha.mp4", 4)), 0.8, 2.4, false),
        withRange(probed(batchClip("beta.mkv", 3, "smptebars")), 1.0, 2.0, true),
        withRange(probed(batchClip("gamma.mp4", 3, "rgbtestsrc")), 0.0, 1.2, true),
    };
    struct Expected {
        QString name;
        double seconds;
    };
    const Expected expected[] = {{"alpha(2).mp4", 1.6}, {"beta.mkv", 2.0}, {"gamma.mp4", 1.8}};

    const Batch first = runBatch(files, folder);
    ASSERT_TRUE(first.success);
    EXPECT_TRUE(first.failures.empty());
    ASSERT_EQ(first.outputs.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(QFileInfo(first.outputs[i]).fileName(), expected[i].name);
        // Stream-copied parts end at the key frame nearest the asked time (every 0.2 s here).
        EXPECT_NEAR(duration(first.outputs[i]), expected[i].seconds, 0.25) << expected[i].name.toStdString();
        const FfprobeResult probe = ffprobe(first.outputs[i].toStdString());
        ASSERT_NE(probe.firstVideo(), nullptr);
        EXPECT_EQ(probe.firstVideo()->width, 160);
        EXPECT_EQ(probe.count("audio"), 1);
    }
    EXPECT_EQ(ffprobe(first.outputs[1].toStdString()).formatName.find("matroska"), 0u) << "the input's container";
    {
        QFile existing(folder + "/alpha.mp4");
        ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
        EXPECT_EQ(existing.readAll(), "mine");
    }

    // The same batch again: every name gets the next free number, nothing is replaced.
    const Batch second = runBatch(files, folder);
    ASSERT_TRUE(second.success);
    QStringList names;
    for (const QString& out : second.outputs)
        names << QFileInfo(out).fileName();
    EXPECT_EQ(names, (QStringList{"alpha(3).mp4", "beta(2).mkv", "gamma(2).mp4"}));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 7) << "no temporary file is left";
}

TEST(BatchCutEngine, ABadFileInTheMiddleIsReportedAndTheOthersComplete) {
    // The middle file was fine when it was added and is broken by the time the batch reaches it.
    const std::string good = batchClip("steady.mp4", 2);
    for (const bool inverted : {false, true}) {
        SCOPED_TRACE(inverted ? "inverted" : "kept");
        const QString folder = QString::fromStdString(MediaFixtures::freshDir("batch-bad"));
        const QString brokenPath = folder + "/in/broken.mp4";
        QDir().mkpath(folder + "/in");
        ASSERT_TRUE(QFile::copy(QString::fromStdString(good), brokenPath));
        const auto broken = withRange(probed(brokenPath.toStdString()), 0.5, 1.0, inverted);
        {
            QFile file(brokenPath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("no longer a video");
        }
        const QList<std::shared_ptr<SimpleData>> files = {withRange(probed(good), 0.4, 1.6, false), broken,
                                                           withRange(probed(good), 0.4, 1.6, true)};
        const Batch batch = runBatch(files, folder + "/out");
        EXPECT_FALSE(batch.success) << "a failed file is no success";
        EXPECT_TRUE(batch.runFailures.isEmpty()) << "reported per file, not as the end of the run";
        ASSERT_EQ(batch.failures.size(), 1u);
        EXPECT_EQ(batch.failures[0].step, 1);
        EXPECT_LT(batch.failures[0].code, 0);
        EXPECT_EQ(batch.reportedSteps, QList<int>{1});
        const QStringList written = QDir(folder + "/out").entryList(QDir::Files, QDir::Name);
        EXPECT_EQ(written, (QStringList{"steady(2).mp4", "steady.mp4"})) << written.join(",").toStdString();
        EXPECT_NEAR(duration(folder + "/out/steady.mp4"), 1.2, 0.1);
        EXPECT_NEAR(duration(folder + "/out/steady(2).mp4"), 0.8, 0.25);
    }
}

TEST(BatchCutEngine, AnInvertedRangeOverTheWholeFileFailsThatFileOnly) {
    const std::string clip = batchClip("whole.mp4", 2);
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("batch-whole"));
    const Batch batch = runBatch({withRange(probed(clip), 0, 2.0, true), withRange(probed(clip), 0, 0, false)}, folder);
    EXPECT_FALSE(batch.success);
    ASSERT_EQ(batch.failures.size(), 1u);
    EXPECT_EQ(batch.failures[0].step, 0);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"whole.mp4"}) << "the second file, whole";
    EXPECT_NEAR(duration(folder + "/whole.mp4"), 2.0, 0.1);
}
