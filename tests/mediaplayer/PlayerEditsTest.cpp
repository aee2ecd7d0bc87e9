#include "PlayerEdits.h"

#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(PlayerEditsTest, PictureEditsBecomeConversionSettings) {
    PlayerEdits edits;
    const uint64_t start = edits.pictureVersion();
    EXPECT_TRUE(edits.setRotateAngle(90));
    EXPECT_FALSE(edits.setRotateAngle(45));
    EXPECT_EQ(edits.settings().rotateAngle, 90);
    EXPECT_TRUE(edits.setRotateAngle(-90));
    EXPECT_EQ(edits.settings().rotateAngle, 270);
    edits.setHFlip(1);
    edits.setVFlip(7);
    EXPECT_TRUE(edits.settings().hFlip);
    EXPECT_TRUE(edits.settings().vFlip);
    edits.setBCS(300, -101, 50);
    EXPECT_EQ(edits.settings().brightness, 255);
    EXPECT_EQ(edits.settings().contrast, -100);
    EXPECT_EQ(edits.settings().saturation, 50);
    edits.clearImageEffect();
    EXPECT_TRUE(edits.addImageEffect(3));
    EXPECT_TRUE(edits.addImageEffect(7));
    EXPECT_FALSE(edits.addImageEffect(9999)); // not in the effect list
    EXPECT_EQ(edits.settings().effects, (std::vector<int>{3, 7}));
    EXPECT_GT(edits.pictureVersion(), start);
}

TEST(PlayerEditsTest, SubtitleUpdatesChangeOneFieldAndAnEmptyPathRemovesIt) {
    PlayerEdits edits;
    const std::string cues = MediaFixtures::srt();
    SUBTITLE_PARAM record{};
    std::strcpy(record.path, cues.c_str());
    record.position = -1;
    record.fontsize = 30;
    record.shadow = 1;
    record.fontclr = record.shadowclr = 0xffffff00u;
    ASSERT_TRUE(edits.setSubtitle(record));
    ASSERT_TRUE(edits.settings().subtitle.has_value());

    EXPECT_TRUE(edits.updateSubtitleFontFile("/library/fonts/Arial.ttf"));
    edits.updateSubtitlePos(150);
    edits.updateSubtitleFontClr(0xff000000u, 1, 0xff000000u);
    const SUBTITLE_PARAM& now = *edits.settings().subtitle;
    EXPECT_STREQ(now.path, cues.c_str());
    EXPECT_STREQ(now.szFontFile, "/library/fonts/Arial.ttf");
    EXPECT_EQ(now.position, 150);
    EXPECT_EQ(now.fontsize, 30);
    EXPECT_EQ(now.fontclr, 0xff000000u);

    // A font path that does not fit its field is refused and changes nothing.
    const std::string tooLong(260, 'a');
    EXPECT_FALSE(edits.updateSubtitleFontFile(tooLong.c_str()));
    EXPECT_STREQ(edits.settings().subtitle->szFontFile, "/library/fonts/Arial.ttf");

    SUBTITLE_PARAM missing = now;
    std::strcpy(missing.path, "/no/such/cues.srt");
    EXPECT_FALSE(edits.setSubtitle(missing));
    EXPECT_STREQ(edits.settings().subtitle->path, cues.c_str());

    SUBTITLE_PARAM none = now;
    none.path[0] = '\0';
    EXPECT_TRUE(edits.setSubtitle(none));
    EXPECT_FALSE(edits.settings().subtitle.has_value());
    // The font and position wait for the next subtitle.
    EXPECT_EQ(edits.subtitleRecord().position, 150);
}

