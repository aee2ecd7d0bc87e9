// Cuts of jobs that change nothing but the range: the source's pictures from the exact start to the exact end,
// copied where whole groups of pictures allow and encoded only at the edges, checked picture by picture against
// the source with the ffmpeg program.
#include "EngineTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;
using enginetest::convert;

namespace {
constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr double kFps = 25;
constexpr int kGop = 25; // a key frame every second
// Encoded edges against the source picture they stand for: mean absolute difference of the grey levels, for
// each picture and over all of them (a second encoding at about the source's bit rate of a sharp test picture).
constexpr double kEdgeTolerance = 8.0;
constexpr double kMeanEdgeTolerance = 4.0;

// 4 s, 320x240, 25 fps, B-frames, a key frame every second; `codec` and `extra` give the video encoding.
std::string clip(const std::string& name, const std::string& codec) {
    return MediaFixtures::make(name, "-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 "
                                     "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                                     "-ac 2 " +
                                         codec + " -c:a aac -b:a 96k -shortest");
}

std::string h264() {
    return clip("smartcut_h264.mp4", "-c:v libx264 -preset veryfast -bf 3 -g 25 -keyint_min 25 -sc_threshold 0 "
                                     "-pix_fmt yuv420p");
}

std::string h264Mkv() {
    return clip("smartcut_h264.mkv", "-c:v libx264 -preset veryfast -bf 2 -g 25 -keyint_min 25 -sc_threshold 0 "
                                     "-pix_fmt yuv420p -profile:v main");
}

std::string h264Mov() {
    return clip("smartcut_h264.mov", "-c:v libx264 -preset veryfast -bf 3 -g 25 -keyint_min 25 -sc_threshold 0 "
                                     "-pix_fmt yuv420p");
}

// HEVC as x265 makes it by default: open groups of pictures (CRA key frames with leading pictures).
std::string hevc() {
    return clip("smartcut_hevc.mp4", "-c:v libx265 -preset veryfast -x265-params "
                                     "keyint=25:min-keyint=25:scenecut=0:bframes=3:log-level=error -pix_fmt yuv420p");
}

std::string hevcMov() {
    return clip("smartcut_hevc.mov", "-c:v libx265 -preset veryfast -x265-params "
                                     "keyint=25:min-keyint=25:scenecut=0:bframes=3:log-level=error -pix_fmt yuv420p");
}

std::string hevc10() {
    return clip("smartcut_hevc10.mkv", "-c:v libx265 -preset veryfast -x265-params "
                                       "keyint=25:min-keyint=25:scenecut=0:bframes=3:log-level=error "
                                       "-pix_fmt yuv420p10le");
}

// H.264 whose later key frames are not IDR pictures (open groups of pictures): cuts there cannot copy.
std::string h264OpenGop() {
    return clip("smartcut_h264_open.mp4", "-c:v libx264 -preset veryfast -bf 3 -g 25 -keyint_min 25 -sc_threshold 0 "
                                          "-x264-params open-gop=1 -pix_fmt yuv420p");
}

// 4 s of H.264 without sound whose parameter sets change at 2 s (two encodings, High then Main, one after the
// other, each with its parameter sets in the stream).
std::string changingParameters() {
    const std::string first = MediaFixtures::make(
        "smartcut_high.h264", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -c:v libx264 -preset veryfast "
                              "-bf 0 -g 25 -sc_threshold 0 -profile:v high -f h264");
    const std::string second = MediaFixtures::make(
        "smartcut_main.h264", "-f lavfi -i smptebars=size=320x240:rate=25:duration=2 -c:v libx264 -preset veryfast "
                              "-bf 0 -g 25 -sc_threshold 0 -profile:v main -f h264");
    const std::string both = MediaFixtures::dir() + "/smartcut_both.h264";
    if (MediaFixtures::run("cat " + MediaFixtures::quote(first) + " " + MediaFixtures::quote(second) + " > " +
                           MediaFixtures::quote(both)) != 0)
        return "";
    return MediaFixtures::make("smartcut_changing.mkv", "-r 25 -i " + MediaFixtures::quote(both) + " -c copy");
}

// MPEG-4 part 2: another codec, always encoded.
std::string mpeg4() {
    return clip("smartcut_mpeg4.mp4", "-c:v mpeg4 -q:v 3 -bf 2 -g 25");
}

struct Frames {
    std::vector<std::string> hashes; // per picture, in presentation order
    std::vector<std::vector<unsigned char>> grey;
};

Frames framesOf(const std::string& path) {
    Frames frames;
    std::istringstream lines(captureOutput("ffmpeg -nostdin -v error -i " + MediaFixtures::quote(path) +
                                           " -map 0:v:0 -f framemd5 - 2>/dev/null"));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#')
            frames.hashes.push_back(line.substr(line.rfind(',') + 1));
    const std::string bytes = captureOutput("ffmpeg -nostdin -v error -i " + MediaFixtures::quote(path) +
                                            " -map 0:v:0 -f rawvideo -pix_fmt gray - 2>/dev/null");
    const size_t size = kWidth * kHeight;
    for (size_t at = 0; at + size <= bytes.size(); at += size)
        frames.grey.emplace_back(bytes.begin() + at, bytes.begin() + at + size);
    return frames;
}

// The video packets' checksums in decoding order, as stored.
std::vector<std::string> packetHashes(const std::string& path) {
    std::vector<std::string> hashes;
    std::istringstream lines(captureOutput("ffmpeg -nostdin -v error -i " + MediaFixtures::quote(path) +
                                           " -map 0:v:0 -c copy -f framemd5 - 2>/dev/null"));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#')
            hashes.push_back(line.substr(line.rfind(',') + 1));
    return hashes;
}

int cut(const std::string& source, const std::string& output, double start, double stop, std::string* log) {
    testing::internal::CaptureStderr();
    int rc = convert(source, output, [&](CONVERT_HANDLE h) {
        EXPECT_GT(apiMediaConvertSetCutTime(h, std::llround(start * 1e6), std::llround(stop * 1e6)), 0);
    });
    std::string captured = testing::internal::GetCapturedStderr();
    if (log)
        *log = captured;
    return rc;
}

// Output picture k is source picture first + k: the same checksums between the first and the last key frame
// inside, the rest within the tolerance of an encoder.
void expectSourcePictures(const Frames& source, const Frames& out, int first, int end, int copiedFrom, int copiedTo) {
    ASSERT_EQ(out.hashes.size(), static_cast<size_t>(end - first));
    ASSERT_EQ(out.grey.size(), out.hashes.size());
    double sum = 0;
    int edges = 0;
    for (int k = 0; k < end - first; ++k) {
        const int s = first + k;
        if (s >= copiedFrom && s < copiedTo) {
            EXPECT_EQ(out.hashes[k], source.hashes[s]) << "picture " << s << " is not the source's";
            continue;
        }
        const double difference = meanAbsoluteDifference(out.grey[k], source.grey[s]);
        EXPECT_LT(difference, kEdgeTolerance) << "picture " << s;
        sum += difference;
        ++edges;
    }
    if (edges > 0)
        EXPECT_LT(sum / edges, kMeanEdgeTolerance);
}

// The picture on screen at `seconds`; the number of pictures in `seconds` (a cut of that length holds them).
int pictureAt(double seconds) {
    return static_cast<int>(std::floor(seconds * kFps + 1e-9));
}
int pictureCount(double seconds) {
    return static_cast<int>(std::ceil(seconds * kFps - 1e-9));
}
// How long the video lasts by three readings of ffprobe, each from the stream's start: the stream's own duration
// (Matroska keeps the stream's end as a tag), the container's, and the end of the last picture shown (its time and
// its duration, one frame where ffprobe leaves it unknown).
struct VideoLength {
    double stream = -1;
    double container = -1;
    double lastPictureEnd = -1;
};

double seconds(const std::string& text) {
    if (text.empty() || text == "N/A")
        return -1;
    const size_t colon = text.find(':'); // a tag as hh:mm:ss.fraction
    if (colon == std::string::npos)
        return std::stod(text);
    const size_t second = text.find(':', colon + 1);
    return std::stod(text.substr(0, colon)) * 3600 + std::stod(text.substr(colon + 1, second - colon - 1)) * 60 +
           std::stod(text.substr(second + 1));
}

// ffprobe's `key=value` lines, in order.
std::vector<std::pair<std::string, std::string>> ffprobeEntries(const std::string& path, const std::string& entries) {
    std::vector<std::pair<std::string, std::string>> found;
    std::istringstream lines(captureOutput("ffprobe -v error -select_streams v:0 -show_entries " + entries +
                                           " -of default=nw=1 " + MediaFixtures::quote(path) + " 2>/dev/null"));
    for (std::string line; std::getline(lines, line);)
        if (const size_t equals = line.find('='); equals != std::string::npos)
            found.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    return found;
}

VideoLength videoLength(const std::string& path) {
    VideoLength length;
    double start = 0;
    double streamEnd = -1;
    for (const auto& [key, value] :
         ffprobeEntries(path, "stream=start_time,duration:stream_tags=DURATION:format=start_time,duration")) {
        if (key == "start_time" && length.stream < 0 && streamEnd < 0)
            start = std::max(seconds(value), 0.0); // the stream's entries come before the format's
        else if (key == "duration" && length.stream < 0 && streamEnd < 0)
            length.stream = seconds(value);
        else if (key == "TAG:DURATION")
            streamEnd = seconds(value);
        else if (key == "duration")
            length.container = seconds(value);
    }
    if (length.stream < 0 && streamEnd >= 0)
        length.stream = streamEnd - start;
    double pictureStart = -1;
    for (const auto& [key, value] : ffprobeEntries(path, "frame=pts_time,pkt_duration_time")) {
        if (key == "pts_time") {
            pictureStart = seconds(value);
        } else if (key == "pkt_duration_time" && pictureStart >= 0) {
            const double duration = seconds(value) > 0 ? seconds(value) : 1 / kFps;
            length.lastPictureEnd = std::max(length.lastPictureEnd, pictureStart + duration - start);
        }
    }
    return length;
}

// Encoded edges and copied pictures share one decoding delay, so the video track lasts exactly its pictures.
void expectVideoLastsItsPictures(const std::string& path, size_t pictures) {
    const double expected = static_cast<double>(pictures) / kFps;
    const double halfPicture = 0.5 / kFps;
    const VideoLength length = videoLength(path);
    EXPECT_NEAR(length.stream, expected, halfPicture) << "the stream's duration";
    EXPECT_NEAR(length.lastPictureEnd, expected, halfPicture) << "the last picture's end";
    // The sound's packets cover the range, each end up to one sound frame beyond the pictures.
    const double soundFrame = 1024 / 44100.0;
    EXPECT_GT(length.container, expected - halfPicture) << "the container's duration";
    EXPECT_LT(length.container, expected + 2 * soundFrame) << "the container's duration";
}
} // namespace

