#include "AudioOutput.h"

#include "AudioSampleBuffer.h"
#include "AudioStreamFeed.h"
#include "SoundServerConnection.h"

#include <QMetaObject>

#include <pulse/context.h>
#include <pulse/mainloop-api.h>
#include <pulse/operation.h>
#include <pulse/rtclock.h>
#include <pulse/stream.h>
#include <pulse/timeval.h>

extern "C" {
#include <libavutil/samplefmt.h>
}

#include <algorithm>

namespace {

// How long the server may take to answer a connection or a new stream.
constexpr std::chrono::milliseconds kAnswerTimeout{3000};
// How often the server asks for more: a sixth of its buffer.
constexpr int64_t kRequestUs = AudioOutput::kServerBufferUs / 6;
// While the server wants more than the decoder has made, the buffer is looked at again after this long.
constexpr pa_usec_t kRetryUs = 10 * PA_USEC_PER_MSEC;

void release(pa_operation* operation) {
    if (operation)
        pa_operation_unref(operation);
}

} // namespace

std::unique_ptr<AudioOutput> AudioOutput::open(AudioSampleBuffer& buffer) {
    std::unique_ptr<SoundServerConnection> connection = SoundServerConnection::connect(kAnswerTimeout);
    if (!connection)
        return nullptr;
    const std::optional<pa_sample_spec> sink = connection->defaultSinkSpec();
    const bool isFloat = sink && (sink->format == PA_SAMPLE_FLOAT32LE || sink->format == PA_SAMPLE_FLOAT32BE);
    mediacore::AudioTarget format;
    format.sampleRate = sink && sink->rate > 0 ? static_cast<int>(sink->rate) : 48000;
    // Stereo at most: the media's own layout is mixed down by the sound graph.
    format.channels = sink ? std::clamp<int>(sink->channels, 1, 2) : 2;
    format.sampleFormats = {isFloat ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_S16};
    std::unique_ptr<AudioOutput> output(new AudioOutput(buffer, std::move(connection), format));
    if (!output->connectStream(format.sampleRate, format.channels, isFloat))
        return nullptr;
    return output;
}

AudioOutput::AudioOutput(AudioSampleBuffer& buffer, std::unique_ptr<SoundServerConnection> connection,
                         const mediacore::AudioTarget& format)
    : _buffer(buffer), _connection(std::move(connection)), _format(format) {
    const bool isFloat = _format.sampleFormats.front() == AV_SAMPLE_FMT_FLT;
    buffer.setFormat(_format.sampleRate, _format.channels * (isFloat ? 4 : 2));
    _feed = std::make_unique<AudioStreamFeed>(
        buffer, isFloat ? AudioStreamFeed::SampleType::Float : AudioStreamFeed::SampleType::Int16, _format.channels,
        _format.sampleRate);
}

AudioOutput::~AudioOutput() {
    // No callback may run into this object from here on, also not a reply to a request still on its way.
    _connection->stop();
    _connection->onLost = nullptr;
    if (_retry)
        _connection->api()->time_free(_retry);
    if (_stream) {
        pa_stream_set_state_callback(_stream, nullptr, nullptr);
        pa_stream_set_write_callback(_stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(_stream, nullptr, nullptr);
        pa_stream_disconnect(_stream);
        pa_stream_unref(_stream);
    }
}

bool AudioOutput::connectStream(int sampleRate, int channels, bool isFloat) {
    SoundServerConnection::Lock lock(*_connection);
    pa_sample_spec sampleSpec;
    sampleSpec.format = isFloat ? PA_SAMPLE_FLOAT32NE : PA_SAMPLE_S16NE;
    sampleSpec.rate = static_cast<uint32_t>(sampleRate);
    sampleSpec.channels = static_cast<uint8_t>(channels);
    _stream = pa_stream_new(_connection->context(), "Preview", &sampleSpec, nullptr);
    if (!_stream)
        return false;
    pa_stream_set_state_callback(
        _stream,
        [](pa_stream* stream, void* self) {
            auto* output = static_cast<AudioOutput*>(self);
            output->_connection->wake();
            if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
                output->fail();
        },
        this);
    pa_stream_set_write_callback(
        _stream, [](pa_stream*, size_t, void* self) { static_cast<AudioOutput*>(self)->feed(); }, this);
    pa_stream_set_underflow_callback(
        _stream, [](pa_stream*, void* self) { static_cast<AudioOutput*>(self)->_drained = true; }, this);

    // The server holds kServerBufferUs of sound ahead of what is heard and starts playing once it has most of it (or
    // the media's sound has ended): a player's thread held up for less than that is not heard.
    pa_buffer_attr attributes;
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kServerBufferUs, &sampleSpec));
    attributes.prebuf = static_cast<uint32_t>(-1);
    attributes.minreq = static_cast<uint32_t>(pa_usec_to_bytes(kRequestUs, &sampleSpec));
    attributes.fragsize = static_cast<uint32_t>(-1);
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(_stream, nullptr, &attributes, flags, nullptr, nullptr) < 0)
        return false;
    _connection->waitUntil(
        [this] {
            const pa_stream_state_t state = pa_stream_get_state(_stream);
            return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
        },
        kAnswerTimeout);
    if (pa_stream_get_state(_stream) != PA_STREAM_READY)
        return false;
    _connection->onLost = [this] { fail(); };
    return true;
}

