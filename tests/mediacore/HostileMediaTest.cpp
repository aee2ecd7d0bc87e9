// Media that is damaged, odd or made to hurt: each case once made the engine fail wrongly, report a broken file as
// a success, or touch freed memory (the sanitizer build shows that last kind).

#include "EngineTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using enginetest::convert;
using enginetest::filesIn;
using enginetest::Job;

namespace {

// The first `fraction` of `source`, under `name` in the fixture folder.
std::string truncated(const std::string& source, const std::string& name, double fraction) {
    const fs::path target = fs::path(MediaFixtures::dir()) / name;
    if (!fs::exists(target)) {
        std::ifstream in(source, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bytes.resize(static_cast<size_t>(bytes.size() * fraction));
        const fs::path part = target.string() + ".part";
        std::ofstream(part, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        fs::rename(part, target);
    }
    return target.string();
}

// A WebM whose index (cues) was at the end, cut off: it cannot seek back to its start.
std::string webmWithoutCues() {
    const std::string full =
        MediaFixtures::make("clip_vp8_4s.webm", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 "
                                                "-f lavfi -i sine=frequency=440:duration=4 "
                                                "-c:v libvpx -b:v 300k -c:a libopus -shortest");
    return truncated(full, "clip_vp8_4s_truncated.webm", 0.6);
}

long long decodedVideoFrames(const std::string& path) {
    const std::string out = captureOutput("ffmpeg -nostdin -v error -i " + MediaFixtures::quote(path) +
                                          " -map 0:v:0 -f framecrc - 2>/dev/null | grep -c '^0,'");
    return std::atoll(out.c_str());
}

} // namespace

// The padded last sound frame of encoders with a fixed frame size (AC-3, MP2) is sent while it still exists.
TEST(HostileMedia, FixedFrameAudioEncodersTakeAShortLastFrame) {
    const std::string dir = MediaFixtures::freshDir("hostile-padded");
    struct Case {
        const char* codec;
        const char* extension;
        const char* probedCodec;
    } cases[] = {{"ac3", "mkv", "ac3"}, {"mp2", "mkv", "mp2"}, {"mp2", "mpg", "mp2"}};
    for (const Case& c : cases) {
        const std::string out = dir + "/out_" + c.codec + "." + c.extension;
        // 2 s at 44.1 kHz is 88200 samples: no whole number of 1536- or 1152-sample frames.
        ASSERT_GT(convert(MediaFixtures::mp4(), out,
                          [&](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertSetAcodec(h, c.codec), 0); }),
                  0)
            << c.codec;
        const FfprobeResult probe = ffprobe(out);
        ASSERT_TRUE(probe.ok) << out;
        ASSERT_NE(probe.firstAudio(), nullptr) << out;
        EXPECT_EQ(probe.firstAudio()->codecName, c.probedCodec);
        EXPECT_TRUE(ffmpegDecodesCleanly(out)) << out;
    }
}

// A file that cannot seek back to its start is read from the start again, not from where the probe stopped.
TEST(HostileMedia, FileThatCannotSeekIsReadFromItsStart) {
    const std::string source = webmWithoutCues();
    const long long sourceFrames = decodedVideoFrames(source);
    ASSERT_GT(sourceFrames, 20);
    const std::string dir = MediaFixtures::freshDir("hostile-noseek");
    const std::string out = dir + "/whole.mp4";
    ASSERT_GT(convert(source, out), 0);
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.ok);
    ASSERT_NE(probe.firstVideo(), nullptr);
    EXPECT_EQ(decodedVideoFrames(out), sourceFrames);

    // A snapshot at the start decodes the first picture.
    MEDIA_HANDLE media = MediaOpen(source.c_str());
    ASSERT_NE(media, nullptr);
    std::vector<unsigned char> pixels(320 * 240 * 4);
    EXPECT_GE(MediaSnapshot(media, 0, 320, 240, pixels.data(), 0), 0);
    MediaClose(media);
}

