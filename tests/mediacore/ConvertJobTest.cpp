#include "EngineTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using enginetest::convert;
using enginetest::filesIn;
using enginetest::Job;

namespace {
// A stop must take effect promptly, not at the end of the job. The 0.5 s promise itself is measured by
// bench_stop on an idle machine; tests share a loaded one (and the sanitizer build is slower), so they only
// check that the start returns within a few seconds.
constexpr long long kStopLimitMs = 3000;

// A 20 s 1280x720 clip: long enough to stop a job half-way.
std::string longClip() {
    return MediaFixtures::make("clip_1280x720_20s.mp4",
                               "-f lavfi -i testsrc2=size=1280x720:rate=25:duration=20 "
                               "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=20 "
                               "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 50 -c:a aac -shortest");
}

// Noisy 640x480 picture at a high bit rate, 6 s: big enough for size limits.
std::string noisyClip() {
    return MediaFixtures::make("clip_noise_6s.mp4",
                               "-f lavfi -i testsrc2=size=640x480:rate=25:duration=6 "
                               "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=6 "
                               "-vf noise=alls=60:allf=t -c:v libx264 -preset ultrafast -b:v 4M -pix_fmt yuv420p "
                               "-c:a aac -shortest");
}

double meanDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    if (a.empty() || a.size() != b.size())
        return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum / a.size();
}

// Whether the ffmpeg program decodes the whole file without an error.
bool decodesCleanly(const std::string& path) {
    int status = 0;
    std::string errors =
        captureOutput("ffmpeg -nostdin -v error -i " + MediaFixtures::quote(path) + " -f null - 2>&1", &status);
    return status == 0 && errors.empty();
}
} // namespace

class ConvertJobTest : public ::testing::Test {
protected:
    void SetUp() override { dir = MediaFixtures::freshDir("convert"); }
    void TearDown() override { fs::remove_all(dir); }
    std::string out(const std::string& name) const { return dir + "/" + name; }
    std::string dir;
};

TEST_F(ConvertJobTest, DefaultsKeepTheSourceInEachContainer) {
    struct Case {
        const char* name;
        const char* video; // expected codecs, "" for none
        const char* audio;
    };
    const Case cases[] = {
        {"out.mp4", "h264", "aac"}, {"out.mkv", "h264", "aac"},   {"out.mov", "h264", "aac"},
        {"out.avi", "h264", "aac"}, {"out.webm", "vp9", "opus"},  {"out.mp3", "", "mp3"},
        {"out.m4a", "", "aac"},     {"out.wav", "", "pcm_s16le"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_GT(convert(MediaFixtures::mp4(), out(c.name)), 0);
        FfprobeResult result = ffprobe(out(c.name));
        ASSERT_TRUE(result.ok);
        EXPECT_NEAR(result.duration, 2.0, 0.15); // AVI reckons AAC's priming samples in
        const FfprobeStream* v = result.firstVideo();
        const FfprobeStream* a = result.firstAudio();
        ASSERT_EQ(v != nullptr, *c.video != '\0');
        if (v) {
            EXPECT_EQ(v->codecName, c.video);
            EXPECT_EQ(v->width, 320);
            EXPECT_EQ(v->height, 240);
            EXPECT_NEAR(v->frameRate, 25.0, 0.01);
        }
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->codecName, c.audio);
        EXPECT_EQ(a->channels, 2);
        EXPECT_TRUE(decodesCleanly(out(c.name)));
    }
    // About the source's bit rate.
    FfprobeResult source = ffprobe(MediaFixtures::mp4());
    FfprobeResult result = ffprobe(out("out.mp4"));
    EXPECT_NEAR(double(result.firstAudio()->bitRate), double(source.firstAudio()->bitRate),
                0.25 * source.firstAudio()->bitRate);
    EXPECT_EQ(filesIn(dir).size(), std::size(cases)); // no temporary files left
}

