// Conversion jobs with picture and sound edits, run through the C interface; outputs read back with the ffmpeg
// and ffprobe programs.

#include "EditTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

namespace fs = std::filesystem;
using namespace edits;

namespace {
const std::vector<double> kRed{255, 0, 0}, kGreen{0, 128, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kGrey{128, 128, 128}, kMagenta{255, 0, 255}, kCyan{0, 255, 255};

// The middle of the top-left quarter of a picture.
std::vector<double> topLeft(const Picture& p) {
    return p.mean(p.width / 4 - 20, p.height / 4 - 15, p.width / 4 + 20, p.height / 4 + 15);
}

class EditJob : public ::testing::Test {
protected:
    void SetUp() override { dir = MediaFixtures::freshDir("edit-job"); }
    void TearDown() override { fs::remove_all(dir); }
    std::string out(const std::string& name) const { return dir + "/" + name; }
    std::string dir;
};
} // namespace

TEST_F(EditJob, CropAndRotationGiveTheExpectedSizes) {
    struct Case {
        std::optional<int> angle;
        RECT crop;
        int frameWidth, frameHeight; // 0: keep
        int width, height;
        std::optional<std::vector<double>> topColour, bottomColour; // left middle of the top and bottom halves
    };
    const Case cases[] = {
        {std::nullopt, {10, 20, 30, 40}, 0, 0, 280, 180, kRed, kBlue},
        {90, {0, 0, 0, 0}, 0, 0, 240, 320, kBlue, kWhite},
        {90, {20, 10, 0, 30}, 0, 0, 220, 280, kBlue, kWhite},
        // Turned half round (white top left, blue top right), then the left half cut away.
        {180, {160, 0, 0, 0}, 0, 0, 160, 240, kBlue, kRed},
        {270, {0, 0, 0, 0}, 120, 160, 120, 160, kGreen, kRed},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(n));
        std::string path = out("size" + std::to_string(n++) + ".mp4");
        ASSERT_GT(convert(quadrants(), path,
                          [&](CONVERT_HANDLE h) {
                              EXPECT_GT(apiMediaConvertSetCropSize(h, c.crop), 0);
                              if (c.angle) {
                                  EXPECT_GT(apiMediaConvertSetRotateAngle(h, *c.angle), 0);
                              }
                              if (c.frameWidth) {
                                  EXPECT_GT(apiMediaConvertSetVideoFrameSize(h, c.frameWidth, c.frameHeight), 0);
                              }
                          }),
                  0);
        FfprobeResult info = ffprobe(path);
        ASSERT_TRUE(info.firstVideo());
        EXPECT_EQ(info.firstVideo()->width, c.width);
        EXPECT_EQ(info.firstVideo()->height, c.height);
        Picture p = frameAt(path, 1.0);
        ASSERT_FALSE(p.empty());
        auto top = p.mean(4, p.height / 4 - 10, 24, p.height / 4 + 10);
        auto bottom = p.mean(4, 3 * p.height / 4 - 10, 24, 3 * p.height / 4 + 10);
        EXPECT_TRUE(near(top, *c.topColour)) << text(top);
        EXPECT_TRUE(near(bottom, *c.bottomColour)) << text(bottom);
    }
}

TEST_F(EditJob, MirroringMovesAKnownCorner) {
    struct Case {
        int h, v;
        std::optional<int> angle;
        std::vector<double> topLeft;
    };
    const Case cases[] = {
        {0, 0, std::nullopt, kRed},
        {1, 0, std::nullopt, kGreen},
        {0, 1, std::nullopt, kBlue},
        {1, 1, std::nullopt, kWhite},
        {0, 0, 90, kBlue},
        // The mirror applies to the source picture before the turn.
        {1, 0, 90, kWhite},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(n));
        std::string path = out("mirror" + std::to_string(n++) + ".mp4");
        ASSERT_GT(convert(quadrants(), path,
                          [&](CONVERT_HANDLE h) {
                              EXPECT_GT(apiMediaConvertHFlipStatus(h, c.h), 0);
                              EXPECT_GT(apiMediaConvertVFlipStatus(h, c.v), 0);
                              if (c.angle) {
                                  EXPECT_GT(apiMediaConvertSetRotateAngle(h, *c.angle), 0);
                              }
                          }),
                  0);
        Picture p = frameAt(path, 1.0);
        ASSERT_FALSE(p.empty());
        EXPECT_TRUE(near(topLeft(p), c.topLeft)) << text(topLeft(p));
    }
}

