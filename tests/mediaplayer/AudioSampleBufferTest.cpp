#include "AudioSampleBuffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// 1000 Hz, 2 bytes a frame: a millisecond is 2 bytes.
void useMilliseconds(AudioSampleBuffer& buffer) {
    buffer.setFormat(1000, 2);
}
} // namespace

TEST(AudioSampleBufferTest, ReadsOneContinuousStretchOfTheCurrentSerial) {
    AudioSampleBuffer buffer;
    useMilliseconds(buffer);
    std::vector<uint8_t> ten(20, 1), five(10, 2), later(10, 3);
    buffer.push(ten.data(), ten.size(), 0, 1);          // 0..10 ms, an older seek
    buffer.push(ten.data(), ten.size(), 100000, 2);     // 100..110 ms
    buffer.push(five.data(), five.size(), 110000, 2);   // 110..115 ms, continues
    buffer.push(later.data(), later.size(), 200000, 2); // a gap
    EXPECT_EQ(buffer.bufferedUs(2), 20000);

    std::vector<uint8_t> out(100, 0);
    int64_t pts = -1;
    EXPECT_EQ(buffer.read(out.data(), out.size(), 2, &pts), 30u); // the older serial dropped, stops at the gap
    EXPECT_EQ(pts, 100000);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[29], 2);
    EXPECT_EQ(buffer.read(out.data(), 7, 2, &pts), 6u); // whole frames only
    EXPECT_EQ(pts, 200000);
    EXPECT_FALSE(buffer.finished(2));
    buffer.markEnded(2);
    EXPECT_FALSE(buffer.finished(2));
    EXPECT_EQ(buffer.read(out.data(), out.size(), 2, &pts), 4u);
    EXPECT_EQ(pts, 203000);
    EXPECT_TRUE(buffer.finished(2));
    EXPECT_FALSE(buffer.finished(3));
}

TEST(AudioSampleBufferTest, TellsTheProducerWhenSoundWasTaken) {
    AudioSampleBuffer buffer;
    useMilliseconds(buffer);
    int consumed = 0;
    buffer.setOnConsumed([&] { ++consumed; });
    std::vector<uint8_t> data(8, 0), out(8);
    buffer.push(data.data(), data.size(), 0, 1);
    buffer.read(out.data(), out.size(), 1, nullptr);
    buffer.clear();
    EXPECT_EQ(consumed, 2);
    EXPECT_EQ(buffer.bufferedUs(1), 0);
}
