#include "LQMoviePlayer.h"
#include "PlayerTestSupport.h"
#include "WatermarkJobSink.h"
#include "WatermarkPlayerSink.h"
#include "WatermarkRecordBuilder.h"
#include "WatermarkRendering.h"
#include "WatermarkTestSupport.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

// A grey 4 s clip, a red picture and a green 2 s clip; one watermark of each kind, each in its own box and time.
struct Scene {
    std::string source;
    WaterMarkList list;
    WatermarkGeometry geometry{320, 240, 320};

    Scene() {
        source = WatermarkClips::grey();
        const std::string red = WatermarkClips::red();
        const std::string green = WatermarkClips::green();

        auto image = std::make_shared<WaterParam>(); // pixels (16, 36)-(96, 96), shown 0-1.5 s
        image->setWaterType(WaterParam::File);
        image->setWaterImagePath(QString::fromStdString(red));
        image->setWaterPercentClipRect({0.05, 0.6, 0.25, 0.25});
        image->setDuration(1.5f);
        auto video = std::make_shared<WaterParam>(); // pixels (192, 24)-(288, 96), shown 2-4 s
        video->setWaterType(WaterParam::File);
        video->setWaterImagePath(QString::fromStdString(green));
        video->setIsVideo(true);
        video->setWaterPercentClipRect({0.6, 0.6, 0.3, 0.3});
        video->setStartTime(2);
        video->setDuration(2);
        video->setFileDuration(2);
        video->setFileEndTime(2);
        auto text = std::make_shared<WaterParam>(); // baseline 24 pixels above the bottom from x 32, shown 1-3 s
        text->setWaterType(WaterParam::Text);
        text->setWaterText(QString::fromUtf8("WM 水印"));
        text->setWaterFontName("DejaVu Sans");
        text->setWaterFontColor(QColor(255, 255, 0));
        text->setWaterPercentClipRect({0.1, 0.1, 0.5, 0.2});
        text->setStartTime(1);
        text->setDuration(2);
        for (auto& w : {image, video, text}) {
            w->setSelected(true);
            list.append(w);
        }
    }
};

// The text's band: its baseline lies 24 pixels above the bottom, from x 32.
constexpr RECT kTextBand{28, 180, 200, 219};

} // namespace

TEST(WatermarkExport, OneOfEachKindInItsBoxAndTimeWindow) {
    Scene scene;
    const std::string out = MediaFixtures::freshDir("wm_export") + "/three.mp4";
    CONVERT_HANDLE job = apiMediaConvertCreate();
    ASSERT_NE(job, nullptr);
    ASSERT_GT(apiMediaConvertSetInputMedia(job, scene.source.c_str()), 0);
    WatermarkJobSink sink(job);
    const auto sent = WatermarkRecordBuilder::send(scene.list, 0, false, scene.geometry, sink);
    EXPECT_EQ(sent.records, 3);
    EXPECT_TRUE(sent.refusalKeys.isEmpty());
    ASSERT_GT(apiMediaConvertSetVideoBitrate(job, 4000), 0);
    ASSERT_GT(apiMediaConvertSetOutputPath(job, out.c_str()), 0);
    // The job runs on a thread of its own, as in the editor: the text is drawn there.
    int started = 0;
    std::thread worker([&] { started = apiMediaConvertStart(job); });
    worker.join();
    apiMediaConvertClose(job);
    ASSERT_GT(started, 0);

    int w = 0, h = 0;
    const std::vector<unsigned char> early = ffmpegFrameRgb(out, 0.5, &w, &h);
    ASSERT_EQ(w, 320);
    ASSERT_EQ(h, 240);
    const Rgb at05{early, w};
    EXPECT_TRUE(at05.red(56, 66)); // the image inside its box
    EXPECT_TRUE(at05.red(20, 40));
    EXPECT_TRUE(at05.grey(56, 110));        // and not below it
    EXPECT_TRUE(at05.grey(100, 66));        // nor right of it
    EXPECT_TRUE(at05.grey(240, 60));        // the video is not on yet
    EXPECT_EQ(at05.yellowIn(kTextBand), 0); // nor the text

    const std::vector<unsigned char> late = ffmpegFrameRgb(out, 2.5, &w, &h);
    const Rgb at25{late, w};
    EXPECT_TRUE(at25.grey(56, 66));   // the image's time is over
    EXPECT_TRUE(at25.green(240, 60)); // the video inside its box
    EXPECT_TRUE(at25.green(196, 28));
    EXPECT_TRUE(at25.grey(240, 104));
    EXPECT_TRUE(at25.grey(180, 60));
    EXPECT_GT(at25.yellowIn(kTextBand), 60); // the text
    EXPECT_TRUE(at25.grey(300, 200));        // right of the text

    // The preview player, given the same records, shows the same pictures.
    auto player = std::make_unique<LQMoviePlayer>(QString::fromStdString(scene.source), ViewRect{0, 0, 320, 240});
    player->SetDrawTextCallback(&playerDrawTextCallback);
    player->SetLoadImageCallback(&playerLoadImageCallback);
    player->ClearWatermask();
    WatermarkPlayerSink preview(*player);
    EXPECT_EQ(WatermarkRecordBuilder::send(scene.list, 0, false, scene.geometry, preview).records, 3);
    for (double seconds : {0.5, 2.5}) {
        SCOPED_TRACE(seconds);
        player->seekTime(MediaTime::withSeconds(seconds, 1000));
        ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*player));
        const std::vector<uint8_t> shown = PlayerTestSupport::snapshot(*player, 320, 240);
        ASSERT_FALSE(shown.empty());
        EXPECT_LT(PlayerTestSupport::meanDifferenceToRgb(shown, seconds < 1 ? early : late), 4.0);
    }
}

