#pragma once

#include <QIODevice>

#include <cstdint>
#include <deque>
#include <optional>

class AudioSampleBuffer;

// The device an audio sink pulls the media's sound from. It hands out the buffer's samples with the player's
// software gain (0..2) applied, and silence while the buffer is empty, and remembers which media time each byte
// carried, so the output can tell what is being heard.
class AudioStreamDevice : public QIODevice {
    Q_OBJECT
public:
    enum class SampleType { Float, Int16 };

    AudioStreamDevice(AudioSampleBuffer& buffer, SampleType type, int channels, int sampleRate,
                      QObject* parent = nullptr);

    void setSerial(uint64_t serial) { _serial = serial; }
    uint64_t serial() const { return _serial; }
    void setGain(double gain);
    // Forgets what was handed out (after the sink dropped its buffer).
    void restart();

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

    // The media time of the sample being heard when the sink still holds `queuedBytes` of what it read; nothing
    // while silence plays.
    std::optional<int64_t> positionUs(qint64 queuedBytes) const;
    qint64 bytesHandedOut() const { return _handedOut; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    struct Stretch {
        qint64 start = 0; // byte offset in everything handed out
        qint64 length = 0;
        int64_t ptsUs = -1; // of the first byte; -1: silence
    };

    void applyGain(char* data, qint64 bytes) const;

    AudioSampleBuffer& _buffer;
    const SampleType _type;
    const int _bytesPerFrame;
    const int _sampleRate;
    uint64_t _serial = 0;
    double _gain = 1.0;
    qint64 _handedOut = 0;
    mutable std::deque<Stretch> _stretches;
};
