#include "AudioStreamDevice.h"

#include "AudioSampleBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

AudioStreamDevice::AudioStreamDevice(AudioSampleBuffer& buffer, SampleType type, int channels, int sampleRate,
                                     QObject* parent)
    : QIODevice(parent), _buffer(buffer), _type(type), _bytesPerFrame(channels * (type == SampleType::Float ? 4 : 2)),
      _sampleRate(sampleRate) {
    // Unbuffered: QIODevice would otherwise read ahead (and hand out silence) into a buffer of its own.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void AudioStreamDevice::setGain(double gain) {
    _gain = std::isfinite(gain) ? std::clamp(gain, 0.0, 2.0) : 1.0;
}

void AudioStreamDevice::restart() {
    _handedOut = 0;
    _stretches.clear();
}

qint64 AudioStreamDevice::bytesAvailable() const {
    // Silence fills every gap, so there is always something to read.
    return QIODevice::bytesAvailable() + (qint64(1) << 20);
}

qint64 AudioStreamDevice::readData(char* data, qint64 maxSize) {
    maxSize -= maxSize % _bytesPerFrame;
    if (maxSize <= 0)
        return 0;
    qint64 done = 0;
    while (done < maxSize) {
        int64_t pts = 0;
        const size_t got =
            _buffer.read(reinterpret_cast<uint8_t*>(data + done), static_cast<size_t>(maxSize - done), _serial, &pts);
        if (got == 0)
            break;
        applyGain(data + done, static_cast<qint64>(got));
        _stretches.push_back(Stretch{_handedOut + done, static_cast<qint64>(got), pts});
        done += static_cast<qint64>(got);
    }
    if (done < maxSize) {
        std::memset(data + done, 0, static_cast<size_t>(maxSize - done));
        _stretches.push_back(Stretch{_handedOut + done, maxSize - done, -1});
    }
    _handedOut += maxSize;
    return maxSize;
}

void AudioStreamDevice::applyGain(char* data, qint64 bytes) const {
    if (_gain == 1.0)
        return;
    if (_type == SampleType::Float) {
        float* samples = reinterpret_cast<float*>(data);
        const qint64 count = bytes / 4;
        for (qint64 i = 0; i < count; ++i)
            samples[i] = std::clamp(static_cast<float>(samples[i] * _gain), -1.0f, 1.0f);
    } else {
        int16_t* samples = reinterpret_cast<int16_t*>(data);
        const qint64 count = bytes / 2;
        for (qint64 i = 0; i < count; ++i)
            samples[i] = static_cast<int16_t>(std::clamp(std::lround(samples[i] * _gain), -32768L, 32767L));
    }
}

std::optional<int64_t> AudioStreamDevice::positionUs(qint64 queuedBytes) const {
    const qint64 heard = _handedOut - std::max<qint64>(0, queuedBytes);
    while (!_stretches.empty() && _stretches.front().start + _stretches.front().length <= heard)
        _stretches.pop_front();
    if (_stretches.empty() || _stretches.front().start > heard || _stretches.front().ptsUs < 0)
        return std::nullopt;
    const Stretch& stretch = _stretches.front();
    return stretch.ptsUs + (heard - stretch.start) / _bytesPerFrame * 1000000 / _sampleRate;
}
