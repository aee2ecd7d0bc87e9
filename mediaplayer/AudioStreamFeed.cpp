#include "AudioStreamFeed.h"

#include "AudioSampleBuffer.h"

#include <algorithm>
#include <cmath>

AudioStreamFeed::AudioStreamFeed(AudioSampleBuffer& buffer, SampleType type, int channels, int sampleRate)
    : _buffer(buffer), _type(type), _bytesPerFrame(std::max(1, channels) * (type == SampleType::Float ? 4 : 2)),
      _sampleRate(std::max(1, sampleRate)) {}

void AudioStreamFeed::setGain(double gain) {
    _gain = std::isfinite(gain) ? std::clamp(gain, 0.0, 2.0) : 1.0;
}

void AudioStreamFeed::restart() {
    _handedOut = 0;
    _firstPtsUs.reset();
    _stretches.clear();
}

size_t AudioStreamFeed::read(uint8_t* data, size_t maxBytes) {
    maxBytes -= maxBytes % static_cast<size_t>(_bytesPerFrame);
    size_t done = 0;
    while (done < maxBytes) {
        int64_t pts = 0;
        const size_t got = _buffer.read(data + done, maxBytes - done, _serial, &pts);
        if (got == 0)
            break;
        applyGain(data + done, got);
        if (!_firstPtsUs)
            _firstPtsUs = pts;
        _stretches.push_back(Stretch{_handedOut, static_cast<int64_t>(got), pts});
        _handedOut += static_cast<int64_t>(got);
        done += got;
    }
    return done;
}

void AudioStreamFeed::applyGain(uint8_t* data, size_t bytes) const {
    if (_gain == 1.0)
        return;
    if (_type == SampleType::Float) {
        float* samples = reinterpret_cast<float*>(data);
        const size_t count = bytes / 4;
        for (size_t i = 0; i < count; ++i)
            samples[i] = std::clamp(static_cast<float>(samples[i] * _gain), -1.0f, 1.0f);
    } else {
        int16_t* samples = reinterpret_cast<int16_t*>(data);
        const size_t count = bytes / 2;
        for (size_t i = 0; i < count; ++i)
            samples[i] = static_cast<int16_t>(std::clamp(std::lround(samples[i] * _gain), -32768L, 32767L));
    }
}

std::optional<int64_t> AudioStreamFeed::positionUs(int64_t queuedBytes) const {
    // The server may count more than was handed out (its own latency right after a restart): the first sample
    // is then the one about to be heard.
    const int64_t heard = std::max<int64_t>(0, _handedOut - std::max<int64_t>(0, queuedBytes));
    while (!_stretches.empty() && _stretches.front().start + _stretches.front().length <= heard)
        _stretches.pop_front();
    if (_stretches.empty())
        return std::nullopt;
    const Stretch& stretch = _stretches.front();
    const int64_t into = std::max<int64_t>(0, heard - stretch.start);
    return stretch.ptsUs + into / _bytesPerFrame * 1000000 / _sampleRate;
}