TEST_F(EditJob, ColourSlidersMoveTheMeanLuma) {
    Picture source = frameAt(grey(), 1.0);
    ASSERT_FALSE(source.empty());
    const double level = source.mean(0, 0, 320, 240)[1];
    struct Case {
        int b, c, s;
        double lowest, highest; // the output's mean green level (luma on grey)
    };
    const Case cases[] = {
        {0, 0, 0, level - 2, level + 2},
        {100, 0, 0, level + 40, 255},
        {-100, 0, 0, 0, level - 40},
        {0, -100, 0, level - 2, level + 2}, // no contrast: everything at mid grey
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(n));
        std::string path = out("bcs" + std::to_string(n++) + ".mp4");
        ASSERT_GT(
            convert(grey(), path, [&](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertAdjustBCS(h, c.b, c.c, c.s), 0); }),
            0);
        double mean = frameAt(path, 1.0).mean(0, 0, 320, 240)[1];
        EXPECT_GE(mean, c.lowest);
        EXPECT_LE(mean, c.highest);
    }
}

TEST_F(EditJob, GrayAndNoSaturationGiveNeutralChroma) {
    for (int variant = 0; variant < 2; ++variant) {
        std::string path = out("neutral" + std::to_string(variant) + ".mp4");
        ASSERT_GT(convert(quadrants(), path,
                          [&](CONVERT_HANDLE h) {
                              if (variant == 0)
                                  EXPECT_GT(apiMediaConvertAddImageEffect(h, 1), 0);
                              else
                                  EXPECT_GT(apiMediaConvertAdjustBCS(h, 0, 0, -100), 0);
                          }),
                  0);
        Picture p = frameAt(path, 1.0);
        ASSERT_FALSE(p.empty());
        for (int qy = 0; qy < 2; ++qy)
            for (int qx = 0; qx < 2; ++qx) {
                auto rgb = p.mean(qx * 160 + 40, qy * 120 + 30, qx * 160 + 120, qy * 120 + 90);
                EXPECT_NEAR(rgb[0], rgb[1], 4) << variant << " " << text(rgb);
                EXPECT_NEAR(rgb[1], rgb[2], 4) << variant << " " << text(rgb);
            }
    }
}

TEST_F(EditJob, SubtitleChangesPixelsOnlyInsideItsCues) {
    // Any characters in the subtitle's name reach the renderer.
    std::string subtitle = out("it's a \"cue\", part 1:2; [x] = ünïcødé.srt");
    fs::copy_file(MediaFixtures::srt(), subtitle);
    for (int position : {-1, 20}) {
        SCOPED_TRACE("position " + std::to_string(position));
        std::string path = out("subtitle" + std::to_string(position) + ".mp4");
        ASSERT_GT(convert(grey(), path,
                          [&](CONVERT_HANDLE h) {
                              SUBTITLE_PARAM s{};
                              setText(s.path, subtitle);
                              setText(s.szFontFile, fontFile());
                              s.position = position;
                              s.fontsize = 40;
                              s.fontclr = s.shadowclr = 0xFF000000u; // red
                              EXPECT_GT(apiMediaConvertSetSubtitle(h, s), 0);
                          }),
                  0);
        // Cues at 0.5-1.0 s and 1.2-1.8 s; the source is the same grey throughout.
        const Picture plain = frameAt(grey(), 0.25);
        for (double t : {0.25, 0.75, 1.1, 1.5, 2.5}) {
            Picture edited = frameAt(path, t);
            ASSERT_FALSE(edited.empty());
            bool inCue = (t > 0.5 && t < 1.0) || (t > 1.2 && t < 1.8);
            double changed = edited.difference(plain, 0, 0, 320, 240);
            if (!inCue) {
                EXPECT_LT(changed, 0.5) << t;
                continue;
            }
            EXPECT_GT(changed, 1.0) << t;
            // Where the text is: the rows of reddish pixels.
            int first = 240, last = -1;
            for (int y = 0; y < 240; ++y)
                for (int x = 0; x < 320; ++x) {
                    const unsigned char* px = &edited.rgb[(y * 320 + x) * 3];
                    if (px[0] > 200 && px[1] < 90 && px[2] < 90) {
                        first = std::min(first, y);
                        last = std::max(last, y);
                    }
                }
            ASSERT_GE(last, 0) << "no red text at " << t;
            if (position < 0) {
                EXPECT_GT(first, 150) << t; // the default place: near the bottom
            } else {
                EXPECT_GE(first, position);
                EXPECT_LT(first, position + 25) << t;
            }
        }
    }
}

