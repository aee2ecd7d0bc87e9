// The job runner and the window frame over the real media engine, on clips generated at test time; outputs are
// checked with ffprobe.
#include "EngineJobFactory.h"
#include "EngineSnapshot.h"
#include "FrameTestWindow.h"
#include "InputFilePanel.h"
#include "JobRunner.h"
#include "ShellTestEnvironment.h"
#include "StillFrame.h"
#include "WindowKeys.h"

#include "Alert.h"
#include "Dispatch.h"
#include "MediaProbe.h"
#include "Modal.h"
#include "libMediaCore.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A 20 s 1280x720 clip: long enough to cancel a job half-way.
QString longClip() {
    return QString::fromStdString(MediaFixtures::make("clip_1280x720_20s.mp4",
                                                      "-f lavfi -i testsrc2=size=1280x720:rate=25:duration=20 "
                                                      "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=20 "
                                                      "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 50 "
                                                      "-c:a aac -shortest"));
}

QString shortClip() {
    return QString::fromStdString(MediaFixtures::mp4());
}

// A conversion of `input` keeping [startS, endS) seconds into folder/base(n).mp4. A cut that changes nothing else
// copies most of its packets and is over in a moment; `encoded` names the codec, so the whole range is encoded
// (a job long enough to watch and to cancel).
JobStep cutStep(const QString& input, const QString& folder, const QString& base, double startS, double endS,
                bool encoded = false) {
    JobStep step;
    step.inputPath = input;
    step.configure = [startS, endS, encoded](MediaJob& job) {
        const int rc = apiMediaConvertSetCutTime(job.handle(), int64_t(startS * 1e6), int64_t(endS * 1e6));
        return rc > 0 && encoded ? apiMediaConvertSetVcodec(job.handle(), "H264") : rc;
    };
    step.output.folder = folder;
    step.output.baseName = base;
    step.output.extension = QStringLiteral("mp4");
    return step;
}

struct Outcome {
    QList<bool> finishes;
    QList<int> failures;
    QList<QPair<int, double>> polls;
};

void watch(JobRunner& runner, Outcome& outcome) {
    runner.failed = [&outcome](int code) { outcome.failures << code; };
    runner.progressChanged = [&outcome](int step, double percent) { outcome.polls << qMakePair(step, percent); };
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

TEST(EngineJobRunner, OneJobReachesFullProgressAndSucceeds) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("engine-one"));
    JobRunner runner(EngineJobFactory::shared());
    Outcome outcome;
    watch(runner, outcome);
    ASSERT_TRUE(
        runner.run({cutStep(longClip(), folder, "clip", 0, 8, true)}, [&](bool ok) { outcome.finishes << ok; }));
    ASSERT_TRUE(Dispatch::runUntil([&] { return !outcome.finishes.isEmpty(); }, 60000));

    EXPECT_EQ(outcome.finishes, QList<bool>{true});
    EXPECT_TRUE(outcome.failures.isEmpty());
    ASSERT_GE(outcome.polls.size(), 2);
    EXPECT_DOUBLE_EQ(outcome.polls.last().second, 100.0);
    for (int i = 1; i < outcome.polls.size(); ++i)
        EXPECT_GE(outcome.polls[i].second, outcome.polls[i - 1].second);
    EXPECT_EQ(filesIn(folder), QStringList{"clip.mp4"});
    EXPECT_EQ(runner.outputs(), QStringList{folder + "/clip.mp4"});
    const FfprobeResult probe = ffprobe((folder + "/clip.mp4").toStdString());
    ASSERT_TRUE(probe.ok);
    EXPECT_NEAR(probe.duration, 8.0, 0.1);
    ASSERT_NE(probe.firstVideo(), nullptr);
    EXPECT_EQ(probe.firstVideo()->width, 1280);
    EXPECT_FALSE(runner.isBusy());
}