TEST(PlayerEditsTest, RefusesRecordsThatCannotBeUsed) {
    PlayerEdits edits;
    IMAGE_WATERMARK_PARAM image{};
    std::strcpy(image.path, MediaFixtures::png().c_str());
    image.rect = RECT{10, 10, 110, 60};
    image.end_time = 5000000;
    EXPECT_EQ(edits.addImageWatermask(image), 1);

    IMAGE_WATERMARK_PARAM unterminated = image;
    std::memset(unterminated.path, 'x', sizeof unterminated.path); // no NUL inside the field
    IMAGE_WATERMARK_PARAM emptyBox = image;
    emptyBox.rect.right = emptyBox.rect.left;
    IMAGE_WATERMARK_PARAM inverted = image;
    inverted.start_time = 6000000;
    IMAGE_WATERMARK_PARAM missing = image;
    std::strcpy(missing.path, "/no/such/logo.png");
    for (const IMAGE_WATERMARK_PARAM& bad : {unterminated, emptyBox, inverted, missing})
        EXPECT_EQ(edits.addImageWatermask(bad), 0);

    TEXT_WATERMARK_PARAM text{};
    std::strcpy(text.text, "Hello");
    text.end_time = 1000000;
    EXPECT_EQ(edits.addTextWatermask(text), 1);
    std::memset(text.szFontName, 'f', sizeof text.szFontName);
    EXPECT_EQ(edits.addTextWatermask(text), 0);

    EXPECT_EQ(edits.settings().imageWatermarks.size(), 1u);
    EXPECT_EQ(edits.settings().textWatermarks.size(), 1u);
    edits.clearWatermask();
    EXPECT_TRUE(edits.settings().imageWatermarks.empty());
    EXPECT_TRUE(edits.settings().textWatermarks.empty());
}

TEST(PlayerEditsTest, SoundEditsKeepPicturesCurrent) {
    PlayerEdits edits;
    const uint64_t picture = edits.pictureVersion();
    const std::string music = MediaFixtures::mp3WithCover(); // 2 s of sound
    EXPECT_EQ(edits.addDubbingMusic(music.c_str(), 0, 5000000, 1000000, 3000000, 1000000, 0, 0.5), 1);
    EXPECT_EQ(edits.addDubbingMusic(music.c_str(), 2000000, 1000000, 0, 1000000, 0, 0, 1), 0);
    EXPECT_EQ(edits.addDubbingMusic(nullptr, 0, 1000000, 0, 1000000, 0, 0, 1), 0);
    EXPECT_EQ(edits.addDubbingMusic(MediaFixtures::noAudio().c_str(), 0, 1000000, 0, 1000000, 0, 0, 1), 0);
    edits.setMainAudioVolume(3.0);
    edits.setAudioIndex(2);
    EXPECT_EQ(edits.settings().music.size(), 1u);
    EXPECT_EQ(edits.settings().music[0].timelineStartUs, 1000000);
    EXPECT_NEAR(edits.settings().music[0].musicEndUs, 2000000, 100000); // cut at the music's end
    EXPECT_DOUBLE_EQ(edits.settings().mainAudioVolume, 1.0);
    EXPECT_EQ(edits.settings().audioStreamIndex, 2);
    EXPECT_EQ(edits.pictureVersion(), picture);

    EXPECT_FALSE(edits.silent());
    edits.disableMainAudio(true);
    EXPECT_FALSE(edits.silent()); // the music still plays
    edits.clearDubbingMusic();
    EXPECT_TRUE(edits.silent());
}

TEST(PlayerEditsTest, TheMainGainScalesTheFilesOwnSoundOnly) {
    const std::string music = MediaFixtures::mp3WithCover();
    struct Case {
        double level, gain, mainVolume;
    };
    for (const Case& c : {Case{1.0, 1.0, 1.0}, Case{0.6, 0.5, 0.3}, Case{0.5, 2.0, 1.0}, Case{1.0, 3.0, 2.0},
                          Case{0.8, 0.0, 0.0}, Case{0.5, -1.0, 0.0}}) {
        PlayerEdits edits;
        ASSERT_EQ(edits.addDubbingMusic(music.c_str(), 0, 1000000, 0, 1000000, 0, 0, 0.7), 1);
        // Either order gives the same level.
        edits.setMainGain(c.gain);
        edits.setMainAudioVolume(c.level);
        EXPECT_DOUBLE_EQ(edits.settings().mainAudioVolume, c.mainVolume) << c.level << " x " << c.gain;
        PlayerEdits reversed;
        reversed.setMainAudioVolume(c.level);
        const uint64_t before = reversed.soundVersion();
        reversed.setMainGain(c.gain);
        EXPECT_GT(reversed.soundVersion(), before);
        EXPECT_DOUBLE_EQ(reversed.settings().mainAudioVolume, c.mainVolume);
        EXPECT_DOUBLE_EQ(edits.settings().music.at(0).volume, 0.7); // the music keeps its own factor
    }
}