TEST_F(ConvertJobTest, CutsAreFrameAccurate) {
    struct Case {
        int64_t start, stop; // µs
        int frames;          // ceil(length * 25): output frame k is the source frame on screen at start + k / 25
    };
    const Case cases[] = {
        {500'000, 1'500'000, 25},   {520'000, 600'000, 2}, {530'000, 550'000, 1},
        {1'000'000, 2'000'000, 25}, {0, 40'000, 1},        {1'234'000, 1'987'000, 19},
    };
    const std::string source = MediaFixtures::mp4();
    // Every source frame, decoded once by the ffmpeg program.
    const size_t frameBytes = 320 * 240 * 3;
    const std::string all = captureOutput("ffmpeg -nostdin -v error -i " + MediaFixtures::quote(source) +
                                          " -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
    ASSERT_EQ(all.size(), 50 * frameBytes);
    auto sourceFrame = [&](int64_t index) {
        return std::vector<unsigned char>(all.begin() + index * frameBytes, all.begin() + (index + 1) * frameBytes);
    };
    for (const Case& c : cases) {
        std::string file = out("cut_" + std::to_string(c.start) + "_" + std::to_string(c.stop) + ".mp4");
        SCOPED_TRACE(file);
        ASSERT_GT(convert(source, file,
                          [&](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertSetCutTime(h, c.start, c.stop), 0); }),
                  0);
        EXPECT_EQ(static_cast<int>(ffprobePacketTimes(file, "v:0").size()), c.frames);
        FfprobeResult result = ffprobe(file);
        ASSERT_NE(result.firstAudio(), nullptr);
        EXPECT_NEAR(result.firstAudio()->duration, (c.stop - c.start) / 1e6, 0.03);
        // The first frame is the source's frame on screen at the cut's start, not its neighbour.
        int w = 0, h = 0;
        auto first = ffmpegFrameRgb(file, 0, &w, &h);
        const int64_t shown = c.start / 40'000;
        EXPECT_LT(meanDifference(first, sourceFrame(shown)), 8.0);
        EXPECT_LT(meanDifference(first, sourceFrame(shown)) * 2, meanDifference(first, sourceFrame(shown + 1)));
    }
}

TEST_F(ConvertJobTest, OutputParametersAreHonoured) {
    std::string file = out("params.mkv");
    ASSERT_GT(convert(longClip(), file,
                      [](CONVERT_HANDLE h) {
                          EXPECT_GT(apiMediaConvertSetCutTime(h, 0, 6'000'000), 0);
                          EXPECT_GT(apiMediaConvertSetVcodec(h, "H264"), 0);
                          EXPECT_GT(apiMediaConvertSetAcodec(h, "MP3"), 0);
                          EXPECT_GT(apiMediaConvertSetVideoFrameSize(h, 640, 360), 0);
                          EXPECT_GT(apiMediaConvertSetVideoFps(h, 30), 0);
                          EXPECT_GT(apiMediaConvertSetVideoBitrate(h, 800), 0);
                          EXPECT_GT(apiMediaConvertSetAudioBitrate(h, 96), 0);
                          EXPECT_GT(apiMediaConvertSetAudioEncodeContext(h, 1, 48000), 0);
                      }),
              0);
    FfprobeResult result = ffprobe(file);
    const FfprobeStream* v = result.firstVideo();
    const FfprobeStream* a = result.firstAudio();
    ASSERT_TRUE(v && a);
    EXPECT_EQ(v->width, 640);
    EXPECT_EQ(v->height, 360);
    EXPECT_NEAR(v->frameRate, 30.0, 0.01);
    EXPECT_EQ(static_cast<int>(ffprobePacketTimes(file, "v:0").size()), 180);
    EXPECT_EQ(a->codecName, "mp3");
    EXPECT_EQ(a->channels, 1);
    EXPECT_EQ(a->sampleRate, 48000);
    // Matroska does not store bit rates: measure them from the packets.
    std::string sizes = captureOutput("ffprobe -v error -show_entries packet=size,stream_index -of csv=p=0 " +
                                      MediaFixtures::quote(file));
    double bytes[2] = {0, 0};
    std::istringstream lines(sizes);
    for (std::string line; std::getline(lines, line);) {
        int stream = 0;
        long size = 0;
        if (sscanf(line.c_str(), "%d,%ld", &stream, &size) == 2 && stream < 2)
            bytes[stream] += size;
    }
    double videoKbps = bytes[v->index] * 8 / 6.0 / 1000, audioKbps = bytes[a->index] * 8 / 6.0 / 1000;
    EXPECT_NEAR(videoKbps, 800, 240);
    EXPECT_NEAR(audioKbps, 96, 10);
}

TEST_F(ConvertJobTest, AudioChoices) {
    // The second audio track (880 Hz, mono, 48 kHz) of the two-track file.
    std::string second = out("second.m4a");
    ASSERT_GT(convert(MediaFixtures::twoAudioMkv(), second,
                      [](CONVERT_HANDLE h) {
                          int count = 0;
                          EXPECT_GT(apiMediaConvertGetAudioStreamInfo(h, &count, nullptr), 0);
                          ASSERT_EQ(count, 2);
                          std::vector<AUDIO_STREAM_INFO> records(count);
                          EXPECT_GT(apiMediaConvertGetAudioStreamInfo(h, &count, records.data()), 0);
                          EXPECT_STREQ(records[1].lang, "fra");
                          EXPECT_STREQ(records[1].title, "Second");
                          EXPECT_GT(apiMediaConvertSetAudioIndex(h, records[1].index), 0);
                          EXPECT_LE(apiMediaConvertSetAudioIndex(h, 0), 0); // the video stream
                      }),
              0);
    FfprobeResult result = ffprobe(second);
    ASSERT_NE(result.firstAudio(), nullptr);
    EXPECT_EQ(result.firstAudio()->channels, 1);
    EXPECT_EQ(result.firstAudio()->sampleRate, 48000);

    std::string silent = out("silent.mp4");
    ASSERT_GT(convert(MediaFixtures::mp4(), silent,
                      [](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertSetMaineAudioVolume(h, 0.0), 0); }),
              0);
    EXPECT_LT(ffmpegMeanVolume(silent), -90.0);
    std::string half = out("half.mp4");
    ASSERT_GT(convert(MediaFixtures::mp4(), half,
                      [](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertSetMaineAudioVolume(h, 0.5), 0); }),
              0);
    EXPECT_NEAR(ffmpegMeanVolume(MediaFixtures::mp4()) - ffmpegMeanVolume(half), 6.02, 0.5);

    std::string mute = out("mute.mp4");
    ASSERT_GT(convert(MediaFixtures::mp4(), mute, [](CONVERT_HANDLE h) { apiMediaConvertDisableMainAudio(h); }), 0);
    EXPECT_EQ(ffprobe(mute).count("audio"), 0);
    EXPECT_EQ(ffprobe(mute).count("video"), 1);
}

