#include "EditExportRun.h"

#include "EditExportClips.h"
#include "EngineJobFactory.h"
#include "GatedJobFactory.h"
#include "JobRunner.h"
#include "WindowShots.h"
#include "libMediaCore.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr qint64 kSecond = 1000000;
constexpr double kFrame = 0.05;

// The engine's jobs, counted as they are made and closed.
class CountingJob : public MediaJob {
public:
    CountingJob(std::shared_ptr<MediaJob> job, int& closed) : _job(std::move(job)), _closed(closed) {}
    Kind kind() const override { return _job->kind(); }
    void* handle() const override { return _job->handle(); }
    int setInputMedia(const QString& path) override { return _job->setInputMedia(path); }
    int setOutputPath(const QString& path) override { return _job->setOutputPath(path); }
    int start() override { return _job->start(); }
    bool startSucceeded(int result) const override { return _job->startSucceeded(result); }
    double progress() override { return _job->progress(); }
    int stop() override { return _job->stop(); }
    int close() override {
        if (_job->handle())
            ++_closed;
        return _job->close();
    }

private:
    std::shared_ptr<MediaJob> _job;
    int& _closed;
};

class CountingFactory : public MediaJobFactory {
public:
    std::shared_ptr<MediaJob> create(MediaJob::Kind kind) override {
        std::shared_ptr<MediaJob> job = gate.create(kind);
        if (!job)
            return nullptr;
        ++made;
        return std::make_shared<CountingJob>(std::move(job), closed);
    }
    GatedJobFactory gate{EngineJobFactory::shared()};
    int made = 0;
    int closed = 0;
};

// An export through a real job runner, as the window runs it.
struct ExportBench {
    CountingFactory factory;
    JobRunner runner{factory};
    QStringList refusals;
    int failedCode = 0;
    bool ended = false;
    bool success = false;
    EditExportRun run{[this](std::vector<JobStep> steps, JobRunner::FinishBlock finish) {
                          return runner.run(std::move(steps), std::move(finish));
                      },
                      [this](const QString& key) { refusals << key; }};

    ExportBench() {
        runner.failed = [this](int code) { failedCode = code; };
    }
    bool start(const EditExportSettings& settings, const std::vector<ExportContribution>& contributions = {}) {
        ended = false;
        return run.start(settings, contributions, [this](bool ok) {
            ended = true;
            success = ok;
        });
    }
    bool wait() {
        EXPECT_TRUE(WindowShots::waitUntil([this] { return ended && !runner.isBusy(); }, 60000));
        return success;
    }
};

EditExportSettings levelsSettings(const QString& folder) {
    EditExportSettings settings;
    settings.sourcePath = QString::fromStdString(editLevelClip());
    settings.sourceName = QStringLiteral("levels.mp4");
    settings.durationUs = 4 * kSecond;
    settings.sourceWidth = 320;
    settings.sourceHeight = 240;
    settings.audioStreamIndex = 1;
    settings.outputFolder = folder;
    settings.extension = QStringLiteral("mp4");
    return settings;
}

double videoDuration(const std::string& path) {
    const FfprobeResult probe = ffprobe(path);
    const FfprobeStream* video = probe.firstVideo();
    return video ? video->duration : -1;
}

double frameDifference(const std::string& a, double at, const std::string& b, double bt) {
    int w = 0, h = 0;
    return meanAbsoluteDifference(ffmpegFrameRgb(a, at, &w, &h), ffmpegFrameRgb(b, bt, &w, &h));
}

} // namespace

