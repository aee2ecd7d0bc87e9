// Sources that are odd or damaged in their pictures: elementary streams without a container (no time at all), a
// damaged HEVC stream, sparse pictures (a slideshow) under a watermark. Outputs are checked with ffprobe.

#include "EngineTestSupport.h"
#include "FaultTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

using enginetest::Job;

using faulttest::countedFrames;

namespace {

double videoDuration(const std::string& path) {
    const FfprobeResult probe = ffprobe(path);
    return probe.firstVideo() ? probe.firstVideo()->duration : 0;
}

std::string watermarkPng() {
    return MediaFixtures::make("damaged_mark.png", "-f lavfi -i color=c=magenta:size=40x30 -frames:v 1");
}

// Converts `source` to `output`, with an image watermark over the whole source when `marked`; a runaway job is
// stopped (faulttest::convertGuarded).
int convertMarked(const std::string& source, const std::string& output, bool marked) {
    Job job;
    EXPECT_GT(apiMediaConvertSetInputMedia(job.h, source.c_str()), 0) << source;
    if (marked) {
        IMAGE_WATERMARK_PARAM mark{};
        MediaRecordSetText(mark.path, sizeof mark.path, watermarkPng().c_str());
        mark.rect = RECT{10, 10, 50, 40};
        mark.start_time = 0;
        mark.end_time = 3'600'000'000LL;
        EXPECT_GT(apiMediaConvertAddImageWatermask(job.h, mark), 0);
    }
    EXPECT_GT(apiMediaConvertSetOutputPath(job.h, output.c_str()), 0) << output;
    return faulttest::convertGuarded(job.h);
}

// 3 s, 75 pictures of HEVC in MP4 with a stretch of its middle damaged by flipped bits.
std::string damagedHevc() {
    const std::string clean = MediaFixtures::make(
        "damaged_hevc_clean.mp4", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=3 -f lavfi -i sine=duration=3 "
                                  "-c:v libx265 -x265-params log-level=none -preset ultrafast -pix_fmt yuv420p "
                                  "-c:a aac -movflags +faststart -shortest");
    const std::string damaged = MediaFixtures::dir() + "/damaged_hevc_flipped.mp4";
    std::ifstream in(clean, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t i = bytes.size() * 3 / 10; i < bytes.size() * 6 / 10; i += 97)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    const std::string part = damaged + "." + std::to_string(::getpid()) + ".tmp";
    std::ofstream(part, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::rename(part.c_str(), damaged.c_str());
    return damaged;
}

} // namespace

// A raw H.264 or HEVC stream (no container, no time) converts whole, with and without a watermark: its pictures
// follow each other at the stream's rate.
TEST(DamagedStream, RawElementaryStreamsConvertWhole) {
    const std::string dir = MediaFixtures::freshDir("damaged-raw");
    const struct {
        const char* name;
        const char* encoder;
    } cases[] = {{"damaged_raw.h264", "libx264"}, {"damaged_raw.hevc", "libx265 -x265-params log-level=none"}};
    for (const auto& c : cases) {
        const std::string source =
            MediaFixtures::make(c.name, std::string("-f lavfi -i testsrc2=size=320x240:rate=25:duration=3 -c:v ") +
                                            c.encoder + " -preset ultrafast -pix_fmt yuv420p");
        for (const bool marked : {false, true}) {
            const std::string out = dir + "/" + c.name + (marked ? "_marked.mp4" : "_plain.mp4");
            EXPECT_GT(convertMarked(source, out, marked), 0) << out;
            EXPECT_EQ(countedFrames(out), 75) << out;
            EXPECT_NEAR(videoDuration(out), 3.0, 0.05) << out;
        }
    }
}

// Damaged packets in an HEVC stream are skipped as the ffmpeg program skips them; the job converts the whole file.
TEST(DamagedStream, DamagedHevcConvertsWhole) {
    const std::string dir = MediaFixtures::freshDir("damaged-hevc");
    const std::string out = dir + "/whole.mp4";
    ASSERT_GT(convertMarked(damagedHevc(), out, false), 0);
    EXPECT_NEAR(videoDuration(out), 3.0, 0.1);
    EXPECT_GE(countedFrames(out), 70);
}

// A watermark keeps the last picture for its whole time: 75 pictures stay 75, and a slideshow of three pictures
// five seconds each stays 15 s.
TEST(DamagedStream, WatermarkKeepsTheLastPicture) {
    const std::string dir = MediaFixtures::freshDir("damaged-lastpicture");
    const std::string regular =
        MediaFixtures::make("damaged_75.mp4", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=3 -c:v libx264 "
                                              "-preset ultrafast -pix_fmt yuv420p");
    const std::string slideshow =
        MediaFixtures::make("damaged_slides_0.2fps.mp4", "-f lavfi -i testsrc2=size=320x240:rate=0.2:duration=15 "
                                                         "-c:v libx264 -preset ultrafast -pix_fmt yuv420p");
    ASSERT_NEAR(videoDuration(slideshow), 15.0, 0.1);
    const std::string marked = dir + "/regular.mp4";
    ASSERT_GT(convertMarked(regular, marked, true), 0);
    EXPECT_EQ(countedFrames(marked), 75);
    const std::string slides = dir + "/slides.mp4";
    ASSERT_GT(convertMarked(slideshow, slides, true), 0);
    EXPECT_NEAR(videoDuration(slides), 15.0, 0.1);
}

// A cut through sparse pictures (a slideshow, one picture every 5 s) ends at the range's end: the last picture
// shows until then, not for its whole 5 s.
TEST(DamagedStream, CutOfSparsePicturesEndsAtTheRangesEnd) {
    const std::string slideshow =
        MediaFixtures::make("damaged_slides_0.2fps.mp4", "-f lavfi -i testsrc2=size=320x240:rate=0.2:duration=15 "
                                                         "-c:v libx264 -preset ultrafast -pix_fmt yuv420p");
    const std::string dir = MediaFixtures::freshDir("damaged-sparsecut");
    const struct {
        int64_t startUs, stopUs;
    } cases[] = {{0, 1'000'000}, {2'000'000, 3'500'000}, {4'000'000, 11'000'000}};
    for (const auto& c : cases) {
        const std::string out = dir + "/cut_" + std::to_string(c.startUs) + ".mp4";
        ASSERT_GT(enginetest::convert(slideshow, out,
                                      [&](CONVERT_HANDLE h) {
                                          EXPECT_GT(apiMediaConvertSetCutTime(h, c.startUs, c.stopUs), 0);
                                          // Encoded, so the cut is the engine's and not a copy's.
                                          EXPECT_GT(apiMediaConvertSetVcodec(h, "mpeg4"), 0);
                                      }),
                  0);
        EXPECT_NEAR(videoDuration(out), (c.stopUs - c.startUs) / 1e6, 0.05) << out;
    }
}