// A range in which nothing decodes is a failure, not an empty file reported as success; nothing is left behind.
TEST(HostileMedia, RangeWithNothingDecodableFails) {
    const std::string source = webmWithoutCues();
    const std::string dir = MediaFixtures::freshDir("hostile-emptyrange");
    const std::string out = dir + "/late.mp4";
    // The header still claims 4 s; the readable part ends near 2.4 s.
    const int rc = convert(source, out,
                           [](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertSetCutTime(h, 3'500'000, 3'900'000), 0); });
    EXPECT_LE(rc, 0);
    EXPECT_TRUE(filesIn(dir).empty());
}

// A stop is the user's choice: the engine's log does not call it a failure, and nothing is left behind.
TEST(HostileMedia, StopIsNotLoggedAsAFailure) {
    const std::string source = MediaFixtures::make(
        "clip_640x360_10s.mp4", "-f lavfi -i testsrc2=size=640x360:rate=25:duration=10 "
                                "-f lavfi -i sine=frequency=440:duration=10 "
                                "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest");
    const std::string dir = MediaFixtures::freshDir("hostile-stoplog");
    Job job;
    ASSERT_GT(apiMediaConvertSetInputMedia(job.h, source.c_str()), 0);
    ASSERT_GT(apiMediaConvertSetVcodec(job.h, "mpeg4"), 0);
    ASSERT_GT(apiMediaConvertSetOutputPath(job.h, (dir + "/stopped.mp4").c_str()), 0);
    testing::internal::CaptureStderr();
    std::thread stopper([&] {
        while (apiMediaConvertGetProgress(job.h) < 5)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        apiMediaConvertStop(job.h);
    });
    const int rc = apiMediaConvertStart(job.h);
    stopper.join();
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_GT(rc, 0);
    EXPECT_EQ(log.find("failed"), std::string::npos) << log;
    EXPECT_TRUE(filesIn(dir).empty());
}

// Closing a handle while another thread is inside a call on it never frees the object under that call (the
// sanitizer build reports it if it does); the call finishes or fails cleanly.
TEST(HostileMedia, CloseWhileAnotherThreadUsesTheHandle) {
    const std::string source = MediaFixtures::mp4();
    for (int round = 0; round < 10; ++round) {
        MEDIA_HANDLE media = MediaOpen(source.c_str());
        ASSERT_NE(media, nullptr);
        std::atomic<bool> started{false};
        std::thread user([&] {
            std::vector<unsigned char> pixels(320 * 240 * 4);
            started = true;
            for (int i = 0; i < 5; ++i)
                MediaSnapshot(media, 1'000'000 + i * 100'000, 320, 240, pixels.data(), 0);
        });
        while (!started)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::microseconds(200 * round));
        MediaClose(media);
        user.join();
    }
    // The same for conversion jobs: progress and stop calls race a close.
    for (int round = 0; round < 10; ++round) {
        CONVERT_HANDLE job = apiMediaConvertCreate();
        ASSERT_NE(job, nullptr);
        std::atomic<bool> started{false};
        std::thread user([&] {
            started = true;
            for (int i = 0; i < 2000; ++i) {
                apiMediaConvertGetProgress(job);
                apiMediaConvertGetDuration(job);
            }
        });
        while (!started)
            std::this_thread::yield();
        apiMediaConvertClose(job);
        user.join();
    }
}

