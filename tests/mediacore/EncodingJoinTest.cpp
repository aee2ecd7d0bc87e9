// Re-encoding joins through the C interface: lengths, shapes, transitions, sound, progress and stop, each checked
// with the ffprobe and ffmpeg programs.
#include "JoinTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

using namespace jointest;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {
// A stop must take effect promptly, not at the end of the join. The 0.5 s promise itself is measured by
// bench_stop on an idle machine; tests share a loaded one, so they only check a return within a few seconds.
constexpr double kStopLimitSeconds = 3.0;

std::string colourClip(const std::string& colour) {
    return MediaFixtures::make("join_" + colour + "_2s.mp4",
                               "-f lavfi -i color=c=" + colour +
                                   ":size=320x240:rate=25:duration=2 "
                                   "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 "
                                   "-ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest");
}

// A 20 s 1280x720 clip: long enough to stop a join half-way.
std::string longClip() {
    return MediaFixtures::make("clip_1280x720_20s.mp4",
                               "-f lavfi -i testsrc2=size=1280x720:rate=25:duration=20 "
                               "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=20 "
                               "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 50 -c:a aac -shortest");
}

int start(Join& join, const std::string& output) {
    EXPECT_GT(apiMediaJoinSetOutputPath(join.h, output.c_str()), 0) << output;
    return apiMediaJoinStart(join.h);
}

// Mean of one RGB channel over a rectangle of an RGB24 picture.
double meanOf(const std::vector<unsigned char>& rgb, int width, int x0, int y0, int x1, int y1) {
    double sum = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n)
            sum += rgb[(static_cast<size_t>(y) * width + x) * 3 + 1];
    return n ? sum / n : 0;
}
} // namespace