TEST(EngineJobRunner, ChainedItemsRunInOrderWithOneFinalClosure) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("engine-chain"));
    JobRunner runner(EngineJobFactory::shared());
    Outcome outcome;
    watch(runner, outcome);
    const QList<QPair<double, double>> ranges = {{0, 0.4}, {0.4, 1.2}, {1.2, 2.0}};
    std::vector<JobStep> steps;
    for (const auto& range : ranges)
        steps.push_back(cutStep(shortClip(), folder, "a", range.first, range.second));
    ASSERT_TRUE(runner.run(std::move(steps), [&](bool ok) { outcome.finishes << ok; }));
    ASSERT_TRUE(Dispatch::runUntil([&] { return !outcome.finishes.isEmpty(); }, 60000));

    EXPECT_EQ(outcome.finishes, QList<bool>{true});
    EXPECT_EQ(runner.outputs(), (QStringList{folder + "/a.mp4", folder + "/a(2).mp4", folder + "/a(3).mp4"}));
    for (int i = 0; i < ranges.size(); ++i) {
        const FfprobeResult probe = ffprobe(runner.outputs().at(i).toStdString());
        ASSERT_TRUE(probe.ok) << i;
        EXPECT_NEAR(probe.duration, ranges[i].second - ranges[i].first, 0.08) << "item " << i;
    }
    for (int i = 1; i < outcome.polls.size(); ++i)
        EXPECT_GE(outcome.polls[i].first, outcome.polls[i - 1].first) << "steps report in order";
    EXPECT_EQ(outcome.polls.last().first, 2);
}

TEST(EngineJobRunner, CancelInTheMiddleStopsTheChainWithNoErrorAndNoPartialFile) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("engine-cancel"));
    JobRunner runner(EngineJobFactory::shared());
    Outcome outcome;
    watch(runner, outcome);
    std::vector<JobStep> steps = {cutStep(shortClip(), folder, "a", 0, 1),
                                  cutStep(longClip(), folder, "b", 0, 20, true),
                                  cutStep(shortClip(), folder, "c", 0, 1)};
    ASSERT_TRUE(runner.run(std::move(steps), [&](bool ok) { outcome.finishes << ok; }));
    ASSERT_TRUE(Dispatch::runUntil(
        [&] { return !outcome.polls.isEmpty() && outcome.polls.last().first == 1 && outcome.polls.last().second > 0; },
        60000));
    runner.cancel();
    EXPECT_FALSE(runner.isRunning());
    ASSERT_TRUE(Dispatch::runUntil([&] { return !outcome.finishes.isEmpty(); }, 10000));

    EXPECT_EQ(outcome.finishes, QList<bool>{false});
    EXPECT_TRUE(outcome.failures.isEmpty());
    EXPECT_EQ(filesIn(folder), QStringList{"a.mp4"}) << "the stopped job left nothing, the third never ran";
    EXPECT_FALSE(runner.isBusy());
}

TEST(EngineJobRunner, AJoinStepJoinsTheConvertedPiecesOfTheSameRun) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("engine-join"));
    const QString pieces = QString::fromStdString(MediaFixtures::freshDir("engine-join-pieces"));
    JobRunner runner(EngineJobFactory::shared());
    Outcome outcome;
    watch(runner, outcome);
    JobStep join;
    join.kind = MediaJob::Kind::Join;
    join.configure = [&runner](MediaJob& job) {
        for (int piece = 0; piece < 2; ++piece) {
            const QByteArray path = runner.outputs().at(piece).toUtf8();
            if (apiMediaJoinAddMediaClip(job.handle(), path.constData(), 0, 0) == nullptr)
                return 0;
        }
        return 1;
    };
    join.output.folder = folder;
    join.output.baseName = QStringLiteral("joined");
    join.output.extension = QStringLiteral("mp4");
    JobStep first = cutStep(shortClip(), pieces, "piece", 0, 0.8);
    first.output.naming = JobStep::Output::Naming::Exact;
    first.output.exactPath = pieces + "/before.mp4";
    JobStep second = cutStep(shortClip(), pieces, "piece", 1.4, 2.0);
    second.output.naming = JobStep::Output::Naming::Exact;
    second.output.exactPath = pieces + "/after.mp4";
    ASSERT_TRUE(runner.run({first, second, join}, [&](bool ok) { outcome.finishes << ok; }));
    ASSERT_TRUE(Dispatch::runUntil([&] { return !outcome.finishes.isEmpty(); }, 60000));

    EXPECT_EQ(outcome.finishes, QList<bool>{true});
    EXPECT_TRUE(outcome.failures.isEmpty());
    EXPECT_EQ(filesIn(folder), QStringList{"joined.mp4"});
    const FfprobeResult probe = ffprobe((folder + "/joined.mp4").toStdString());
    ASSERT_TRUE(probe.ok);
    EXPECT_NEAR(probe.duration, 1.4, 0.1);
    EXPECT_DOUBLE_EQ(outcome.polls.last().second, 100.0);
    EXPECT_EQ(outcome.polls.last().first, 2);
}