// A transport stream with one key frame every 4 s: its index calls every timestamp a key frame, so a plain seek
// lands where the decoder cannot start. Cuts, joins of a range and snapshots still show the range's own pictures.
TEST(HostileMedia, CutsInALongGroupOfPicturesTransportStreamKeepTheirPictures) {
    const std::string source =
        MediaFixtures::make("clip_ts_long_gop_6s.ts", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=6 "
                                                      "-f lavfi -i sine=frequency=440:duration=6 "
                                                      "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 100 "
                                                      "-c:a aac -shortest");
    const std::string dir = MediaFixtures::freshDir("hostile-ts-cut");
    const std::string cut = dir + "/cut.mp4";
    ASSERT_GT(convert(source, cut,
                      [](CONVERT_HANDLE h) { EXPECT_GT(apiMediaConvertSetCutTime(h, 2'000'000, 3'000'000), 0); }),
              0);
    EXPECT_EQ(decodedVideoFrames(cut), 25);
    // The cut's first picture is the source's picture at 2 s (decoded from the start by the ffmpeg program).
    const std::string reference = dir + "/reference.png";
    MediaFixtures::run("ffmpeg -nostdin -v error -y -i " + MediaFixtures::quote(source) + " -ss 2 -frames:v 1 " +
                       reference);
    int w = 0, h = 0, rw = 0, rh = 0;
    EXPECT_LT(meanAbsoluteDifference(ffmpegFrameRgb(cut, 0, &w, &h), ffmpegFrameRgb(reference, 0, &rw, &rh)), 6.0);

    // A join of the same range.
    const std::string joined = dir + "/joined.mp4";
    JOIN_HANDLE join = apiMediaJoinCreate();
    ASSERT_NE(apiMediaJoinAddMediaClip(join, source.c_str(), 2'000'000, 3'000'000), nullptr);
    ASSERT_GT(apiMediaJoinSetOutputPath(join, joined.c_str()), 0);
    EXPECT_GE(apiMediaJoinStart(join), 0);
    apiMediaJoinClose(join);
    EXPECT_EQ(decodedVideoFrames(joined), 25);
    EXPECT_LT(meanAbsoluteDifference(ffmpegFrameRgb(joined, 0, &w, &h), ffmpegFrameRgb(reference, 0, &rw, &rh)), 6.0);
}

// Valid inputs that once failed with default settings: each becomes a file the ffmpeg program plays.
TEST(HostileMedia, ValidButUnusualInputsConvert) {
    const std::string flac =
        MediaFixtures::make("odd_flac_audio.mkv", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 "
                                                  "-f lavfi -i sine=frequency=440:duration=2 -c:v libx264 "
                                                  "-preset ultrafast -pix_fmt yuv420p -c:a flac -shortest");
    const std::string mjpeg =
        MediaFixtures::make("odd_mjpeg.avi", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 "
                                             "-f lavfi -i sine=frequency=440:duration=2 -c:v mjpeg "
                                             "-c:a pcm_s16le -shortest");
    const std::string pal8 = MediaFixtures::make(
        "odd_pal8.avi", "-f lavfi -i testsrc2=size=64x48:rate=10:duration=2 -c:v rawvideo -pix_fmt pal8");
    const std::string dir = MediaFixtures::freshDir("hostile-valid");
    struct Case {
        std::string source;
        const char* output;
    } cases[] = {
        {flac, "flac.mp4"}, {mjpeg, "mjpeg.mp4"}, {mjpeg, "mjpeg.mkv"}, {pal8, "pal8.mkv"}, {pal8, "pal8.mp4"}};
    for (const Case& c : cases) {
        const std::string out = dir + "/" + c.output;
        EXPECT_GT(convert(c.source, out), 0) << c.output;
        const FfprobeResult probe = ffprobe(out);
        EXPECT_TRUE(probe.ok && probe.firstVideo()) << c.output;
        EXPECT_NEAR(probe.duration, 2.0, 0.2) << c.output;
        EXPECT_TRUE(ffmpegDecodesCleanly(out)) << c.output;
    }
}

namespace {
long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

// Sound with a 300 s hole in its timestamps under a picture that runs on: the join pads the hole with silence
// made as it is written, not held in memory at once (300 s of planar float stereo would be over 100 MB). (A hole
// in which no stream has anything is taken out instead.)
TEST(HostileMedia, SoundGapInAJoinIsSilenceWithoutTheMemory) {
    const std::string gap = MediaFixtures::make(
        "odd_sound_gap_300s.mkv", "-f lavfi -i testsrc2=size=64x48:rate=1:duration=302 "
                                  "-f lavfi -i sine=frequency=440:duration=2 "
                                  "-af \"asetpts='if(gte(T,1),PTS+300/TB,PTS)'\" -c:v libx264 -preset ultrafast "
                                  "-pix_fmt yuv420p -c:a flac");
    const std::string dir = MediaFixtures::freshDir("hostile-soundgap");
    const std::string out = dir + "/joined.mp4";
    const long before = peakMemoryKiB();
    JOIN_HANDLE join = apiMediaJoinCreate();
    ASSERT_NE(apiMediaJoinAddMediaClip(join, gap.c_str(), 0, 0), nullptr);
    ASSERT_GT(apiMediaJoinSetOutputPath(join, out.c_str()), 0);
    EXPECT_GE(apiMediaJoinStart(join), 0);
    apiMediaJoinClose(join);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__) // sanitizers keep memory of their own
    EXPECT_LT(peakMemoryKiB() - before, 32 * 1024);                 // the whole gap at once: over 50 MB
#endif
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.ok);
    EXPECT_NEAR(probe.duration, 302.0, 0.5);
    // Tone before the hole and after it, silence inside it.
    EXPECT_GT(ffmpegMeanVolume(out, 0.2, 0.6), -30.0);
    EXPECT_LT(ffmpegMeanVolume(out, 100, 5), -80.0);
    EXPECT_GT(ffmpegMeanVolume(out, 301.2, 0.6), -30.0);
}

