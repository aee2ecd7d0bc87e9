#include "JoinPlan.h"

#include "EngineJobFactory.h"
#include "JobRunner.h"
#include "JoinClips.h"
#include "MediaProbe.h"
#include "SimpleData.h"
#include "WindowShots.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

namespace {

std::shared_ptr<SimpleData> probed(const std::string& path) {
    auto clip = MediaProbe::getVideoInfomation(QString::fromStdString(path), MediaProbe::Variant::TrimEndAndIcon);
    EXPECT_TRUE(clip != nullptr) << path;
    return clip;
}

JoinPlan planOf(const QList<std::shared_ptr<SimpleData>>& clips) {
    return JoinPlan::make(clips, OutputSelection(OutputSelection::Family::Joiner), {}, QString());
}

// Runs one join; the output path, or "" when it failed.
QString runJoin(const JoinPlan& plan, const QString& folder) {
    JobRunner runner(EngineJobFactory::shared());
    int failedCode = 0;
    runner.failed = [&](int code) { failedCode = code; };
    bool ended = false, success = false;
    EXPECT_TRUE(runner.run({plan.jobStep(folder, QStringLiteral("joined"))}, [&](bool ok) {
        ended = true;
        success = ok;
    }));
    EXPECT_TRUE(WindowShots::waitUntil([&] { return ended && !runner.isBusy(); }, 120000));
    EXPECT_EQ(failedCode, 0);
    return success ? runner.outputs().value(0) : QString();
}

// The mean colour of a box of a decoded frame (x0..x1, y0..y1 as fractions, top-left origin).
std::array<double, 3> meanColour(const std::string& path, double at, double x0, double x1, double y0, double y1) {
    int w = 0, h = 0;
    const std::vector<unsigned char> rgb = ffmpegFrameRgb(path, at, &w, &h);
    std::array<double, 3> sum{0, 0, 0};
    int count = 0;
    for (int y = int(y0 * h); y < int(y1 * h); ++y)
        for (int x = int(x0 * w); x < int(x1 * w); ++x) {
            for (int c = 0; c < 3; ++c)
                sum[size_t(c)] += rgb[size_t((y * w + x) * 3 + c)];
            ++count;
        }
    for (double& s : sum)
        s /= std::max(count, 1);
    return sum;
}

// Per-packet checksums of one stream's data, in file order (the ffmpeg program's framemd5 of a stream copy; the
// sixth field is the packet's data, what follows it its side data, such as a clip's priming to skip).
std::vector<std::string> packetHashes(const std::string& path, const std::string& stream) {
    const std::string out = captureOutput("ffmpeg -v error -i " + MediaFixtures::quote(path) + " -map 0:" + stream +
                                          " -c copy -f framemd5 - 2>/dev/null");
    std::vector<std::string> hashes;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string field;
        for (int i = 0; i < 6 && std::getline(fields, field, ','); ++i) {
        }
        hashes.push_back(field);
    }
    return hashes;
}

} // namespace

