#include "MediaProbe.h"
#include "ResourceBundle.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <cmath>

using Variant = MediaProbe::Variant;

TEST(MediaProbe, FillsBothRecordsFromTheEngine) {
    const std::string file = MediaFixtures::mp4();
    auto data = MediaProbe::getVideoInfomation(QString::fromStdString(file));
    ASSERT_TRUE(data);
    FfprobeResult expected = ffprobe(file);
    EXPECT_EQ(data->path(), QString::fromStdString(file));
    EXPECT_EQ(data->name(), QStringLiteral("clip_320x240_25fps.mp4"));
    for (const auto& record : {data->sourceData(), data->targetData()}) {
        EXPECT_EQ(record->extension(), QStringLiteral("mp4"));
        EXPECT_NEAR(record->duration(), expected.duration, 0.001);
        EXPECT_NEAR(record->fileSize(), QFileInfo(QString::fromStdString(file)).size() / 1e6, 1e-6);
        EXPECT_EQ(record->width(), 320);
        EXPECT_EQ(record->height(), 240);
        EXPECT_EQ(record->fps(), 25.0);
        EXPECT_EQ(record->bitrate(), static_cast<int>(expected.firstVideo()->bitRate / 1000));
        EXPECT_EQ(record->metadata_vcodec(), QStringLiteral("h264"));
        EXPECT_EQ(record->a_codec(), QStringLiteral("aac"));
        EXPECT_EQ(record->a_channel(), 2);
        EXPECT_EQ(record->a_samplerate(), 44100);
        EXPECT_EQ(record->a_bitrate(), static_cast<int>(expected.firstAudio()->bitRate / 1000));
    }
    EXPECT_EQ(data->cutTimeRange_stop(), 0);
    ASSERT_FALSE(data->thumbImage().isNull());
    EXPECT_EQ(data->thumbImage().size(), QSize(285, 180));
}

TEST(MediaProbe, ThumbnailsAre285x180WhateverTheSource) {
    const std::pair<int, int> sizes[] = {{1920, 1080}, {720, 576}, {800, 600}};
    for (auto [w, h] : sizes) {
        std::string name = "still_" + std::to_string(w) + "x" + std::to_string(h) + ".mp4";
        std::string file =
            MediaFixtures::make(name, "-f lavfi -i testsrc2=size=" + std::to_string(w) + "x" + std::to_string(h) +
                                          ":rate=25:duration=0.2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p");
        auto data = MediaProbe::getVideoInfomation(QString::fromStdString(file));
        ASSERT_TRUE(data) << name;
        EXPECT_EQ(data->thumbImage().size(), QSize(285, 180)) << name;
        EXPECT_EQ(data->sourceData()->width(), w);
    }
}

TEST(MediaProbe, KeepsTheWholeFramesOfTheRate) {
    std::string file =
        MediaFixtures::make("ntsc_rate.mp4", "-f lavfi -i testsrc2=size=160x120:rate=30000/1001:duration=1 "
                                             "-c:v libx264 -preset ultrafast -pix_fmt yuv420p");
    auto data = MediaProbe::getVideoInfomation(QString::fromStdString(file));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->sourceData()->fps(), 29.0);
    EXPECT_EQ(data->targetData()->fps(), 29.0);
}

TEST(MediaProbe, AudioOnlyFilesByVariant) {
    const QString file = QString::fromStdString(MediaFixtures::mp3WithCover());
    auto plain = MediaProbe::getVideoInfomation(file, Variant::Plain);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->sourceData()->width(), 0);
    EXPECT_EQ(plain->targetData()->height(), 0);
    EXPECT_TRUE(plain->thumbImage().isNull());
    EXPECT_EQ(plain->sourceData()->a_codec(), QStringLiteral("mp3"));

    auto joiner = MediaProbe::getVideoInfomation(file, Variant::TrimEndAndIcon);
    ASSERT_TRUE(joiner);
    EXPECT_EQ(joiner->cutTimeRange_stop(), static_cast<qint64>(std::llround(joiner->sourceData()->duration() * 1e6)));
    EXPECT_GT(joiner->cutTimeRange_stop(), 1'900'000);
    QImage icon = ResourceBundle::imageWithfileName("Cut/musicIconB.png");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(joiner->thumbImage(), icon);

    auto editor = MediaProbe::getVideoInfomation(file, Variant::Editor);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->thumbImage(), ResourceBundle::imageWithfileName("Resources/defaultMusicZoom.png"));

    // Without audio: the audio fields keep their defaults.
    auto silent = MediaProbe::getVideoInfomation(QString::fromStdString(MediaFixtures::noAudio()));
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->sourceData()->a_channel(), 0);
    EXPECT_TRUE(silent->sourceData()->a_codec().isNull());
}

TEST(MediaProbe, EditorVariant) {
    const QString file = QString::fromStdString(MediaFixtures::twoAudioMkv());
    auto data = MediaProbe::getVideoInfomation(file, Variant::Editor);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->thumbImage().size(), QSize(240, 180)); // 320x240 kept at a height of 180
    EXPECT_EQ(data->sourceData()->width(), 320);
    EXPECT_EQ(data->targetData()->width(), 0); // the target comes from the stored output choices
    EXPECT_EQ(data->sourceData()->a_channel(), 2);
    ASSERT_EQ(data->audioStreamInfos()->size(), 2);
    const auto& second = data->audioStreamInfos()->at(1);
    EXPECT_EQ(second->index(), 2);
    EXPECT_EQ(second->channel(), 1);
    EXPECT_EQ(second->sample(), 48000);
    EXPECT_EQ(second->lang(), QStringLiteral("fra"));
    EXPECT_EQ(second->title(), QStringLiteral("Second"));
}

TEST(MediaProbe, UnusableFilesGiveNothing) {
    for (Variant variant : {Variant::Plain, Variant::TrimEndAndIcon, Variant::Editor}) {
        EXPECT_FALSE(MediaProbe::getVideoInfomation(QStringLiteral("/no/such/file.mp4"), variant));
        EXPECT_FALSE(MediaProbe::getVideoInfomation(QString::fromStdString(MediaFixtures::srt()), variant));
    }
}
