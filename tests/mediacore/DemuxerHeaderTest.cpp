#include "Demuxer.h"

#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <fstream>

using mediacore::Demuxer;

// openHeader tells what open() tells of a file's length and streams, reading no packet where the container's
// header states them.
TEST(DemuxerHeaderTest, TheHeaderTellsTheSameLengthAndStreamsAsAFullOpen) {
    const std::string ts = MediaFixtures::make(
        "demuxer_header_2s.ts", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 -f lavfi -i sine=duration=2 "
                                "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a mp2 -shortest");
    const std::string mov = MediaFixtures::make(
        "demuxer_header_3s.mov", "-f lavfi -i testsrc2=size=160x120:rate=30:duration=3 -c:v libx264 "
                                 "-preset ultrafast -pix_fmt yuv420p");
    struct Case {
        std::string path;
        bool headerOnly;
    };
    const Case cases[] = {
        {MediaFixtures::mp4(), true},          {MediaFixtures::twoAudioMkv(), true}, {MediaFixtures::noAudio(), true},
        {mov, true},                           {MediaFixtures::mp3WithCover(), false}, // no header of that kind
        {ts, false},                                                                   // a stream without a header
    };
    for (const Case& c : cases) {
        Demuxer full, header;
        ASSERT_EQ(full.open(c.path), 0) << c.path;
        ASSERT_EQ(header.openHeader(c.path), 0) << c.path;
        EXPECT_EQ(header.headerOnly(), c.headerOnly) << c.path;
        EXPECT_FALSE(full.headerOnly());
        EXPECT_EQ(header.durationUs(), full.durationUs()) << c.path;
        EXPECT_GT(header.durationUs(), 0) << c.path;
        EXPECT_EQ(header.videoStreams(), full.videoStreams()) << c.path;
        EXPECT_EQ(header.audioStreams(), full.audioStreams()) << c.path;
    }
}

TEST(DemuxerHeaderTest, FilesThatCannotBeOpenedFailAsWithAFullOpen) {
    const std::string folder = MediaFixtures::freshDir("demuxer-header");
    const std::string garbage = folder + "/garbage.mp4";
    std::ofstream(garbage) << std::string(4096, 'x');
    for (const std::string& path : {folder + "/missing.mp4", garbage, folder}) {
        Demuxer header;
        EXPECT_LT(header.openHeader(path), 0) << path;
    }
}

TEST(DemuxerHeaderTest, AStopGivenAfterOpeningInterruptsReading) {
    Demuxer demuxer;
    ASSERT_EQ(demuxer.open(MediaFixtures::mp4()), 0);
    std::atomic<bool> stop{false};
    demuxer.setStop(&stop);
    mediacore::PacketPtr packet = mediacore::makePacket();
    ASSERT_EQ(demuxer.read(packet.get()), 0);
    av_packet_unref(packet.get());
    stop = true;
    // What the reader holds already may still come; the file's end does not.
    int rc = 0;
    for (int i = 0; i < 10000 && rc == 0; ++i) {
        rc = demuxer.read(packet.get());
        av_packet_unref(packet.get());
    }
    EXPECT_EQ(rc, AVERROR_EXIT);
}
