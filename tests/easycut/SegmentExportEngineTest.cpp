#include "SegmentExportPlan.h"

#include "EasyCutClips.h"
#include "EngineJobFactory.h"
#include "JobRunner.h"
#include "WindowShots.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kFrame = 0.05; // 20 frames a second, so frame times are exact in binary

// Three frame-aligned segments: frames 10-24, 30-39 and 45-69.
const std::vector<SegmentExportPlan::Segment> kSegments = {{0.5f, 1.25f}, {1.5f, 2.0f}, {2.25f, 3.5f}};

bool runSteps(std::vector<JobStep> steps) {
    JobRunner runner(EngineJobFactory::shared());
    int failedCode = 0;
    runner.failed = [&](int code) { failedCode = code; };
    bool ended = false;
    bool success = false;
    EXPECT_TRUE(runner.run(std::move(steps), [&](bool ok) {
        ended = true;
        success = ok;
    }));
    EXPECT_TRUE(WindowShots::waitUntil([&] { return ended && !runner.isBusy(); }, 60000));
    EXPECT_EQ(failedCode, 0);
    return success;
}

double videoDuration(const std::string& path) {
    const FfprobeResult probe = ffprobe(path);
    const FfprobeStream* video = probe.firstVideo();
    return video ? video->duration : -1;
}

double frameDifference(const std::string& a, double at, const std::string& b, double bt) {
    int w = 0, h = 0, w2 = 0, h2 = 0;
    const std::vector<unsigned char> fa = ffmpegFrameRgb(a, at, &w, &h);
    const std::vector<unsigned char> fb = ffmpegFrameRgb(b, bt, &w2, &h2);
    return meanAbsoluteDifference(fa, fb);
}

} // namespace

TEST(SegmentExportEngine, SeparateExportWritesOneFilePerSegmentNamedStartEndIntoANewFolder) {
    const std::string source = levelClip();
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("easycut-separate")) + "/new/deeper";
    ASSERT_FALSE(QFileInfo::exists(folder));
    ASSERT_TRUE(runSteps(SegmentExportPlan::separateSteps(QString::fromStdString(source), kSegments, folder)));

    const QStringList expected = {"000000.50-000001.25.mp4", "000001.50-000002.00.mp4", "000002.25-000003.50.mp4"};
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), expected) << "the folder is created, nothing else left";
    for (size_t i = 0; i < kSegments.size(); ++i) {
        const std::string out = (folder + "/" + expected[int(i)]).toStdString();
        const double length = double(kSegments[i].end) - double(kSegments[i].start);
        EXPECT_NEAR(videoDuration(out), length, kFrame + 0.001) << out;
        const FfprobeResult probe = ffprobe(out);
        EXPECT_NEAR(probe.duration, length, 0.1) << out;
        EXPECT_EQ(probe.count("audio"), 1) << out;
        // The file's first frame is the segment's own first frame.
        EXPECT_LT(frameDifference(out, 0, source, frameStartingAt(kSegments[i].start)), 3.0) << out;
    }

    // The same segments again: every name gets "(2)", nothing is replaced.
    ASSERT_TRUE(runSteps(SegmentExportPlan::separateSteps(QString::fromStdString(source), kSegments, folder)));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 6);
    EXPECT_TRUE(QFileInfo::exists(folder + "/000001.50-000002.00(2).mp4"));
}

TEST(SegmentExportEngine, MergedExportIsTheSegmentsInOrderFrameByFrameAtEachSeam) {
    const std::string source = levelClip();
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("easycut-merge")) + "/out";
    const QString src = QString::fromStdString(source);
    ASSERT_TRUE(runSteps(SegmentExportPlan::mergeSteps(src, kSegments, folder, 1, "joined")));
    const std::string out = (folder + "/joined.mp4").toStdString();
    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(out)));

    double total = 0;
    for (const SegmentExportPlan::Segment& s : kSegments)
        total += double(s.end) - double(s.start);
    EXPECT_NEAR(videoDuration(out), total, kFrame + 0.001);
    EXPECT_NEAR(ffprobe(out).duration, total, 0.1);

    double at = 0;
    for (const SegmentExportPlan::Segment& s : kSegments) {
        const double length = double(s.end) - double(s.start);
        // First and last frame of the segment in the joined file against the source's frames, and against the
        // source frames just outside the segment, which must not be there.
        const double first = frameStartingAt(at);
        const double last = frameStartingAt(at + length - kFrame);
        EXPECT_LT(frameDifference(out, first, source, frameStartingAt(s.start)), 3.0) << "seam at " << at;
        EXPECT_GT(frameDifference(out, first, source, frameStartingAt(s.start - kFrame)), 10.0) << "seam at " << at;
        EXPECT_LT(frameDifference(out, last, source, frameStartingAt(s.end - kFrame)), 3.0)
            << "end before " << at + length;
        EXPECT_GT(frameDifference(out, last, source, frameStartingAt(s.end)), 10.0) << "end before " << at + length;
        at += length;
    }

    // A second merge with the same name never replaces the first.
    ASSERT_TRUE(runSteps(SegmentExportPlan::mergeSteps(src, kSegments, folder, 1, "joined")));
    EXPECT_TRUE(QFileInfo::exists(folder + "/joined(2).mp4"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
}
