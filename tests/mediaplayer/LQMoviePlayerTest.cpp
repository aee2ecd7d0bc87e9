#include "LQMoviePlayer.h"
#include "MoviePlayerView.h"
#include "PlayerTestSupport.h"
#include "WorkerRetirement.h"

#include "Dispatch.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPalette>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace PlayerTestSupport;

namespace {

const ViewRect kFrame{0, 0, 320, 240};

std::unique_ptr<LQMoviePlayer> openPlayer(const std::string& path) {
    return std::make_unique<LQMoviePlayer>(QString::fromStdString(path), kFrame);
}

} // namespace

TEST(LQMoviePlayerTest, OpensWithItsDurationAndShowsTheFirstFrame) {
    const std::string path = MediaFixtures::mp4();
    auto player = openPlayer(path);
    // Known on return, before any event ran.
    EXPECT_NEAR(player->duration().seconds(), ffprobe(path).duration, 0.05);
    EXPECT_EQ(player->playerStatus(), LQMoviePlayer::Paused);
    EXPECT_EQ(player->currentTime().microseconds(), 0);

    ASSERT_TRUE(waitUntilShown(*player));
    auto* view = static_cast<MoviePlayerView*>(player->view());
    EXPECT_FALSE(view->picture().isNull());
    const std::vector<uint8_t> shown = snapshot(*player, 320, 240);
    ASSERT_FALSE(shown.empty());
    EXPECT_LT(meanDifference(shown, engineSnapshot(path, 0, 320, 240)), 2.0);
}

TEST(LQMoviePlayerTest, SeekShowsTheExactFramePlayingOrPaused) {
    // One key frame and B-frames: every seek decodes its way from the start to the frame.
    const std::string path = longGopClip();
    auto player = openPlayer(path);
    ASSERT_TRUE(waitUntilShown(*player));
    struct Case {
        MediaTime time;
        double expectedSeconds; // where the playhead is right after the call
    };
    const Case cases[] = {
        {MediaTime::make(1, 30), 1.0 / 30},
        {MediaTime::withSeconds(2.5, 1000000000), 2.5},
        {MediaTime::withSeconds(1.23, 600), 1.23},
        {MediaTime::withSeconds(0.52, 1000000000), 0.52}, // backwards
        {MediaTime::withSeconds(3.98, 1000000000), 3.98},
        {MediaTime::zero(), 0},
        {MediaTime::withSeconds(60, 1), player->duration().seconds()}, // past the end: the last frame
    };
    for (const Case& c : cases) {
        player->seekTime(c.time);
        EXPECT_NEAR(player->currentTime().seconds(), c.expectedSeconds, 1e-6);
        ASSERT_TRUE(waitUntilShown(*player)) << c.expectedSeconds;
        const double at = std::min(c.expectedSeconds, player->duration().seconds());
        const std::vector<uint8_t> shown = snapshot(*player, 320, 240);
        EXPECT_LT(meanDifference(shown, engineSnapshot(path, at, 320, 240)), 2.0) << "at " << at;
        // A frame nearby looks different, so the comparison tells frames apart.
        const double neighbour = at >= 0.1 ? at - 0.1 : at + 0.1;
        EXPECT_GT(meanDifference(shown, engineSnapshot(path, neighbour, 320, 240)), 2.0) << "at " << at;
    }
    // An independent decoder agrees with the last one.
    int w = 0, h = 0;
    player->seekTime(MediaTime::withSeconds(2.0, 1000));
    ASSERT_TRUE(waitUntilShown(*player));
    std::vector<unsigned char> rgb = ffmpegFrameRgb(path, 2.0, &w, &h);
    ASSERT_EQ(w, 320);
    EXPECT_LT(meanDifferenceToRgb(snapshot(*player, 320, 240), rgb), 3.0);
}

