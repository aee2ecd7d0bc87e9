#pragma once

#include "FilterGraphBuilder.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class AudioSampleBuffer;
class AudioStreamFeed;
class SoundServerConnection;
struct pa_stream;
struct pa_time_event;

// The player's sound: a playback stream on the sound server, fed from the sample buffer. The server keeps a buffer
// of kServerBufferUs, so a busy machine that holds up the player's threads for a while is not heard; what is heard
// is known from the server's reported latency, and the output is the playhead's master clock while it plays the
// media's sound. Its calls come from the main thread; the stream is fed on the connection's own thread.
class AudioOutput : public QObject {
    Q_OBJECT
public:
    // The sound the server holds ahead of what is heard.
    static constexpr int64_t kServerBufferUs = 150000;

    // An output on the default sink, paused, in the format `format()` tells; nothing when there is no sound
    // server (the player then runs on the wall clock).
    static std::unique_ptr<AudioOutput> open(AudioSampleBuffer& buffer);
    ~AudioOutput() override;

    // The sound the decoder is to make: the default sink's rate, at most two channels, its sample type.
    const mediacore::AudioTarget& format() const { return _format; }

    void play();
    void pause();
    // Drops what the server holds; the sound of `serial` follows.
    void flush(uint64_t serial);
    void setGain(double gain);

    // The media time being heard; nothing while none of the media's sound plays (none yet, or all of it heard)
    // or the output failed.
    std::optional<int64_t> positionUs() const;
    // The latency the server reports now (sound handed over and not yet heard); nothing before it is known.
    std::optional<int64_t> latencyUs() const;

    // Called once, on the main thread, when the server is lost; the player then carries on without sound.
    std::function<void()> onFailure;

private:
    AudioOutput(AudioSampleBuffer& buffer, std::unique_ptr<SoundServerConnection> connection,
                const mediacore::AudioTarget& format);
    bool connectStream(int sampleRate, int channels, bool isFloat);
    // With the lock held: hands the server what the buffer has, up to what it asks for.
    void feed();
    void retryLater();
    // With the lock held: what the server holds that is not yet heard, from its latest report; nothing before one
    // came in after the latest flush.
    std::optional<int64_t> queuedBytes() const;
    void fail();
    void setCorked(bool corked);

    AudioSampleBuffer& _buffer;
    std::unique_ptr<SoundServerConnection> _connection;
    mediacore::AudioTarget _format;
    std::unique_ptr<AudioStreamFeed> _feed;
    pa_stream* _stream = nullptr;
    pa_time_event* _retry = nullptr;
    // Members below are shared with the connection's thread, under its lock.
    bool _playing = false;
    bool _failed = false;
    bool _drained = false;                   // the server ran out of what was handed to it
    bool _triggered = false;                 // the end of this serial's sound was started without a full buffer
    int _pendingTimings = 0;                 // latency reports asked for after a flush, still on their way
    mutable std::optional<int64_t> _heardUs; // the media time last known to be heard since the flush
};