TEST(WatermarkExport, TwoOfEachKindEachInItsBoxAndTime) {
    const std::string source = WatermarkClips::grey();
    WaterMarkList list;
    auto add = [&](WaterParam::Kind kind, const std::string& path, const QString& text, const ViewRect& fractions,
                   float start) {
        auto w = std::make_shared<WaterParam>();
        w->setWaterType(kind);
        w->setWaterImagePath(QString::fromStdString(path));
        w->setIsVideo(path.size() > 4 && path.substr(path.size() - 4) == ".mp4");
        w->setWaterText(text);
        w->setWaterFontName("DejaVu Sans");
        w->setWaterFontColor(QColor(255, 255, 0));
        w->setWaterPercentClipRect(fractions);
        w->setStartTime(start);
        w->setDuration(2);
        w->setFileDuration(2);
        w->setFileEndTime(2);
        w->setSelected(true);
        list.append(w);
    };
    // Upper row during the first two seconds, lower row during the last two.
    add(WaterParam::File, WatermarkClips::red(), {}, {0.05, 0.6, 0.2, 0.2}, 0);
    add(WaterParam::File, WatermarkClips::red(), {}, {0.05, 0.1, 0.2, 0.2}, 2);
    add(WaterParam::File, WatermarkClips::green(), {}, {0.7, 0.6, 0.25, 0.25}, 0);
    add(WaterParam::File, WatermarkClips::green(), {}, {0.7, 0.1, 0.25, 0.25}, 2);
    add(WaterParam::Text, {}, "AB", {0.4, 0.7, 0.2, 0.1}, 0);
    add(WaterParam::Text, {}, QString::fromUtf8("水印"), {0.4, 0.1, 0.2, 0.1}, 2);

    const std::string out = MediaFixtures::freshDir("wm_several") + "/six.mp4";
    CONVERT_HANDLE job = apiMediaConvertCreate();
    ASSERT_GT(apiMediaConvertSetInputMedia(job, source.c_str()), 0);
    WatermarkJobSink sink(job);
    EXPECT_EQ(WatermarkRecordBuilder::send(list, -1, false, {320, 240, 320}, sink).records, 6);
    ASSERT_GT(apiMediaConvertSetVideoBitrate(job, 4000), 0);
    ASSERT_GT(apiMediaConvertSetOutputPath(job, out.c_str()), 0);
    int started = 0;
    std::thread worker([&] { started = apiMediaConvertStart(job); });
    worker.join();
    apiMediaConvertClose(job);
    ASSERT_GT(started, 0);

    // Centres (pixels, top-left origin) of the upper and lower boxes; text bands above their baselines.
    const int imageX = 48, imageUpper = 72, imageLower = 192;
    const int videoX = 264, videoUpper = 66, videoLower = 186;
    const RECT upperText{124, 72 - 34, 200, 74}, lowerText{124, 216 - 34, 200, 218};
    for (double seconds : {1.0, 3.0}) {
        SCOPED_TRACE(seconds);
        int w = 0, h = 0;
        const std::vector<unsigned char> frame = ffmpegFrameRgb(out, seconds, &w, &h);
        ASSERT_EQ(w, 320);
        const Rgb rgb{frame, w};
        const bool first = seconds < 2;
        EXPECT_EQ(rgb.red(imageX, imageUpper), first);
        EXPECT_EQ(rgb.red(imageX, imageLower), !first);
        EXPECT_EQ(rgb.green(videoX, videoUpper), first);
        EXPECT_EQ(rgb.green(videoX, videoLower), !first);
        EXPECT_EQ(rgb.yellowIn(upperText) > 20, first);
        EXPECT_EQ(rgb.yellowIn(lowerText) > 20, !first);
        EXPECT_TRUE(rgb.grey(160, 120)); // the middle stays clear
    }
}