TEST(LQMoviePlayerTest, ExactSeeksInHevcWithBFramesShowWhatAnotherDecoderShows) {
    // One key frame, B-frames some of which others refer to, and every frame a shade brighter than the one
    // before: on the way to a frame only the pictures nothing refers to may be left out, or the frame shown
    // would be built on a wrong reference.
    const std::string path = MediaFixtures::make(
        "player_hevc_long_gop.mp4",
        "-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 "
        "-vf geq=lum='clip(lum(X\\,Y)+mod(N*9\\,90)-45\\,16\\,235)':cb='cb(X\\,Y)':cr='cr(X\\,Y)' "
        "-c:v libx265 -preset ultrafast -x265-params keyint=1000:min-keyint=1000:scenecut=0:bframes=4:b-pyramid=1 "
        "-pix_fmt yuv420p -tag:v hvc1");
    ASSERT_FALSE(path.empty());
    auto player = openPlayer(path);
    ASSERT_TRUE(waitUntilShown(*player));
    for (double seconds : {1.52, 2.96, 0.64, 3.88, 3.92, 2.0}) {
        player->seekTime(MediaTime::withSeconds(seconds, 1000000000));
        ASSERT_TRUE(waitUntilShown(*player)) << seconds;
        int w = 0, h = 0;
        const std::vector<unsigned char> rgb = ffmpegFrameRgb(path, seconds, &w, &h);
        ASSERT_EQ(w, 320);
        const std::vector<uint8_t> shown = snapshot(*player, 320, 240);
        EXPECT_LT(meanDifferenceToRgb(shown, rgb), 3.0) << seconds;
        // The frame before looks different, so the comparison tells them apart.
        const std::vector<unsigned char> before = ffmpegFrameRgb(path, seconds - 0.04, &w, &h);
        EXPECT_GT(meanDifferenceToRgb(shown, before), 3.0) << seconds;
    }
}

TEST(LQMoviePlayerTest, SeekWhileTheFirstPicturesAreStillDecodedShowsTheTarget) {
    // The decoder is caught at different points of filling its queue; frames inside it must not be skipped over.
    const std::string path = longGopClip();
    struct Case {
        int delayMs;
        double seconds;
    };
    const Case cases[] = {{0, 0.08}, {0, 0.3}, {3, 0.12}, {10, 0.2}, {30, 0.28}, {60, 0.16}};
    for (const Case& c : cases) {
        auto player = openPlayer(path);
        runFor(c.delayMs);
        player->seekTime(MediaTime::withSeconds(c.seconds, 1000000000));
        ASSERT_TRUE(waitUntilShown(*player));
        EXPECT_LT(meanDifference(snapshot(*player, 320, 240), engineSnapshot(path, c.seconds, 320, 240)), 2.0)
            << c.seconds << " after " << c.delayMs << " ms";
    }
}

TEST(LQMoviePlayerTest, ARefreshWhileASeekIsOnItsWayShowsTheSeeksTarget) {
    const std::string path = longGopClip();
    for (double seconds : {2.4, 0.6, 3.2}) {
        auto player = openPlayer(path);
        ASSERT_TRUE(waitUntilShown(*player));
        player->seekTime(MediaTime::withSeconds(seconds, 1000000000));
        player->Refresh();
        ASSERT_TRUE(waitUntilShown(*player));
        EXPECT_NEAR(player->currentTime().seconds(), seconds, 1e-6);
        EXPECT_LT(meanDifference(snapshot(*player, 320, 240), engineSnapshot(path, seconds, 320, 240)), 2.0) << seconds;
    }
}