class SmartCutTest : public ::testing::Test {
protected:
    void SetUp() override { dir = MediaFixtures::freshDir("smartcut"); }
    void TearDown() override { fs::remove_all(dir); }
    std::string out(const std::string& name) const { return dir + "/" + name; }
    std::string dir;
};

struct CutCase {
    const char* name;
    std::string (*source)();
    const char* output;
    double start, stop; // seconds
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name << " " << c.start << ".." << c.stop << " s";
}

class SmartCutRangeTest : public SmartCutTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(SmartCutRangeTest, KeepsTheExactPicturesAndCopiesBetweenKeyFrames) {
    const CutCase& c = GetParam();
    const std::string source = c.source();
    const std::string output = out(c.output);
    std::string log;
    ASSERT_GT(cut(source, output, c.start, c.stop, &log), 0) << log;
    EXPECT_NE(log.find("cut by copy"), std::string::npos) << log;
    EXPECT_EQ(captureOutput("ffmpeg -nostdin -v error -i " + MediaFixtures::quote(output) + " -f null - 2>&1"), "");
    FfprobeResult probe = ffprobe(output);
    ASSERT_TRUE(probe.ok);
    EXPECT_EQ(probe.count("video"), 1);
    EXPECT_EQ(probe.count("audio"), 1);
    EXPECT_EQ(probe.firstVideo()->codecName, ffprobe(source).firstVideo()->codecName);

