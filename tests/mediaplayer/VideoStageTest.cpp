#include "VideoStage.h"
#include "Demuxer.h"
#include "VideoFrameQueue.h"

#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace {

// A key frame every second, B-frames: in MP4 the index gives each key frame's decoding time, two pictures before
// it is shown.
std::string keyEverySecondClip() {
    return MediaFixtures::make("player_key_every_second.mp4",
                               "-f lavfi -i testsrc2=size=320x240:rate=25:duration=3 "
                               "-c:v libx264 -preset veryfast -bf 3 -g 25 -keyint_min 25 -sc_threshold 0 "
                               "-pix_fmt yuv420p");
}

// Reads the file and hands the stage's packets to it until `done` (asked before each packet) or the file's end.
void feedUntil(mediacore::Demuxer& demuxer, VideoStage& stage, const std::function<bool()>& done) {
    mediacore::PacketPtr packet = mediacore::makePacket();
    while (!done() && demuxer.read(packet.get()) >= 0) {
        if (packet->stream_index == stage.streamIndex())
            stage.decode(packet.get());
        av_packet_unref(packet.get());
    }
}

} // namespace

// Decoding stands a few pictures before a key frame: a seek to a picture before that key frame carries on from
// there, one to the key frame or after it jumps.
TEST(VideoStageTest, ASeekJustBeforeAKeyFrameCarriesOnFromTheFramesDecoded) {
    mediacore::Demuxer demuxer;
    ASSERT_GE(demuxer.open(keyEverySecondClip()), 0);
    VideoFrameQueue queue(64);
    VideoStage stage(demuxer, demuxer.firstVideoStream(), queue);
    ASSERT_GE(stage.open(), 0);
    stage.reset(0);
    stage.beginSeek(0, true);
    int64_t shownUs = -1;
    feedUntil(demuxer, stage, [&] {
        while (std::optional<DecodedPicture> picture = queue.front(0)) {
            shownUs = std::max(shownUs, picture->ptsUs);
            queue.pop();
        }
        return shownUs >= 800000;
    });
    ASSERT_GE(shownUs, 800000);
    ASSERT_LT(shownUs, 880000);
    for (int64_t targetUs : {880000, 920000, 960000, 990000})
        EXPECT_TRUE(stage.canContinueTo(targetUs)) << targetUs;
    for (int64_t targetUs : {1000000, 1040000, 2000000})
        EXPECT_FALSE(stage.canContinueTo(targetUs)) << targetUs;
}

// Seeks to frames sent to the decoder on the way to an earlier seek as ones nothing may refer to: those the
// decoder did leave out stop the seek past its target without a result (the caller decodes them again from the
// key frame); the others are its result. None ends on a neighbour.
TEST(VideoStageTest, ASeekWhoseFrameWasLeftOutOnTheWayStopsWithoutAWrongResult) {
    const std::string path = MediaFixtures::make("player_one_key.mp4",
                                                 "-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 "
                                                 "-c:v libx264 -preset veryfast -bf 3 -g 1000 -keyint_min 1000 "
                                                 "-sc_threshold 0 -pix_fmt yuv420p");
    int parked = 0, found = 0;
    for (int64_t targetUs = 1000000; targetUs < 1600000; targetUs += 40000) {
        mediacore::Demuxer demuxer;
        ASSERT_GE(demuxer.open(path), 0);
        VideoFrameQueue queue(256);
        VideoStage stage(demuxer, demuxer.firstVideoStream(), queue);
        ASSERT_GE(stage.open(), 0);
        const int index = stage.streamIndex();
        const int64_t target = demuxer.toTicks(index, targetUs);
        stage.reset(0);
        // The first seek asks for 3.5 s: frames before it go to the decoder as ones it may leave out.
        stage.beginSeek(3500000, true);
        stage.setTargetPts(demuxer.toTicks(index, 3500000));
        feedUntil(demuxer, stage, [&] { return stage.latestAtOrBefore(target) == target; }); // its packet went to the decoder
        if (!stage.wasSkipped(target))
            continue;
        // A quick seek to it carries on without looking for its frame.
        queue.clear();
        stage.setSerial(2);
        stage.beginSeek(targetUs, true);
        feedUntil(demuxer, stage, [&] { return stage.parked() || !stage.seeking(); });
        std::optional<int64_t> result;
        while (std::optional<DecodedPicture> picture = queue.front(2)) {
            if (picture->seekResult)
                result = picture->ptsUs;
            queue.pop();
        }
        if (stage.parked()) {
            ++parked;
            EXPECT_FALSE(result.has_value()) << targetUs;
            EXPECT_EQ(stage.latestAtOrBefore(target), target) << targetUs;
            EXPECT_TRUE(stage.wasSkipped(target)) << targetUs;
        } else {
            ++found;
            ASSERT_TRUE(result.has_value()) << targetUs;
            EXPECT_EQ(*result, targetUs);
        }
    }
    EXPECT_GE(parked, 1);
    std::printf("parked %d, found %d\n", parked, found);
}
