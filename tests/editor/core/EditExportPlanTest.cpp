#include "EditExportPlan.h"

#include "AudioStreamInfo.h"
#include "FileData.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr qint64 kSecond = 1000000;

EditExportSettings sixtySecondTalk() {
    EditExportSettings settings;
    settings.sourcePath = QStringLiteral("/in/talk.mov");
    settings.sourceName = QStringLiteral("talk.mov");
    settings.durationUs = 60 * kSecond;
    settings.outputFolder = QStringLiteral("/out");
    settings.extension = QStringLiteral("mp4");
    return settings;
}

EditExportSettings trimmed(qint64 start, qint64 stop, bool inverted) {
    EditExportSettings settings = sixtySecondTalk();
    settings.cutStartUs = start;
    settings.cutStopUs = stop;
    settings.trimInverted = inverted;
    return settings;
}

using Range = EditExportPlan::Range;

} // namespace

TEST(EditExportPlan, RangesKeptOrInvertedWithEmptyPartsLeftOut) {
    struct Case {
        qint64 start, stop;
        bool inverted;
        std::vector<Range> expected;
    };
    const Case cases[] = {
        {0, 0, false, {{0, 0}}}, // no end set: the whole file
        {10 * kSecond, 20 * kSecond, false, {{10 * kSecond, 20 * kSecond}}},
        {20 * kSecond, 10 * kSecond, false, {}}, // end before start: nothing
        {10 * kSecond, 10 * kSecond, false, {}},
        {10 * kSecond, 20 * kSecond, true, {{0, 10 * kSecond}, {20 * kSecond, 60 * kSecond}}},
        {0, 20 * kSecond, true, {{20 * kSecond, 60 * kSecond}}},    // nothing before the range
        {10 * kSecond, 60 * kSecond, true, {{0, 10 * kSecond}}},    // nothing after it
        {10 * kSecond, 70 * kSecond, true, {{0, 10 * kSecond}}},    // an end past the file's end
        {5000, 20 * kSecond, true, {{20 * kSecond, 60 * kSecond}}}, // less than a hundredth before it
        {0, 60 * kSecond, true, {}},                                // everything removed
        {10 * kSecond, 0, true, {{0, 10 * kSecond}}},               // no end: removed up to the end
        {30 * kSecond, 20 * kSecond, true, {}},
    };
    for (const Case& c : cases) {
        const EditExportSettings settings = trimmed(c.start, c.stop, c.inverted);
        EXPECT_EQ(EditExportPlan::ranges(settings), c.expected) << c.start << " " << c.stop << " " << c.inverted;
    }
}

TEST(EditExportPlan, StartIsRefusedWithAReasonWhenTheEndIsNotAfterTheStartOrNothingIsLeft) {
    struct Case {
        qint64 start, stop;
        bool inverted;
        std::optional<QString> reason;
    };
    const Case cases[] = {
        {10 * kSecond, 20 * kSecond, false, std::nullopt},
        {0, 0, false, std::nullopt},
        {20 * kSecond, 10 * kSecond, false, QStringLiteral("TrimEndNotAfterStartMessage")},
        {20 * kSecond, 20 * kSecond, false, QStringLiteral("TrimEndNotAfterStartMessage")},
        {20 * kSecond, 10 * kSecond, true, QStringLiteral("TrimEndNotAfterStartMessage")},
        {0, 60 * kSecond, true, QStringLiteral("TrimRemovesWholeFileMessage")},
        {0, 20 * kSecond, true, std::nullopt},
    };
    for (const Case& c : cases) {
        const EditExportSettings settings = trimmed(c.start, c.stop, c.inverted);
        EXPECT_EQ(EditExportPlan::refusal(settings), c.reason) << c.start << " " << c.stop << " " << c.inverted;
        EXPECT_EQ(EditExportPlan::steps(settings, {}, QStringLiteral("/tmp/pieces")).empty(), c.reason.has_value());
    }
}

