#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// Decoded sound on its way from the decoding thread to the audio output: interleaved samples in the output's
// format, in chunks stamped with the time (µs on the file's timeline) of their first sample and with their seek
// generation (serial). Sound of an older serial is dropped by the reader.
class AudioSampleBuffer {
public:
    // bytesPerFrame = channels * bytes per sample.
    void setFormat(int sampleRate, int bytesPerFrame);
    int sampleRate() const { return _sampleRate; }
    int bytesPerFrame() const { return _bytesPerFrame; }

    // Runs on the reading thread after a read or a clear, so the producer can refill.
    void setOnConsumed(std::function<void()> callback);

    void push(const uint8_t* data, size_t bytes, int64_t ptsUs, uint64_t serial);
    // No more sound will come for `serial`.
    void markEnded(uint64_t serial);

    // Copies up to `bytes` (whole frames) of `serial` into `out`; returns the bytes copied and, when any, the time
    // of the first one in *ptsUs. Stops at a gap in time so one read covers one continuous stretch.
    size_t read(uint8_t* out, size_t bytes, uint64_t serial, int64_t* ptsUs);

    int64_t bufferedUs(uint64_t serial) const;
    // The time of the next sample of `serial` a read would give; nothing when none is buffered.
    std::optional<int64_t> nextPtsUs(uint64_t serial) const;
    // Marked ended for `serial` and drained.
    bool finished(uint64_t serial) const;
    void clear();

private:
    struct Chunk {
        std::vector<uint8_t> bytes;
        size_t offset = 0; // bytes already read
        int64_t ptsUs = 0; // of bytes[0]
        uint64_t serial = 0;
    };

    void dropOlder(uint64_t serial);
    int64_t bytesToUs(size_t bytes) const;

    mutable std::mutex _mutex;
    std::deque<Chunk> _chunks;
    uint64_t _endedSerial = 0;
    bool _ended = false;
    int _sampleRate = 48000;
    int _bytesPerFrame = 8;
    std::function<void()> _onConsumed;
};
