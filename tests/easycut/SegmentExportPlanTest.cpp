#include "SegmentExportPlan.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SegmentExportPlan, NamesProgressAndVolume) {
    EXPECT_EQ(SegmentExportPlan::baseName(5.25f, 70.5f), "000005.25-000110.50");
    EXPECT_EQ(SegmentExportPlan::baseName(0, 0), "000000.00-000000.00");
    EXPECT_EQ(SegmentExportPlan::microseconds(1.5f), 1500000);
    EXPECT_EQ(SegmentExportPlan::microseconds(0.1f), 100000) << "0.1f widened to double is 0.10000000149";

    struct Progress {
        int index;
        int count;
        double percent;
        float bar;
    };
    const std::vector<Progress> progress = {
        {1, 3, 50, 0.5f}, {0, 2, 100, 0.5f}, {1, 2, 0, 0.5f}, {1, 2, 100, 1.0f}, {0, 0, 50, 0.0f}};
    for (const Progress& p : progress)
        EXPECT_FLOAT_EQ(SegmentExportPlan::separateProgress(p.index, p.count, p.percent), p.bar)
            << p.index << "/" << p.count << " at " << p.percent;

    struct Volume {
        float slider;
        double volume;
    };
    // The gain the preview plays at: never silent above 0, the middle the source's level.
    for (const Volume& v : std::vector<Volume>{{0, 0}, {0.25f, 0.5}, {0.49f, 0.98}, {0.5f, 1}, {1, 2}})
        EXPECT_NEAR(SegmentExportPlan::mergeVolume(v.slider), v.volume, 1e-6) << v.slider;

    EXPECT_EQ(SegmentExportPlan::extensionOf("/a/b.c/clip.mkv"), "mkv");
    EXPECT_EQ(SegmentExportPlan::extensionOf("/a/b.c/clip"), "");
}

TEST(SegmentExportPlan, OneUniquelyNamedConversionPerSegmentOrOneJoin) {
    const std::vector<SegmentExportPlan::Segment> segments = {{5.25f, 70.5f}, {1, 0}, {2, 3}};
    const std::vector<JobStep> separate = SegmentExportPlan::separateSteps("/in/clip.mov", segments, "/out");
    ASSERT_EQ(separate.size(), 3u);
    EXPECT_EQ(separate[0].output.baseName, "000005.25-000110.50");
    EXPECT_EQ(separate[0].output.extension, "mov");
    EXPECT_EQ(separate[0].output.folder, "/out");
    EXPECT_EQ(separate[0].output.naming, JobStep::Output::Naming::Unique);
    EXPECT_EQ(separate[0].inputPath, "/in/clip.mov");
    EXPECT_EQ(separate[0].kind, MediaJob::Kind::Conversion);
    EXPECT_TRUE(separate[0].configure);
    EXPECT_FALSE(separate[1].configure) << "an end of 0 converts the whole file";

    const std::vector<JobStep> merged = SegmentExportPlan::mergeSteps("/in/clip.mov", segments, "/out", 1, "stamp");
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].kind, MediaJob::Kind::Join);
    EXPECT_EQ(merged[0].output.naming, JobStep::Output::Naming::Unique) << "a merge never replaces a file";
    EXPECT_EQ(merged[0].output.baseName, "stamp");
    EXPECT_EQ(merged[0].output.extension, "mov");
}