TEST(EditExportEngine, KeptTrimIsTheRangeFrameByFrameOnTheSettingsTakenAtStart) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("editor-kept"));
    ExportBench bench;
    EditExportSettings settings = levelsSettings(folder);
    settings.cutStartUs = 1 * kSecond;
    settings.cutStopUs = 2500000;
    ASSERT_TRUE(bench.start(settings));
    settings.cutStopUs = 3900000; // edits after Start do not reach the running export
    ASSERT_TRUE(bench.wait());
    EXPECT_EQ(bench.failedCode, 0);

    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"levels.mp4"});
    const std::string out = (folder + "/levels.mp4").toStdString();
    const std::string source = editLevelClip();
    EXPECT_NEAR(videoDuration(out), 1.5, kFrame + 0.001);
    EXPECT_EQ(ffprobe(out).count("audio"), 1);
    EXPECT_LT(frameDifference(out, 0, source, editFrameAt(1.0)), 3.0) << "the first frame is the range's first";
    EXPECT_GT(frameDifference(out, 0, source, editFrameAt(0.95)), 20.0) << "not the frame before it";
    EXPECT_LT(frameDifference(out, editFrameAt(1.45), source, editFrameAt(2.45)), 3.0) << "the range's last frame";

    // Again: a new name by the "(n)" rule, nothing replaced.
    settings.cutStopUs = 2500000;
    ASSERT_TRUE(bench.start(settings));
    ASSERT_TRUE(bench.wait());
    EXPECT_TRUE(QFileInfo::exists(folder + "/levels(2).mp4"));
}

TEST(EditExportEngine, InvertedTrimJoinsWhatLiesAroundTheRangeAndRemovesItsPieces) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("editor-inverted"));
    const PrivateTempFolder temp;
    ExportBench bench;
    EditExportSettings settings = levelsSettings(folder);
    settings.cutStartUs = 1 * kSecond;
    settings.cutStopUs = 2500000;
    settings.trimInverted = true;
    ASSERT_TRUE(bench.start(settings));
    const QString pieces = bench.run.pieceFolder();
    ASSERT_FALSE(pieces.isEmpty());
    EXPECT_FALSE(pieces.startsWith(folder)) << "pieces never go to the user's folder";
    EXPECT_TRUE(pieces.startsWith(temp.path())) << "in the system's temporary folder";
    EXPECT_EQ(QFileInfo(pieces).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    EXPECT_EQ(bench.run.stepCount(), 3);
    ASSERT_TRUE(bench.wait());
    EXPECT_EQ(bench.failedCode, 0);

    EXPECT_FALSE(QFileInfo::exists(pieces)) << "the piece folder is removed after success";
    EXPECT_TRUE(temp.pieceFolders().isEmpty());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"levels.mp4"});
    const std::string out = (folder + "/levels.mp4").toStdString();
    const std::string source = editLevelClip();
    EXPECT_NEAR(videoDuration(out), 2.5, 2 * kFrame + 0.001);
    EXPECT_EQ(ffprobe(out).count("audio"), 1);
    EXPECT_TRUE(ffmpegDecodesCleanly(out));
    EXPECT_LT(frameDifference(out, 0, source, 0), 3.0);
    EXPECT_LT(frameDifference(out, editFrameAt(0.95), source, editFrameAt(0.95)), 3.0) << "last frame before the cut";
    EXPECT_LT(frameDifference(out, editFrameAt(1.0), source, editFrameAt(2.5)), 3.0) << "first frame after the cut";
    EXPECT_LT(frameDifference(out, editFrameAt(2.45), source, editFrameAt(3.95)), 3.0) << "the file's last frame";
}