TEST(EditExportPlan, FrameSizeFollowsTheChoiceKeepAspectAndAQuarterTurn) {
    struct Case {
        std::optional<QString> title;
        int customWidth, customHeight;
        bool keepAspect;
        int rotation;
        std::optional<QSize> expected;
    };
    const Case cases[] = {
        {QStringLiteral("1280x720"), 0, 0, false, 0, QSize(1280, 720)},
        {QStringLiteral("1280x720"), 0, 0, true, 0, std::nullopt}, // keep-aspect: no scaling
        {QStringLiteral("1280x720"), 0, 0, false, 90, QSize(720, 1280)},
        {QStringLiteral("1280x720"), 0, 0, false, 270, QSize(720, 1280)},
        {QStringLiteral("1280x720"), 0, 0, false, 360, QSize(1280, 720)}, // 270 + 90
        {QStringLiteral("1280x720"), 0, 0, false, 180, QSize(1280, 720)},
        {QStringLiteral("1280x720"), 0, 0, false, -90, QSize(720, 1280)},
        {QStringLiteral("Custom"), 0, 720, false, 0, QSize(640, 720)}, // width from the target
        {QStringLiteral("Custom"), 800, 600, false, 90, QSize(600, 800)},
        {QStringLiteral("Custom"), 800, 600, true, 0, std::nullopt},
        {std::nullopt, 0, 0, false, 0, std::nullopt},
        {QStringLiteral(" "), 0, 0, false, 0, std::nullopt},
        {QStringLiteral("0x720"), 0, 0, false, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EditExportSettings settings = sixtySecondTalk();
        settings.titles[OutputSelection::Resolution] = c.title;
        settings.customWidth = c.customWidth;
        settings.customHeight = c.customHeight;
        settings.targetWidth = 640;
        settings.targetHeight = 480;
        settings.keepAspectRatio = c.keepAspect;
        settings.totalRotation = c.rotation;
        EXPECT_EQ(EditExportPlan::frameSize(settings), c.expected)
            << c.title.value_or("none").toStdString() << " " << c.rotation << " " << c.keepAspect;
    }
}

TEST(EditExportPlan, KeptTrimIsOneConversionNamedAfterTheSource) {
    EditExportSettings settings = sixtySecondTalk();
    settings.cutStartUs = 10 * kSecond;
    settings.cutStopUs = 20 * kSecond;
    const std::vector<JobStep> steps = EditExportPlan::steps(settings, {}, {});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].kind, MediaJob::Kind::Conversion);
    EXPECT_EQ(steps[0].inputPath, settings.sourcePath);
    EXPECT_EQ(steps[0].output.naming, JobStep::Output::Naming::Unique);
    EXPECT_EQ(steps[0].output.folder, QStringLiteral("/out"));
    EXPECT_EQ(steps[0].output.baseName, QStringLiteral("talk"));
    EXPECT_EQ(steps[0].output.extension, QStringLiteral("mp4"));
    EXPECT_FALSE(EditExportPlan::needsPieceFolder(settings));
}

TEST(EditExportPlan, InvertedTrimWritesPiecesIntoThePieceFolderThenJoinsThemToTheOutput) {
    EditExportSettings settings = sixtySecondTalk();
    settings.cutStartUs = 10 * kSecond;
    settings.cutStopUs = 20 * kSecond;
    settings.trimInverted = true;
    ASSERT_TRUE(EditExportPlan::needsPieceFolder(settings));
    const std::vector<JobStep> steps = EditExportPlan::steps(settings, {}, QStringLiteral("/tmp/private"));
    ASSERT_EQ(steps.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(steps[i].kind, MediaJob::Kind::Conversion);
        EXPECT_EQ(steps[i].output.naming, JobStep::Output::Naming::Exact);
        EXPECT_TRUE(steps[i].output.exactPath.startsWith(QStringLiteral("/tmp/private/"))) << i;
        EXPECT_TRUE(steps[i].output.exactPath.endsWith(QStringLiteral(".mp4"))) << i;
    }
    EXPECT_NE(steps[0].output.exactPath, steps[1].output.exactPath);
    EXPECT_EQ(steps[2].kind, MediaJob::Kind::Join);
    EXPECT_EQ(steps[2].output.naming, JobStep::Output::Naming::Unique);
    EXPECT_EQ(steps[2].output.folder, QStringLiteral("/out"));
    EXPECT_EQ(steps[2].output.baseName, QStringLiteral("talk"));

    // Only one part left: it is converted straight to the output, no pieces.
    settings.cutStartUs = 0;
    EXPECT_FALSE(EditExportPlan::needsPieceFolder(settings));
    const std::vector<JobStep> single = EditExportPlan::steps(settings, {}, QStringLiteral("/tmp/private"));
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].output.naming, JobStep::Output::Naming::Unique);
    EXPECT_EQ(single[0].output.baseName, QStringLiteral("talk"));
}

