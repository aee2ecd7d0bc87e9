#include "CutItem.h"
#include "MOQPosition.h"
#include "MusicInfo.h"
#include "SimpleData.h"

#include <gtest/gtest.h>

#include <type_traits>

static_assert(!std::is_copy_constructible_v<SimpleData> && !std::is_copy_constructible_v<FileData> &&
                  !std::is_copy_constructible_v<WaterParam> && !std::is_copy_constructible_v<MusicInfo> &&
                  !std::is_copy_constructible_v<CutItem> && !std::is_copy_constructible_v<MOQPosition>,
              "records are shared, never copied by value");

TEST(Records, ANewSimpleDataHasItsDefaultsAndItsOwnParts) {
    SimpleData a, b;
    EXPECT_DOUBLE_EQ(a.volume(), 1.0);
    EXPECT_TRUE(a.selected());
    EXPECT_FALSE(a.defaultFormat());
    EXPECT_FALSE(a.isTrimFanxuan());
    EXPECT_EQ(a.convertRateAngle(), 0);
    EXPECT_EQ(a.transitionEffect(), 0);
    EXPECT_EQ(a.cutTimeRange_stop(), 0);
    EXPECT_TRUE(a.clipRect().isZero());
    EXPECT_EQ(
        a.convertCropSize().left + a.convertCropSize().top + a.convertCropSize().right + a.convertCropSize().bottom, 0);
    EXPECT_TRUE(a.name().isNull());
    EXPECT_TRUE(a.thumbImage().isNull());
    EXPECT_EQ(a.effectTypes(), nullptr);
    ASSERT_NE(a.audioStreamInfos(), nullptr);
    EXPECT_TRUE(a.audioStreamInfos()->isEmpty());

    ASSERT_NE(a.sourceData(), nullptr);
    ASSERT_NE(a.targetData(), nullptr);
    EXPECT_NE(a.sourceData(), a.targetData());
    EXPECT_NE(a.sourceData(), b.sourceData());
    EXPECT_NE(a.waterParam(), b.waterParam());
    EXPECT_NE(a.subtitleParam(), b.subtitleParam());
    EXPECT_NE(a.audioStreamInfos(), b.audioStreamInfos());
}

TEST(Records, HoldersShareTheSameObjects) {
    auto data = std::make_shared<SimpleData>();
    auto target = std::make_shared<FileData>();
    data->setTargetData(target);
    target->setWidth(640);
    EXPECT_EQ(data->targetData()->width(), 640);
    data->audioStreamInfos()->append(std::make_shared<AudioStreamInfo>());
    auto list = data->audioStreamInfos();
    EXPECT_EQ(list->size(), 1);
}

TEST(Records, FreshFileAndStreamRecords) {
    FileData file;
    EXPECT_EQ(file.width(), 0);
    EXPECT_EQ(file.fps(), 0);
    EXPECT_TRUE(file.a_codec().isNull()) << "a fresh FileData has null strings";
    EXPECT_TRUE(file.extension().isNull());

    AudioStreamInfo stream;
    EXPECT_EQ(stream.index(), 0);
    EXPECT_FALSE(stream.lang().isNull()) << "a fresh AudioStreamInfo has empty strings, not null";
    EXPECT_TRUE(stream.lang().isEmpty());
    EXPECT_FALSE(stream.codec().isNull());

    CutItem item;
    EXPECT_FALSE(item.selected());
    EXPECT_EQ(item.startTime(), 0);
    EXPECT_TRUE(item.thumbImage().isNull());

    MOQPosition position(1, 2, 3, 4);
    EXPECT_EQ(position.top(), 1);
    EXPECT_EQ(position.left(), 2);
    EXPECT_EQ(position.bottom(), 3);
    EXPECT_EQ(position.right(), 4);

    MusicInfo music;
    EXPECT_TRUE(music.path().isNull());
    EXPECT_FALSE(music.selected());
    EXPECT_EQ(music.volume(), 0);
}