TEST_F(EditJob, SubtitleCuesKeepTheirSourceTimesInACut) {
    // Cues at 0.5-1.0 s and 1.2-1.8 s of the source; the output starts at the source's 0.5 s.
    std::string path = out("subtitle-cut.mp4");
    ASSERT_GT(convert(grey(), path,
                      [&](CONVERT_HANDLE h) {
                          EXPECT_GT(apiMediaConvertSetCutTime(h, 500000, 2500000), 0);
                          SUBTITLE_PARAM s{};
                          setText(s.path, MediaFixtures::srt());
                          setText(s.szFontFile, fontFile());
                          s.position = -1;
                          s.fontsize = 40;
                          s.fontclr = s.shadowclr = 0xFF000000u;
                          EXPECT_GT(apiMediaConvertSetSubtitle(h, s), 0);
                      }),
              0);
    const Picture plain = frameAt(grey(), 0.25);
    const struct {
        double outputSeconds;
        bool inCue;
    } cases[] = {{0.2, true}, {0.6, false}, {1.0, true}, {1.5, false}};
    for (const auto& c : cases) {
        Picture edited = frameAt(path, c.outputSeconds);
        ASSERT_FALSE(edited.empty());
        double changed = edited.difference(plain, 0, 0, 320, 240);
        if (c.inCue)
            EXPECT_GT(changed, 1.0) << "output " << c.outputSeconds << " s";
        else
            EXPECT_LT(changed, 0.5) << "output " << c.outputSeconds << " s";
    }
}

TEST_F(EditJob, ImageWatermarkShowsInItsBoxOnlyInsideItsWindow) {
    // '%' would make an image reader look for a numbered sequence; the name is taken as it is.
    std::string image = out("mark 100% \"magenta\", v1:2 ü.png");
    fs::copy_file(magentaPng(), image);
    for (int transparence : {0, 50}) {
        SCOPED_TRACE("transparence " + std::to_string(transparence));
        std::string path = out("image" + std::to_string(transparence) + ".mp4");
        ASSERT_GT(convert(grey(), path,
                          [&](CONVERT_HANDLE h) {
                              IMAGE_WATERMARK_PARAM w{};
                              setText(w.path, image);
                              w.rect = {100, 60, 180, 120}; // twice the image's size
                              w.transparence = transparence;
                              w.start_time = 1'000'000;
                              w.end_time = 2'000'000;
                              EXPECT_GT(apiMediaConvertAddImageWatermask(h, w), 0);
                          }),
                  0);
        const std::vector<double> shown = transparence ? std::vector<double>{191, 64, 191} : kMagenta;
        for (double t : {0.5, 1.5, 2.5}) {
            Picture p = frameAt(path, t);
            ASSERT_FALSE(p.empty());
            auto inside = p.mean(106, 66, 174, 114), outside = p.mean(10, 10, 90, 50);
            EXPECT_TRUE(near(inside, t == 1.5 ? shown : kGrey)) << t << " " << text(inside);
            EXPECT_TRUE(near(outside, kGrey)) << t << " " << text(outside);
        }
    }
}

namespace {
// The test's draw-text callback: a 40x20 box above the text's origin (x from the left, y up from the bottom)
// in the colour word's colour, premultiplied by 1 - transparency.
struct DrawLog {
    std::mutex mutex;
    int calls = 0;
    std::thread::id thread;
    bool zeroed = true;
};
DrawLog& drawLog() {
    static DrawLog log;
    return log;
}

void drawBox(int32_t width, int32_t height, void* pixels, TEXT_WATERMARK_PARAM text) {
    DrawLog& log = drawLog();
    std::lock_guard lock(log.mutex);
    ++log.calls;
    log.thread = std::this_thread::get_id();
    auto* bytes = static_cast<uint8_t*>(pixels);
    log.zeroed = log.zeroed && std::all_of(bytes, bytes + size_t(width) * height * 4, [](uint8_t b) { return !b; });
    const double alpha = 1.0 - text.transparence / 100.0;
    const uint8_t bgra[4] = {uint8_t(((text.fontclr >> 8) & 255) * alpha),
                             uint8_t(((text.fontclr >> 16) & 255) * alpha), uint8_t((text.fontclr >> 24) * alpha),
                             uint8_t(255 * alpha)};
    for (int y = height - text.rect.top - 20; y < height - text.rect.top; ++y)
        for (int x = text.rect.left; x < text.rect.left + 40; ++x)
            std::memcpy(bytes + (size_t(y) * width + x) * 4, bgra, 4);
}
} // namespace

