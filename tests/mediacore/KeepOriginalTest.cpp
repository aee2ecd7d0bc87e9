// A conversion that changes nothing copies the streams, whatever their codec; with a range, streams whose every
// packet stands alone are copied too, and the rest are encoded to exactly the range's pictures.
#include "EngineTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using enginetest::convert;

namespace {
std::string mpeg4Ac3Avi() {
    return MediaFixtures::make("keep_mpeg4_ac3.avi", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=3 "
                                                     "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 "
                                                     "-c:v mpeg4 -q:v 4 -bf 2 -c:a ac3 -b:a 128k -shortest");
}

std::string cinepakAvi() {
    return MediaFixtures::make("keep_cinepak.avi", "-f lavfi -i testsrc2=size=160x120:rate=15:duration=2 "
                                                   "-f lavfi -i sine=frequency=440:sample_rate=22050:duration=2 "
                                                   "-c:v cinepak -c:a pcm_s16le -shortest");
}

std::string mjpegPcmAvi() {
    return MediaFixtures::make("keep_mjpeg_pcm.avi", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=3 "
                                                     "-f lavfi -i sine=frequency=440:sample_rate=22050:duration=3 "
                                                     "-c:v mjpeg -q:v 5 -c:a pcm_s16le -shortest");
}

// Each stream's packets as stored (size and checksum, in file order), as the ffmpeg program reads them.
std::vector<std::string> packetSums(const std::string& path, const std::string& stream) {
    std::istringstream lines(captureOutput("ffmpeg -nostdin -v error -i " + MediaFixtures::quote(path) +
                                           " -map 0:" + stream + " -c copy -f framemd5 - 2>/dev/null"));
    std::vector<std::string> sums;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        // stream, dts, pts, duration, size, hash: the last two say what the packet holds.
        size_t cut = line.size();
        for (int field = 0; field < 2 && cut != std::string::npos; ++field)
            cut = line.rfind(',', cut - 1);
        sums.push_back(line.substr(cut + 1));
    }
    return sums;
}
} // namespace

TEST(KeepOriginal, UneditedFilesAreCopiedPacketForPacket) {
    for (const std::string& source : {mpeg4Ac3Avi(), cinepakAvi()}) {
        SCOPED_TRACE(source);
        ASSERT_FALSE(source.empty());
        const std::string output = MediaFixtures::freshDir("keep-original") + "/copy.avi";
        ASSERT_GT(convert(source, output), 0);
        for (const char* stream : {"v:0", "a:0"}) {
            const std::vector<std::string> theirs = packetSums(source, stream);
            ASSERT_FALSE(theirs.empty()) << stream;
            EXPECT_EQ(packetSums(output, stream), theirs) << stream;
        }
        EXPECT_TRUE(ffmpegDecodesCleanly(output));
    }
}

TEST(KeepOriginal, RangesCopyStandAlonePacketsAndEncodeTheRest) {
    struct Case {
        std::string source;
        const char* videoCodec;
        bool videoCopied;
        double fps;
    };
    const Case cases[] = {
        {mjpegPcmAvi(), "mjpeg", true, 25},
        {mpeg4Ac3Avi(), "mpeg4", false, 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const std::string output = MediaFixtures::freshDir("keep-original-range") + "/range.avi";
        ASSERT_GT(
            convert(c.source, output, [](CONVERT_HANDLE h) { apiMediaConvertSetCutTime(h, 1'000'000, 2'000'000); }), 0);
        FfprobeResult out = ffprobe(output);
        ASSERT_TRUE(out.ok);
        ASSERT_NE(out.firstVideo(), nullptr);
        EXPECT_EQ(out.firstVideo()->codecName, c.videoCodec);
        const std::vector<std::string> pictures = packetSums(output, "v:0");
        EXPECT_EQ(pictures.size(), size_t(c.fps));
        // Copied pictures are the source's own, from the one at 1 s on.
        const std::vector<std::string> source = packetSums(c.source, "v:0");
        const bool same = std::equal(pictures.begin(), pictures.end(), source.begin() + int(c.fps));
        EXPECT_EQ(same, c.videoCopied);
        EXPECT_TRUE(ffmpegDecodesCleanly(output));
    }
}
