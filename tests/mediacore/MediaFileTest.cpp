#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace fs = std::filesystem;

namespace {
struct Probe {
    AUDIO_STREAM_INFO audio{};
    VIDEO_STREAM_INFO video{};
    int64_t duration = 0;
    bool ok = false;
};

Probe probe(const std::string& path) {
    Probe p;
    MEDIA_HANDLE h = MediaOpen(path.c_str());
    if (!h)
        return p;
    p.ok = MediaGetInfo(h, &p.audio, &p.video) >= 0;
    p.duration = MediaGetDuration(h);
    MediaClose(h);
    return p;
}

std::vector<uint8_t> snapshot(const std::string& path, int64_t time, int w, int h) {
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4, 0);
    MEDIA_HANDLE m = MediaOpen(path.c_str());
    EXPECT_NE(m, nullptr) << path;
    if (!m)
        return {};
    int rc = MediaSnapshot(m, time, w, h, pixels.data(), 0);
    MediaClose(m);
    if (rc <= 0)
        return {};
    return pixels;
}

// Mean absolute difference between our BGRA picture and an RGB24 one of the same size.
double difference(const std::vector<uint8_t>& bgra, const std::vector<unsigned char>& rgb) {
    if (rgb.empty() || bgra.size() / 4 != rgb.size() / 3)
        return 1e9;
    double sum = 0;
    for (size_t i = 0, n = rgb.size() / 3; i < n; ++i)
        for (int c = 0; c < 3; ++c)
            sum += std::abs(int(bgra[i * 4 + 2 - c]) - int(rgb[i * 3 + c]));
    return sum / rgb.size();
}
} // namespace

TEST(MediaFile, ProbeAgreesWithFfprobe) {
    const std::string files[] = {MediaFixtures::mp4(), MediaFixtures::rotated90(), MediaFixtures::twoAudioMkv(),
                                 MediaFixtures::mp3WithCover(), MediaFixtures::noAudio()};
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        FfprobeResult expected = ffprobe(file);
        ASSERT_TRUE(expected.ok);
        Probe got = probe(file);
        ASSERT_TRUE(got.ok);
        EXPECT_NEAR(got.duration / 1e6, expected.duration, 0.001);

        const FfprobeStream* v = expected.firstVideo();
        ASSERT_EQ(got.video.exist != 0, v != nullptr);
        if (v) {
            EXPECT_EQ(got.video.index, v->index);
            EXPECT_STREQ(got.video.vcodec, v->codecName.c_str());
            EXPECT_EQ(got.video.width, v->width);
            EXPECT_EQ(got.video.height, v->height);
            EXPECT_NEAR(got.video.fps, v->frameRate, 1e-6);
            EXPECT_EQ(got.video.angle, ((-v->rotation) % 360 + 360) % 360);
            EXPECT_NEAR(got.video.aspect, 4.0 / 3.0, 1e-9);
            if (v->bitRate > 0)
                EXPECT_EQ(got.video.bitrate, v->bitRate);
            else
                EXPECT_GT(got.video.bitrate, 0); // estimated where the container does not say
        }
        const FfprobeStream* a = expected.firstAudio();
        ASSERT_EQ(got.audio.exist != 0, a != nullptr);
        if (a) {
            EXPECT_EQ(got.audio.index, a->index);
            EXPECT_STREQ(got.audio.codec, a->codecName.c_str());
            EXPECT_EQ(got.audio.samplerate, a->sampleRate);
            EXPECT_EQ(got.audio.channel, a->channels);
            EXPECT_STREQ(got.audio.lang, a->language.c_str());
            if (a->bitRate > 0)
                EXPECT_EQ(got.audio.bitrate, a->bitRate);
            else
                EXPECT_GT(got.audio.bitrate, 0);
        }
    }
    // ffmpeg 5.1 stores "-metadata rotate=90" as a display matrix turning 90 degrees counter-clockwise (ffprobe
    // rotation 90), which is 270 clockwise.
    EXPECT_EQ(probe(MediaFixtures::rotated90()).video.angle, 270);
    EXPECT_EQ(probe(MediaFixtures::mp3WithCover()).video.exist, 0); // the cover is not a video stream
}