TEST(EditExportEngine, InvertedTrimWithNothingBeforeTheRangeConvertsTheRestStraightToTheOutput) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("editor-inverted-one"));
    ExportBench bench;
    EditExportSettings settings = levelsSettings(folder);
    settings.cutStartUs = 0;
    settings.cutStopUs = 2500000;
    settings.trimInverted = true;
    ASSERT_TRUE(bench.start(settings));
    EXPECT_TRUE(bench.run.pieceFolder().isEmpty());
    EXPECT_EQ(bench.run.stepCount(), 1);
    ASSERT_TRUE(bench.wait());
    const std::string out = (folder + "/levels.mp4").toStdString();
    EXPECT_NEAR(videoDuration(out), 1.5, kFrame + 0.001);
    EXPECT_LT(frameDifference(out, 0, editLevelClip(), editFrameAt(2.5)), 3.0);

    // Nothing left at all: refused with a message, nothing started.
    settings.cutStopUs = 4 * kSecond;
    EXPECT_FALSE(bench.start(settings));
    EXPECT_EQ(bench.refusals, QStringList{"TrimRemovesWholeFileMessage"});
    EXPECT_FALSE(bench.runner.isBusy());
    // An end before the start: refused, never exported with other values.
    settings.trimInverted = false;
    settings.cutStartUs = 3 * kSecond;
    settings.cutStopUs = 2 * kSecond;
    EXPECT_FALSE(bench.start(settings));
    EXPECT_EQ(bench.refusals.last(), QStringLiteral("TrimEndNotAfterStartMessage"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
}

TEST(EditExportEngine, CancelInAnyStepLeavesNoOutputAndNoPieces) {
    const PrivateTempFolder temp;
    for (int cancelAt : {0, 1, 2}) {
        const QString folder =
            QString::fromStdString(MediaFixtures::freshDir("editor-cancel-" + std::to_string(cancelAt)));
        ExportBench bench;
        // Cancels once the step's job is on. The steps before it pass the gate and the step waits there: a copy
        // cut or a join of these short pieces ends within milliseconds, sooner than a watch could see it.
        bench.factory.gate.letThrough(cancelAt);
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (bench.runner.isRunning() && bench.runner.currentStep() == cancelAt && bench.runner.currentJob() &&
                bench.factory.gate.waiting() == cancelAt + 1) {
                bench.runner.cancel();
                watch.stop();
            }
        });
        watch.start();
        EditExportSettings settings = levelsSettings(folder);
        settings.cutStartUs = 1 * kSecond;
        settings.cutStopUs = 2500000;
        settings.trimInverted = true;
        ASSERT_TRUE(bench.start(settings));
        const QString pieces = bench.run.pieceFolder();
        EXPECT_FALSE(bench.wait()) << cancelAt;
        EXPECT_EQ(bench.failedCode, 0) << "a cancel is no error";
        EXPECT_EQ(bench.factory.made, cancelAt + 1) << "no job starts after the cancel";
        EXPECT_EQ(bench.factory.closed, bench.factory.made);
        EXPECT_FALSE(QFileInfo::exists(pieces)) << cancelAt;
        EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty()) << cancelAt;
    }
    EXPECT_TRUE(temp.pieceFolders().isEmpty());
}

TEST(EditExportEngine, AFailingSetUpEndsTheRunSaysSoAndLeavesNothing) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("editor-setup-fails"));
    for (int failingStep : {0, 1}) {
        ExportBench bench;
        int calls = 0;
        QString pieces;
        const ExportContribution failing = [&](MediaJob&) {
            pieces = bench.run.pieceFolder();
            return calls++ == failingStep ? -7 : 1;
        };
        EditExportSettings settings = levelsSettings(folder);
        settings.cutStartUs = 1 * kSecond;
        settings.cutStopUs = 2500000;
        settings.trimInverted = true;
        bench.start(settings, {failing});
        EXPECT_FALSE(bench.wait());
        EXPECT_EQ(bench.failedCode, -7) << "the failure is reported with its code";
        EXPECT_EQ(bench.factory.made, failingStep + 1);
        EXPECT_EQ(bench.factory.closed, bench.factory.made) << "every handle is closed, the failed one too";
        EXPECT_FALSE(bench.runner.isBusy());
        EXPECT_FALSE(bench.run.isRunning());
        ASSERT_FALSE(pieces.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(pieces)) << "the piece written before the failure is gone with its folder";
        EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
        // The export can be started again at once.
        ASSERT_TRUE(bench.start(levelsSettings(folder)));
        EXPECT_TRUE(bench.wait());
        QDir(folder).removeRecursively();
    }
}

