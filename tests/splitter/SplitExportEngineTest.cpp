#include "SplitExport.h"

#include "EngineJobFactory.h"
#include "JobRunner.h"
#include "SplitClips.h"
#include "SplitPlan.h"
#include "WindowShots.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <numeric>

namespace {

SplitExport::Source clipSource() {
    const QString path = QString::fromStdString(splitLevelClip());
    return {path, QFileInfo(path).fileName(), qint64(kSplitClipSeconds * 1000000)};
}

struct RunResult {
    bool success = false;
    int failedCode = 0;
};

RunResult runToEnd(JobRunner& runner, std::vector<JobStep> steps) {
    RunResult result;
    runner.failed = [&](int code) { result.failedCode = code; };
    bool ended = false;
    EXPECT_TRUE(runner.run(std::move(steps), [&](bool ok) {
        ended = true;
        result.success = ok;
    }));
    EXPECT_TRUE(WindowShots::waitUntil([&] { return ended && !runner.isBusy(); }, 120000));
    return result;
}

QStringList piecesIn(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b; // split2 before split10
    });
    return names;
}

// The pieces in order hold every source frame exactly once, and their lengths add up to the source's.
void expectEveryFrameOnce(const QString& folder, const QStringList& names) {
    std::vector<int> all;
    double total = 0;
    for (const QString& name : names) {
        const std::string path = (folder + "/" + name).toStdString();
        const std::vector<int> frames = sourceFrameNumbers(path);
        ASSERT_FALSE(frames.empty()) << path;
        if (!all.empty())
            EXPECT_EQ(frames.front(), all.back() + 1) << name.toStdString() << " starts where the one before ended";
        all.insert(all.end(), frames.begin(), frames.end());
        const FfprobeResult probe = ffprobe(path);
        EXPECT_EQ(probe.count("audio"), 1) << path;
        total += probe.duration;
    }
    std::vector<int> expected(kSplitClipFrames);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(all, expected);
    EXPECT_NEAR(total, ffprobe(splitLevelClip()).duration, 0.05 * double(names.size()));
}

} // namespace

TEST(SplitExportEngine, PiecesByTimeAndEqualPartsFollowEachOtherFrameByFrame) {
    struct Case {
        const char* what;
        SplitPlan::Result plan;
        int pieces;
    };
    // Points between two pictures: three equal parts of 70 pictures, and manual points.
    SplitPlan::Result manual;
    manual.points = {0.3f, 0.61f};
    const Case cases[] = {
        {"every second", SplitPlan::byStep(1, float(kSplitClipSeconds)), 4},
        {"five equal parts", SplitPlan::equalParts(5), 5},
        {"three equal parts", SplitPlan::equalParts(3), 3},
        {"manual points inside pictures", manual, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.plan.ok());
        const QString folder = QString::fromStdString(MediaFixtures::freshDir("split-plan"));
        std::vector<float> progresses = c.plan.points;
        progresses.push_back(1.0f);
        const std::vector<SplitPlan::Piece> pieces = SplitPlan::pieces(progresses, kSplitClipSeconds);
        ASSERT_EQ(int(pieces.size()), c.pieces);

        JobRunner runner(EngineJobFactory::shared());
        const RunResult result = runToEnd(runner, SplitExport::pieceSteps(clipSource(), pieces, folder));
        ASSERT_TRUE(result.success);
        const QStringList names = piecesIn(folder);
        ASSERT_EQ(names.size(), c.pieces);
        for (int i = 0; i < c.pieces; ++i)
            EXPECT_EQ(names[i], QStringLiteral("split_bands_3.5s_20fps-split%1.mp4").arg(i + 1));
        expectEveryFrameOnce(folder, names);
        for (int i = 0; i < c.pieces; ++i) {
            const double length = double(pieces[size_t(i)].stopUs - pieces[size_t(i)].startUs) / 1e6;
            EXPECT_NEAR(ffprobe((folder + "/" + names[i]).toStdString()).firstVideo()->duration, length, 0.051)
                << names[i].toStdString();
        }
    }
}

TEST(SplitExportEngine, PiecesBySizeStayWithinTheLimitAndHoldEveryFrameOnce) {
    const SplitExport::Source source = clipSource();
    const qint64 fileBytes = QFileInfo(source.path).size();
    const float step = 0.25f; // megabytes of 1,048,576 bytes
    const qint64 limit = SplitPlan::sizeLimitBytes(step);
    ASSERT_GT(fileBytes, 2 * limit) << "the clip must need several pieces";

    const QString folder = QString::fromStdString(MediaFixtures::freshDir("split-size"));
    JobRunner runner(EngineJobFactory::shared());
    SplitExport::SizeChain chain(source, limit, folder, runner);
    const RunResult result = runToEnd(runner, {chain.firstStep()});
    ASSERT_TRUE(result.success) << "error " << result.failedCode;

    const QStringList names = piecesIn(folder);
    ASSERT_GE(names.size(), 3);
    EXPECT_EQ(size_t(names.size()), chain.starts().size());
    for (const QString& name : names)
        EXPECT_LE(QFileInfo(folder + "/" + name).size(), limit) << name.toStdString();
    expectEveryFrameOnce(folder, names);
    // The noisy first half fills pieces far faster than the flat second half: the pieces are not even in time.
    const double first = ffprobe((folder + "/" + names.first()).toStdString()).duration;
    const double last = ffprobe((folder + "/" + names.last()).toStdString()).duration;
    EXPECT_GT(last, first);
}

TEST(SplitExportEngine, AWholeFilePlanWritesOnePieceAndASecondRunNumbersOn) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("split-whole"));
    const std::vector<SplitPlan::Piece> whole = SplitPlan::pieces({1.0f}, kSplitClipSeconds);
    for (int run = 0; run < 2; ++run) {
        JobRunner runner(EngineJobFactory::shared());
        ASSERT_TRUE(runToEnd(runner, SplitExport::pieceSteps(clipSource(), whole, folder)).success);
    }
    EXPECT_EQ(piecesIn(folder),
              (QStringList{"split_bands_3.5s_20fps-split1.mp4", "split_bands_3.5s_20fps-split2.mp4"}));
    EXPECT_NEAR(ffprobe((folder + "/split_bands_3.5s_20fps-split1.mp4").toStdString()).duration, kSplitClipSeconds,
                0.06);
}

TEST(SplitExport, NamesKeepTheSourcesContainer) {
    EXPECT_EQ(SplitExport::baseName("holiday.mp4"), "holiday-split");
    EXPECT_EQ(SplitExport::extension("holiday.mp4"), "mp4");
    EXPECT_EQ(SplitExport::baseName("clip"), "clip-split");
    EXPECT_EQ(SplitExport::extension("clip"), "");
    EXPECT_EQ(SplitExport::baseName("a.b.mkv"), "a.b-split");
    EXPECT_EQ(SplitExport::extension("a.b.mkv"), "mkv");
}