TEST(Records, FreshWatermarkAndSubtitleDefaults) {
    WaterParam water;
    EXPECT_EQ(water.waterType(), WaterParam::None);
    EXPECT_EQ(water.waterFontName(), "Tahoma");
    EXPECT_EQ(water.waterFontSize(), 34.0f);
    EXPECT_EQ(water.waterFontColor(), QColor(0, 0, 255));
    EXPECT_EQ(water.waterAlph(), 0);

    SubtitleParam subtitle;
    EXPECT_EQ(subtitle.fontSize(), 30);
    EXPECT_EQ(subtitle.fontColor(), QColor(255, 255, 255));
    EXPECT_EQ(subtitle.shadow(), 1);
    EXPECT_EQ(subtitle.positon(), -1);
    EXPECT_EQ(subtitle.subtitleAlph(), 1.0);
    EXPECT_TRUE(subtitle.subtitlePath().isNull());
}

TEST(Records, AWatermarkCopyCarriesTenPropertiesAndResetsTheRest) {
    WaterParam original;
    original.setWaterType(WaterParam::Text);
    original.setWaterAlph(40);
    original.setWaterRect(ViewRect{1, 2, 3, 4});
    original.setWaterPercentClipRect(ViewRect{0.1, 0.2, 0.3, 0.4});
    original.setWaterText("Hello");
    original.setWaterImagePath("/tmp/logo.png");
    original.setWaterFontName("DejaVu Sans");
    original.setWaterFontColor(Qt::red);
    original.setWaterFontSize(20);
    original.setWaterViewFrameWidth(640);
    original.setSelected(true);
    original.setIsVideo(true);
    original.setKeepaspectRatio(true);
    original.setFileDuration(9);
    original.setFileStartTime(1);
    original.setFileEndTime(2);
    original.setStartTime(5.0f);
    original.setDuration(3);

    const auto copy = original.copy();
    EXPECT_EQ(copy->waterType(), WaterParam::Text);
    EXPECT_EQ(copy->waterAlph(), 40);
    EXPECT_EQ(copy->waterRect(), (ViewRect{1, 2, 3, 4}));
    EXPECT_EQ(copy->waterPercentClipRect(), (ViewRect{0.1, 0.2, 0.3, 0.4}));
    EXPECT_EQ(copy->waterText(), "Hello");
    EXPECT_EQ(copy->waterImagePath(), "/tmp/logo.png");
    EXPECT_EQ(copy->waterFontName(), "DejaVu Sans");
    EXPECT_EQ(copy->waterFontColor(), QColor(Qt::red));
    EXPECT_EQ(copy->waterFontSize(), 20);
    EXPECT_EQ(copy->waterViewFrameWidth(), 640);
    EXPECT_FALSE(copy->selected());
    EXPECT_FALSE(copy->isVideo());
    EXPECT_FALSE(copy->keepaspectRatio());
    EXPECT_EQ(copy->fileDuration(), 0);
    EXPECT_EQ(copy->fileStartTime(), 0);
    EXPECT_EQ(copy->fileEndTime(), 0);
    EXPECT_EQ(copy->startTime(), 0);
    EXPECT_EQ(copy->duration(), 0);
}

TEST(Records, ASubtitleCopySharesItsFontList) {
    SubtitleParam original;
    original.setFontPathList(std::make_shared<QStringList>(QStringList{"/usr/share/fonts/a.ttf"}));
    original.setFontSelectIndex(1);
    original.setSubtitlePath("/tmp/a.srt");
    original.setFontColor(Qt::yellow);
    original.setFontSize(24);
    original.setPositon(100);
    original.setShadow(0);
    original.setSubtitleAlph(0.5);
    original.setFontPath("/usr/share/fonts/a.ttf");

    const auto copy = original.mutableCopy();
    EXPECT_EQ(copy->fontPathList(), original.fontPathList());
    original.fontPathList()->append("/usr/share/fonts/b.ttc");
    EXPECT_EQ(copy->fontPathList()->size(), 2) << "a change through one record is seen through the other";
    EXPECT_EQ(copy->fontSelectIndex(), 1);
    EXPECT_EQ(copy->subtitlePath(), "/tmp/a.srt");
    EXPECT_EQ(copy->fontColor(), QColor(Qt::yellow));
    EXPECT_EQ(copy->fontSize(), 24);
    EXPECT_EQ(copy->positon(), 100);
    EXPECT_EQ(copy->shadow(), 0);
    EXPECT_EQ(copy->subtitleAlph(), 0.5);
    EXPECT_EQ(copy->fontPath(), "/usr/share/fonts/a.ttf");
}