    const Frames all = framesOf(source);
    const std::vector<double> sourceTimes = ffprobePacketTimes(source, "v:0");
    const double videoStart = *std::min_element(sourceTimes.begin(), sourceTimes.end());
    const int first = pictureAt(c.start - videoStart);
    const int end = std::min<int>(first + pictureCount(c.stop - c.start), static_cast<int>(all.hashes.size()));
    const int copiedFrom = (first + kGop - 1) / kGop * kGop;
    const int copiedTo = end / kGop * kGop;
    const Frames got = framesOf(output);
    expectSourcePictures(all, got, first, end, copiedFrom, copiedTo);
    expectVideoLastsItsPictures(output, got.hashes.size());
    // The sound covers the range, in step with the picture within one sound frame (1024 samples).
    const std::vector<double> video = ffprobePacketTimes(output, "v:0");
    const std::vector<double> sound = ffprobePacketTimes(output, "a:0");
    ASSERT_FALSE(video.empty());
    ASSERT_FALSE(sound.empty());
    const double soundFrame = 1024 / 44100.0;
    const double pictureStart = *std::min_element(video.begin(), video.end());
    EXPECT_NEAR(*std::min_element(sound.begin(), sound.end()), pictureStart, soundFrame);
    const double rangeEnd = std::min(c.stop - c.start, all.hashes.size() / kFps - first / kFps);
    EXPECT_NEAR(*std::max_element(sound.begin(), sound.end()) + soundFrame - pictureStart, rangeEnd, soundFrame);
}