TEST(EngineJobRunner, NamesNeverMeetExistingFiles) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("engine-names"));
    for (const QString& name : {QStringLiteral("a.mp4"), QStringLiteral("a(2).mp4")}) {
        QFile file(folder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    JobRunner runner(EngineJobFactory::shared());
    Outcome outcome;
    watch(runner, outcome);
    ASSERT_TRUE(runner.run({cutStep(shortClip(), folder, "a", 0, 1), cutStep(shortClip(), folder, "a", 1, 2)},
                           [&](bool ok) { outcome.finishes << ok; }));
    ASSERT_TRUE(Dispatch::runUntil([&] { return !outcome.finishes.isEmpty(); }, 60000));
    EXPECT_EQ(outcome.finishes, QList<bool>{true});
    EXPECT_EQ(filesIn(folder), (QStringList{"a(2).mp4", "a(3).mp4", "a(4).mp4", "a.mp4"}));
    for (const QString& name : {QStringLiteral("a.mp4"), QStringLiteral("a(2).mp4")}) {
        QFile file(folder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "keep me");
    }
    EXPECT_TRUE(ffprobe((folder + "/a(4).mp4").toStdString()).ok);
}

TEST(EngineJobRunner, AFailingSetterShowsErrorWithTheEnginesCode) {
    ShellTestEnvironment env;
    QStringList texts;
    int resultAlerts = 0;
    Alert::setProvider([&](const AlertRequest& request, QWidget*) { return texts << request.informativeText, 0; });
    Modal::setProvider([&](QWidget*) { return ++resultAlerts, Modal::kModalResponseStop; }, [](int) {});
    FrameTestWindow controller(EngineJobFactory::shared());
    controller.window()->setWindowTitle("Splitter");

    struct Case {
        QString input;
        double start;
        double end;
    };
    const QList<Case> cases = {{shortClip(), 1.5, 0.5}, {shortClip(), 60, 70}, {"/no/such/file.mp4", 0, 1}};
    for (const Case& c : cases) {
        texts.clear();
        int code = 1;
        JobStep step = cutStep(c.input, controller.outputPath(), "bad", c.start, c.end);
        const auto cut = step.configure;
        step.configure = [&code, cut](MediaJob& job) { return code = cut(job); };
        QList<bool> finished;
        ASSERT_TRUE(controller.startRun({step}, [&](bool ok) { finished << ok; }));
        ASSERT_TRUE(Dispatch::runUntil([&] { return !finished.isEmpty(); }, 10000));
        EXPECT_EQ(finished, QList<bool>{false});
        ASSERT_EQ(texts.size(), 1) << c.input.toStdString() << " " << c.start << ".." << c.end;
        EXPECT_TRUE(texts[0].startsWith("error:"));
        const int shown = texts[0].mid(6).toInt();
        EXPECT_LE(shown, 0);
        if (QFile::exists(c.input)) {
            EXPECT_EQ(shown, code) << "the setter's own code";
        }
    }
    EXPECT_EQ(resultAlerts, 0);
    EXPECT_TRUE(filesIn(controller.outputPath()).isEmpty());
}

TEST(EngineJobRunner, StillFramesComeFromTheEnginesSnapshotAndNeverReplaceEachOther) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("engine-still"));
    const QImage frame = EngineSnapshot::frameAt(shortClip(), 1000000, 320, 240);
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(frame.size(), QSize(320, 240));
    EXPECT_TRUE(EngineSnapshot::frameAt("/no/such/file.mp4", 0, 320, 240).isNull());

    // The picture matches what the ffmpeg program decodes at that time.
    int width = 0, height = 0;
    const std::vector<unsigned char> reference = ffmpegFrameRgb(shortClip().toStdString(), 1.0, &width, &height);
    ASSERT_EQ(width, 320);
    const QImage rgb = frame.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> ours;
    for (int y = 0; y < rgb.height(); ++y)
        ours.insert(ours.end(), rgb.constScanLine(y), rgb.constScanLine(y) + rgb.width() * 3);
    EXPECT_LT(meanAbsoluteDifference(ours, reference), 12.0);

    const QString first = StillFrame::write(frame, folder, "jpg");
    const QString second = StillFrame::write(frame, folder, "jpg");
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_NE(first, second);
    EXPECT_EQ(QImageReader(first).format(), "jpeg");
    EXPECT_EQ(QImageReader(second).size(), QSize(320, 240));
}