TEST_F(ConvertJobTest, SizeLimitEndsCleanlyAtTheLimit) {
    for (const char* name : {"limited.mp4", "limited.mkv"}) {
        SCOPED_TRACE(name);
        const int64_t limit = 600 * 1024;
        std::string file = out(name);
        ASSERT_GT(convert(noisyClip(), file,
                          [&](CONVERT_HANDLE h) {
                              EXPECT_GT(apiMediaConvertSetVideoBitrate(h, 4000), 0);
                              EXPECT_GT(apiMediaConvertSetLimitFileSize(h, limit), 0);
                          }),
                  0);
        ASSERT_TRUE(fs::exists(file));
        EXPECT_LE(static_cast<int64_t>(fs::file_size(file)), limit);
        EXPECT_GT(static_cast<int64_t>(fs::file_size(file)), limit / 2); // ends at the limit, not long before
        FfprobeResult result = ffprobe(file);
        ASSERT_TRUE(result.ok);
        EXPECT_LT(result.duration, 5.0);
        EXPECT_TRUE(decodesCleanly(file));
        // The sound ends with the pictures: a file the limit ends early carries no sound past its last frame
        // (the next piece of a split starts there).
        const std::vector<double> video = ffprobePacketTimes(file, "v:0");
        const std::vector<double> audio = ffprobePacketTimes(file, "a:0");
        ASSERT_FALSE(video.empty());
        ASSERT_FALSE(audio.empty());
        EXPECT_LE(*std::max_element(audio.begin(), audio.end()), *std::max_element(video.begin(), video.end()) + 0.05);
    }
    Job job;
    EXPECT_LE(apiMediaConvertSetLimitFileSize(job.h, 0), 0);
}