TEST(LQMoviePlayerTest, ADraggedSliderShowsPicturesOnTheWayAndRestsOnTheExactFrame) {
    // Seeks every 3 ms, forward then back, on a clip whose exact frames take a while (going back, each is decoded
    // from the start): pictures come on the way, and once the moves stop the exact frame of the last one.
    const std::string path = draggingClip();
    auto player = std::make_unique<LQMoviePlayer>(QString::fromStdString(path), ViewRect{0, 0, 480, 270});
    ASSERT_TRUE(waitUntilShown(*player));
    const uint64_t resultsBefore = player->statistics().seekResults;
    std::vector<double> moves;
    for (int i = 0; i <= 40; ++i)
        moves.push_back(2.0 + 0.08 * i); // 2.0 .. 5.2 s
    for (int i = 0; i <= 20; ++i)
        moves.push_back(5.0 - 0.05 * i - 0.01); // back to 3.99 s
    for (double seconds : moves) {
        player->seekTime(MediaTime::withSeconds(seconds, 1000000000));
        runFor(3);
        EXPECT_NEAR(player->currentTime().seconds(), seconds, 1e-6);
    }
    EXPECT_TRUE(player->isSeeking());
    ASSERT_TRUE(waitUntilShown(*player));
    EXPECT_GE(player->statistics().seekPreviews, 1u);
    EXPECT_GT(player->statistics().seekResults, resultsBefore);
    EXPECT_NEAR(player->currentTime().seconds(), moves.back(), 1e-6);
    EXPECT_LT(meanDifference(snapshot(*player, 480, 270), engineSnapshot(path, moves.back(), 480, 270)), 2.0);
    EXPECT_GT(meanDifference(snapshot(*player, 480, 270), engineSnapshot(path, moves.back() - 0.04, 480, 270)), 2.0);
}

TEST(LQMoviePlayerTest, PlayingAdvancesTheTimeAndPausingHoldsIt) {
    auto player = openPlayer(longGopClip());
    ASSERT_TRUE(waitUntilShown(*player));
    QElapsedTimer wall;
    wall.start();
    player->play();
    EXPECT_EQ(player->playerStatus(), LQMoviePlayer::Playing);
    // The time advances with the wall clock, never ahead of it (a busy machine may start it late, so the wait is
    // bounded by what was reached, not by a fixed span).
    ASSERT_TRUE(Dispatch::runUntil([&] { return player->currentTime().seconds() >= 0.4; }, 10000));
    const double played = player->currentTime().seconds();
    EXPECT_LE(played, wall.elapsed() / 1000.0 + 0.05);
    EXPECT_GT(player->statistics().presented, 5u);

    player->pause();
    EXPECT_EQ(player->playerStatus(), LQMoviePlayer::Paused);
    const MediaTime held = player->currentTime();
    runFor(200);
    EXPECT_EQ(player->currentTime().value, held.value);
    // The paused picture is the one at the paused time.
    const std::vector<uint8_t> shown = snapshot(*player, 320, 240);
    EXPECT_LT(meanDifference(shown, engineSnapshot(longGopClip(), held.seconds(), 320, 240)), 6.0);
}

TEST(LQMoviePlayerTest, EndBlockRunsOnceOnTheMainThread) {
    auto player = openPlayer(MediaFixtures::mp4());
    int calls = 0;
    bool onMainThread = false;
    double timeAtEnd = 0;
    player->setPlayerDidEndBlock([&] {
        ++calls;
        onMainThread = QThread::currentThread() == QApplication::instance()->thread();
        timeAtEnd = player->currentTime().seconds();
    });
    player->seekTime(MediaTime::withSeconds(1.6, 1000000000));
    player->play();
    ASSERT_TRUE(Dispatch::runUntil([&] { return calls > 0; }, 5000));
    runFor(400);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(onMainThread);
    EXPECT_NEAR(timeAtEnd, player->duration().seconds(), 1e-6);
    EXPECT_EQ(player->playerStatus(), LQMoviePlayer::Paused);

    // The windows' end blocks rewind and may play again: the end comes again, once.
    player->seekTime(MediaTime::withSeconds(1.8, 1000000000));
    player->play();
    ASSERT_TRUE(Dispatch::runUntil([&] { return calls > 1; }, 5000));
    runFor(300);
    EXPECT_EQ(calls, 2);
}