TEST(MediaFile, SnapshotIsUprightScaledAndExact) {
    struct Case {
        std::string file;
        double seconds;
    };
    const Case cases[] = {{MediaFixtures::mp4(), 0}, {MediaFixtures::mp4(), 1.0}, {MediaFixtures::rotated90(), 0.52}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " at " + std::to_string(c.seconds));
        int w = 0, h = 0;
        std::vector<unsigned char> reference = ffmpegFrameRgb(c.file, c.seconds, &w, &h);
        ASSERT_FALSE(reference.empty());
        std::vector<uint8_t> ours = snapshot(c.file, static_cast<int64_t>(c.seconds * 1e6), w, h);
        ASSERT_FALSE(ours.empty());
        EXPECT_LT(difference(ours, reference), 4.0);
        for (size_t i = 3; i < ours.size(); i += 4)
            ASSERT_EQ(ours[i], 255); // opaque video
    }
    // The rotated clip's upright picture is 240 wide and 320 high.
    int w = 0, h = 0;
    ffmpegFrameRgb(MediaFixtures::rotated90(), 0, &w, &h);
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 320);

    // Any size, whatever the aspect; past the end it is the last frame.
    EXPECT_EQ(snapshot(MediaFixtures::mp4(), 0, 285, 180).size(), 285u * 180 * 4);
    std::vector<uint8_t> last = snapshot(MediaFixtures::mp4(), 1'960'000, 64, 48);
    std::vector<uint8_t> past = snapshot(MediaFixtures::mp4(), 60'000'000, 64, 48);
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(last, past);
}

TEST(MediaFile, SnapshotOfAudioOnlyFailsWithoutTouchingTheBuffer) {
    MEDIA_HANDLE h = MediaOpen(MediaFixtures::mp3WithCover().c_str());
    ASSERT_NE(h, nullptr);
    std::vector<uint8_t> pixels(16 * 16 * 4, 7);
    EXPECT_LE(MediaSnapshot(h, 0, 16, 16, pixels.data(), 0), 0);
    EXPECT_EQ(pixels, std::vector<uint8_t>(16 * 16 * 4, 7));
    EXPECT_LE(MediaSnapshot(h, 0, 0, 16, pixels.data(), 0), 0);
    MediaClose(h);
}

TEST(MediaFile, BadFilesAreRefused) {
    std::string dir = MediaFixtures::freshDir("mediafile-bad");
    std::string zero = dir + "/zero.mp4";
    std::ofstream(zero).close();
    std::string noise = dir + "/noise.mp4";
    {
        std::ofstream out(noise, std::ios::binary);
        std::mt19937 random(42);
        for (int i = 0; i < 200000; ++i)
            out.put(static_cast<char>(random()));
    }
    std::string truncated = dir + "/truncated.mp4";
    fs::copy_file(MediaFixtures::mp4(), truncated);
    fs::resize_file(truncated, fs::file_size(truncated) / 2);
    for (const std::string& path : {dir + "/missing.mp4", zero, noise, truncated, dir}) {
        MEDIA_HANDLE h = MediaOpen(path.c_str());
        EXPECT_EQ(h, nullptr) << path;
        MediaClose(h);
    }
    EXPECT_EQ(MediaOpen(nullptr), nullptr);
    // A handle that was never opened is refused, not followed.
    int fake = 0;
    EXPECT_LT(MediaGetInfo(&fake, nullptr, nullptr), 0);
    fs::remove_all(dir);
}

TEST(MediaFile, OddPathsAndManyHandlesAtOnce) {
    std::string dir = MediaFixtures::freshDir("mediafile-odd");
    std::string odd = dir + "/a clip's \"name\", part 1:2 — ünï 片段.mp4";
    fs::copy_file(MediaFixtures::mp4(), odd);
    Probe p = probe(odd);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.video.width, 320);

    // Several handles on one file, used from several threads at once.
    std::vector<MEDIA_HANDLE> handles;
    for (int i = 0; i < 4; ++i)
        handles.push_back(MediaOpen(odd.c_str()));
    std::vector<std::thread> threads;
    std::vector<int> results(handles.size(), 0);
    for (size_t i = 0; i < handles.size(); ++i)
        threads.emplace_back([&, i] {
            std::vector<uint8_t> pixels(80 * 60 * 4);
            AUDIO_STREAM_INFO a{};
            VIDEO_STREAM_INFO v{};
            results[i] = MediaGetInfo(handles[i], &a, &v) >= 0 &&
                         MediaSnapshot(handles[i], static_cast<int64_t>(i) * 400'000, 80, 60, pixels.data(), 0) > 0;
        });
    for (auto& t : threads)
        t.join();
    for (size_t i = 0; i < handles.size(); ++i) {
        EXPECT_EQ(results[i], 1);
        MediaClose(handles[i]);
    }
    fs::remove_all(dir);
}
