#pragma once

#include "FilterGraphBuilder.h"

#include <QAudioDevice>
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class AudioSampleBuffer;
class AudioStreamDevice;
class QAudioSink;

// The player's sound: a QAudioSink pulling from the sample buffer through an AudioStreamDevice. It is the
// playhead's master clock while it plays the media's sound. Main thread only (the sink pulls on the thread it
// was started on).
class AudioOutput : public QObject {
    Q_OBJECT
public:
    // The format the default output device takes, as the decoder's target; nothing when there is no device.
    static std::optional<mediacore::AudioTarget> deviceFormat();

    AudioOutput(AudioSampleBuffer& buffer, const mediacore::AudioTarget& format, QObject* parent = nullptr);
    ~AudioOutput() override;

    void play();
    void pause();
    // Drops what the sink holds; the sound of `serial` follows.
    void flush(uint64_t serial);
    void setGain(double gain);

    // The media time being heard; nothing while silence plays or the output is stopped.
    std::optional<int64_t> positionUs() const;

    // Called once when the device fails; the player then carries on without sound.
    std::function<void()> onFailure;

private:
    void stateChanged();

    AudioSampleBuffer& _buffer;
    QAudioDevice _device;
    std::unique_ptr<AudioStreamDevice> _source;
    std::unique_ptr<QAudioSink> _sink;
    bool _playing = false;
    bool _started = false;
    bool _failed = false;
};
