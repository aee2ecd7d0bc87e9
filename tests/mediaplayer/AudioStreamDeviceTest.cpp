#include "AudioStreamDevice.h"
#include "AudioSampleBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

// Mono 16-bit at 1000 Hz: one sample is one millisecond, two bytes.
class AudioStreamDeviceTest : public ::testing::Test {
protected:
    AudioStreamDeviceTest() : device(buffer, AudioStreamDevice::SampleType::Int16, 1, 1000) {
        buffer.setFormat(1000, 2);
        device.setSerial(1);
    }

    void pushSamples(std::vector<int16_t> samples, int64_t ptsUs) {
        buffer.push(reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2, ptsUs, 1);
    }

    std::vector<int16_t> readSamples(size_t count) {
        std::vector<int16_t> out(count, 99);
        EXPECT_EQ(device.read(reinterpret_cast<char*>(out.data()), static_cast<qint64>(count * 2)),
                  static_cast<qint64>(count * 2));
        return out;
    }

    AudioSampleBuffer buffer;
    AudioStreamDevice device;
};

TEST_F(AudioStreamDeviceTest, AppliesTheGainWithClippingAndFillsGapsWithSilence) {
    struct Case {
        double gain;
        int16_t in;
        int16_t out;
    };
    const Case cases[] = {{1.0, 1000, 1000},   {0.0, 1000, 0},        {0.5, -1000, -500},
                          {2.0, 20000, 32767}, {2.0, -20000, -32768}, {7.0, 100, 200} /* clamped to 2 */};
    for (const Case& c : cases) {
        device.setGain(c.gain);
        pushSamples({c.in}, 0);
        std::vector<int16_t> out = readSamples(3);
        EXPECT_EQ(out[0], c.out) << "gain " << c.gain;
        EXPECT_EQ(out[1], 0);
        EXPECT_EQ(out[2], 0);
    }
}

TEST_F(AudioStreamDeviceTest, KnowsWhichMediaTimeIsHeard) {
    pushSamples(std::vector<int16_t>(10, 1), 500000); // 500..510 ms
    readSamples(14);                                  // 10 ms of sound, then 4 of silence
    // The sink still holds everything: the first sample is being heard.
    EXPECT_EQ(device.positionUs(28), 500000);
    EXPECT_EQ(device.positionUs(22), 503000);
    EXPECT_EQ(device.positionUs(9), 509000);
    // Silence plays: no media time.
    EXPECT_FALSE(device.positionUs(4).has_value());
    EXPECT_FALSE(device.positionUs(0).has_value());
}