TEST(EngineJobRunner, PictureSizeIsUprightAndZeroWithoutVideo) {
    struct Case {
        std::string path;
        ViewSize size;
    };
    const QList<Case> cases = {
        {MediaFixtures::mp4(), {320, 240}},
        {MediaFixtures::rotated90(), {240, 320}},
        {MediaFixtures::mp3WithCover(), {0, 0}},
        {"/no/such/file.mp4", {0, 0}},
    };
    for (const Case& c : cases) {
        const ViewSize size = EngineSnapshot::getVideoSizeForTrack(QString::fromStdString(c.path));
        EXPECT_EQ(size.width, c.size.width) << c.path;
        EXPECT_EQ(size.height, c.size.height) << c.path;
    }
}

TEST(EngineJobRunner, ClosingOrQuittingDuringAJobLeavesNoFileBehind) {
    ShellTestEnvironment env;
    using Close = std::function<void(FrameTestWindow&, QWidget & launcher)>;
    const QList<QPair<QString, Close>> ways = {
        {"Ctrl+W",
         [](FrameTestWindow& w, QWidget&) { QTest::keySequence(w.window(), QKeySequence(Qt::CTRL | Qt::Key_W)); }},
        {"Ctrl+Q", [](FrameTestWindow&, QWidget& launcher) { WindowKeys::quitApplication(&launcher); }},
    };
    for (const auto& [name, closeWindow] : ways) {
        SCOPED_TRACE(name.toStdString());
        QWidget launcher;
        launcher.show();
        QPointer<FrameTestWindow> controller = new FrameTestWindow(EngineJobFactory::shared());
        controller->setReleasedWhenDone(true);
        controller->showWindow();
        const QString folder = controller->outputPath();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        int percent = 0;
        ASSERT_TRUE(controller->startRun({cutStep(longClip(), folder, "long", 0, 20, true)}));
        controller->jobRunner().progressChanged = [&](int, double p) { percent = int(p); };
        ASSERT_TRUE(Dispatch::runUntil([&] { return percent > 0; }, 60000));
        ASSERT_FALSE(filesIn(folder).isEmpty()) << "the job is writing";

        int asked = 0;
        Alert::setProvider([&](const AlertRequest&, QWidget*) {
            ++asked;
            return 0; // stop and close
        });
        closeWindow(*controller, launcher);
        EXPECT_EQ(asked, 1);
        ASSERT_TRUE(Dispatch::runUntil([&] { return controller.isNull(); }, 10000));
        EXPECT_EQ(filesIn(folder), QStringList()) << "no unfinished file, no half output";
    }
}

TEST(EngineJobRunner, EveryContainerTheEngineReadsIsListedInTheOpenPanel) {
    struct Case {
        const char* name;
        const char* args;
    };
    const char* video = "-f lavfi -i testsrc2=size=64x48:rate=10:duration=0.5 ";
    const char* sound = "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=0.5 ";
    const QStringList listed = InputFilePanel::allowedFileTypes();
    for (const Case c : {Case{"webm", "-c:v libvpx -b:v 100k"}, Case{"ogv", "-c:v libtheora"},
                         Case{"mkv", "-c:v mpeg4"}, Case{"asf", "-c:v wmv2"}, Case{"flv", "-c:v flv"},
                         Case{"avi", "-c:v mpeg4"}, Case{"ts", "-c:v mpeg2video"}, Case{"3gp", "-c:v mpeg4"}}) {
        const QString path = QString::fromStdString(
            MediaFixtures::make(std::string("panel_type.") + c.name, std::string(video) + c.args));
        ASSERT_FALSE(path.isEmpty()) << c.name;
        EXPECT_NE(MediaProbe::getVideoInfomation(path), nullptr) << c.name << " is read by the engine";
        EXPECT_TRUE(listed.contains(c.name)) << c.name;
    }
    for (const Case c : {Case{"opus", "-c:a libopus"}, Case{"oga", "-c:a flac"}, Case{"aiff", "-c:a pcm_s16be"},
                         Case{"wv", "-c:a wavpack"}}) {
        const QString path = QString::fromStdString(
            MediaFixtures::make(std::string("panel_type.") + c.name, std::string(sound) + c.args));
        ASSERT_FALSE(path.isEmpty()) << c.name;
        EXPECT_NE(MediaProbe::getVideoInfomation(path), nullptr) << c.name << " is read by the engine";
        EXPECT_TRUE(listed.contains(c.name)) << c.name;
    }
}
