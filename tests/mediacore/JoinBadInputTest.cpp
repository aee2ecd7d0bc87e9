// Bad input to join jobs: each case fails with a clear code, crashes nothing and leaves no file behind.
#include "JoinTestSupport.h"

#include "JoinError.h"

#include <gtest/gtest.h>

#include <fstream>

extern "C" {
#include <libavutil/error.h>
}

using namespace jointest;
namespace fs = std::filesystem;

TEST(JoinBadInput, RefusedClips) {
    std::string dir = MediaFixtures::freshDir("join-bad-clips");
    std::string empty = dir + "/empty.mp4";
    std::ofstream(empty).close();
    std::string noise = dir + "/noise.mp4";
    {
        std::ofstream out(noise, std::ios::binary);
        for (int i = 0; i < 50000; ++i)
            out.put(static_cast<char>((i * 7919) % 251));
    }
    struct Case {
        const char* what;
        std::string path;
        double start, stop; // seconds
        int code;
    };
    const std::string clip = MediaFixtures::mp4(); // 2 s
    const Case cases[] = {
        {"missing file", dir + "/missing.mp4", 0, 0, AVERROR(ENOENT)},
        {"zero-byte file", empty, 0, 0, AVERROR_INVALIDDATA},
        {"random bytes", noise, 0, 0, 0},
        {"range past the end", clip, 5, 10, mediacore::kJoinBadRange},
        {"stop past the end", clip, 1, 3, mediacore::kJoinBadRange},
        {"stop before start", clip, 1.5, 0.5, mediacore::kJoinBadRange},
        {"stop equal to start", clip, 1, 1, mediacore::kJoinBadRange},
        {"negative start", clip, -1, 1, mediacore::kJoinBadRange},
        {"start only", clip, 1, 0, mediacore::kJoinBadRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string output = dir + "/out.mp4";
        Join join;
        ASSERT_NE(join.add(MediaFixtures::mp4()), nullptr);
        EXPECT_EQ(join.add(c.path, c.start, c.stop), nullptr);
        ASSERT_GT(apiMediaJoinSetOutputPath(join.h, output.c_str()), 0);
        // The job does not quietly join what is left: it fails with the refusal's code.
        int rc = apiMediaJoinStart(join.h);
        EXPECT_LT(rc, 0);
        if (c.code != 0) {
            EXPECT_EQ(rc, c.code);
        }
        EXPECT_FALSE(fs::exists(output));
    }
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"empty.mp4", "noise.mp4"}));
}

TEST(JoinBadInput, RefusedJobs) {
    std::string dir = MediaFixtures::freshDir("join-bad-jobs");
    std::string output = dir + "/out.mp4";
    {
        Join join;
        ASSERT_GT(apiMediaJoinSetOutputPath(join.h, output.c_str()), 0);
        EXPECT_EQ(apiMediaJoinStart(join.h), mediacore::kJoinNoClips);
    }
    {
        Join join;
        join.add(MediaFixtures::mp4());
        JOIN_CLIP_HANDLE last = join.add(MediaFixtures::mp4());
        ASSERT_GT(apiMediaJoinSetTransition(join.h, last, 3, 500'000), 0);
        ASSERT_GT(apiMediaJoinSetOutputPath(join.h, output.c_str()), 0);
        EXPECT_EQ(apiMediaJoinStart(join.h), mediacore::kJoinTransitionOnLastClip);
    }
    {
        Join join;
        join.add(MediaFixtures::mp4());
        EXPECT_EQ(apiMediaJoinStart(join.h), AVERROR(EINVAL)) << "no output path";
    }
    EXPECT_TRUE(filesIn(dir).empty());
}

TEST(JoinBadInput, RefusedSettings) {
    std::string dir = MediaFixtures::freshDir("join-bad-settings");
    Join join;
    Join other;
    JOIN_CLIP_HANDLE clip = join.add(MediaFixtures::mp4());
    JOIN_CLIP_HANDLE foreign = other.add(MediaFixtures::mp4());
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(apiMediaJoinSetVideoCodec(join.h, "no-such-codec"), AVERROR_ENCODER_NOT_FOUND);
    EXPECT_EQ(apiMediaJoinSetAudioCodec(join.h, "h264"), AVERROR_ENCODER_NOT_FOUND) << "a video codec for sound";
    EXPECT_LT(apiMediaJoinSetVideoCodec(join.h, nullptr), 0);
    EXPECT_EQ(apiMediaJoinSetTransition(join.h, clip, 4, 1'000'000), mediacore::kJoinBadTransition);
    EXPECT_EQ(apiMediaJoinSetTransition(join.h, clip, 3, 0), mediacore::kJoinBadTransition);
    EXPECT_EQ(apiMediaJoinSetTransition(join.h, foreign, 3, 1'000'000), mediacore::kJoinBadClip);
    EXPECT_EQ(apiMediaJoinSetAudioVolumn(join.h, nullptr, 1.0), mediacore::kJoinBadClip);
    EXPECT_LT(apiMediaJoinSetAudioVolumn(join.h, clip, -1.0), 0);
    EXPECT_LT(apiMediaJoinSetVideoFrameSize(join.h, 0, 240), 0);
    EXPECT_LT(apiMediaJoinSetVideoFrameSize(join.h, 320, -240), 0);
    EXPECT_LT(apiMediaJoinSetVideoFrameSize(join.h, 32768, 240), 0);
    EXPECT_LT(apiMediaJoinSetVideoFps(join.h, -25), 0);
    EXPECT_LT(apiMediaJoinSetVideoBitrate(join.h, -1), 0);
    EXPECT_GT(apiMediaJoinSetAudioBitrate(join.h, 0), 0) << "0 leaves the rate unset";
    EXPECT_LT(apiMediaJoinSetAudioEncodeContext(join.h, -2, 44100), 0);
    EXPECT_EQ(apiMediaJoinSetOutputPath(join.h, (dir + "/out.nosuchcontainer").c_str()), AVERROR_MUXER_NOT_FOUND);
    EXPECT_LT(apiMediaJoinSetOutputPath(join.h, (dir + "/missing-folder/out.mp4").c_str()), 0);
    EXPECT_EQ(apiMediaJoinAddMediaClip(nullptr, MediaFixtures::mp4().c_str(), 0, 0), nullptr);
    EXPECT_LT(apiMediaJoinStart(nullptr), 0);
    EXPECT_EQ(apiMediaJoinGetProgress(nullptr), 0.0);
    EXPECT_TRUE(filesIn(dir).empty());
}

// An existing file is never replaced: the output path is refused, and a file that appears before the end makes
// the job fail instead of overwriting it.
TEST(JoinBadInput, NeverOverwrites) {
    std::string dir = MediaFixtures::freshDir("join-existing");
    std::string output = dir + "/taken.mp4";
    std::ofstream(output) << "keep me";
    Join join;
    join.add(MediaFixtures::mp4());
    EXPECT_EQ(apiMediaJoinSetOutputPath(join.h, output.c_str()), AVERROR(EEXIST));

    std::string later = dir + "/later.mp4";
    Join second;
    second.add(MediaFixtures::mp4());
    ASSERT_GT(apiMediaJoinSetOutputPath(second.h, later.c_str()), 0);
    std::ofstream(later) << "arrived first";
    EXPECT_LT(apiMediaJoinStart(second.h), 0);
    std::ifstream kept(later);
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "arrived first");
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"later.mp4", "taken.mp4"}));
}