INSTANTIATE_TEST_SUITE_P(Ranges, SmartCutRangeTest,
                         ::testing::Values(CutCase{"H264MidToMid", h264, "a.mp4", 0.52, 2.61},
                                           CutCase{"H264IntoMkv", h264, "b.mkv", 1.30, 3.47},
                                           CutCase{"H264ToTheEnd", h264, "c.mp4", 1.13, 9.0},
                                           CutCase{"H264FromTheStart", h264, "d.mp4", 0.0, 2.3},
                                           CutCase{"H264MkvSource", h264Mkv, "f.mkv", 0.7, 2.9},
                                           CutCase{"H264Mov", h264Mov, "g.mov", 0.36, 3.12},
                                           CutCase{"HevcOpenGroups", hevc, "h.mp4", 0.52, 2.61},
                                           CutCase{"Hevc10Bit", hevc10, "i.mkv", 1.3, 3.5},
                                           CutCase{"HevcMov", hevcMov, "j.mov", 0.9, 3.05},
                                           // Copied to a key frame: the encoded head meets the copy alone.
                                           CutCase{"H264ToAKeyFrame", h264, "k.mp4", 0.52, 3.0},
                                           CutCase{"H264MovToAKeyFrame", h264Mov, "l.mov", 1.36, 3.0},
                                           CutCase{"H264MkvToAKeyFrame", h264Mkv, "m.mkv", 0.7, 3.0},
                                           CutCase{"HevcToAKeyFrame", hevc, "n.mp4", 0.52, 3.0}),
                         [](const ::testing::TestParamInfo<CutCase>& info) { return info.param.name; });

TEST_F(SmartCutTest, ARangeFromKeyFrameToKeyFrameIsAPureCopy) {
    const std::string source = h264();
    const std::string output = out("copy.mp4");
    std::string log;
    ASSERT_GT(cut(source, output, 1.0, 3.0, &log), 0);
    EXPECT_NE(log.find("cut by copy: all 50 video packets copied"), std::string::npos) << log;
    // The source's packets of the two groups of pictures, in decoding order, byte for byte.
    const std::vector<std::string> from = packetHashes(source);
    const std::vector<std::string> got = packetHashes(output);
    ASSERT_EQ(from.size(), 100u);
    ASSERT_EQ(got.size(), 50u);
    EXPECT_EQ(got, std::vector<std::string>(from.begin() + 25, from.begin() + 75));
}

