#include "AudioStreamFeed.h"
#include "AudioSampleBuffer.h"

#include <gtest/gtest.h>

#include <vector>

// Mono 16-bit at 1000 Hz: one sample is one millisecond, two bytes.
class AudioStreamFeedTest : public ::testing::Test {
protected:
    AudioStreamFeedTest() : feed(buffer, AudioStreamFeed::SampleType::Int16, 1, 1000) {
        buffer.setFormat(1000, 2);
        feed.setSerial(1);
    }

    void pushSamples(std::vector<int16_t> samples, int64_t ptsUs, uint64_t serial = 1) {
        buffer.push(reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2, ptsUs, serial);
    }

    // Asks for `count` samples; returns those given.
    std::vector<int16_t> readSamples(size_t count) {
        std::vector<int16_t> out(count, 99);
        const size_t got = feed.read(reinterpret_cast<uint8_t*>(out.data()), count * 2);
        out.resize(got / 2);
        return out;
    }

    AudioSampleBuffer buffer;
    AudioStreamFeed feed;
};

TEST_F(AudioStreamFeedTest, AppliesTheGainWithClippingAndGivesOnlyWhatIsBuffered) {
    struct Case {
        double gain;
        int16_t in;
        int16_t out;
    };
    const Case cases[] = {{1.0, 1000, 1000},   {0.0, 1000, 0},        {0.5, -1000, -500},
                          {2.0, 20000, 32767}, {2.0, -20000, -32768}, {7.0, 100, 200} /* clamped to 2 */};
    for (const Case& c : cases) {
        feed.setGain(c.gain);
        pushSamples({c.in}, 0);
        const std::vector<int16_t> out = readSamples(3);
        ASSERT_EQ(out.size(), 1u) << "gain " << c.gain;
        EXPECT_EQ(out[0], c.out) << "gain " << c.gain;
    }
    EXPECT_TRUE(readSamples(3).empty()) << "an empty buffer gives nothing, not silence";
    // An odd byte count asks for whole frames only.
    pushSamples({5, 6}, 0);
    uint8_t bytes[3] = {};
    EXPECT_EQ(feed.read(bytes, 3), 2u);
}

TEST_F(AudioStreamFeedTest, KnowsWhichMediaTimeIsHeard) {
    EXPECT_FALSE(feed.firstPtsUs().has_value());
    pushSamples(std::vector<int16_t>(10, 1), 500000);  // 500..510 ms
    pushSamples(std::vector<int16_t>(4, 1), 900000);   // then a jump: 900..904 ms
    pushSamples(std::vector<int16_t>(4, 1), 50000, 2); // another serial's: left for it
    EXPECT_EQ(readSamples(20).size(), 14u);
    EXPECT_EQ(feed.bytesHandedOut(), 28);
    EXPECT_EQ(feed.firstPtsUs(), 500000);
    struct Case {
        int64_t queuedBytes;
        std::optional<int64_t> heardUs;
    };
    const Case cases[] = {
        {40, 500000}, // the server counts more than it was given: the first sample is next
        {28, 500000}, {22, 503000}, {10, 509000},
        {8, 900000},  {2, 903000},  {0, std::nullopt}, // everything has been heard: nothing of the media plays
    };
    for (const Case& c : cases)
        EXPECT_EQ(feed.positionUs(c.queuedBytes), c.heardUs) << "queued " << c.queuedBytes;

    feed.restart();
    EXPECT_EQ(feed.bytesHandedOut(), 0);
    EXPECT_FALSE(feed.firstPtsUs().has_value());
    EXPECT_FALSE(feed.positionUs(0).has_value());
    feed.setSerial(2);
    pushSamples(std::vector<int16_t>(4, 1), 50000, 2);
    EXPECT_EQ(readSamples(10).size(), 4u);
    EXPECT_EQ(feed.positionUs(4), 52000);
}
