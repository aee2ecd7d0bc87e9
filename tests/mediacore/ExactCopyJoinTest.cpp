// Stream-copy joins of clips with ranges keep exactly the pictures of each range, whatever the key frames: the
// inverted trim the batch cutter writes, on H.264 and HEVC with long groups of pictures and reordered pictures.
#include "JoinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

using namespace jointest;

namespace {
// Each picture's brightness tells which picture it is (16 + 10n mod 220). A whole picture changing every frame
// is hard on an encoder short of bits; the generous bit rate, which the encoded edges keep, leaves it enough.
std::string brightnessClip(const std::string& name, const std::string& codecArgs) {
    return MediaFixtures::make(name, "-f lavfi -i \"color=gray:size=160x120:rate=30:duration=5,format=yuv420p,"
                                     "geq=lum='16+mod(N*10,220)':cb=128:cr=128,noise=alls=5:allf=t+u\" "
                                     "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=5 " +
                                         codecArgs + " -b:v 1500k -c:a aac -b:a 96k -shortest");
}

// Mean brightness of every picture the ffmpeg program decodes from the file, in order.
std::vector<double> pictureLevels(const std::string& path) {
    std::string out = captureOutput("ffprobe -v error -f lavfi -i \"movie=" + path +
                                    ",signalstats\" -show_entries frame_tags=lavfi.signalstats.YAVG -of csv=p=0 "
                                    "2>/dev/null");
    std::vector<double> levels;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            levels.push_back(std::stod(line));
    return levels;
}

// The pictures' times on the file's timeline (from the file's start time), in presentation order.
std::vector<double> pictureTimes(const std::string& path) {
    std::vector<double> times = ffprobePacketTimes(path, "v:0");
    std::sort(times.begin(), times.end());
    const double origin = std::atof(
        captureOutput("ffprobe -v error -show_entries format=start_time -of csv=p=0 " + MediaFixtures::quote(path))
            .c_str());
    for (double& t : times)
        t -= origin;
    return times;
}
} // namespace

TEST(ExactCopyJoin, InvertedTrimKeepsExactlyThePicturesAroundTheRange) {
    struct Case {
        const char* what;
        std::string clip;
        const char* extension;
        double removeFrom; // seconds
        double removeTo;
    };
    const std::string h264 = "-c:v libx264 -preset veryfast -g 60 -keyint_min 60 -sc_threshold 0";
    const Case cases[] = {
        {"H.264 in MP4", brightnessClip("exact_join_h264.mp4", h264), "mp4", 1.0, 4.0},
        {"H.264 in MP4, mid-picture ends", brightnessClip("exact_join_h264.mp4", h264), "mp4", 1.51, 3.27},
        {"H.264 in Matroska, mid-picture ends", brightnessClip("exact_join_h264.mkv", h264), "mkv", 1.51, 3.27},
        {"HEVC in MP4",
         brightnessClip("exact_join_hevc.mp4", "-c:v libx265 -preset ultrafast -tag:v hvc1 "
                                               "-x265-params keyint=60:min-keyint=60:scenecut=0:log-level=error"),
         "mp4", 1.2, 2.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.clip.empty());
        std::string dir = MediaFixtures::freshDir("exact-copy-join");
        std::string output = dir + "/trimmed." + c.extension;
        Join join;
        ASSERT_NE(join.add(c.clip, 0, c.removeFrom), nullptr);
        // As the batch cutter does, the part after the range runs to the file's duration.
        ASSERT_NE(join.add(c.clip, c.removeTo, ffprobe(c.clip).duration), nullptr);
        ASSERT_GT(apiMediaJoinSetAudioCodec(join.h, "copy"), 0);
        ASSERT_GT(apiMediaJoinSetVideoCodec(join.h, "copy"), 0);
        ASSERT_GT(apiMediaJoinSetOutputPath(join.h, output.c_str()), 0);
        ASSERT_GE(apiMediaJoinStart(join.h), 0);

        // The pictures kept: those whose time lies before the range, then those from the one on screen at its end.
        const std::vector<double> times = pictureTimes(c.clip);
        const std::vector<double> source = pictureLevels(c.clip);
        ASSERT_EQ(times.size(), source.size());
        size_t resume = 0;
        while (resume + 1 < times.size() && times[resume + 1] <= c.removeTo + 1e-6)
            ++resume;
        std::vector<double> expected;
        for (size_t n = 0; n < times.size(); ++n)
            if (times[n] < c.removeFrom - 1e-6 || n >= resume)
                expected.push_back(source[n]);
        const std::vector<double> levels = pictureLevels(output);
        ASSERT_EQ(levels.size(), expected.size());
        for (size_t i = 0; i < levels.size(); ++i)
            ASSERT_NEAR(levels[i], expected[i], 4.0) << "picture " << i;

        FfprobeResult out = ffprobe(output);
        ASSERT_TRUE(out.ok);
        EXPECT_EQ(out.firstVideo()->codecName, ffprobe(c.clip).firstVideo()->codecName);
        // The pictures last the parts' lengths, within one picture; the copied sound ends at whole frames.
        const std::vector<double> shown = pictureTimes(output);
        EXPECT_NEAR(shown.back() + 1.0 / 30 - shown.front(), 5.0 - (c.removeTo - c.removeFrom), 1.0 / 30 + 0.002);
        for (size_t i = 1; i < shown.size(); ++i)
            EXPECT_LT(shown[i] - shown[i - 1], 1.5 / 30) << "a gap after picture " << i - 1;
        EXPECT_NEAR(out.duration, 5.0 - (c.removeTo - c.removeFrom), 0.1);
        EXPECT_TRUE(ffmpegDecodesCleanly(output));
        EXPECT_EQ(enginetest::filesIn(dir), std::vector<std::string>{std::string("trimmed.") + c.extension});
    }
}
