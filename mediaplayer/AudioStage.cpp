#include "AudioStage.h"

#include "AudioSampleBuffer.h"
#include "Demuxer.h"
#include "EngineLog.h"
#include "PacketDecoding.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/mathematics.h>
#include <libavutil/samplefmt.h>
}

AudioStage::AudioStage(const mediacore::Demuxer& demuxer, int streamIndex, AudioSampleBuffer& buffer)
    : _demuxer(demuxer), _stream(streamIndex), _buffer(buffer) {}

int AudioStage::open(const mediacore::AudioTarget& target) {
    _target = target;
    return _decoder.open(_demuxer.stream(_stream), 1);
}

void AudioStage::setEdits(std::shared_ptr<const mediacore::ConvertSettings> edits, uint64_t version) {
    _edits = std::move(edits);
    _editsVersion = version;
}

void AudioStage::reset() {
    _decoder.reset();
    _graph = mediacore::FilterGraph();
    _graphVersion = 0;
    _seeking = false;
    _decodedEndUs = INT64_MIN;
    _finished = false;
}

void AudioStage::beginSeek(int64_t targetUs) {
    _seeking = true;
    _cut = mediacore::ExactCut(_demuxer.stream(_stream)->time_base, _demuxer.toTicks(_stream, targetUs), INT64_MAX);
    _graph = mediacore::FilterGraph();
    _graphVersion = 0;
}

int AudioStage::decode(const AVPacket* packet) {
    if (_finished || !_decoder.isOpen())
        return 0;
    const int pulled = PacketDecoding::decode(
        _decoder, packet, [this](mediacore::FramePtr frame) { receive(std::move(frame)); }, "playback: decode audio",
        _demuxer.path());
    if (pulled == AVERROR_EOF || !packet) {
        if (_graph.isOpen() && _graph.push(nullptr) >= 0)
            pullSamples();
        _buffer.markEnded(_serial);
        _finished = true;
    }
    return 0;
}

void AudioStage::receive(mediacore::FramePtr frame) {
    if (_seeking) {
        frame = _cut.cutAudio(std::move(frame));
        if (!frame)
            return;
        _seeking = false;
    }
    if (frame->pts != AV_NOPTS_VALUE && frame->sample_rate > 0)
        _decodedEndUs =
            _demuxer.toMicroseconds(_stream, frame->pts) + av_rescale(frame->nb_samples, 1000000, frame->sample_rate);
    if (ensureGraph(frame.get()) < 0)
        return;
    if (frame->pts != AV_NOPTS_VALUE)
        frame->pts = std::max<int64_t>(0, frame->pts - _demuxer.toTicks(_stream, _graphOriginUs));
    if (int rc = _graph.push(frame.get()); rc < 0) {
        mediacore::EngineLog::failure("playback: filter audio", rc, _demuxer.path());
        _graph = mediacore::FilterGraph();
        _graphVersion = 0;
        return;
    }
    pullSamples();
}

int AudioStage::ensureGraph(const AVFrame* frame) {
    if (_graph.isOpen() && _graphVersion == _editsVersion && frame->sample_rate == _graphRate &&
        frame->format == _graphFormat && frame->ch_layout.nb_channels == _graphChannels)
        return 0;
    const AVStream* stream = _demuxer.stream(_stream);
    mediacore::AudioFrameFormat source;
    source.sampleRate = frame->sample_rate;
    source.sampleFormat = static_cast<AVSampleFormat>(frame->format);
    source.channels = frame->ch_layout.nb_channels;
    source.channelMask = frame->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? frame->ch_layout.u.mask : 0;
    source.timeBase = stream->time_base;
    // The graph's time 0 is its first sample's time, as an export's is its cut's start: music is mixed sample by
    // sample from there.
    const int64_t originUs = frame->pts != AV_NOPTS_VALUE ? _demuxer.toMicroseconds(_stream, frame->pts) : 0;
    auto build = [&](const mediacore::ConvertSettings& edits) {
        mediacore::ConvertSettings placed = edits;
        placed.cutStartUs = originUs;
        // Without the main sound the music plays alone, over the main sound's silence.
        if (placed.mainAudioDisabled)
            placed.mainAudioVolume = 0;
        mediacore::FilterGraph graph;
        int rc = graph.open(mediacore::FilterGraphBuilder(placed).audio(source, _target), 1);
        if (rc >= 0)
            _graph = std::move(graph);
        return rc;
    };
    int rc = -1;
    if (_edits && _failedVersion != _editsVersion) {
        rc = build(*_edits);
        if (rc < 0) {
            _failedVersion = _editsVersion;
            mediacore::EngineLog::failure("playback: apply sound edits", rc, _demuxer.path());
        }
    }
    if (rc < 0)
        rc = build(mediacore::ConvertSettings());
    if (rc < 0) {
        _graph = mediacore::FilterGraph();
        return rc;
    }
    _graphVersion = _editsVersion;
    _graphOriginUs = originUs;
    _graphRate = frame->sample_rate;
    _graphFormat = frame->format;
    _graphChannels = frame->ch_layout.nb_channels;
    return 0;
}

void AudioStage::pullSamples() {
    mediacore::FramePtr out = mediacore::makeFrame();
    const AVRational timeBase = av_buffersink_get_time_base(_graph.sink());
    while (_graph.pull(out.get()) >= 0) {
        const int bytes = av_samples_get_buffer_size(nullptr, out->ch_layout.nb_channels, out->nb_samples,
                                                     static_cast<AVSampleFormat>(out->format), 1);
        const int64_t ptsUs =
            _graphOriginUs + (out->pts != AV_NOPTS_VALUE ? av_rescale_q(out->pts, timeBase, AV_TIME_BASE_Q) : 0);
        if (bytes > 0)
            _buffer.push(out->data[0], static_cast<size_t>(bytes), ptsUs, _serial);
        av_frame_unref(out.get());
    }
}