namespace {
// A 2 s Matroska clip whose header declares about 31 years.
std::string clipClaimingYears() {
    const std::string honest =
        MediaFixtures::make("odd_claim_2s.mkv", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 "
                                                "-c:v libx264 -preset ultrafast -pix_fmt yuv420p");
    const fs::path target = fs::path(MediaFixtures::dir()) / "odd_claim_years.mkv";
    if (!fs::exists(target)) {
        std::ifstream in(honest, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The segment's Duration element: id 0x4489, an 8-byte float of milliseconds.
        const size_t at = bytes.find("\x44\x89\x88", 0, 3);
        EXPECT_NE(at, std::string::npos);
        if (at == std::string::npos)
            return "";
        const double years = 1e12;
        uint64_t raw;
        std::memcpy(&raw, &years, sizeof raw);
        for (int i = 0; i < 8; ++i)
            bytes[at + 3 + i] = static_cast<char>(raw >> (56 - 8 * i));
        const fs::path part = target.string() + ".part";
        std::ofstream(part, std::ios::binary) << bytes;
        fs::rename(part, target);
    }
    return target.string();
}

int64_t probedDurationUs(const std::string& path) {
    MEDIA_HANDLE media = MediaOpen(path.c_str());
    EXPECT_NE(media, nullptr) << path;
    const int64_t duration = media ? MediaGetDuration(media) : 0;
    MediaClose(media);
    return duration;
}
} // namespace

// A whole file joins as long as what it holds: not the years its header claims, not a truncated file's declared
// length padded with a frozen picture, and a live recording without any declared length joins too.
TEST(HostileMedia, WholeFileClipsJoinAsLongAsTheirContent) {
    const std::string years = clipClaimingYears();
    const std::string live = MediaFixtures::make("odd_live_no_duration.webm",
                                                 "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 "
                                                 "-f lavfi -i sine=frequency=440:duration=2 -c:v libvpx -b:v 200k "
                                                 "-c:a libopus -shortest -f webm -");
    const std::string truncatedWebm = webmWithoutCues();
    EXPECT_NEAR(probedDurationUs(years) / 1e6, 2.0, 0.1);
    EXPECT_NEAR(probedDurationUs(live) / 1e6, 2.0, 0.1);

    const std::string dir = MediaFixtures::freshDir("hostile-whole");
    struct Case {
        std::string source;
        const char* output;
        double seconds;
    } cases[] = {{years, "years.mp4", 2.0},
                 {live, "live.mp4", 2.0},
                 {truncatedWebm, "truncated.mp4", decodedVideoFrames(truncatedWebm) / 25.0}};
    for (const Case& c : cases) {
        const std::string out = dir + "/" + c.output;
        JOIN_HANDLE join = apiMediaJoinCreate();
        EXPECT_NE(apiMediaJoinAddMediaClip(join, c.source.c_str(), 0, 0), nullptr) << c.output;
        EXPECT_GT(apiMediaJoinSetOutputPath(join, out.c_str()), 0);
        EXPECT_GE(apiMediaJoinStart(join), 0) << c.output;
        apiMediaJoinClose(join);
        EXPECT_NEAR(decodedVideoFrames(out) / 25.0, c.seconds, 0.1) << c.output;
    }
}

// Copy joins of sound whose packets carry their own sample positions (FLAC, Vorbis) and of a truncated clip whose
// last frame was cut short: outputs the ffmpeg program decodes without an error, as long as the clips together.
TEST(HostileMedia, CopyJoinsOfSelfTimedSoundAndCutShortFrames) {
    const std::string flac =
        MediaFixtures::make("odd_flac_audio.mkv", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 "
                                                  "-f lavfi -i sine=frequency=440:duration=2 -c:v libx264 "
                                                  "-preset ultrafast -pix_fmt yuv420p -c:a flac -shortest");
    const std::string vorbis =
        MediaFixtures::make("odd_vorbis_2s.ogg", "-f lavfi -i sine=frequency=440:duration=2 -c:a libvorbis");
    const std::string whole =
        MediaFixtures::make("clip_h264_aac_2s.mkv", "-i " + MediaFixtures::quote(MediaFixtures::mp4()) + " -c copy");
    const std::string cutShort = truncated(whole, "clip_mkv_truncated_97.mkv", 0.97);
    const std::string dir = MediaFixtures::freshDir("hostile-copyjoin");
    struct Case {
        std::vector<std::string> clips;
        const char* output;
    } cases[] = {{{flac, flac}, "flac.mkv"}, {{vorbis, vorbis}, "vorbis.ogg"}, {{cutShort, whole}, "cut.mkv"}};
    for (const Case& c : cases) {
        const std::string out = dir + "/" + c.output;
        JOIN_HANDLE join = apiMediaJoinCreate();
        for (const std::string& clip : c.clips)
            EXPECT_NE(apiMediaJoinAddMediaClip(join, clip.c_str(), 0, 0), nullptr) << c.output;
        EXPECT_GT(apiMediaJoinSetVideoCodec(join, "copy"), 0);
        EXPECT_GT(apiMediaJoinSetAudioCodec(join, "copy"), 0);
        EXPECT_GT(apiMediaJoinSetOutputPath(join, out.c_str()), 0);
        EXPECT_GE(apiMediaJoinStart(join), 0) << c.output;
        apiMediaJoinClose(join);
        EXPECT_TRUE(ffmpegDecodesCleanly(out)) << c.output;
        EXPECT_GT(ffprobe(out).duration, 3.7) << c.output;
    }
}

// Two transport streams stuck end to end, as recorders write them when their clock resets: the timestamps of the
// second start again where the first began. Both halves are converted and joined.
TEST(HostileMedia, TransportStreamWhoseClockResetsKeepsBothHalves) {
    const std::string first =
        MediaFixtures::make("ts_half_440.ts", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 "
                                              "-f lavfi -i sine=frequency=440:duration=2 -c:v libx264 "
                                              "-preset ultrafast -pix_fmt yuv420p -c:a aac -shortest");
    const std::string second =
        MediaFixtures::make("ts_half_880.ts", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 "
                                              "-f lavfi -i sine=frequency=880:sample_rate=48000:duration=2 "
                                              "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest");
    const fs::path reset = fs::path(MediaFixtures::dir()) / "ts_clock_reset.ts";
    if (!fs::exists(reset)) {
        std::ifstream a(first, std::ios::binary), b(second, std::ios::binary);
        const fs::path part = reset.string() + ".part";
        std::ofstream out(part, std::ios::binary);
        out << a.rdbuf() << b.rdbuf();
        out.close();
        fs::rename(part, reset);
    }
    const std::string dir = MediaFixtures::freshDir("hostile-tsreset");
    const std::string converted = dir + "/converted.mp4";
    ASSERT_GT(convert(reset.string(), converted), 0);
    EXPECT_NEAR(decodedVideoFrames(converted), 100, 2);
    EXPECT_NEAR(ffprobe(converted).duration, 4.0, 0.15);

    const std::string joined = dir + "/joined.mp4";
    JOIN_HANDLE join = apiMediaJoinCreate();
    ASSERT_NE(apiMediaJoinAddMediaClip(join, reset.string().c_str(), 0, 0), nullptr);
    ASSERT_NE(apiMediaJoinAddMediaClip(join, first.c_str(), 0, 0), nullptr);
    ASSERT_GT(apiMediaJoinSetOutputPath(join, joined.c_str()), 0);
    EXPECT_GE(apiMediaJoinStart(join), 0);
    apiMediaJoinClose(join);
    EXPECT_NEAR(decodedVideoFrames(joined), 150, 3);
    // The second half's sound (880 Hz at 48 kHz) is there, after the first half's.
    EXPECT_GT(ffmpegMeanVolume(joined, 2.5, 1.0), -30.0);
}

TEST(HostileMedia, AnEmptyHourInTheTimestampsIsTakenOutButAHeldPictureIsKept) {
    // Picture and sound both jump an hour after the first second: nothing plays in between.
    const std::string empty = MediaFixtures::make(
        "gap_hour.mkv", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 "
                        "-f lavfi -i sine=frequency=440:duration=2 "
                        "-vf 'setpts=PTS+gte(T\\,1)*3600/TB' -af 'asetpts=PTS+gte(T\\,1)*3600/TB' "
                        "-fps_mode passthrough -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac");
    // The picture holds for 12 s while the sound plays on: a real pause, kept.
    const std::string held = MediaFixtures::make(
        "gap_held.mkv", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 "
                        "-f lavfi -i sine=frequency=440:duration=14 "
                        "-vf 'setpts=PTS+gte(T\\,1)*12/TB' -fps_mode passthrough "
                        "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac");
    ASSERT_GT(ffprobe(empty).duration, 3000.0) << "the fixture's timestamps span the hour";
    const std::string dir = MediaFixtures::freshDir("hostile-gap");

    const std::string fromEmpty = dir + "/empty.mp4";
    ASSERT_GT(convert(empty, fromEmpty), 0);
    EXPECT_LT(ffprobe(fromEmpty).duration, 3.0);
    EXPECT_NEAR(decodedVideoFrames(fromEmpty), 50, 3);
    // A join reads picture and sound apart, and both take the same hour out.
    const std::string joined = dir + "/joined.mp4";
    JOIN_HANDLE join = apiMediaJoinCreate();
    ASSERT_NE(apiMediaJoinAddMediaClip(join, empty.c_str(), 0, 0), nullptr);
    ASSERT_GT(apiMediaJoinSetOutputPath(join, joined.c_str()), 0);
    EXPECT_GE(apiMediaJoinStart(join), 0);
    apiMediaJoinClose(join);
    EXPECT_LT(ffprobe(joined).duration, 3.0);
    EXPECT_GT(ffmpegMeanVolume(joined, 1.2, 0.6), -30.0) << "the sound after the hour follows in step";

    const std::string fromHeld = dir + "/held.mp4";
    ASSERT_GT(convert(held, fromHeld), 0);
    EXPECT_NEAR(ffprobe(fromHeld).duration, 14.0, 0.3);
    // The held picture fills the pause: as many frames as the sound's length at the output's rate.
    const FfprobeResult heldProbe = ffprobe(fromHeld);
    ASSERT_NE(heldProbe.firstVideo(), nullptr);
    const double rate = heldProbe.firstVideo()->frameRate;
    ASSERT_GT(rate, 0);
    EXPECT_NEAR(double(decodedVideoFrames(fromHeld)), 13.0 * rate, 2 * rate);
}

// A source's sound bit rate carried over to an encoder that knows only some rates: MP2 (the MPEG program stream's
// usual sound) of a 69 kb/s source once failed to open its encoder.
TEST(HostileMedia, CarriedOverBitRatesAreFittedToTheEncoder) {
    const std::string source =
        MediaFixtures::make("odd_aac_69k.mp4", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1 "
                                               "-f lavfi -i sine=frequency=440:duration=1 -c:v libx264 -preset ultrafast "
                                               "-pix_fmt yuv420p -c:a aac -b:a 69k -shortest");
    const std::string dir = MediaFixtures::freshDir("hostile-fitrate");
    for (const char* extension : {"mpg", "ogg"}) {
        SCOPED_TRACE(extension);
        const std::string out = dir + "/out." + extension;
        ASSERT_GT(convert(source, out, [&](CONVERT_HANDLE job) {
                      if (std::string(extension) == "ogg") // mono at a rate Vorbis cannot reach for one channel
                          apiMediaConvertSetAudioEncodeContext(job, 1, 44100), apiMediaConvertSetAudioBitrate(job, 320);
                  }),
                  0);
        EXPECT_TRUE(ffmpegDecodesCleanly(out));
        EXPECT_EQ(ffprobe(out).count("audio"), 1);
    }
}