TEST(EncodingJoin, LengthsWithAndWithoutTransitions) {
    struct Clip {
        std::string path;
        double start, stop;
        int transition;
        double transitionSeconds;
    };
    struct Case {
        const char* what;
        std::vector<Clip> clips;
        double seconds;
    };
    const std::string six = sixSeconds(), four = fourSecondsOther();
    const Case cases[] = {
        {"two clips end to end", {{six, 0, 0, 0, 0}, {four, 0, 0, 0, 0}}, 10.0},
        {"a fade of 1 s", {{six, 0, 0, 3, 1.0}, {four, 0, 0, 0, 0}}, 9.0},
        {"slides and ranges",
         {{six, 0, 0, 1, 1.0}, {four, 0, 0, 2, 0.5}, {six, 2.0, 5.0, 0, 0}},
         6.0 + 4.0 + 3.0 - 1.5},
        {"a transition longer than its neighbours allow", {{six, 0, 0, 3, 10.0}, {four, 0, 0, 0, 0}}, 8.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string dir = MediaFixtures::freshDir("join-lengths");
        Join join;
        for (const Clip& clip : c.clips) {
            JOIN_CLIP_HANDLE h = join.add(clip.path, clip.start, clip.stop);
            ASSERT_NE(h, nullptr);
            if (clip.transition) {
                ASSERT_GT(apiMediaJoinSetTransition(join.h, h, clip.transition,
                                                    static_cast<int64_t>(clip.transitionSeconds * 1e6)),
                          0);
            }
        }
        ASSERT_GE(start(join, dir + "/out.mp4"), 0);
        FfprobeResult out = ffprobe(dir + "/out.mp4");
        ASSERT_TRUE(out.ok);
        ASSERT_NE(out.firstVideo(), nullptr);
        ASSERT_NE(out.firstAudio(), nullptr);
        EXPECT_NEAR(out.firstVideo()->duration, c.seconds, 0.041);
        EXPECT_NEAR(out.firstAudio()->duration, c.seconds, 0.05);
        EXPECT_NEAR(out.firstVideo()->frameCount, std::lround(c.seconds * 25), 1);
        EXPECT_TRUE(ffmpegDecodesCleanly(dir + "/out.mp4"));
    }
}

// Another shape is fitted inside the first clip's, with black bars, never stretched.
TEST(EncodingJoin, ClipsOfOtherSizesTakeTheFirstClipsShape) {
    std::string dir = MediaFixtures::freshDir("join-sizes");
    {
        Join join;
        ASSERT_NE(join.add(sixSeconds(), 0, 1.0), nullptr);
        ASSERT_NE(join.add(wideThirty()), nullptr); // 640x360 at 30 fps, mono 48 kHz
        ASSERT_GE(start(join, dir + "/narrow.mp4"), 0);
    }
    FfprobeResult narrow = ffprobe(dir + "/narrow.mp4");
    ASSERT_NE(narrow.firstVideo(), nullptr);
    EXPECT_EQ(narrow.firstVideo()->width, 320);
    EXPECT_EQ(narrow.firstVideo()->height, 240);
    EXPECT_NEAR(narrow.firstVideo()->frameRate, 25.0, 0.01);
    EXPECT_EQ(narrow.firstAudio()->sampleRate, 44100);
    EXPECT_EQ(narrow.firstAudio()->channels, 2);
    EXPECT_NEAR(narrow.duration, 4.0, 0.05);
    // 16:9 inside 4:3: 320x180 with bars of 30 rows above and below.
    int w = 0, h = 0;
    auto picture = ffmpegFrameRgb(dir + "/narrow.mp4", 2.5, &w, &h);
    ASSERT_EQ(w, 320);
    EXPECT_LT(meanOf(picture, w, 0, 0, w, 26), 20);
    EXPECT_LT(meanOf(picture, w, 0, 214, w, 240), 20);
    EXPECT_GT(meanOf(picture, w, 0, 40, w, 200), 40);

    {
        Join join;
        ASSERT_NE(join.add(wideThirty()), nullptr);
        ASSERT_NE(join.add(sixSeconds(), 0, 1.0), nullptr);
        ASSERT_GE(start(join, dir + "/wide.mp4"), 0);
    }
    FfprobeResult wide = ffprobe(dir + "/wide.mp4");
    ASSERT_NE(wide.firstVideo(), nullptr);
    EXPECT_EQ(wide.firstVideo()->width, 640);
    EXPECT_EQ(wide.firstVideo()->height, 360);
    EXPECT_NEAR(wide.firstVideo()->frameRate, 30.0, 0.01);
    EXPECT_EQ(wide.firstAudio()->sampleRate, 48000);
    EXPECT_EQ(wide.firstAudio()->channels, 1);
    // 4:3 inside 16:9: 480x360 with bars of 80 columns left and right.
    picture = ffmpegFrameRgb(dir + "/wide.mp4", 3.5, &w, &h);
    ASSERT_EQ(w, 640);
    EXPECT_LT(meanOf(picture, w, 0, 0, 76, h), 20);
    EXPECT_LT(meanOf(picture, w, 564, 0, 640, h), 20);
    EXPECT_GT(meanOf(picture, w, 100, 0, 540, h), 40);
}

// The size and frame rate set for the output win over the first clip's; an odd size (a reference clip's own)
// is rounded down to even numbers, as a source's is.
TEST(EncodingJoin, SetSizeAndFrameRateAreKept) {
    std::string dir = MediaFixtures::freshDir("join-set-size");
    Join join;
    ASSERT_NE(join.add(sixSeconds(), 0, 1.0), nullptr);
    ASSERT_NE(join.add(wideThirty(), 0, 1.0), nullptr);
    ASSERT_GT(apiMediaJoinSetVideoFrameSize(join.h, 427, 241), 0);
    ASSERT_GT(apiMediaJoinSetVideoFps(join.h, 30), 0);
    ASSERT_GT(apiMediaJoinSetAudioEncodeContext(join.h, 1, 22050), 0);
    ASSERT_GE(start(join, dir + "/out.mp4"), 0);
    FfprobeResult out = ffprobe(dir + "/out.mp4");
    ASSERT_NE(out.firstVideo(), nullptr);
    EXPECT_EQ(out.firstVideo()->width, 426);
    EXPECT_EQ(out.firstVideo()->height, 240);
    EXPECT_NEAR(out.firstVideo()->frameRate, 30.0, 0.01);
    EXPECT_EQ(out.firstVideo()->frameCount, 60);
    EXPECT_EQ(out.firstAudio()->sampleRate, 22050);
    EXPECT_EQ(out.firstAudio()->channels, 1);
}

// A portrait clip (a display matrix of 90 degrees) sets an upright output without a display matrix.
TEST(EncodingJoin, RotatedFirstClipGivesAnUprightOutput) {
    std::string dir = MediaFixtures::freshDir("join-rotated");
    Join join;
    ASSERT_NE(join.add(MediaFixtures::rotated90()), nullptr);
    ASSERT_NE(join.add(MediaFixtures::mp4()), nullptr);
    ASSERT_GE(start(join, dir + "/out.mp4"), 0);
    FfprobeResult out = ffprobe(dir + "/out.mp4");
    ASSERT_NE(out.firstVideo(), nullptr);
    EXPECT_EQ(out.firstVideo()->width, 240);
    EXPECT_EQ(out.firstVideo()->height, 320);
    EXPECT_EQ(out.firstVideo()->rotation, 0);
}

// A clip without sound gives silence for its length, so the clips after it stay in step.
TEST(EncodingJoin, ClipWithoutSoundKeepsPictureAndSoundInStep) {
    std::string dir = MediaFixtures::freshDir("join-silent");
    std::string output = dir + "/out.mp4";
    Join join;
    ASSERT_NE(join.add(MediaFixtures::mp4()), nullptr);
    ASSERT_NE(join.add(MediaFixtures::noAudio()), nullptr);
    ASSERT_NE(join.add(MediaFixtures::mp4()), nullptr);
    ASSERT_GE(start(join, output), 0);
    FfprobeResult out = ffprobe(output);
    ASSERT_NE(out.firstVideo(), nullptr);
    ASSERT_NE(out.firstAudio(), nullptr);
    EXPECT_NEAR(out.firstVideo()->duration, 6.0, 0.041);
    EXPECT_NEAR(out.firstAudio()->duration, out.firstVideo()->duration, 0.04);
    EXPECT_GT(ffmpegMeanVolume(output, 0.5, 1.0), -30);
    EXPECT_LT(ffmpegMeanVolume(output, 2.3, 1.4), -70);
    EXPECT_GT(ffmpegMeanVolume(output, 4.5, 1.0), -30);
}

// Sound-only clips give black pictures in a video output; an audio-only container keeps the sound alone.
TEST(EncodingJoin, SoundOnlyClipsAndSoundOnlyOutputs) {
    std::string dir = MediaFixtures::freshDir("join-sound");
    {
        Join join;
        ASSERT_NE(join.add(MediaFixtures::mp4()), nullptr);
        ASSERT_NE(join.add(MediaFixtures::mp3WithCover()), nullptr);
        ASSERT_GE(start(join, dir + "/picture.mp4"), 0);
    }
    FfprobeResult picture = ffprobe(dir + "/picture.mp4");
    ASSERT_NE(picture.firstVideo(), nullptr);
    EXPECT_NEAR(picture.firstVideo()->duration, picture.firstAudio()->duration, 0.05);
    int w = 0, h = 0;
    auto black = ffmpegFrameRgb(dir + "/picture.mp4", 3.0, &w, &h);
    EXPECT_LT(meanOf(black, w, 0, 0, w, h), 20);
    EXPECT_GT(ffmpegMeanVolume(dir + "/picture.mp4", 2.5, 1.0), -30);

    {
        Join join;
        ASSERT_NE(join.add(MediaFixtures::mp4()), nullptr);
        ASSERT_NE(join.add(MediaFixtures::noAudio()), nullptr);
        ASSERT_NE(join.add(MediaFixtures::mp3WithCover()), nullptr);
        ASSERT_GE(start(join, dir + "/sound.mp3"), 0);
    }
    FfprobeResult sound = ffprobe(dir + "/sound.mp3");
    EXPECT_EQ(sound.count("video"), 0);
    ASSERT_NE(sound.firstAudio(), nullptr);
    EXPECT_EQ(sound.firstAudio()->codecName, "mp3");
    EXPECT_NEAR(sound.duration, 6.0, 0.1);
    EXPECT_LT(ffmpegMeanVolume(dir + "/sound.mp3", 2.3, 1.4), -70);
}

TEST(EncodingJoin, RangesAreFrameAccurate) {
    std::string dir = MediaFixtures::freshDir("join-ranges");
    std::string output = dir + "/out.mp4";
    Join join;
    ASSERT_NE(join.add(sixSeconds(), 1.0, 2.0), nullptr);
    ASSERT_NE(join.add(sixSeconds(), 4.2, 5.0), nullptr);
    ASSERT_GE(start(join, output), 0);
    FfprobeResult out = ffprobe(output);
    ASSERT_NE(out.firstVideo(), nullptr);
    EXPECT_EQ(out.firstVideo()->frameCount, 45);
    int w = 0, h = 0;
    // testsrc2 changes every frame; the joined pictures are the source's own, less the encoder's loss.
    struct Pair {
        double joined, source;
    };
    for (Pair p : {Pair{0.02, 1.02}, Pair{0.98, 1.98}, Pair{1.02, 4.22}, Pair{1.74, 4.94}}) {
        SCOPED_TRACE(p.joined);
        auto a = ffmpegFrameRgb(output, p.joined, &w, &h);
        auto b = ffmpegFrameRgb(sixSeconds(), p.source, &w, &h);
        auto neighbour = ffmpegFrameRgb(sixSeconds(), p.source + 0.04, &w, &h);
        EXPECT_LT(meanAbsoluteDifference(a, b), meanAbsoluteDifference(a, neighbour));
    }
}

// Black into white: the middle of each transition shows what the kind promises.
TEST(EncodingJoin, TransitionsSlideAndFade) {
    std::string black = colourClip("black"), white = colourClip("white");
    struct Case {
        int kind;
        const char* name;
    };
    for (Case c : {Case{1, "slide left"}, Case{2, "slide up"}, Case{3, "fade"}}) {
        SCOPED_TRACE(c.name);
        std::string dir = MediaFixtures::freshDir("join-transition");
        std::string output = dir + "/out.mp4";
        Join join;
        JOIN_CLIP_HANDLE first = join.add(black);
        ASSERT_NE(join.add(white), nullptr);
        ASSERT_GT(apiMediaJoinSetTransition(join.h, first, c.kind, 800'000), 0);
        ASSERT_GE(start(join, output), 0);
        EXPECT_NEAR(ffprobe(output).duration, 3.2, 0.05);
        int w = 0, h = 0;
        // The transition runs from 1.2 s to 2.0 s; 1.6 s is its middle.
        auto mid = ffmpegFrameRgb(output, 1.6, &w, &h);
        ASSERT_EQ(w, 320);
        double left = meanOf(mid, w, 0, 0, w / 2 - 20, h), right = meanOf(mid, w, w / 2 + 20, 0, w, h);
        double top = meanOf(mid, w, 0, 0, w, h / 2 - 20), bottom = meanOf(mid, w, 0, h / 2 + 20, w, h);
        if (c.kind == 1) {
            EXPECT_LT(left, 40);
            EXPECT_GT(right, 215);
        } else if (c.kind == 2) {
            EXPECT_LT(top, 40);
            EXPECT_GT(bottom, 215);
        } else {
            EXPECT_NEAR(left, 128, 30);
            EXPECT_NEAR(right, 128, 30);
        }
        EXPECT_LT(meanOf(ffmpegFrameRgb(output, 1.0, &w, &h), w, 0, 0, w, h), 40);
        EXPECT_GT(meanOf(ffmpegFrameRgb(output, 2.2, &w, &h), w, 0, 0, w, h), 215);
    }
}

TEST(EncodingJoin, VolumeHalfLowersTheLevelBySixDecibels) {
    std::string dir = MediaFixtures::freshDir("join-volume");
    for (double factor : {1.0, 0.5}) {
        Join join;
        JOIN_CLIP_HANDLE clip = join.add(sixSeconds(), 0, 2.0);
        ASSERT_GT(apiMediaJoinSetAudioVolumn(join.h, clip, factor), 0);
        ASSERT_NE(join.add(sixSeconds(), 2.0, 4.0), nullptr);
        ASSERT_GE(start(join, dir + "/v" + std::to_string(factor) + ".mp4"), 0);
    }
    double full = ffmpegMeanVolume(dir + "/v" + std::to_string(1.0) + ".mp4", 0.2, 1.5);
    double half = ffmpegMeanVolume(dir + "/v" + std::to_string(0.5) + ".mp4", 0.2, 1.5);
    EXPECT_NEAR(full - half, 6.02, 0.5);
    // The second clip keeps its own level.
    EXPECT_NEAR(ffmpegMeanVolume(dir + "/v" + std::to_string(0.5) + ".mp4", 2.2, 1.5), full, 0.5);
}

TEST(EncodingJoin, ProgressRisesFromZeroToHundred) {
    std::string dir = MediaFixtures::freshDir("join-progress");
    Join join;
    ASSERT_NE(join.add(longClip(), 0, 6.0), nullptr);
    ASSERT_NE(join.add(sixSeconds()), nullptr);
    ASSERT_GT(apiMediaJoinSetOutputPath(join.h, (dir + "/out.mp4").c_str()), 0);
    EXPECT_EQ(apiMediaJoinGetProgress(join.h), 0.0);
    std::atomic<int> result{INT32_MIN};
    std::thread worker([&] { result = apiMediaJoinStart(join.h); });
    std::vector<double> seen;
    while (result.load() == INT32_MIN) {
        seen.push_back(apiMediaJoinGetProgress(join.h));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    worker.join();
    EXPECT_GE(result.load(), 0);
    seen.push_back(apiMediaJoinGetProgress(join.h));
    EXPECT_DOUBLE_EQ(seen.back(), 100.0);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(std::count_if(seen.begin(), seen.end(), [](double p) { return p > 0 && p < 100; }), 3);
}

TEST(EncodingJoin, StopEndsQuicklyAndLeavesNoFile) {
    std::string dir = MediaFixtures::freshDir("join-stop");
    Join join;
    ASSERT_NE(join.add(longClip()), nullptr);
    JOIN_CLIP_HANDLE second = join.add(longClip());
    ASSERT_NE(second, nullptr);
    ASSERT_GT(apiMediaJoinSetOutputPath(join.h, (dir + "/out.mp4").c_str()), 0);
    std::atomic<int> result{INT32_MIN};
    Clock::time_point stopped;
    std::thread worker([&] { result = apiMediaJoinStart(join.h); });
    while (apiMediaJoinGetProgress(join.h) < 2.0 && result.load() == INT32_MIN)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    stopped = Clock::now();
    EXPECT_GT(apiMediaJoinStop(join.h), 0);
    worker.join();
    double seconds = std::chrono::duration<double>(Clock::now() - stopped).count();
    EXPECT_LT(seconds, kStopLimitSeconds);
    EXPECT_GE(result.load(), 0) << "a stop is not a failure";
    EXPECT_TRUE(filesIn(dir).empty());
}
