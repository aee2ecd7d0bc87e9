// Bad edit records: each is refused with a failing code or clamped, never a crash or a broken file.

#include "EditTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;
using namespace edits;

namespace {
class EditBadInput : public ::testing::Test {
protected:
    void SetUp() override { dir = MediaFixtures::freshDir("edit-bad"); }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return dir + "/" + name; }
    std::string dir;
};

IMAGE_WATERMARK_PARAM imageMark(const std::string& file, RECT box) {
    IMAGE_WATERMARK_PARAM w{};
    MediaRecordSetText(w.path, sizeof w.path, file.c_str());
    w.rect = box;
    w.end_time = 1'000'000;
    return w;
}
} // namespace

// Records the setters refuse: a failing code each, and the job (started anyway) writes a good file without them.
TEST_F(EditBadInput, RefusedRecords) {
    std::ofstream(path("noise.srt"), std::ios::binary) << std::string("\x01\x7f\xfe garbage \x02\x03", 15);
    std::ofstream(path("empty.srt"));
    std::ofstream(path("nocues.srt")) << "\n\n   \n";
    std::ofstream(path("not-an-image.png")) << "not a picture";
    std::string missing = path("missing.png");

    struct Case {
        const char* what;
        std::function<int(CONVERT_HANDLE)> call;
    };
    const Case cases[] = {
        {"negative crop margin",
         [](CONVERT_HANDLE h) {
             return apiMediaConvertSetCropSize(h, RECT{-2, 0, 0, 0});
         }},
        {"unknown effect", [](CONVERT_HANDLE h) { return apiMediaConvertAddImageEffect(h, 9999); }},
        {"subtitle of random bytes",
         [&](CONVERT_HANDLE h) {
             SUBTITLE_PARAM s{};
             setText(s.path, path("noise.srt"));
             return apiMediaConvertSetSubtitle(h, s);
         }},
        {"empty subtitle file",
         [&](CONVERT_HANDLE h) {
             SUBTITLE_PARAM s{};
             setText(s.path, path("empty.srt"));
             return apiMediaConvertSetSubtitle(h, s);
         }},
        {"subtitle without cues",
         [&](CONVERT_HANDLE h) {
             SUBTITLE_PARAM s{};
             setText(s.path, path("nocues.srt"));
             return apiMediaConvertSetSubtitle(h, s);
         }},
        {"missing subtitle file",
         [&](CONVERT_HANDLE h) {
             SUBTITLE_PARAM s{};
             setText(s.path, path("missing.srt"));
             return apiMediaConvertSetSubtitle(h, s);
         }},
        {"missing watermark image",
         [&](CONVERT_HANDLE h) {
             return apiMediaConvertAddImageWatermask(h, imageMark(missing, {0, 0, 40, 30}));
         }},
        {"watermark image that is no image",
         [&](CONVERT_HANDLE h) {
             return apiMediaConvertAddImageWatermask(h, imageMark(path("not-an-image.png"), {0, 0, 40, 30}));
         }},
        {"watermark box wholly outside",
         [&](CONVERT_HANDLE h) {
             return apiMediaConvertAddImageWatermask(h, imageMark(magentaPng(), {400, 10, 440, 40}));
         }},
        {"empty watermark box",
         [&](CONVERT_HANDLE h) {
             return apiMediaConvertAddImageWatermask(h, imageMark(magentaPng(), {50, 50, 50, 80}));
         }},
        {"watermark window ending before it starts",
         [&](CONVERT_HANDLE h) {
             IMAGE_WATERMARK_PARAM w = imageMark(magentaPng(), {0, 0, 40, 30});
             w.start_time = 2'000'000;
             return apiMediaConvertAddImageWatermask(h, w);
         }},
        {"image path longer than its field",
         [&](CONVERT_HANDLE h) {
             IMAGE_WATERMARK_PARAM w = imageMark(magentaPng(), {0, 0, 40, 30});
             std::memset(w.path, 'a', sizeof w.path);
             return apiMediaConvertAddImageWatermask(h, w);
         }},
        {"text longer than its field",
         [](CONVERT_HANDLE h) {
             TEXT_WATERMARK_PARAM t{};
             std::memset(t.text, 'x', sizeof t.text);
             t.end_time = 1'000'000;
             return apiMediaConvertAddTextWatermask(h, t);
         }},
        {"font name longer than its field",
         [](CONVERT_HANDLE h) {
             TEXT_WATERMARK_PARAM t{};
             setText(t.text, "hello");
             std::memset(t.szFontName, 'f', sizeof t.szFontName);
             t.end_time = 1'000'000;
             return apiMediaConvertAddTextWatermask(h, t);
         }},
        {"missing watermark video",
         [&](CONVERT_HANDLE h) {
             VIDEO_WATERMARK_PARAM w{};
             setText(w.path, path("missing.mp4"));
             w.rect = {0, 0, 64, 48};
             w.end_time = 1'000'000;
             return apiMediaConvertAddVideoWatermark(h, w);
         }},
        {"watermark video without video",
         [&](CONVERT_HANDLE h) {
             VIDEO_WATERMARK_PARAM w{};
             setText(w.path, music());
             w.rect = {0, 0, 64, 48};
             w.end_time = 1'000'000;
             return apiMediaConvertAddVideoWatermark(h, w);
         }},
        {"watermark video part after its end",
         [&](CONVERT_HANDLE h) {
             VIDEO_WATERMARK_PARAM w{};
             setText(w.path, watermarkVideo());
             w.rect = {0, 0, 64, 48};
             w.end_time = 1'000'000;
             w.file_start_time = 10'000'000;
             return apiMediaConvertAddVideoWatermark(h, w);
         }},
        {"music file without audio",
         [](CONVERT_HANDLE h) {
             return apiMediaConvertAddDubbingMusic(h, MediaFixtures::noAudio().c_str(), 0, 1'000'000, 0, 1'000'000, 0,
                                                   0, 1.0);
         }},
        {"missing music file",
         [&](CONVERT_HANDLE h) {
             return apiMediaConvertAddDubbingMusic(h, path("missing.mp3").c_str(), 0, 1'000'000, 0, 1'000'000, 0, 0,
                                                   1.0);
         }},
        {"music range starting after the music's end",
         [](CONVERT_HANDLE h) {
             return apiMediaConvertAddDubbingMusic(h, music().c_str(), 5'000'000, 6'000'000, 0, 1'000'000, 0, 0, 1.0);
         }},
        {"empty music place",
         [](CONVERT_HANDLE h) {
             return apiMediaConvertAddDubbingMusic(h, music().c_str(), 0, 1'000'000, 2'000'000, 1'000'000, 0, 0, 1.0);
         }},
        {"negative music volume",
         [](CONVERT_HANDLE h) {
             return apiMediaConvertAddDubbingMusic(h, music().c_str(), 0, 1'000'000, 0, 1'000'000, 0, 0, -1.0);
         }},
        {"music without a path",
         [](CONVERT_HANDLE h) {
             return apiMediaConvertAddDubbingMusic(h, nullptr, 0, 1'000'000, 0, 1'000'000, 0, 0, 1.0);
         }},
    };
    // All of them on one job, which then runs: nothing of a refused record reaches the file.
    std::string output = path("refused.mp4");
    ASSERT_GT(convert(grey(), output,
                      [&](CONVERT_HANDLE h) {
                          for (const Case& c : cases)
                              EXPECT_LT(c.call(h), 0) << c.what;
                      }),
              0);
    for (double t : {0.5, 1.5}) {
        Picture edited = frameAt(output, t), plain = frameAt(grey(), t);
        ASSERT_FALSE(edited.empty());
        EXPECT_LT(edited.difference(plain, 0, 0, 320, 240), 1.0) << t;
    }
    EXPECT_NEAR(bandLevel(output, 440, 0.5, 1.0), bandLevel(grey(), 440, 0.5, 1.0), 1.0);
}

