#include "AudioOutput.h"

#include "AudioSampleBuffer.h"
#include "AudioStreamDevice.h"

#include <QAudioSink>
#include <QMediaDevices>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace {

QAudioFormat chosenFormat(const QAudioDevice& device) {
    QAudioFormat format = device.preferredFormat();
    if (format.sampleRate() <= 0)
        format.setSampleRate(48000);
    // Stereo at most: the media's own layout is mixed down by the sound graph.
    if (format.channelCount() <= 0 || format.channelCount() > 2)
        format.setChannelCount(2);
    if (format.sampleFormat() != QAudioFormat::Float && format.sampleFormat() != QAudioFormat::Int16)
        format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format) && format.sampleFormat() == QAudioFormat::Float)
        format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

} // namespace

std::optional<mediacore::AudioTarget> AudioOutput::deviceFormat() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return std::nullopt;
    const QAudioFormat format = chosenFormat(device);
    if (!device.isFormatSupported(format))
        return std::nullopt;
    mediacore::AudioTarget target;
    target.sampleRate = format.sampleRate();
    target.channels = format.channelCount();
    target.sampleFormats = {format.sampleFormat() == QAudioFormat::Float ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_S16};
    return target;
}

AudioOutput::AudioOutput(AudioSampleBuffer& buffer, const mediacore::AudioTarget& target, QObject* parent)
    : QObject(parent), _buffer(buffer), _device(QMediaDevices::defaultAudioOutput()) {
    const bool isFloat = !target.sampleFormats.empty() && target.sampleFormats.front() == AV_SAMPLE_FMT_FLT;
    QAudioFormat format;
    format.setSampleRate(target.sampleRate);
    format.setChannelCount(target.channels);
    format.setSampleFormat(isFloat ? QAudioFormat::Float : QAudioFormat::Int16);
    buffer.setFormat(target.sampleRate, target.channels * (isFloat ? 4 : 2));
    _source = std::make_unique<AudioStreamDevice>(
        buffer, isFloat ? AudioStreamDevice::SampleType::Float : AudioStreamDevice::SampleType::Int16, target.channels,
        target.sampleRate);
    _sink = std::make_unique<QAudioSink>(_device, format);
    connect(_sink.get(), &QAudioSink::stateChanged, this, [this] { stateChanged(); });
}

AudioOutput::~AudioOutput() {
    if (_sink) {
        disconnect(_sink.get(), nullptr, this, nullptr);
        _sink->stop();
    }
}

void AudioOutput::play() {
    if (_failed)
        return;
    _playing = true;
    if (!_started) {
        _source->restart();
        _sink->start(_source.get());
        _started = true;
    } else {
        _sink->resume();
    }
}

void AudioOutput::pause() {
    _playing = false;
    if (_started && !_failed)
        _sink->suspend();
}

void AudioOutput::flush(uint64_t serial) {
    _source->setSerial(serial);
    if (_started && !_failed) {
        _sink->stop();
        _started = false;
        if (_playing)
            play();
    }
}

void AudioOutput::setGain(double gain) {
    _source->setGain(gain);
}

std::optional<int64_t> AudioOutput::positionUs() const {
    if (!_started || _failed || _sink->state() == QAudio::StoppedState)
        return std::nullopt;
    // Started, but the sink has taken nothing yet: the next sound is what will be heard first, and the playhead
    // waits there for it rather than running ahead on the wall clock.
    if (_source->bytesHandedOut() == 0)
        return _buffer.nextPtsUs(_source->serial());
    const qint64 queued = std::max<qint64>(0, _sink->bufferSize() - _sink->bytesFree());
    return _source->positionUs(queued);
}

void AudioOutput::stateChanged() {
    if (_failed)
        return;
    const QAudio::Error error = _sink->error();
    if (error == QAudio::NoError || error == QAudio::UnderrunError)
        return;
    _failed = true;
    if (onFailure)
        onFailure();
}
