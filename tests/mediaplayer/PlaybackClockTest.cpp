#include "PlaybackClock.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

TEST(PlaybackClockTest, WallClockRunsOnlyWhileStarted) {
    PlaybackClock clock;
    clock.setPosition(1000000);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(clock.positionUs(), 1000000);
    clock.start();
    std::this_thread::sleep_for(50ms);
    const int64_t running = clock.positionUs();
    EXPECT_GE(running, 1040000);
    EXPECT_LT(running, 1500000);
    clock.pause();
    const int64_t paused = clock.positionUs();
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(clock.positionUs(), paused);
}

TEST(PlaybackClockTest, FollowsTheSoundAndCarriesOnWithoutIt) {
    PlaybackClock clock;
    std::optional<int64_t> heard = 5000000;
    clock.setMaster([&] { return heard; });
    clock.start();
    EXPECT_EQ(clock.positionUs(), 5000000);
    heard = 5200000;
    EXPECT_EQ(clock.positionUs(), 5200000);
    // The sound stops (a gap, or its end): the wall clock goes on from the last sample heard.
    heard.reset();
    std::this_thread::sleep_for(20ms);
    const int64_t after = clock.positionUs();
    EXPECT_GE(after, 5215000);
    EXPECT_LT(after, 5700000);
}