TEST(EditExportPlan, ProgressGivesEachStepAnEqualShare) {
    EXPECT_FLOAT_EQ(EditExportPlan::progress(0, 1, 50), 0.5f);
    EXPECT_FLOAT_EQ(EditExportPlan::progress(0, 3, 100), 1.0f / 3);
    EXPECT_FLOAT_EQ(EditExportPlan::progress(1, 3, 0), 1.0f / 3);
    EXPECT_FLOAT_EQ(EditExportPlan::progress(2, 3, 0), 2.0f / 3);
    EXPECT_FLOAT_EQ(EditExportPlan::progress(2, 3, 100), 1.0f);
    EXPECT_FLOAT_EQ(EditExportPlan::progress(0, 0, 50), 0.0f);
}

TEST(EditExportSettings, BaseNameAndAudioStreamIndex) {
    EditExportSettings settings;
    settings.sourceName = QStringLiteral("my.clip.mov");
    EXPECT_EQ(settings.baseName(), QStringLiteral("my.clip"));
    settings.sourceName = QStringLiteral("noext");
    EXPECT_EQ(settings.baseName(), QStringLiteral("noext"));

    AudioStreamInfoList streams;
    EXPECT_EQ(EditExportSettings::audioStreamIndexFor(streams, 0), std::nullopt) << "no audio: no index at all";
    for (int index : {1, 3}) {
        auto stream = std::make_shared<AudioStreamInfo>();
        stream->setIndex(index);
        streams.append(stream);
    }
    EXPECT_EQ(EditExportSettings::audioStreamIndexFor(streams, 0), 1);
    EXPECT_EQ(EditExportSettings::audioStreamIndexFor(streams, 1), 3);
    EXPECT_EQ(EditExportSettings::audioStreamIndexFor(streams, 2), std::nullopt);
    EXPECT_EQ(EditExportSettings::audioStreamIndexFor(streams, -1), std::nullopt);
}

TEST(EditExportSettings, TakeFileCopiesTheRecordAndFallsBackToTheSourceFormat) {
    SimpleData file;
    file.setPath(QStringLiteral("/in/talk.mov"));
    file.setName(QStringLiteral("talk.mov"));
    file.sourceData()->setDuration(12.5f);
    file.sourceData()->setWidth(640);
    file.sourceData()->setHeight(360);
    file.sourceData()->setExtension(QStringLiteral("mov"));
    auto stream = std::make_shared<AudioStreamInfo>();
    stream->setIndex(1);
    file.audioStreamInfos()->append(stream);

    EditExportSettings settings;
    settings.takeFile(file, 0);
    EXPECT_EQ(settings.sourcePath, QStringLiteral("/in/talk.mov"));
    EXPECT_EQ(settings.baseName(), QStringLiteral("talk"));
    EXPECT_EQ(settings.durationUs, 12500000);
    EXPECT_EQ(settings.audioStreamIndex, 1);
    EXPECT_EQ(settings.extension, QStringLiteral("mov")) << "no target format yet: the source's";
    EXPECT_EQ(settings.targetWidth, 640);

    file.targetData()->setExtension(QStringLiteral("mp4"));
    file.targetData()->setWidth(1280);
    file.targetData()->setHeight(720);
    settings.takeFile(file, 0);
    EXPECT_EQ(settings.extension, QStringLiteral("mp4"));
    EXPECT_EQ(settings.targetWidth, 1280);
    EXPECT_EQ(settings.targetHeight, 720);
}
