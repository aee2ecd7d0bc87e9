#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

// The fixtures are what every media test stands on: check each is what its name promises, read by ffprobe.
TEST(MediaFixtures, EachFixtureIsWhatItsNameSays) {
    FfprobeResult mp4 = ffprobe(MediaFixtures::mp4());
    ASSERT_TRUE(mp4.ok);
    ASSERT_NE(mp4.firstVideo(), nullptr);
    EXPECT_EQ(mp4.firstVideo()->codecName, "h264");
    EXPECT_EQ(mp4.firstVideo()->width, 320);
    EXPECT_EQ(mp4.firstVideo()->height, 240);
    EXPECT_NEAR(mp4.firstVideo()->frameRate, 25.0, 0.01);
    ASSERT_NE(mp4.firstAudio(), nullptr);
    EXPECT_EQ(mp4.firstAudio()->codecName, "aac");
    EXPECT_EQ(mp4.firstAudio()->channels, 2);
    EXPECT_NEAR(mp4.duration, 2.0, 0.1);

    FfprobeResult mp3 = ffprobe(MediaFixtures::mp3WithCover());
    ASSERT_TRUE(mp3.ok);
    EXPECT_EQ(mp3.count("video"), 0) << "the cover is an attached picture, not a video stream";
    ASSERT_NE(mp3.firstAudio(), nullptr);
    EXPECT_EQ(mp3.firstAudio()->codecName, "mp3");

    FfprobeResult rotated = ffprobe(MediaFixtures::rotated90());
    ASSERT_TRUE(rotated.ok);
    ASSERT_NE(rotated.firstVideo(), nullptr);
    EXPECT_EQ(std::abs(rotated.firstVideo()->rotation), 90);

    FfprobeResult mkv = ffprobe(MediaFixtures::twoAudioMkv());
    ASSERT_TRUE(mkv.ok);
    EXPECT_EQ(mkv.count("audio"), 2);

    FfprobeResult silent = ffprobe(MediaFixtures::noAudio());
    ASSERT_TRUE(silent.ok);
    EXPECT_EQ(silent.count("audio"), 0);
    EXPECT_EQ(silent.count("video"), 1);

    EXPECT_TRUE(std::filesystem::exists(MediaFixtures::png()));
    EXPECT_GT(std::filesystem::file_size(MediaFixtures::srt()), 0u);
}

TEST(MediaFixtures, FrameAndLevelReadersWork) {
    int w = 0, h = 0;
    auto rgb = ffmpegFrameRgb(MediaFixtures::mp4(), 0.5, &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(rgb.size(), 320u * 240u * 3u);
    double level = ffmpegMeanVolume(MediaFixtures::mp4());
    EXPECT_TRUE(std::isfinite(level));
    EXPECT_LT(level, 0.0);
    EXPECT_GT(level, -40.0);
}
