// The player on the engine's frame-accurate cut of a long-group clip: copied groups of pictures between encoded
// edges, each edge with parameter sets of its own. It plays through the seams to the end, ends once, and the last
// picture it shows is the output's last frame.
#include "LQMoviePlayer.h"
#include "PlayerTestSupport.h"

#include "Dispatch.h"
#include "libMediaCore.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace PlayerTestSupport;

namespace {

// The presentation times of the file's video frames, in seconds, as the ffmpeg program decodes them.
std::vector<double> frameTimes(const std::string& path) {
    std::vector<double> times;
    std::istringstream lines(captureOutput("ffprobe -v error -select_streams v:0 -show_entries frame=pts_time "
                                           "-of csv=p=0 " +
                                           MediaFixtures::quote(path)));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            times.push_back(std::atof(line.c_str()));
    return times;
}

} // namespace

TEST(LQMoviePlayerCutOutputTest, PlaysAFrameAccurateCopyCutToItsLastFrame) {
    // 4 s at 25 fps, B-frames, a key frame every second: a cut from 0.5 s to 2.7 s copies the groups at 1 s and
    // 2 s and encodes the pictures before 1 s and from the end of the copy to 2.7 s.
    const std::string picture = "-f lavfi -i testsrc2=size=320x240:rate=25:duration=4";
    const std::string sound = "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 -c:a aac -b:a 96k";
    const std::string video = "-c:v libx264 -preset veryfast -bf 3 -g 25 -keyint_min 25 -sc_threshold 0";
    const std::string source = MediaFixtures::make("player_cut_source.mp4",
                                                   picture + " " + sound + " " + video + " -pix_fmt yuv420p -shortest");
    const std::string output = MediaFixtures::freshDir("player_cut") + "/cut.mp4";
    testing::internal::CaptureStderr();
    CONVERT_HANDLE job = apiMediaConvertCreate();
    EXPECT_GT(apiMediaConvertSetInputMedia(job, source.c_str()), 0);
    EXPECT_GT(apiMediaConvertSetCutTime(job, 500'000, 2'700'000), 0);
    EXPECT_GT(apiMediaConvertSetOutputPath(job, output.c_str()), 0);
    const int rc = apiMediaConvertStart(job);
    apiMediaConvertClose(job);
    const std::string log = testing::internal::GetCapturedStderr();
    ASSERT_GT(rc, 0) << log;
    ASSERT_NE(log.find("cut by copy and encoding"), std::string::npos) << log;
    const std::vector<double> times = frameTimes(output);
    ASSERT_EQ(times.size(), 55u); // 2.2 s at 25 fps

    LQMoviePlayer player(QString::fromStdString(output), ViewRect{0, 0, 320, 240});
    ASSERT_EQ(player.playerStatus(), LQMoviePlayer::Paused);
    ASSERT_TRUE(waitUntilShown(player));
    int ends = 0;
    double timeAtEnd = -1;
    std::vector<uint8_t> pictureAtEnd;
    player.setPlayerDidEndBlock([&] {
        ++ends;
        timeAtEnd = player.currentTime().seconds();
        pictureAtEnd = snapshot(player, 320, 240);
    });
    player.play();
    ASSERT_TRUE(Dispatch::runUntil([&] { return ends > 0; }, 20000)) << "the end never came";
    runFor(300);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(player.playerStatus(), LQMoviePlayer::Paused);
    EXPECT_NEAR(timeAtEnd, player.duration().seconds(), 1e-6);
    // Playing went through the copied groups and both edges, not straight to the end.
    EXPECT_GT(player.statistics().presented + player.statistics().dropped, times.size() / 2);

    // The picture left on screen is the last frame, not the one before it.
    ASSERT_FALSE(pictureAtEnd.empty());
    const std::vector<uint8_t> last = engineSnapshot(output, times.back(), 320, 240);
    const std::vector<uint8_t> beforeLast = engineSnapshot(output, times[times.size() - 2], 320, 240);
    ASSERT_FALSE(last.empty());
    ASSERT_FALSE(beforeLast.empty());
    const double toLast = meanDifference(pictureAtEnd, last);
    EXPECT_LT(toLast, 1.0);
    EXPECT_LT(toLast, meanDifference(pictureAtEnd, beforeLast));
}