TEST_F(ConvertJobTest, StopEndsQuicklyAndLeavesNoFile) {
    Job job;
    ASSERT_GT(apiMediaConvertSetInputMedia(job.h, longClip().c_str()), 0);
    ASSERT_GT(apiMediaConvertSetOutputPath(job.h, out("stopped.mp4").c_str()), 0);
    // An encode: a job that changes nothing copies, and would be over before the stop.
    ASSERT_GT(apiMediaConvertSetVideoBitrate(job.h, 2000), 0);
    std::atomic<int> result{0};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        result = apiMediaConvertStart(job.h);
        returned = true;
    });
    // Progress rises while it runs, read from this thread.
    int seen = 0;
    for (auto begun = Clock::now(); seen < 2 && Clock::now() - begun < std::chrono::seconds(30);) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        seen = apiMediaConvertGetProgress(job.h);
        EXPECT_GE(seen, 0);
        EXPECT_LE(seen, 100);
    }
    EXPECT_GE(seen, 2);
    // The settings belong to the run while it lasts: a setter from another thread is refused, not raced.
    EXPECT_LE(apiMediaConvertSetVideoBitrate(job.h, 300), 0);
    EXPECT_LE(apiMediaConvertSetOutputPath(job.h, out("other.mp4").c_str()), 0);
    auto stopped = Clock::now();
    EXPECT_GT(apiMediaConvertStop(job.h), 0);
    while (!returned && Clock::now() - stopped < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - stopped).count();
    worker.join();
    std::printf("Start returned %lld ms after Stop\n", static_cast<long long>(took));
    EXPECT_LT(took, kStopLimitMs);
    EXPECT_GT(result.load(), 0); // a stop is not a failure
    EXPECT_TRUE(filesIn(dir).empty());
}

TEST_F(ConvertJobTest, ProgressReachesOneHundred) {
    Job job;
    ASSERT_GT(apiMediaConvertSetInputMedia(job.h, MediaFixtures::mp4().c_str()), 0);
    ASSERT_GT(apiMediaConvertSetOutputPath(job.h, out("progress.mp4").c_str()), 0);
    EXPECT_EQ(apiMediaConvertGetProgress(job.h), 0);
    ASSERT_GT(apiMediaConvertStart(job.h), 0);
    EXPECT_EQ(apiMediaConvertGetProgress(job.h), 100);
}

TEST_F(ConvertJobTest, RotationMetadataKeptOrTurnedIntoPixels) {
    const std::string source = MediaFixtures::rotated90();
    const int sourceRotation = ffprobe(source).firstVideo()->rotation;
    ASSERT_NE(sourceRotation, 0);

    std::string kept = out("kept.mp4");
    ASSERT_GT(convert(source, kept), 0);
    FfprobeResult keptInfo = ffprobe(kept);
    const FfprobeStream* v = keptInfo.firstVideo();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->width, 320);
    EXPECT_EQ(v->height, 240);
    EXPECT_EQ(v->rotation, sourceRotation);

    // Turning by the stream's own clockwise angle writes upright pixels and no rotation.
    VIDEO_STREAM_INFO info{};
    {
        Job probe;
        int count = 1;
        ASSERT_GT(apiMediaConvertSetInputMedia(probe.h, source.c_str()), 0);
        ASSERT_GT(apiMediaConvertGetVideoStreamInfo(probe.h, &count, &info), 0);
    }
    std::string turned = out("turned.mp4");
    ASSERT_GT(convert(source, turned,
                      [&](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertSetRotateAngle(h, info.angle + 360), 0); }),
              0);
    FfprobeResult turnedInfo = ffprobe(turned);
    v = turnedInfo.firstVideo();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->width, 240);
    EXPECT_EQ(v->height, 320);
    EXPECT_EQ(v->rotation, 0);
    int w = 0, h = 0;
    EXPECT_LT(meanDifference(ffmpegFrameRgb(turned, 0.5, &w, &h), ffmpegFrameRgb(source, 0.5, &w, &h)), 3.0);

    Job job;
    EXPECT_LE(apiMediaConvertSetRotateAngle(job.h, 45), 0);
}

