// Sources whose timing is damaged or odd: one packet's timestamp far off the rest, elementary streams that carry no
// time at all. Outputs are checked with the ffprobe program.

#include "EngineTestSupport.h"
#include "JoinTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using enginetest::convert;

namespace {

long long countedFrames(const std::string& path) {
    const std::string out = captureOutput("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                                          "stream=nb_read_frames -of csv=p=0 " +
                                          MediaFixtures::quote(path));
    return std::atoll(out.c_str());
}

// 3 s of 75 pictures and a tone in Matroska, one packet of `stream` ("v" or "a") moved 16 s ahead.
std::string oneTimestampMoved(const char* stream) {
    return MediaFixtures::make(std::string("timing_jump16_") + stream + ".mkv",
                               std::string("-f lavfi -i testsrc2=size=320x240:rate=25:duration=3 "
                                           "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 "
                                           "-c:v libx264 -preset ultrafast -bf 0 -pix_fmt yuv420p -c:a libopus "
                                           "-bsf:") +
                                   stream + " 'setts=pts=if(eq(N\\,30)\\,PTS+16000\\,PTS)'");
}

} // namespace

// One block's timestamp 16 s ahead in a 3 s Matroska file is a damaged packet, not a gap: a conversion keeps all
// 75 pictures and 3 s, and a join with it keeps its 3 s.
TEST(DamagedTiming, OneTimestampFarAheadKeepsTheRestOfTheFile) {
    const std::string dir = MediaFixtures::freshDir("timing-jump");
    for (const char* stream : {"v", "a"}) {
        const std::string source = oneTimestampMoved(stream);
        ASSERT_FALSE(source.empty());
        const std::string out = dir + "/converted_" + stream + ".mp4";
        ASSERT_GT(convert(source, out), 0) << stream;
        const FfprobeResult probe = ffprobe(out);
        ASSERT_TRUE(probe.ok) << stream;
        EXPECT_NEAR(probe.duration, 3.0, 0.15) << stream;
        EXPECT_NEAR(static_cast<double>(countedFrames(out)), 75.0, 1.0) << stream;

        jointest::Join join;
        ASSERT_NE(join.add(source), nullptr);
        ASSERT_NE(join.add(jointest::wideThirty()), nullptr);
        const std::string joined = dir + "/joined_" + stream + ".mp4";
        ASSERT_GT(apiMediaJoinSetOutputPath(join.h, joined.c_str()), 0);
        ASSERT_GE(apiMediaJoinStart(join.h), 0) << stream;
        EXPECT_NEAR(ffprobe(joined).duration, 6.0, 0.25) << stream;
    }
}
