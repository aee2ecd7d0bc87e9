#include "BatchCutPlan.h"

#include "JoinError.h"
#include "SimpleData.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::shared_ptr<SimpleData> file(const QString& name, float seconds, qint64 start, qint64 stop, bool inverted,
                                 const QString& ext = {}) {
    auto f = std::make_shared<SimpleData>();
    f->setName(name);
    f->setPath("/in/" + name);
    f->sourceData()->setDuration(seconds);
    f->targetData()->setExtension(ext);
    f->setCutTimeRange_start(start);
    f->setCutTimeRange_stop(stop);
    f->setIsTrimFanxuan(inverted);
    return f;
}

using Range = BatchCutPlan::Range;

} // namespace

TEST(BatchCutPlan, NamesFollowTheInputAndKeepItsContainer) {
    EXPECT_EQ(BatchCutPlan::baseName("holiday.mp4"), "holiday");
    EXPECT_EQ(BatchCutPlan::baseName("a.b.mkv"), "a.b");
    EXPECT_EQ(BatchCutPlan::baseName("clip"), "clip");
    EXPECT_EQ(BatchCutPlan::baseName(".hidden"), ".hidden");
    EXPECT_EQ(BatchCutPlan::extension(*file("x.mp4", 4, 0, 0, false, "mkv")), "mkv") << "the target's extension";
    EXPECT_EQ(BatchCutPlan::extension(*file("x.mov", 4, 0, 0, false)), "mov") << "else the name's";
    EXPECT_EQ(BatchCutPlan::extension(*file("x", 4, 0, 0, false)), "mp4");

    const JobStep step = BatchCutPlan::jobStep(*file("clip.mkv", 4, 0, 0, false, "mkv"), "/out");
    EXPECT_TRUE(step.independent) << "a failing file leaves the others alone";
    EXPECT_EQ(step.output.naming, JobStep::Output::Naming::Unique);
    EXPECT_EQ(step.output.folder, "/out");
    EXPECT_EQ(step.output.baseName, "clip");
    EXPECT_EQ(step.output.extension, "mkv");
    EXPECT_EQ(step.kind, MediaJob::Kind::Conversion);
    EXPECT_EQ(step.inputPath, "/in/clip.mkv");
    EXPECT_FALSE(step.configure) << "no range: the whole file, no cut";
    EXPECT_EQ(BatchCutPlan::jobStep(*file("clip.mkv", 4, 0, 1000000, true), "/out").kind, MediaJob::Kind::Join);
}

TEST(BatchCutPlan, KeptRanges) {
    struct Case {
        const char* what;
        qint64 start, stop;
        Range expected;
    };
    const Case cases[] = {
        {"no range set: the whole file, start ignored", 1500000, 0, {0, 0}},
        {"a range inside", 1000000, 2500000, {1000000, 2500000}},
        {"reversed ends are put in order", 2500000, 1000000, {1000000, 2500000}},
        {"an end past the file is held to it", 1000000, 9000000, {1000000, 4000000}},
        {"an empty range is the whole file", 2000000, 2000000, {0, 0}},
        {"a range within a frame of both ends is the whole file", 40000, 3960000, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BatchCutPlan::keptRange(*file("a.mp4", 4, c.start, c.stop, false)), c.expected) << c.what;
}

TEST(BatchCutPlan, InvertedPartsLeaveOutEmptyOnes) {
    struct Case {
        const char* what;
        qint64 start, stop;
        std::vector<Range> expected;
    };
    const Case cases[] = {
        {"both sides", 1000000, 2000000, {{0, 1000000}, {2000000, 4000000}}},
        {"from the start: no empty leading part", 0, 1000000, {{1000000, 4000000}}},
        {"a start within the slack counts as the start", 50000, 1000000, {{1000000, 4000000}}},
        {"to the end: no empty trailing part", 3000000, 4000000, {{0, 3000000}}},
        {"past the end", 3000000, 7000000, {{0, 3000000}}},
        {"the whole file: nothing left", 0, 4000000, {}},
        {"reversed ends", 2000000, 1000000, {{0, 1000000}, {2000000, 4000000}}},
        {"nothing cut out: the whole file", 2000000, 2000000, {{0, 4000000}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BatchCutPlan::invertedParts(*file("a.mp4", 4, c.start, c.stop, true)), c.expected) << c.what;
}

TEST(BatchCutPlan, OverallProgressFillsOnlyAtTheEnd) {
    EXPECT_FLOAT_EQ(BatchCutPlan::overallProgress(1, 3, 50), 0.5f);
    EXPECT_FLOAT_EQ(BatchCutPlan::overallProgress(0, 4, 0), 0.0f);
    EXPECT_FLOAT_EQ(BatchCutPlan::overallProgress(2, 4, 200), 0.75f) << "an engine's overshoot is held";
    EXPECT_LT(BatchCutPlan::overallProgress(2, 3, 100), 1.0f) << "the last file done is not yet success";
    EXPECT_FLOAT_EQ(BatchCutPlan::overallProgress(0, 0, 50), 0.0f);
}

TEST(BatchCutPlan, FailureLinesNameTheFileAndTheReason) {
    EXPECT_EQ(BatchCutPlan::failureLine("a.mp4", mediacore::kJoinNothingToWrite),
              "a.mp4: error:-30009 (nothing to write)");
    EXPECT_TRUE(BatchCutPlan::failureLine("b.mp4", -2).startsWith("b.mp4: error:-2 (")) << "FFmpeg's text";
    EXPECT_EQ(BatchCutPlan::failureLine("c.mp4", 0), "c.mp4: error:0");
}