TEST_F(EditJob, TextWatermarkDrawnByTheCallbackAppears) {
    ASSERT_GT(apiMediaConvertSetDrawTextCallback(&drawBox), 0);
    std::string path = out("text.mp4");
    std::thread::id worker;
    int result = 0;
    // The job starts on a thread of its own, as the windows run it; the callback runs there.
    std::thread run([&] {
        worker = std::this_thread::get_id();
        result = convert(grey(), path, [](CONVERT_HANDLE h) {
            TEXT_WATERMARK_PARAM t{};
            setText(t.text, "Clipwright");
            setText(t.szFontName, "DejaVu Sans");
            t.rect = {200, 30, 0, 0};
            t.fontsize = 24;
            t.fontclr = 0x00FF0000u; // green
            t.start_time = 500'000;
            t.end_time = 1'500'000;
            EXPECT_GT(apiMediaConvertAddTextWatermask(h, t), 0);
        });
    });
    run.join();
    apiMediaConvertSetDrawTextCallback(nullptr);
    ASSERT_GT(result, 0);
    {
        std::lock_guard lock(drawLog().mutex);
        EXPECT_EQ(drawLog().calls, 1);
        EXPECT_EQ(drawLog().thread, worker);
        EXPECT_TRUE(drawLog().zeroed);
    }
    // The box covers columns 200-239 and rows 190-209 from the top of the 240-row picture.
    for (double t : {0.25, 1.0, 2.0}) {
        Picture p = frameAt(path, t);
        ASSERT_FALSE(p.empty());
        auto inside = p.mean(204, 194, 236, 206), outside = p.mean(100, 100, 180, 160);
        EXPECT_TRUE(near(inside, t == 1.0 ? std::vector<double>{0, 255, 0} : kGrey)) << t << " " << text(inside);
        EXPECT_TRUE(near(outside, kGrey)) << t << " " << text(outside);
    }
}

TEST_F(EditJob, VideoWatermarkPlaysItsPart) {
    // The watermark file is yellow, cyan, magenta for a second each; its part [1 s, 3 s) is shown from 0.5 s to
    // 2.5 s of the source. With a cut from 1 s the window is moved, and the part starts half a second in.
    struct Case {
        int64_t cutStart;
        std::vector<std::pair<double, std::vector<double>>> frames; // output time, colour in the box
    };
    const Case cases[] = {
        {0, {{0.3, kGrey}, {0.9, kCyan}, {1.9, kMagenta}, {2.7, kGrey}}},
        {1'000'000, {{0.2, kCyan}, {0.8, kMagenta}, {1.7, kGrey}}},
        // The part starts at 1.51 s, between two of its frames: the first picture shows the one on screen then.
        {1'010'000, {{0.0, kCyan}, {0.8, kMagenta}}},
    };
    const std::string oddName = out("it's a \"mark\", take 1:2; [v] = ünïcødé.mp4");
    fs::copy_file(watermarkVideo(), oddName);
    for (const Case& c : cases) {
        SCOPED_TRACE("cut " + std::to_string(c.cutStart));
        std::string path = out("video" + std::to_string(c.cutStart) + ".mp4");
        ASSERT_GT(convert(grey(), path,
                          [&](CONVERT_HANDLE h) {
                              if (c.cutStart) {
                                  EXPECT_GT(apiMediaConvertSetCutTime(h, c.cutStart, 4'000'000), 0);
                              }
                              VIDEO_WATERMARK_PARAM w{};
                              setText(w.path, oddName);
                              w.rect = {200, 20, 264, 68};
                              w.start_time = 500'000;
                              w.end_time = 2'500'000;
                              w.file_start_time = 1'000'000;
                              w.file_end_time = 3'000'000;
                              EXPECT_GT(apiMediaConvertAddVideoWatermark(h, w), 0);
                          }),
                  0);
        for (const auto& [t, colour] : c.frames) {
            Picture p = frameAt(path, t);
            ASSERT_FALSE(p.empty());
            auto inside = p.mean(208, 26, 256, 62), outside = p.mean(20, 120, 180, 220);
            EXPECT_TRUE(near(inside, colour)) << t << " " << text(inside);
            EXPECT_TRUE(near(outside, kGrey)) << t << " " << text(outside);
        }
    }
}