// Values the setters clamp: the job runs and the result is the clamped edit's.
TEST_F(EditBadInput, ClampedValues) {
    // Odd margins are rounded down to even ones.
    std::string cropped = path("odd-crop.mp4");
    ASSERT_GT(convert(grey(), cropped,
                      [](CONVERT_HANDLE h) {
                          EXPECT_GT(apiMediaConvertSetCropSize(h, RECT{3, 1, 5, 7}), 0);
                      }),
              0);
    EXPECT_EQ(ffprobe(cropped).firstVideo()->width, 320 - 2 - 4);
    EXPECT_EQ(ffprobe(cropped).firstVideo()->height, 240 - 0 - 6);

    // Colour values past their ranges act as the range's ends.
    std::string bright = path("bright.mp4"), brightest = path("brightest.mp4");
    ASSERT_GT(convert(grey(), bright, [](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertAdjustBCS(h, 255, 0, 0), 0); }),
              0);
    ASSERT_GT(
        convert(grey(), brightest, [](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertAdjustBCS(h, 9999, 0, 0), 0); }), 0);
    EXPECT_LT(frameAt(bright, 1.0).difference(frameAt(brightest, 1.0), 0, 0, 320, 240), 1.0);

    // A box partly outside the picture shows its part inside, at its place and scale.
    std::string partly = path("partly.mp4");
    ASSERT_GT(
        convert(grey(), partly,
                [](CONVERT_HANDLE h) {
                    EXPECT_GT(apiMediaConvertAddImageWatermask(h, imageMark(magentaPng(), {280, 220, 360, 280})), 0);
                }),
        0);
    Picture p = frameAt(partly, 0.5);
    EXPECT_TRUE(near(p.mean(290, 228, 316, 238), {255, 0, 255})) << text(p.mean(290, 228, 316, 238));
    EXPECT_TRUE(near(p.mean(200, 150, 260, 200), {128, 128, 128}));

    // A music range beyond the music's end (2 s) ends there: from 2 s on the place is silent.
    std::string music2 = path("music-range.mp4");
    ASSERT_GT(convert(grey(), music2,
                      [](CONVERT_HANDLE h) {
                          EXPECT_GE(apiMediaConvertAddDubbingMusic(h, music().c_str(), 1'000'000, 9'000'000, 0,
                                                                   3'000'000, 0, 0, 1.0),
                                    0);
                      }),
              0);
    EXPECT_GT(bandLevel(music2, 1000, 0.2, 0.6), -40);
    // The 1 s part repeats over the 3 s place.
    EXPECT_GT(bandLevel(music2, 1000, 2.2, 0.6), -40);
    EXPECT_LT(bandLevel(music2, 1000, 3.2, 0.6), -70);
}