TEST(LQMoviePlayerTest, FilesThatCannotBeOpenedGiveAPlayerWithoutMedia) {
    const std::string dir = MediaFixtures::freshDir("player_bad");
    const std::string empty = dir + "/empty.mp4";
    const std::string noise = dir + "/noise.mp4";
    std::ofstream(empty).close();
    {
        std::ofstream out(noise, std::ios::binary);
        for (int i = 0; i < 100000; ++i)
            out.put(static_cast<char>((i * 7919) & 0xff));
    }
    for (const std::string& path : {dir + "/missing.mp4", empty, noise, dir}) {
        auto player = openPlayer(path);
        EXPECT_EQ(player->playerStatus(), LQMoviePlayer::NoMedia) << path;
        EXPECT_EQ(player->duration().value, 0) << path;
        ASSERT_NE(player->view(), nullptr);
        player->play();
        player->seekTime(MediaTime::withSeconds(1, 1));
        player->SetRotateAngle(90);
        player->Refresh();
        EXPECT_EQ(player->playerStatus(), LQMoviePlayer::NoMedia);
        EXPECT_EQ(player->currentTime().value, 0);
        EXPECT_FALSE(player->hasDecodingThread());
        int w = 16, h = 16;
        std::vector<uint8_t> buffer(16 * 16 * 4, 0xab);
        EXPECT_EQ(player->Snapshot(&w, &h, buffer.data()), 0);
        EXPECT_EQ(buffer[0], 0xab);
    }
}

TEST(LQMoviePlayerTest, AFileThatBreaksOffPlaysToTheBreakAndEnds) {
    // The index is at the front, so the file opens; its data stops at 40 % of the 4 s.
    const std::string whole = MediaFixtures::make(
        "player_faststart.mp4", "-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 "
                                "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                                "-c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac -shortest "
                                "-movflags +faststart");
    const std::string broken = MediaFixtures::freshDir("player_broken") + "/broken.mp4";
    std::filesystem::copy_file(whole, broken);
    std::filesystem::resize_file(broken, std::filesystem::file_size(whole) * 4 / 10);

    auto player = openPlayer(broken);
    ASSERT_EQ(player->playerStatus(), LQMoviePlayer::Paused);
    int calls = 0;
    player->setPlayerDidEndBlock([&] { ++calls; });
    QElapsedTimer wall;
    wall.start();
    player->play();
    ASSERT_TRUE(Dispatch::runUntil([&] { return calls > 0; }, 8000));
    // It ends where the data ends, not after the stated four seconds.
    EXPECT_LT(wall.elapsed(), 3500);
    EXPECT_EQ(calls, 1);
}

TEST(LQMoviePlayerTest, StopAndDestructionReleaseEveryThread) {
    const int before = threadCount();
    {
        auto player = openPlayer(longGopClip());
        ASSERT_TRUE(waitUntilShown(*player));
        player->play();
        runFor(300);
        EXPECT_GT(threadCount(), before);
        player->stop();
        EXPECT_FALSE(player->hasDecodingThread());
        // The thread is ended off the main thread, at once.
        EXPECT_TRUE(WorkerRetirement::waitForAll(5000));
        EXPECT_TRUE(Dispatch::runUntil([&] { return threadCount() == before; }, 5000)) << threadCount();
        EXPECT_EQ(player->playerStatus(), LQMoviePlayer::Paused);
        // The joiner's stop rewinds: the player opens its decoding again for that.
        player->seekTime(MediaTime::zero());
        ASSERT_TRUE(waitUntilShown(*player));
        player->play();
        runFor(200);
        EXPECT_GT(player->currentTime().seconds(), 0.05);
        // Destroyed while playing.
    }
    EXPECT_TRUE(WorkerRetirement::waitForAll(5000));
    EXPECT_TRUE(Dispatch::runUntil([&] { return threadCount() == before; }, 5000)) << threadCount();
}

TEST(LQMoviePlayerTest, StoppedOrDroppedInTheMiddleOfASeekWhileItsThreadStillEnds) {
    // The decoding thread is ended off the main thread: it may still be decoding toward the seek's frame, and
    // writing into the player's queue, when the player plays on from elsewhere or is gone.
    const std::string path = longGopClip();
    const int before = threadCount();
    for (int round = 0; round < 6; ++round) {
        auto player = openPlayer(path);
        player->seekTime(MediaTime::withMicroseconds(3900000));
        runFor(round * 5);
        if (round % 2 == 0) {
            player->stop();
            // Played on from the start by a new thread while the old one may still be ending.
            player->seekTime(MediaTime::zero());
            ASSERT_TRUE(waitUntilShown(*player));
            EXPECT_EQ(player->shownPictureUs(), 0);
        }
        // Dropped with its thread still working.
    }
    EXPECT_TRUE(WorkerRetirement::waitForAll(10000));
    runFor(50); // wake-ups posted by the ended threads find no player
    EXPECT_TRUE(Dispatch::runUntil([&] { return threadCount() == before; }, 5000)) << threadCount();
}