TEST_F(ConvertJobTest, CopyKeepsTheStreams) {
    std::string file = out("copy.mkv");
    ASSERT_GT(convert(MediaFixtures::mp4(), file,
                      [](CONVERT_HANDLE h) {
                          EXPECT_GT(apiMediaConvertSetVcodec(h, "copy"), 0);
                          EXPECT_GT(apiMediaConvertSetAcodec(h, "COPY"), 0);
                      }),
              0);
    EXPECT_EQ(ffprobePacketTimes(file, "v:0").size(), ffprobePacketTimes(MediaFixtures::mp4(), "v:0").size());
    EXPECT_EQ(ffprobe(file).firstVideo()->codecName, "h264");
    EXPECT_TRUE(decodesCleanly(file));
    // Copy cannot be combined with picture edits, nor put where the container cannot store it.
    EXPECT_LE(convert(MediaFixtures::mp4(), out("bad.mp4"),
                      [](CONVERT_HANDLE h) {
                          apiMediaConvertSetVcodec(h, "copy");
                          apiMediaConvertSetVideoFrameSize(h, 160, 120);
                      }),
              0);
    EXPECT_LE(
        convert(MediaFixtures::mp4(), out("bad.webm"), [](CONVERT_HANDLE h) { apiMediaConvertSetVcodec(h, "copy"); }),
        0);
    EXPECT_FALSE(fs::exists(out("bad.mp4")));
    EXPECT_FALSE(fs::exists(out("bad.webm")));
}

TEST_F(ConvertJobTest, NeverOverwritesAFile) {
    std::string existing = out("existing.mp4");
    std::ofstream(existing) << "keep me";
    Job job;
    ASSERT_GT(apiMediaConvertSetInputMedia(job.h, MediaFixtures::mp4().c_str()), 0);
    EXPECT_LE(apiMediaConvertSetOutputPath(job.h, existing.c_str()), 0);

    // A file that appears at the target while the job runs is kept; the job fails and cleans up.
    std::string late = out("late.mp4");
    ASSERT_GT(apiMediaConvertSetOutputPath(job.h, late.c_str()), 0);
    std::ofstream(late) << "arrived first";
    EXPECT_LE(apiMediaConvertStart(job.h), 0);
    std::ifstream in(late);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "arrived first");
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"existing.mp4", "late.mp4"}));
}