TEST(EditExportEngine, AProfileSizeIsTurnedWithAQuarterTurnAndKeepAspectDoesNotScale) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("editor-sizes"));
    struct Case {
        QString title;
        bool keepAspect;
        int rotation;
        int width, height;
    };
    const Case cases[] = {
        {QStringLiteral("160x120"), false, 0, 160, 120},
        {QStringLiteral("160x120"), false, 90, 120, 160}, // upright picture, not stretched
        {QStringLiteral("640x480"), true, 0, 320, 240},   // keep-aspect: the source's size
        {QStringLiteral("640x480"), true, 90, 240, 320},
    };
    for (const Case& c : cases) {
        ExportBench bench;
        EditExportSettings settings = levelsSettings(folder);
        settings.cutStartUs = 0;
        settings.cutStopUs = 500000;
        settings.titles[OutputSelection::Resolution] = c.title;
        settings.keepAspectRatio = c.keepAspect;
        settings.totalRotation = c.rotation;
        const int rotation = c.rotation;
        const ExportContribution rotate = [rotation](MediaJob& job) {
            return rotation ? apiMediaConvertSetRotateAngle(job.handle(), rotation) : 1;
        };
        ASSERT_TRUE(bench.start(settings, {rotate}));
        ASSERT_TRUE(bench.wait());
        const QString out = QDir(folder).entryInfoList(QDir::Files, QDir::Time).first().absoluteFilePath();
        const FfprobeResult probe = ffprobe(out.toStdString()); // the stream below points into it
        const FfprobeStream* video = probe.firstVideo();
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->width, c.width) << c.title.toStdString() << " " << c.rotation;
        EXPECT_EQ(video->height, c.height) << c.title.toStdString() << " " << c.rotation;
        QFile::remove(out);
    }
}

TEST(EditExportEngine, TheAudioTrackIsTheChosenStreamAndAFileWithoutSoundExportsWithoutAnIndex) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("editor-audio"));
    {
        ExportBench bench;
        EditExportSettings settings = levelsSettings(folder);
        settings.sourcePath = QString::fromStdString(MediaFixtures::twoAudioMkv());
        settings.sourceName = QStringLiteral("two.mkv");
        settings.extension = QStringLiteral("mkv");
        settings.durationUs = 2 * kSecond;
        settings.audioStreamIndex = 2; // the second track: 880 Hz mono at 48 kHz
        ASSERT_TRUE(bench.start(settings));
        ASSERT_TRUE(bench.wait());
        const FfprobeResult probe = ffprobe((folder + "/two.mkv").toStdString());
        ASSERT_EQ(probe.count("audio"), 1);
        EXPECT_EQ(probe.firstAudio()->channels, 1);
        EXPECT_EQ(probe.firstAudio()->sampleRate, 48000);
    }
    {
        ExportBench bench;
        EditExportSettings settings = levelsSettings(folder);
        settings.sourcePath = QString::fromStdString(MediaFixtures::noAudio());
        settings.sourceName = QStringLiteral("silent.mp4");
        settings.durationUs = 2 * kSecond;
        settings.audioStreamIndex = std::nullopt;
        ASSERT_TRUE(bench.start(settings));
        ASSERT_TRUE(bench.wait());
        EXPECT_EQ(bench.failedCode, 0);
        const FfprobeResult probe = ffprobe((folder + "/silent.mp4").toStdString());
        EXPECT_EQ(probe.count("audio"), 0);
        EXPECT_EQ(probe.count("video"), 1);

        // Pieces without sound join as well.
        settings.cutStartUs = 500000;
        settings.cutStopUs = 1 * kSecond;
        settings.trimInverted = true;
        ASSERT_TRUE(bench.start(settings));
        ASSERT_TRUE(bench.wait());
        EXPECT_EQ(bench.failedCode, 0);
        const std::string joined = (folder + "/silent(2).mp4").toStdString();
        EXPECT_NEAR(videoDuration(joined), 1.5, 2 * kFrame + 0.001);
        EXPECT_EQ(ffprobe(joined).count("audio"), 0);
    }
}
