#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

class AudioSampleBuffer;

// The media's sound on its way to the sound server: hands out the buffer's samples with the player's software gain
// (0..2) applied, and remembers which media time each byte carried, so the output can tell what is being heard from
// how much the server still holds. Nothing here locks: the output calls it under its own lock.
class AudioStreamFeed {
public:
    enum class SampleType { Float, Int16 };

    AudioStreamFeed(AudioSampleBuffer& buffer, SampleType type, int channels, int sampleRate);

    void setSerial(uint64_t serial) { _serial = serial; }
    uint64_t serial() const { return _serial; }
    void setGain(double gain);
    // Forgets what was handed out (after the server dropped what it held).
    void restart();

    // Copies up to `maxBytes` (whole frames) of the buffer's sound of the serial into `data`; returns the bytes
    // given, 0 when the buffer has none. Never silence: the server's own buffer covers a late decoder.
    size_t read(uint8_t* data, size_t maxBytes);

    // The media time of the sample being heard when the server still holds `queuedBytes` of what was handed out;
    // nothing once everything handed out has been heard.
    std::optional<int64_t> positionUs(int64_t queuedBytes) const;
    int64_t bytesHandedOut() const { return _handedOut; }
    // The time of the first sample handed out since the restart; nothing before one was.
    std::optional<int64_t> firstPtsUs() const { return _firstPtsUs; }
    int bytesPerFrame() const { return _bytesPerFrame; }

private:
    struct Stretch {
        int64_t start = 0; // byte offset in everything handed out
        int64_t length = 0;
        int64_t ptsUs = 0; // of the first byte
    };

    void applyGain(uint8_t* data, size_t bytes) const;

    AudioSampleBuffer& _buffer;
    const SampleType _type;
    const int _bytesPerFrame;
    const int _sampleRate;
    uint64_t _serial = 0;
    double _gain = 1.0;
    int64_t _handedOut = 0;
    std::optional<int64_t> _firstPtsUs;
    mutable std::deque<Stretch> _stretches;
};