TEST_F(ConvertJobTest, BadInputGivesAClearFailure) {
    std::string zero = out("zero.mp4");
    std::ofstream(zero).close();
    std::string noise = out("noise.mov");
    {
        std::ofstream file(noise, std::ios::binary);
        std::mt19937 random(7);
        for (int i = 0; i < 100000; ++i)
            file.put(static_cast<char>(random()));
    }
    std::string truncated = out("truncated.mp4");
    fs::copy_file(MediaFixtures::mp4(), truncated);
    fs::resize_file(truncated, fs::file_size(truncated) / 2);
    for (const std::string& input : {out("missing.mp4"), zero, noise, truncated}) {
        Job job;
        EXPECT_LE(apiMediaConvertSetInputMedia(job.h, input.c_str()), 0) << input;
        EXPECT_LE(apiMediaConvertStart(job.h), 0) << input;
    }
    std::string readOnly = out("readonly");
    fs::create_directory(readOnly);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
    Job job;
    ASSERT_GT(apiMediaConvertSetInputMedia(job.h, MediaFixtures::mp4().c_str()), 0);
    std::vector<std::string> badOutputs = {out("no/such/folder/x.mp4"), zero + "/x.mp4", out("x.nosuchformat"),
                                           out("noextension"), "/proc/clipwright-x.mp4"};
    if (getuid() != 0) // root writes anywhere
        badOutputs.push_back(readOnly + "/x.mp4");
    for (const std::string& output : badOutputs)
        EXPECT_LE(apiMediaConvertSetOutputPath(job.h, output.c_str()), 0) << output;
    EXPECT_LE(apiMediaConvertSetVcodec(job.h, "NoSuchCodec"), 0);
    EXPECT_LE(apiMediaConvertSetAcodec(job.h, "H264"), 0);
    const std::pair<int64_t, int64_t> ranges[] = {{-1, 1'000'000},
                                                  {1'000'000, 1'000'000},
                                                  {1'500'000, 500'000},
                                                  {2'000'000, 3'000'000},
                                                  {60'000'000, 70'000'000}};
    for (auto [start, stop] : ranges)
        EXPECT_LE(apiMediaConvertSetCutTime(job.h, start, stop), 0) << start << ".." << stop;
    const std::pair<int, int> sizes[] = {{0, 240}, {320, 0}, {321, 240}, {320, 241}, {-2, 240}};
    for (auto [w, h] : sizes)
        EXPECT_LE(apiMediaConvertSetVideoFrameSize(job.h, w, h), 0) << w << "x" << h;
    // Nothing of it stuck: the job still converts with its defaults.
    ASSERT_GT(apiMediaConvertSetOutputPath(job.h, out("fine.mp4").c_str()), 0);
    EXPECT_GT(apiMediaConvertStart(job.h), 0);
    EXPECT_EQ(ffprobe(out("fine.mp4")).firstVideo()->width, 320);
    fs::permissions(readOnly, fs::perms::owner_all);
    EXPECT_EQ(filesIn(dir),
              (std::vector<std::string>{"fine.mp4", "noise.mov", "readonly", "truncated.mp4", "zero.mp4"}));
    // Handles that are not ours are refused.
    int fake = 0;
    EXPECT_LE(apiMediaConvertStart(&fake), 0);
    EXPECT_LE(apiMediaConvertClose(nullptr), 0);
}

TEST_F(ConvertJobTest, OddPathsInAndOut) {
    std::string input = out("a clip's \"name\", 1:2 — ünï 片段.mp4");
    fs::copy_file(MediaFixtures::mp4(), input);
    std::string output = out("out, 'quoted' \"too\" : ü.mkv");
    ASSERT_GT(convert(input, output), 0);
    EXPECT_EQ(ffprobe(output).firstVideo()->width, 320);
}

TEST_F(ConvertJobTest, JobRunsWhileAnotherThreadProbes) {
    const std::string source = MediaFixtures::mp4();
    std::atomic<bool> done{false};
    std::atomic<int> probes{0}, failures{0};
    std::thread prober([&] {
        std::vector<uint8_t> pixels(64 * 48 * 4);
        while (!done) {
            MEDIA_HANDLE m = MediaOpen(source.c_str());
            AUDIO_STREAM_INFO a{};
            VIDEO_STREAM_INFO v{};
            if (!m || MediaGetInfo(m, &a, &v) < 0 || MediaSnapshot(m, 500'000, 64, 48, pixels.data(), 0) <= 0)
                ++failures;
            MediaClose(m);
            ++probes;
        }
    });
    int a = convert(source, out("one.mp4"));
    int b = convert(source, out("two.mkv"));
    done = true;
    prober.join();
    EXPECT_GT(a, 0);
    EXPECT_GT(b, 0);
    EXPECT_GT(probes.load(), 0);
    EXPECT_EQ(failures.load(), 0);
}