TEST_F(SmartCutTest, WhatCannotBeCopiedIsEncodedAndSaysSo) {
    struct Case {
        std::string name;
        std::string (*source)();
        const char* output;
        double start, stop;
        const char* reason;
    };
    const Case cases[] = {
        {"another codec", mpeg4, "a.mp4", 1.3, 2.5, "not H.264 or HEVC"},
        {"open groups of H.264", h264OpenGop, "b.mp4", 1.3, 2.5, "a decoder can start from"},
        {"no key frame inside", h264, "c.mp4", 1.2, 1.7, "a copy can start from"},
        {"parameters that change inside", changingParameters, "e.mkv", 1.5, 3.3, "parameters change in the range"},
        {"a container that does not take it as it is", h264, "d.avi", 1.3, 2.5, "not MP4, MOV or Matroska"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string log;
        ASSERT_GT(cut(c.source(), out(c.output), c.start, c.stop, &log), 0) << log;
        EXPECT_NE(log.find("cut encoded"), std::string::npos) << log;
        EXPECT_NE(log.find(c.reason), std::string::npos) << log;
        EXPECT_TRUE(ffmpegDecodesCleanly(out(c.output)));
        EXPECT_EQ(framesOf(out(c.output)).hashes.size(), static_cast<size_t>(pictureCount(c.stop - c.start)));
    }
}

TEST_F(SmartCutTest, ParametersThatChangeOnlyPastTheRangeDoNotStopTheCopy) {
    const std::string output = out("before.mkv");
    std::string log;
    ASSERT_GT(cut(changingParameters(), output, 0.5, 1.7, &log), 0) << log;
    EXPECT_NE(log.find("cut by copy"), std::string::npos) << log;
    EXPECT_TRUE(ffmpegDecodesCleanly(output));
    EXPECT_EQ(framesOf(output).hashes.size(), static_cast<size_t>(pictureCount(1.2)));
}

TEST_F(SmartCutTest, TheTwoPiecesOfAnInvertedTrimJoinIntoTheSourceLessTheRange) {
    const std::string source = h264();
    const std::string first = out("first.mp4");
    const std::string second = out("second.mp4");
    ASSERT_GT(cut(source, first, 0.0, 1.3, nullptr), 0);
    ASSERT_GT(cut(source, second, 2.62, 4.0, nullptr), 0);

    JOIN_HANDLE join = apiMediaJoinCreate();
    ASSERT_NE(join, nullptr);
    ASSERT_NE(apiMediaJoinAddMediaClip(join, first.c_str(), 0, 0), nullptr);
    ASSERT_NE(apiMediaJoinAddMediaClip(join, second.c_str(), 0, 0), nullptr);
    EXPECT_GT(apiMediaJoinSetVideoCodec(join, "copy"), 0);
    EXPECT_GT(apiMediaJoinSetAudioCodec(join, "copy"), 0);
    const std::string joined = out("joined.mp4");
    EXPECT_GT(apiMediaJoinSetOutputPath(join, joined.c_str()), 0);
    EXPECT_GT(apiMediaJoinStart(join), 0);
    apiMediaJoinClose(join);

    EXPECT_TRUE(ffmpegDecodesCleanly(joined));
    EXPECT_EQ(ffprobe(joined).count("video"), 1);
    const Frames all = framesOf(source);
    const Frames got = framesOf(joined);
    const int cutFrom = pictureCount(1.3); // 33
    const int cutTo = pictureAt(2.62);     // 65
    ASSERT_EQ(got.hashes.size(), all.hashes.size() - (cutTo - cutFrom));
    for (size_t k = 0; k < got.hashes.size(); ++k) {
        const size_t s = static_cast<int>(k) < cutFrom ? k : k + (cutTo - cutFrom);
        const bool copied = s < 25 || s >= 75;
        if (copied) {
            EXPECT_EQ(got.hashes[k], all.hashes[s]) << "picture " << s;
        } else {
            EXPECT_LT(meanAbsoluteDifference(got.grey[k], all.grey[s]), kEdgeTolerance) << "picture " << s;
        }
    }
}