TEST(JoinPlanEngine, ThreeClipsOfDifferentSizesWithAFadeAndASlide) {
    const std::string red = colourClip("red", 320, 240, 2);
    const std::string green = colourClip("green", 160, 120, 2);
    const std::string blue = colourClip("blue", 256, 144, 2);
    QList<std::shared_ptr<SimpleData>> clips{probed(red), probed(green), probed(blue)};
    clips[0]->setTransitionEffect(3); // fade into green
    clips[1]->setTransitionEffect(1); // green slides out left as blue comes in from the right
    clips[2]->setTransitionEffect(2); // the last clip's choice is ignored
    const JoinPlan plan = planOf(clips);
    ASSERT_FALSE(plan.copy);
    ASSERT_EQ(plan.parts.size(), 3u);
    const double t = double(plan.parts[0].transitionUs) / 1e6;
    EXPECT_NEAR(t, 2.0 / 3.0, 1e-3);

    const QString folder = QString::fromStdString(MediaFixtures::freshDir("join-three"));
    const std::string out = runJoin(plan, folder).toStdString();
    ASSERT_FALSE(out.empty());
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.ok);
    ASSERT_NE(probe.firstVideo(), nullptr);
    ASSERT_NE(probe.firstAudio(), nullptr);
    EXPECT_EQ(probe.firstVideo()->width, 320); // the first clip's size
    EXPECT_EQ(probe.firstVideo()->height, 240);
    EXPECT_NEAR(probe.duration, 6.0 - 2 * t, 0.12);

    // Outside the transitions each clip shows alone; in the middle of the fade both colours mix; in the middle of
    // the slide green holds the left side and blue the right.
    const auto solidRed = meanColour(out, 0.5, 0.1, 0.9, 0.1, 0.9);
    EXPECT_GT(solidRed[0], 200);
    EXPECT_LT(solidRed[1], 40);
    const double fadeMiddle = 2.0 - t / 2;
    const auto fade = meanColour(out, fadeMiddle, 0.1, 0.9, 0.1, 0.9);
    EXPECT_GT(fade[0], 50);
    EXPECT_LT(fade[0], 200);
    EXPECT_GT(fade[1], 20);
    const double greenAlone = 2.0 - t + 0.6;
    const auto solidGreen = meanColour(out, greenAlone, 0.1, 0.9, 0.1, 0.9);
    EXPECT_LT(solidGreen[0], 40);
    EXPECT_GT(solidGreen[1], 90);
    const double slideMiddle = 4.0 - 1.5 * t;
    const auto left = meanColour(out, slideMiddle, 0.05, 0.3, 0.2, 0.8);
    const auto right = meanColour(out, slideMiddle, 0.7, 0.95, 0.2, 0.8);
    EXPECT_GT(left[1], 90);
    EXPECT_LT(left[2], 60);
    EXPECT_GT(right[2], 150);
    EXPECT_LT(right[1], 60);
    const auto solidBlue = meanColour(out, probe.duration - 0.2, 0.1, 0.9, 0.1, 0.9);
    EXPECT_GT(solidBlue[2], 200);
    EXPECT_TRUE(ffmpegDecodesCleanly(out));
}

TEST(JoinPlanEngine, MatchingWholeClipsAreCopiedPacketForPacket) {
    const std::string a = patternClip("testsrc2", 2);
    const std::string b = patternClip("testsrc", 1.6);
    QList<std::shared_ptr<SimpleData>> clips{probed(a), probed(b), probed(a)};
    const JoinPlan plan = planOf(clips);
    ASSERT_TRUE(plan.copy);
    EXPECT_EQ(plan.extension, "mp4");

    const QString folder = QString::fromStdString(MediaFixtures::freshDir("join-copy"));
    const std::string out = runJoin(plan, folder).toStdString();
    ASSERT_FALSE(out.empty());
    for (const std::string stream : {"v:0", "a:0"}) {
        SCOPED_TRACE(stream);
        std::vector<std::string> expected;
        for (const std::string& source : {a, b, a}) {
            const std::vector<std::string> part = packetHashes(source, stream);
            expected.insert(expected.end(), part.begin(), part.end());
        }
        const std::vector<std::string> joined = packetHashes(out, stream);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(joined, expected);
    }
    EXPECT_NEAR(ffprobe(out).duration, 5.6, 0.1);

    // A second join into the same folder never replaces the first.
    const std::string second = runJoin(plan, folder).toStdString();
    EXPECT_EQ(QFileInfo(QString::fromStdString(second)).fileName(), "joined(2).mp4");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(out)));
}

TEST(JoinPlanEngine, CancelLeavesNothingBehind) {
    const std::string longer = colourClip("yellow", 640, 360, 12);
    QList<std::shared_ptr<SimpleData>> clips{probed(longer), probed(longer)};
    clips[0]->setTransitionEffect(3);
    const JoinPlan plan = planOf(clips);
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("join-cancel"));

    JobRunner runner(EngineJobFactory::shared());
    int failedCode = 0;
    runner.failed = [&](int code) { failedCode = code; };
    double progress = 0;
    runner.progressChanged = [&](int, double percent) { progress = percent; };
    bool ended = false, success = true;
    ASSERT_TRUE(runner.run({plan.jobStep(folder, QStringLiteral("joined"))}, [&](bool ok) {
        ended = true;
        success = ok;
    }));
    ASSERT_TRUE(WindowShots::waitUntil([&] { return progress > 0 || ended; }, 60000));
    ASSERT_FALSE(ended) << "the join ended before it could be cancelled";
    runner.cancel();
    ASSERT_TRUE(WindowShots::waitUntil([&] { return ended && !runner.isBusy(); }, 5000));
    EXPECT_FALSE(success);
    EXPECT_EQ(failedCode, 0);
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}