TEST_F(EditJob, MusicIsAudibleInItsWindowWithFades) {
    // A 2 s part placed on 3 s from 0.5 s: it repeats; fades of 1 s at both ends.
    std::string path = out("music.mp4");
    ASSERT_GT(convert(quadrants(), path,
                      [](CONVERT_HANDLE h) {
                          EXPECT_GT(apiMediaConvertSetMaineAudioVolume(h, 1.0), 0);
                          EXPECT_GE(apiMediaConvertAddDubbingMusic(h, music().c_str(), 0, 2'000'000, 500'000, 3'500'000,
                                                                   1'000'000, 1'000'000, 1.0),
                                    0);
                      }),
              0);
    const double before = bandLevel(path, 1000, 0.0, 0.4);
    const double fadingIn = bandLevel(path, 1000, 0.5, 0.3);
    const double full = bandLevel(path, 1000, 1.6, 0.8);
    const double fadingOut = bandLevel(path, 1000, 3.2, 0.3);
    const double after = bandLevel(path, 1000, 3.6, 0.3);
    EXPECT_LT(before, full - 40);
    EXPECT_LT(after, full - 40);
    EXPECT_GT(full, -40);
    EXPECT_LT(fadingIn, full - 8);
    EXPECT_LT(fadingOut, full - 8);
    EXPECT_GT(fadingIn, before + 10);
    // The main sound keeps its level: nothing is scaled down by the mix.
    EXPECT_NEAR(bandLevel(path, 440, 1.6, 0.8), bandLevel(quadrants(), 440, 1.6, 0.8), 1.5);

    // Without fades the repeat is plain to hear after the part's end (2.5 s). Any characters in the music's
    // name reach the graph.
    std::string repeated = out("music-repeat.mp4");
    const std::string oddName = out("it's \"music\", take 1:2; [a] = ünïcødé.m4a");
    fs::copy_file(music(), oddName);
    ASSERT_GT(convert(quadrants(), repeated,
                      [&](CONVERT_HANDLE h) {
                          EXPECT_GE(apiMediaConvertAddDubbingMusic(h, oddName.c_str(), 0, 2'000'000, 500'000, 3'500'000,
                                                                   0, 0, 1.0),
                                    0);
                      }),
              0);
    EXPECT_NEAR(bandLevel(repeated, 1000, 2.8, 0.6), bandLevel(repeated, 1000, 1.0, 0.6), 2);
    EXPECT_LT(bandLevel(repeated, 1000, 3.6, 0.3), bandLevel(repeated, 1000, 1.0, 0.6) - 40);
}

TEST_F(EditJob, MusicAloneWhenTheMainAudioIsDisabled) {
    struct Case {
        std::string input;
        bool disable;
        int64_t cutStart, cutStop;
        double inWindow, outOfWindow; // output times
    };
    const Case cases[] = {
        {quadrants(), true, 0, 0, 1.5, 3.5},
        {MediaFixtures::noAudio(), false, 0, 0, 1.5, 0.5},   // a file without sound gets one
        {quadrants(), true, 1'500'000, 3'500'000, 0.2, 1.0}, // the place [1 s, 2.5 s) after the cut
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(n));
        std::string path = out("alone" + std::to_string(n++) + ".mp4");
        ASSERT_GT(convert(c.input, path,
                          [&](CONVERT_HANDLE h) {
                              if (c.cutStop) {
                                  EXPECT_GT(apiMediaConvertSetCutTime(h, c.cutStart, c.cutStop), 0);
                              }
                              EXPECT_GE(apiMediaConvertAddDubbingMusic(h, music().c_str(), 0, 2'000'000, 1'000'000,
                                                                       2'500'000, 0, 0, 0.8),
                                        0);
                              if (c.disable) {
                                  EXPECT_GT(apiMediaConvertDisableMainAudio(h), 0);
                              }
                          }),
                  0);
        FfprobeResult info = ffprobe(path);
        ASSERT_TRUE(info.firstAudio());
        ASSERT_TRUE(info.firstVideo());
        EXPECT_NEAR(info.firstAudio()->duration, info.firstVideo()->duration, 0.1);
        EXPECT_GT(bandLevel(path, 1000, c.inWindow, 0.3), -40);
        EXPECT_LT(bandLevel(path, 1000, c.outOfWindow, 0.3), -70);
        EXPECT_LT(bandLevel(path, 440, 0.0, 2.0), -70); // no main sound at all
    }
}
