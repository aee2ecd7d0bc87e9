#include "AudioSampleBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

void AudioSampleBuffer::setFormat(int sampleRate, int bytesPerFrame) {
    std::lock_guard lock(_mutex);
    _sampleRate = std::max(1, sampleRate);
    _bytesPerFrame = std::max(1, bytesPerFrame);
}

void AudioSampleBuffer::setOnConsumed(std::function<void()> callback) {
    std::lock_guard lock(_mutex);
    _onConsumed = std::move(callback);
}

int64_t AudioSampleBuffer::bytesToUs(size_t bytes) const {
    return static_cast<int64_t>(bytes / _bytesPerFrame) * 1000000 / _sampleRate;
}

void AudioSampleBuffer::push(const uint8_t* data, size_t bytes, int64_t ptsUs, uint64_t serial) {
    if (bytes == 0)
        return;
    std::lock_guard lock(_mutex);
    Chunk chunk;
    chunk.bytes.assign(data, data + bytes);
    chunk.ptsUs = ptsUs;
    chunk.serial = serial;
    _chunks.push_back(std::move(chunk));
    if (_endedSerial != serial)
        _ended = false;
}

void AudioSampleBuffer::markEnded(uint64_t serial) {
    std::lock_guard lock(_mutex);
    _endedSerial = serial;
    _ended = true;
}

void AudioSampleBuffer::dropOlder(uint64_t serial) {
    while (!_chunks.empty() && _chunks.front().serial != serial)
        _chunks.pop_front();
}

size_t AudioSampleBuffer::read(uint8_t* out, size_t bytes, uint64_t serial, int64_t* ptsUs) {
    size_t copied = 0;
    std::function<void()> notify;
    {
        std::lock_guard lock(_mutex);
        dropOlder(serial);
        bytes -= bytes % _bytesPerFrame;
        int64_t expected = 0;
        while (copied < bytes && !_chunks.empty() && _chunks.front().serial == serial) {
            Chunk& chunk = _chunks.front();
            const int64_t chunkTime = chunk.ptsUs + bytesToUs(chunk.offset);
            if (copied == 0) {
                if (ptsUs)
                    *ptsUs = chunkTime;
            } else if (std::abs(chunkTime - expected) > 2000) {
                break; // a gap or an overlap: the next read starts a new stretch
            }
            size_t take = std::min(bytes - copied, chunk.bytes.size() - chunk.offset);
            std::memcpy(out + copied, chunk.bytes.data() + chunk.offset, take);
            copied += take;
            chunk.offset += take;
            expected = chunk.ptsUs + bytesToUs(chunk.offset);
            if (chunk.offset >= chunk.bytes.size())
                _chunks.pop_front();
        }
        notify = _onConsumed;
    }
    if (notify)
        notify();
    return copied;
}

int64_t AudioSampleBuffer::bufferedUs(uint64_t serial) const {
    std::lock_guard lock(_mutex);
    size_t bytes = 0;
    for (const Chunk& chunk : _chunks)
        if (chunk.serial == serial)
            bytes += chunk.bytes.size() - chunk.offset;
    return bytesToUs(bytes);
}

std::optional<int64_t> AudioSampleBuffer::nextPtsUs(uint64_t serial) const {
    std::lock_guard lock(_mutex);
    for (const Chunk& chunk : _chunks)
        if (chunk.serial == serial && chunk.offset < chunk.bytes.size())
            return chunk.ptsUs + bytesToUs(chunk.offset);
    return std::nullopt;
}

bool AudioSampleBuffer::finished(uint64_t serial) const {
    std::lock_guard lock(_mutex);
    if (!_ended || _endedSerial != serial)
        return false;
    return std::none_of(_chunks.begin(), _chunks.end(), [serial](const Chunk& c) { return c.serial == serial; });
}

void AudioSampleBuffer::clear() {
    std::function<void()> notify;
    {
        std::lock_guard lock(_mutex);
        _chunks.clear();
        _ended = false;
        notify = _onConsumed;
    }
    if (notify)
        notify();
}