void AudioOutput::feed() {
    if (_failed || !_stream || pa_stream_get_state(_stream) != PA_STREAM_READY)
        return;
    size_t wanted = pa_stream_writable_size(_stream);
    if (wanted == static_cast<size_t>(-1))
        return;
    const size_t frame = static_cast<size_t>(_feed->bytesPerFrame());
    bool ranShort = false;
    while (wanted >= frame) {
        void* data = nullptr;
        size_t size = wanted;
        if (pa_stream_begin_write(_stream, &data, &size) < 0 || !data)
            return;
        const size_t got = _feed->read(static_cast<uint8_t*>(data), std::min(size, wanted));
        if (got == 0) {
            pa_stream_cancel_write(_stream);
            ranShort = true;
            break;
        }
        if (pa_stream_write(_stream, data, got, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        _drained = false;
        wanted -= got;
    }
    if (!ranShort)
        return;
    if (_buffer.finished(_feed->serial())) {
        // The last of the sound may be less than the server waits for before it starts playing.
        if (!_triggered && _feed->bytesHandedOut() > 0) {
            _triggered = true;
            release(pa_stream_trigger(_stream, nullptr, nullptr));
        }
    } else if (_playing) {
        retryLater();
    }
}

void AudioOutput::retryLater() {
    const pa_usec_t at = pa_rtclock_now() + kRetryUs;
    if (_retry) {
        pa_context_rttime_restart(_connection->context(), _retry, at);
        return;
    }
    _retry = pa_context_rttime_new(
        _connection->context(), at,
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
            static_cast<AudioOutput*>(self)->feed();
        },
        this);
}

void AudioOutput::fail() {
    if (_failed)
        return;
    _failed = true;
    // Posted to this object's (the main) thread; dropped if the output is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (onFailure)
                onFailure();
        },
        Qt::QueuedConnection);
}

void AudioOutput::setCorked(bool corked) {
    if (_failed || pa_stream_get_state(_stream) != PA_STREAM_READY)
        return;
    release(pa_stream_cork(_stream, corked ? 1 : 0, nullptr, nullptr));
}

void AudioOutput::play() {
    SoundServerConnection::Lock lock(*_connection);
    _playing = true;
    // What the decoder made while paused goes first, so the server has its buffer when it starts.
    feed();
    setCorked(false);
}

void AudioOutput::pause() {
    SoundServerConnection::Lock lock(*_connection);
    _playing = false;
    setCorked(true);
}

void AudioOutput::flush(uint64_t serial) {
    SoundServerConnection::Lock lock(*_connection);
    _feed->setSerial(serial);
    _feed->restart();
    _drained = false;
    _triggered = false;
    _heardUs.reset();
    if (_failed || pa_stream_get_state(_stream) != PA_STREAM_READY)
        return;
    release(pa_stream_flush(_stream, nullptr, nullptr));
    // Latencies reported before the flush count sound that is gone: the playhead does not use them.
    if (pa_operation* update = pa_stream_update_timing_info(
            _stream,
            [](pa_stream*, int, void* self) {
                auto* output = static_cast<AudioOutput*>(self);
                output->_pendingTimings = std::max(0, output->_pendingTimings - 1);
            },
            this)) {
        ++_pendingTimings;
        release(update);
    }
    feed();
}

void AudioOutput::setGain(double gain) {
    SoundServerConnection::Lock lock(*_connection);
    _feed->setGain(gain);
}

std::optional<int64_t> AudioOutput::latencyUs() const {
    SoundServerConnection::Lock lock(*_connection);
    const std::optional<int64_t> queued = queuedBytes();
    if (!queued)
        return std::nullopt;
    return static_cast<int64_t>(pa_bytes_to_usec(static_cast<uint64_t>(*queued), pa_stream_get_sample_spec(_stream)));
}

std::optional<int64_t> AudioOutput::queuedBytes() const {
    if (_failed || _pendingTimings > 0 || pa_stream_get_state(_stream) != PA_STREAM_READY)
        return std::nullopt;
    const pa_timing_info* timing = pa_stream_get_timing_info(_stream);
    if (!timing || timing->read_index_corrupt || timing->write_index_corrupt)
        return std::nullopt;
    // The server's report is a snapshot, stamped with when it was taken: the sample at its read index less what
    // the sink held was being heard then, and playing since, the sound has moved on by the report's age. The
    // library's own interpolation is not used: it runs on while a sink that rendered ahead has not started yet.
    const pa_sample_spec* sampleSpec = pa_stream_get_sample_spec(_stream);
    int64_t queued =
        timing->write_index - timing->read_index + static_cast<int64_t>(pa_usec_to_bytes(timing->sink_usec, sampleSpec));
    if (_playing && timing->playing)
        queued -= static_cast<int64_t>(pa_usec_to_bytes(pa_timeval_age(&timing->timestamp), sampleSpec));
    return std::max<int64_t>(0, queued);
}

std::optional<int64_t> AudioOutput::positionUs() const {
    SoundServerConnection::Lock lock(*_connection);
    if (_failed)
        return std::nullopt;
    // Nothing handed over yet: the next sound is what will be heard first, and the playhead waits there for it
    // rather than running ahead on the wall clock.
    if (_feed->bytesHandedOut() == 0)
        return _buffer.nextPtsUs(_feed->serial());
    const bool ended = _buffer.finished(_feed->serial());
    if (_drained && ended)
        return std::nullopt;
    const std::optional<int64_t> queued = queuedBytes();
    if (!queued)
        return _heardUs ? _heardUs : _feed->firstPtsUs();
    if (std::optional<int64_t> heard = _feed->positionUs(*queued)) {
        _heardUs = heard;
        return heard;
    }
    // All that was handed over has been heard: the media's sound has ended (the playhead goes on on the wall
    // clock), or the decoder is late and the playhead waits for its sound.
    if (ended)
        return std::nullopt;
    return _heardUs ? _heardUs : _feed->firstPtsUs();
}