TEST(LQMoviePlayerTest, SnapshotNeverWritesPastTheBufferOrRaisesTheSize) {
    auto player = openPlayer(MediaFixtures::mp4());
    ASSERT_TRUE(waitUntilShown(*player));
    struct Case {
        int width, height;
        int expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {320, 240, 320, 240}, {160, 120, 160, 120},
        {640, 480, 640, 480}, {100, 300, 100, 75}, // another shape: fitted inside, not stretched
        {300, 100, 133, 100},
    };
    for (const Case& c : cases) {
        const size_t size = static_cast<size_t>(c.width) * c.height * 4;
        std::vector<uint8_t> buffer(size + 64, 0xcd);
        int w = c.width, h = c.height;
        EXPECT_EQ(player->Snapshot(&w, &h, buffer.data()), 1);
        EXPECT_EQ(w, c.expectedWidth);
        EXPECT_EQ(h, c.expectedHeight);
        for (size_t i = size; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 0xcd) << c.width << "x" << c.height;
        EXPECT_EQ(buffer[3], 255); // opaque
    }
    int zero = 0, h = 10;
    uint8_t byte = 0;
    EXPECT_EQ(player->Snapshot(&zero, &h, &byte), 0);
}

TEST(LQMoviePlayerTest, SoundOnlyFilePlaysToItsEnd) {
    auto player = openPlayer(MediaFixtures::mp3WithCover());
    EXPECT_EQ(player->playerStatus(), LQMoviePlayer::Paused);
    EXPECT_NEAR(player->duration().seconds(), 2.0, 0.1);
    int calls = 0;
    player->setPlayerDidEndBlock([&] { ++calls; });
    player->seekTime(MediaTime::withSeconds(1.5, 1000));
    player->play();
    ASSERT_TRUE(Dispatch::runUntil([&] { return calls > 0; }, 5000));
    EXPECT_EQ(player->currentTime().value, player->duration().value);
    int w = 8, h = 8;
    std::vector<uint8_t> buffer(8 * 8 * 4);
    EXPECT_EQ(player->Snapshot(&w, &h, buffer.data()), 0); // a cover is not a picture of the media
}

TEST(LQMoviePlayerTest, ViewShowsThePictureAspectFitAndCentredInItsHost) {
    QWidget host;
    host.resize(400, 400);
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, QColor(40, 40, 40));
    host.setPalette(palette);
    host.setAutoFillBackground(true);
    auto player =
        std::make_unique<LQMoviePlayer>(QString::fromStdString(MediaFixtures::mp4()), ViewRect{0, 0, 400, 400});
    player->view()->setParent(&host);
    host.show();
    ASSERT_TRUE(waitUntilShown(*player));
    auto* view = static_cast<MoviePlayerView*>(player->view());
    EXPECT_EQ(view->geometry(), QRect(0, 0, 400, 400));
    EXPECT_EQ(view->pictureRect(), QRect(0, 50, 400, 300));
    player->setFrame(ViewRect{50, 0, 300, 200});
    EXPECT_EQ(view->geometry(), QRect(50, 200, 300, 200));
    EXPECT_EQ(view->pictureRect(), QRect(16, 0, 267, 200));

    // Overlays are the view's children and lie above the picture.
    QWidget overlay(view);
    overlay.setGeometry(0, 0, 10, 10);
    EXPECT_EQ(overlay.parentWidget(), view);

    // To look at: the host with the view showing its picture.
    if (const char* out = std::getenv("CLIPWRIGHT_PLAYER_GRAB")) {
        host.grab().save(QString::fromUtf8(out));
    }
}
