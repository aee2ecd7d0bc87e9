#include "LQMoviePlayer.h"
#include "PlayerTestSupport.h"

#include "libMediaCore.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace PlayerTestSupport;

namespace {

// Writes `source` through a conversion job with the given settings; returns the output's path.
std::string exportWith(const std::string& source, const std::string& name,
                       const std::function<void(CONVERT_HANDLE)>& settings) {
    const std::string out = MediaFixtures::freshDir("player_export") + "/" + name + ".mp4";
    CONVERT_HANDLE job = apiMediaConvertCreate();
    EXPECT_GT(apiMediaConvertSetInputMedia(job, source.c_str()), 0);
    settings(job);
    EXPECT_GT(apiMediaConvertSetVideoBitrate(job, 4000), 0);
    EXPECT_GT(apiMediaConvertSetOutputPath(job, out.c_str()), 0);
    EXPECT_GT(apiMediaConvertStart(job), 0);
    apiMediaConvertClose(job);
    return out;
}

// The clockwise angle the file's display matrix asks for, as the editor reads it for the export.
int streamAngle(const std::string& path) {
    AUDIO_STREAM_INFO audio{};
    VIDEO_STREAM_INFO video{};
    MEDIA_HANDLE media = MediaOpen(path.c_str());
    EXPECT_NE(media, nullptr);
    MediaGetInfo(media, &audio, &video);
    MediaClose(media);
    return video.angle;
}

// Stands in for the editor's text renderer: an opaque red 60 x 30 block whose bottom-left corner is the text's
// origin (measured from the canvas's bottom-left corner, y up).
void drawBlock(int32_t width, int32_t height, void* pixels, TEXT_WATERMARK_PARAM text) {
    auto* canvas = static_cast<uint8_t*>(pixels);
    for (int y = height - text.rect.top - 30; y < height - text.rect.top; ++y)
        for (int x = text.rect.left; x < text.rect.left + 60; ++x)
            if (x >= 0 && y >= 0 && x < width && y < height) {
                uint8_t* p = canvas + (static_cast<size_t>(y) * width + x) * 4;
                p[0] = 0, p[1] = 0, p[2] = 255, p[3] = 255;
            }
}

IMAGE_WATERMARK_PARAM imageWatermark() {
    IMAGE_WATERMARK_PARAM watermark{};
    MediaRecordSetText(watermark.path, sizeof watermark.path, MediaFixtures::png().c_str());
    watermark.rect = RECT{20, 20, 148, 116};
    watermark.transparence = 20;
    watermark.start_time = 500000;
    watermark.end_time = 1500000;
    return watermark;
}

TEXT_WATERMARK_PARAM textWatermark() {
    TEXT_WATERMARK_PARAM text{};
    MediaRecordSetText(text.text, sizeof text.text, "Clipwright");
    MediaRecordSetText(text.szFontName, sizeof text.szFontName, "DejaVu Sans");
    text.rect = RECT{200, 30, 300, 60};
    text.fontsize = 24;
    text.fontclr = 0xff000000u;
    text.start_time = 0;
    text.end_time = 1500000;
    return text;
}

VIDEO_WATERMARK_PARAM videoWatermark() {
    VIDEO_WATERMARK_PARAM watermark{};
    MediaRecordSetText(watermark.path, sizeof watermark.path, MediaFixtures::noAudio().c_str());
    watermark.rect = RECT{160, 120, 320, 240};
    watermark.start_time = 500000;
    watermark.end_time = 1500000;
    watermark.file_start_time = 200000;
    watermark.file_end_time = 1200000;
    return watermark;
}

SUBTITLE_PARAM subtitle() {
    SUBTITLE_PARAM record{};
    MediaRecordSetText(record.path, sizeof record.path, MediaFixtures::srt().c_str());
    MediaRecordSetText(record.szFontFile, sizeof record.szFontFile, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    record.position = -1;
    record.fontsize = 30;
    record.shadow = 1;
    record.fontclr = record.shadowclr = 0xffff0000u;
    return record;
}

} // namespace

// What the preview shows after an edit is what the export writes (within the encoder's tolerance), and differs
// from the unedited picture.
TEST(LQMoviePlayerEditsTest, PictureEditsMatchTheExport) {
    struct Case {
        const char* name;
        std::function<std::string()> source;
        std::function<void(LQMoviePlayer&)> preview;
        std::function<void(CONVERT_HANDLE, int)> exportSettings;
        int width, height; // of the edited, upright picture
    };
    const Case cases[] = {
        {"rotate90", MediaFixtures::mp4, [](LQMoviePlayer& p) { p.SetRotateAngle(90); },
         [](CONVERT_HANDLE j, int angle) { apiMediaConvertSetRotateAngle(j, 90 + angle); }, 240, 320},
        // The fixture's display matrix turns it a quarter counter-clockwise (270 clockwise): upright it stands
        // 240 wide, and another 270 leaves it upside down.
        {"rotate270_of_rotated", MediaFixtures::rotated90, [](LQMoviePlayer& p) { p.SetRotateAngle(270); },
         [](CONVERT_HANDLE j, int angle) { apiMediaConvertSetRotateAngle(j, 270 + angle); }, 320, 240},
        {"hflip", MediaFixtures::mp4, [](LQMoviePlayer& p) { p.SetHFlip(1); },
         [](CONVERT_HANDLE j, int) { apiMediaConvertHFlipStatus(j, 1); }, 320, 240},
        {"vflip_rotate180", MediaFixtures::mp4,
         [](LQMoviePlayer& p) {
             p.SetVFlip(1);
             p.SetRotateAngle(180);
         },
         [](CONVERT_HANDLE j, int angle) {
             apiMediaConvertVFlipStatus(j, 1);
             apiMediaConvertSetRotateAngle(j, 180 + angle);
         },
         320, 240},
        {"brightness", MediaFixtures::mp4, [](LQMoviePlayer& p) { p.SetBCS(80, 0, 0); },
         [](CONVERT_HANDLE j, int) { apiMediaConvertAdjustBCS(j, 80, 0, 0); }, 320, 240},
        {"gray_and_sepia", MediaFixtures::mp4,
         [](LQMoviePlayer& p) {
             p.ClearImageEffect();
             p.AddImageEffect(1);
             p.AddImageEffect(2);
         },
         [](CONVERT_HANDLE j, int) {
             apiMediaConvertAddImageEffect(j, 1);
             apiMediaConvertAddImageEffect(j, 2);
         },
         320, 240},
        {"subtitle", MediaFixtures::mp4, [](LQMoviePlayer& p) { p.SetSubtitle(subtitle()); },
         [](CONVERT_HANDLE j, int) { apiMediaConvertSetSubtitle(j, subtitle()); }, 320, 240},
        {"image_watermark", MediaFixtures::mp4, [](LQMoviePlayer& p) { p.AddImageWatermask(imageWatermark()); },
         [](CONVERT_HANDLE j, int) { apiMediaConvertAddImageWatermask(j, imageWatermark()); }, 320, 240},
        {"video_watermark", MediaFixtures::mp4, [](LQMoviePlayer& p) { p.AddVideoWatermask(videoWatermark()); },
         [](CONVERT_HANDLE j, int) { apiMediaConvertAddVideoWatermark(j, videoWatermark()); }, 320, 240},
        {"text_watermark", MediaFixtures::mp4,
         [](LQMoviePlayer& p) {
             p.SetDrawTextCallback(drawBlock);
             p.AddTextWatermask(textWatermark());
         },
         [](CONVERT_HANDLE j, int) {
             apiMediaConvertSetDrawTextCallback(drawBlock);
             apiMediaConvertAddTextWatermask(j, textWatermark());
         },
         320, 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string source = c.source();
        auto player = std::make_unique<LQMoviePlayer>(QString::fromStdString(source), ViewRect{0, 0, 320, 240});
        player->seekTime(MediaTime::withSeconds(0.8, 1000));
        ASSERT_TRUE(waitUntilShown(*player));
        // Upright as it is, the picture's size is the upright source's.
        const int angle = streamAngle(source);
        const int uprightW = angle % 180 ? 240 : 320, uprightH = angle % 180 ? 320 : 240;
        const std::vector<uint8_t> before = snapshot(*player, uprightW, uprightH);
        ASSERT_FALSE(before.empty());

        c.preview(*player);
        // Paused: nothing changes until the window asks for a refresh.
        EXPECT_LT(meanDifference(snapshot(*player, uprightW, uprightH), before), 0.5);
        player->Refresh();
        ASSERT_TRUE(waitUntilShown(*player));
        const std::vector<uint8_t> after = snapshot(*player, c.width, c.height);
        ASSERT_FALSE(after.empty());

        const std::string exported =
            exportWith(source, c.name, [&](CONVERT_HANDLE job) { c.exportSettings(job, angle); });
        const std::vector<uint8_t> written = engineSnapshot(exported, 0.8, c.width, c.height);
        EXPECT_LT(meanDifference(after, written), 4.0);
        if (c.width == uprightW) {
            EXPECT_GT(meanDifference(after, before), 1.0); // subtitles and texts change a small part
        }
        if (std::string(c.name) == "rotate270_of_rotated") {
            EXPECT_EQ(angle, 270);
        }
    }
}

TEST(LQMoviePlayerEditsTest, EditsWhilePlayingShowWithoutARefresh) {
    auto player = std::make_unique<LQMoviePlayer>(QString::fromStdString(longGopClip()), ViewRect{0, 0, 320, 240});
    ASSERT_TRUE(waitUntilShown(*player));
    player->play();
    runFor(200);
    player->SetRotateAngle(90);
    runFor(500);
    player->pause();
    int w = 320, h = 320;
    std::vector<uint8_t> buffer(320 * 320 * 4);
    ASSERT_EQ(player->Snapshot(&w, &h, buffer.data()), 1);
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 320);
}

TEST(LQMoviePlayerEditsTest, EditsMadeWhilePausedAreUsedWhenPlayStarts) {
    auto player = std::make_unique<LQMoviePlayer>(QString::fromStdString(longGopClip()), ViewRect{0, 0, 320, 240});
    ASSERT_TRUE(waitUntilShown(*player));
    runFor(200); // the queue fills with unedited pictures
    player->SetRotateAngle(270);
    player->play();
    runFor(300);
    player->pause();
    int w = 320, h = 320;
    std::vector<uint8_t> buffer(320 * 320 * 4);
    ASSERT_EQ(player->Snapshot(&w, &h, buffer.data()), 1);
    EXPECT_EQ(w, 240);
}

TEST(LQMoviePlayerEditsTest, TimedEditsShowOnlyInTheirWindowsWhereverPlaybackStarts) {
    const std::string path = MediaFixtures::mp4();
    auto player = std::make_unique<LQMoviePlayer>(QString::fromStdString(path), ViewRect{0, 0, 320, 240});
    ASSERT_TRUE(waitUntilShown(*player));
    player->AddImageWatermask(imageWatermark()); // 0.5 .. 1.5 s
    player->SetSubtitle(subtitle());             // cues 0.5 .. 1.0 and 1.2 .. 1.8 s
    struct Case {
        double seconds;
        bool edited;
    };
    // Forward, then back and forth across the windows' edges: the preview's graph is kept across the seeks.
    const Case cases[] = {{0.3, false}, {0.8, true}, {1.1, true}, {1.3, true},  {1.9, false}, {0.8, true},
                          {0.3, false}, {1.3, true}, {0.6, true}, {1.9, false}, {1.1, true}};
    const std::string exported = exportWith(path, "timed_edits", [](CONVERT_HANDLE job) {
        apiMediaConvertAddImageWatermask(job, imageWatermark());
        apiMediaConvertSetSubtitle(job, subtitle());
    });
    for (const Case& c : cases) {
        player->seekTime(MediaTime::withSeconds(c.seconds, 1000000000));
        ASSERT_TRUE(waitUntilShown(*player));
        const std::vector<uint8_t> shown = snapshot(*player, 320, 240);
        const double change = meanDifference(shown, engineSnapshot(path, c.seconds, 320, 240));
        if (c.edited)
            EXPECT_GT(change, 1.0) << c.seconds;
        else
            EXPECT_LT(change, 0.5) << c.seconds;
        EXPECT_LT(meanDifference(shown, engineSnapshot(exported, c.seconds, 320, 240)), 4.0) << c.seconds;
    }
}

TEST(LQMoviePlayerEditsTest, AMovieWatermarkShowsTheFrameOfItsOwnTimeWhereverASeekLands) {
    // A watermark movie whose every frame has another brightness: a frame of the wrong time shows at once.
    const std::string movie =
        MediaFixtures::make("watermark_brightness_ramp.mp4",
                            "-f lavfi -i color=c=black:size=160x120:rate=25:duration=2 -vf "
                            "geq=lum='mod(N*23\\,220)+16':cb=128:cr=128 -c:v libx264 -preset ultrafast -g 50 "
                            "-pix_fmt yuv420p");
    ASSERT_FALSE(movie.empty());
    VIDEO_WATERMARK_PARAM watermark = videoWatermark(); // shown 0.5 .. 1.5 s, its file from 0.2 s on
    MediaRecordSetText(watermark.path, sizeof watermark.path, movie.c_str());
    const std::string path = MediaFixtures::mp4();
    const std::string exported = exportWith(
        path, "movie_watermark_seeks", [&](CONVERT_HANDLE job) { apiMediaConvertAddVideoWatermark(job, watermark); });
    auto player = std::make_unique<LQMoviePlayer>(QString::fromStdString(path), ViewRect{0, 0, 320, 240});
    ASSERT_TRUE(waitUntilShown(*player));
    player->AddVideoWatermask(watermark);
    // Forward, back, and into the window from either side.
    for (double seconds : {0.7, 1.3, 0.6, 1.44, 0.3, 1.0, 1.8, 0.52}) {
        player->seekTime(MediaTime::withSeconds(seconds, 1000000000));
        ASSERT_TRUE(waitUntilShown(*player));
        const std::vector<uint8_t> shown = snapshot(*player, 320, 240);
        EXPECT_LT(meanDifference(shown, engineSnapshot(exported, seconds, 320, 240)), 4.0) << seconds;
    }
    // Playing on from a seek, the movie runs on in step with the picture: what is shown is one of the export's
    // pictures (each pairs a picture of the clip with a frame of the movie), whichever the clock stands at.
    player->seekTime(MediaTime::withSeconds(0.6, 1000000000));
    ASSERT_TRUE(waitUntilShown(*player));
    player->play();
    for (int waited = 0; waited < 5000 && player->currentTime().seconds() < 0.9; waited += 20)
        runFor(20);
    player->pause();
    ASSERT_TRUE(waitUntilShown(*player));
    const double at = player->currentTime().seconds();
    EXPECT_GE(at, 0.9);
    const std::vector<uint8_t> shown = snapshot(*player, 320, 240);
    double closest = 1e9;
    for (double frame = 0.6; frame <= 1.48; frame += 0.04)
        closest = std::min(closest, meanDifference(shown, engineSnapshot(exported, frame, 320, 240)));
    EXPECT_LT(closest, 4.0) << at;
}