// Crop margins that leave no picture are known only once the rotation is: the start refuses them, and no file
// is left behind.
TEST_F(EditBadInput, CropLeavingNothingFailsTheStart) {
    struct Case {
        RECT margins;
        int angle;
    };
    const Case cases[] = {{{160, 0, 160, 0}, 0}, {{0, 120, 0, 120}, 0}, {{120, 0, 120, 0}, 90}, {{400, 0, 0, 0}, 0}};
    for (const Case& c : cases) {
        std::string output = path("nothing.mp4");
        Job job;
        ASSERT_GT(apiMediaConvertSetInputMedia(job.h, grey().c_str()), 0);
        EXPECT_GT(apiMediaConvertSetCropSize(job.h, c.margins), 0);
        EXPECT_GT(apiMediaConvertSetRotateAngle(job.h, c.angle), 0);
        ASSERT_GT(apiMediaConvertSetOutputPath(job.h, output.c_str()), 0);
        EXPECT_LE(apiMediaConvertStart(job.h), 0);
        EXPECT_TRUE(fs::is_empty(dir)) << c.margins.left;
    }
    // The same margins on the turned picture leave 80 pixels.
    std::string output = path("turned.mp4");
    ASSERT_GT(convert(grey(), output,
                      [](CONVERT_HANDLE h) {
                          apiMediaConvertSetCropSize(h, RECT{0, 120, 0, 120});
                          apiMediaConvertSetRotateAngle(h, 90);
                      }),
              0);
    EXPECT_EQ(ffprobe(output).firstVideo()->height, 80);
}
