#include "EncodingJoin.h"

#include "CodecCatalog.h"
#include "ConvertSettings.h"
#include "Demuxer.h"
#include "EngineLog.h"
#include "FilterGraphBuilder.h"
#include "FrameCompositor.h"
#include "JoinClipReader.h"
#include "JoinError.h"
#include "JoinTimeline.h"
#include "OutputPlan.h"
#include "StreamRecords.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>

namespace mediacore {

namespace {
// Sound is mixed and encoded in pieces of at most this many samples.
constexpr int kSoundChunk = 4096;

int64_t toUnits(int64_t us, AVRational unit) {
    return av_rescale_q_rnd(us, AV_TIME_BASE_Q, unit, static_cast<AVRounding>(AV_ROUND_NEAR_INF));
}

// The output plan a conversion of `clip` with `settings` would make.
int planFor(const JoinClip& clip, const ConvertSettings& settings, OutputPlan& plan, const std::atomic<bool>& stop) {
    Demuxer input;
    int rc = input.open(clip.path, &stop);
    if (rc < 0)
        return rc;
    return OutputPlan::make(settings, input, StreamRecords::bitRates(input), plan);
}
} // namespace

EncodingJoin::EncodingJoin(const JoinSettings& settings, const std::atomic<bool>& stop, std::atomic<double>& progress)
    : _settings(settings), _stop(stop), _progress(progress) {}

EncodingJoin::~EncodingJoin() = default;

int EncodingJoin::planOutput(const AVOutputFormat* format) {
    const auto& clips = _settings.clips;
    bool pictures = !CodecCatalog::isAudioOnly(_settings.outputPath) && format->video_codec != AV_CODEC_ID_NONE;
    auto withVideo = std::find_if(clips.begin(), clips.end(), [](const JoinClip& c) { return c.hasVideo; });
    auto withAudio = std::find_if(clips.begin(), clips.end(), [](const JoinClip& c) { return c.hasAudio; });
    _shape.video = pictures && withVideo != clips.end();
    _shape.audio = withAudio != clips.end();
    if (!_shape.video && !_shape.audio)
        return EngineLog::failure("join", kJoinNothingToWrite, "no stream the output can hold");

    ConvertSettings settings;
    settings.outputPath = _settings.outputPath;
    settings.videoCodec = _settings.videoCodec;
    settings.audioCodec = _settings.audioCodec;
    settings.videoBitrateKbps = _settings.videoBitrateKbps;
    settings.audioBitrateKbps = _settings.audioBitrateKbps;
    settings.fps = _settings.fps;
    settings.audioChannels = _settings.audioChannels;
    settings.audioSampleRate = _settings.audioSampleRate;
    int rc;
    if (_shape.video) {
        // The first clip's picture as it is shown: upright.
        Demuxer input;
        if ((rc = input.open(withVideo->path, &_stop)) < 0)
            return rc;
        const AVStream* stream = input.stream(input.firstVideoStream());
        int w = stream->codecpar->width, h = stream->codecpar->height;
        if (StreamRecords::rotation(stream) % 180 == 90)
            std::swap(w, h);
        ConvertSettings videoSettings = settings;
        videoSettings.width = _settings.width > 0 ? _settings.width : w;
        videoSettings.height = _settings.height > 0 ? _settings.height : h;
        OutputPlan plan;
        if ((rc = OutputPlan::make(videoSettings, input, StreamRecords::bitRates(input), plan)) < 0)
            return rc;
        _videoCodec = plan.video.encoder;
        _encoderPixelFormat = plan.video.pixelFormat;
        _videoBitRate = plan.video.bitRate;
        _shape.width = plan.video.width;
        _shape.height = plan.video.height;
        _shape.frameRate = plan.video.frameRate;
        _shape.pixelFormat =
            FrameCompositor::composable(_encoderPixelFormat) ? _encoderPixelFormat : AV_PIX_FMT_YUV444P;
    }
    if (_shape.audio) {
        ConvertSettings audioSettings = settings;
        audioSettings.videoCodec.clear();
        OutputPlan plan;
        if ((rc = planFor(*withAudio, audioSettings, plan, _stop)) < 0)
            return rc;
        _audioCodec = plan.audio.encoder;
        _encoderSampleFormat = plan.audio.sampleFormat;
        _audioBitRate = plan.audio.bitRate;
        _shape.sampleRate = plan.audio.sampleRate;
        _shape.channels = plan.audio.channels;
    }
    return 0;
}

int EncodingJoin::openOutput(const std::string& path, const AVOutputFormat* format) {
    int rc = _muxer.open(path, format, &_stop);
    if (rc < 0)
        return rc;
    ConvertSettings plain;
    FilterGraphBuilder builder(plain);
    if (_shape.video) {
        Encoder::Video video;
        video.codec = _videoCodec;
        video.width = _shape.width;
        video.height = _shape.height;
        video.pixelFormat = _encoderPixelFormat;
        video.timeBase = av_inv_q(_shape.frameRate);
        video.frameRate = _shape.frameRate;
        video.bitRate = _videoBitRate;
        video.globalHeader = _muxer.needsGlobalHeader();
        if ((rc = _videoEncoder.open(video)) < 0)
            return rc;
        if ((_videoStream = _muxer.addStream(_videoEncoder.context())) < 0)
            return _videoStream;
        VideoFrameFormat working;
        working.width = _shape.width;
        working.height = _shape.height;
        working.pixelFormat = _shape.pixelFormat;
        working.timeBase = video.timeBase;
        working.frameRate = _shape.frameRate;
        VideoTarget target;
        target.pixelFormats = {_encoderPixelFormat};
        if ((rc = _videoOut.open(builder.video(working, target))) < 0)
            return rc;
    }
    if (_shape.audio) {
        Encoder::Audio audio;
        audio.codec = _audioCodec;
        audio.sampleRate = _shape.sampleRate;
        audio.sampleFormat = _encoderSampleFormat;
        audio.channels = _shape.channels;
        audio.bitRate = _audioBitRate;
        audio.globalHeader = _muxer.needsGlobalHeader();
        if ((rc = _audioEncoder.open(audio)) < 0)
            return rc;
        if ((_audioStream = _muxer.addStream(_audioEncoder.context())) < 0)
            return _audioStream;
        AudioFrameFormat working;
        working.sampleRate = _shape.sampleRate;
        working.sampleFormat = AV_SAMPLE_FMT_FLTP;
        working.channels = _shape.channels;
        working.timeBase = AVRational{1, _shape.sampleRate};
        AudioTarget target;
        target.sampleRate = _shape.sampleRate;
        target.channels = _shape.channels;
        target.sampleFormats = {_encoderSampleFormat};
        if ((rc = _audioOut.open(builder.audio(working, target))) < 0)
            return rc;
        if (_audioEncoder.frameSize() > 0)
            _audioOut.setFrameSize(static_cast<unsigned>(_audioEncoder.frameSize()));
    }
    return _muxer.writeHeader();
}

void EncodingJoin::layOut() {
    std::vector<JoinTimeline::Entry> entries;
    for (const JoinClip& clip : _settings.clips)
        entries.push_back({clip.lengthUs(), clip.transition != JoinClip::kNone ? clip.transitionUs : 0});
    JoinTimeline timeline(entries);
    const AVRational frame = av_inv_q(_shape.frameRate);
    const AVRational sample{1, _shape.sampleRate};
    for (const JoinTimeline::Placement& p : timeline.placements()) {
        _firstFrame.push_back(toUnits(p.startUs, frame));
        _endFrame.push_back(toUnits(p.endUs(), frame));
        _firstSample.push_back(toUnits(p.startUs, sample));
        _endSample.push_back(toUnits(p.endUs(), sample));
    }
    _totalFrames = _shape.video ? _endFrame.back() : 0;
    _totalSamples = _shape.audio ? _endSample.back() : 0;
    _readers.resize(_settings.clips.size());
}

int EncodingJoin::run(const std::string& path, const AVOutputFormat* format) {
    int rc = planOutput(format);
    if (rc < 0)
        return rc;
    if ((rc = openOutput(path, format)) < 0)
        return rc;
    layOut();
    if (_shape.video) {
        for (int64_t frame = 0; frame < _totalFrames; ++frame) {
            if (_stop.load(std::memory_order_relaxed))
                return AVERROR_EXIT;
            if ((rc = writePicture(frame)) < 0)
                return rc;
            // The sound up to the end of this picture, so the muxer interleaves without holding much back.
            if (_shape.audio && (rc = writeSound(av_rescale_q(frame + 1, av_inv_q(_shape.frameRate),
                                                              AVRational{1, _shape.sampleRate}))) < 0)
                return rc;
            releasePassedReaders();
            _progress.store(std::min(99.9, 100.0 * static_cast<double>(frame + 1) / static_cast<double>(_totalFrames)));
        }
    }
    while (_shape.audio && _samplesWritten < _totalSamples) {
        if (_stop.load(std::memory_order_relaxed))
            return AVERROR_EXIT;
        if ((rc = writeSound(_samplesWritten + kSoundChunk)) < 0)
            return rc;
        releasePassedReaders();
        if (!_shape.video)
            _progress.store(std::min(99.9, 100.0 * static_cast<double>(_samplesWritten) / _totalSamples));
    }
    return finish();
}

int EncodingJoin::readerFor(size_t clip, JoinClipReader*& reader) {
    if (!_readers[clip]) {
        auto opened = std::make_unique<JoinClipReader>(_settings.clips[clip], _shape, _stop);
        if (int rc = opened->open(); rc < 0)
            return rc;
        _readers[clip] = std::move(opened);
    }
    reader = _readers[clip].get();
    return 0;
}

void EncodingJoin::releasePassedReaders() {
    size_t passed = std::min(_shape.video ? _videoClip : _readers.size(), _shape.audio ? _audioClip : _readers.size());
    for (size_t i = 0; i < passed && i < _readers.size(); ++i)
        _readers[i].reset();
}

FramePtr EncodingJoin::fullSize(FramePtr picture) {
    if (!picture) {
        // Clips without pictures show one shared black picture, never written to.
        if (!_black)
            _black = FrameCompositor::black(_shape.width, _shape.height, _shape.pixelFormat);
        return FramePtr(_black ? av_frame_clone(_black.get()) : nullptr);
    }
    if (picture->width == _shape.width && picture->height == _shape.height)
        return picture;
    return FrameCompositor::centred(picture.get(), _shape.width, _shape.height);
}

int EncodingJoin::writePicture(int64_t frame) {
    const size_t last = _settings.clips.size() - 1;
    while (_videoClip < last && frame >= _endFrame[_videoClip])
        ++_videoClip;
    JoinClipReader* reader = nullptr;
    FramePtr picture;
    int rc = readerFor(_videoClip, reader);
    if (rc < 0 || (rc = reader->nextPicture(picture)) < 0)
        return rc;
    picture = fullSize(std::move(picture));
    const size_t next = _videoClip + 1;
    if (next <= last && frame >= _firstFrame[next]) {
        FramePtr incoming;
        if ((rc = readerFor(next, reader)) < 0 || (rc = reader->nextPicture(incoming)) < 0)
            return rc;
        incoming = fullSize(std::move(incoming));
        const double span = static_cast<double>(_endFrame[_videoClip] - _firstFrame[next]);
        const double progress = (static_cast<double>(frame - _firstFrame[next]) + 0.5) / span;
        if (picture && incoming)
            picture = FrameCompositor::transition(picture.get(), incoming.get(), _settings.clips[_videoClip].transition,
                                                  progress);
    }
    if (!picture)
        return EngineLog::failure("compose picture", AVERROR(ENOMEM));
    picture->pts = frame;
    picture->sample_aspect_ratio = AVRational{1, 1};
    return encode(_videoEncoder, _videoOut, picture.get(), _videoStream);
}

int EncodingJoin::writeSound(int64_t upToSample) {
    upToSample = std::min(upToSample, _totalSamples);
    const size_t last = _settings.clips.size() - 1;
    const int channels = _shape.channels;
    std::vector<float> incoming(static_cast<size_t>(kSoundChunk) * channels);
    std::vector<float*> incomingPlanes(channels);
    for (int c = 0; c < channels; ++c)
        incomingPlanes[c] = incoming.data() + static_cast<size_t>(c) * kSoundChunk;

    while (_samplesWritten < upToSample) {
        while (_audioClip < last && _samplesWritten >= _endSample[_audioClip])
            ++_audioClip;
        const size_t next = _audioClip + 1;
        const bool mixing = next <= last && _samplesWritten >= _firstSample[next];
        // A piece that stays on one side of every boundary.
        int64_t end = std::min(upToSample, _endSample[_audioClip]);
        if (!mixing && next <= last)
            end = std::min(end, _firstSample[next]);
        if (_audioClip == last)
            end = upToSample;
        const int count = static_cast<int>(std::min<int64_t>(end - _samplesWritten, kSoundChunk));
        if (count <= 0)
            return EngineLog::failure("join sound", AVERROR_BUG,
                                      "no progress at sample " + std::to_string(_samplesWritten));

        FramePtr frame = makeFrame();
        frame->format = AV_SAMPLE_FMT_FLTP;
        frame->sample_rate = _shape.sampleRate;
        av_channel_layout_default(&frame->ch_layout, channels);
        frame->nb_samples = count;
        if (av_frame_get_buffer(frame.get(), 0) < 0)
            return EngineLog::failure("allocate sound", AVERROR(ENOMEM));
        float* const* planes = reinterpret_cast<float* const*>(frame->extended_data);
        JoinClipReader* reader = nullptr;
        int rc = readerFor(_audioClip, reader);
        if (rc < 0 || (rc = reader->readSound(planes, count)) < 0)
            return rc;
        if (mixing) {
            if ((rc = readerFor(next, reader)) < 0 || (rc = reader->readSound(incomingPlanes.data(), count)) < 0)
                return rc;
            const double span = static_cast<double>(_endSample[_audioClip] - _firstSample[next]);
            const double progress = (static_cast<double>(_samplesWritten - _firstSample[next]) + 0.5) / span;
            FrameCompositor::crossfade(planes, planes, incomingPlanes.data(), channels, count, progress, 1.0 / span);
        }
        frame->pts = _samplesWritten;
        _samplesWritten += count;
        if ((rc = encode(_audioEncoder, _audioOut, frame.get(), _audioStream)) < 0)
            return rc;
    }
    return 0;
}

int EncodingJoin::encode(Encoder& encoder, FilterGraph& graph, AVFrame* frame, int stream) {
    int rc = graph.push(frame);
    if (rc < 0)
        return EngineLog::failure("filter", rc, "join output");
    FramePtr out = makeFrame();
    AVRational timeBase = av_buffersink_get_time_base(graph.sink());
    while ((rc = graph.pull(out.get())) >= 0) {
        rc = encoder.push(out.get(), timeBase);
        av_frame_unref(out.get());
        if (rc < 0)
            return EngineLog::failure("encode", rc, "join output");
        if ((rc = drainEncoder(encoder, stream)) < 0)
            return rc;
    }
    if (rc != AVERROR(EAGAIN) && rc != AVERROR_EOF)
        return EngineLog::failure("filter", rc, "join output");
    return 0;
}

int EncodingJoin::drainEncoder(Encoder& encoder, int stream) {
    PacketPtr packet = makePacket();
    int rc;
    while ((rc = encoder.pull(packet.get())) >= 0) {
        if ((rc = _muxer.write(packet.get(), stream, encoder.context()->time_base)) < 0)
            return rc;
        av_packet_unref(packet.get());
    }
    return rc == AVERROR(EAGAIN) || rc == AVERROR_EOF ? 0 : EngineLog::failure("encode", rc, "join output");
}

int EncodingJoin::finish() {
    _readers.clear();
    struct Stream {
        bool present;
        Encoder& encoder;
        FilterGraph& graph;
        int index;
    };
    for (Stream s : {Stream{_shape.video, _videoEncoder, _videoOut, _videoStream},
                     Stream{_shape.audio, _audioEncoder, _audioOut, _audioStream}}) {
        if (!s.present)
            continue;
        if (int rc = encode(s.encoder, s.graph, nullptr, s.index); rc < 0)
            return rc;
        if (int rc = s.encoder.push(nullptr, AVRational{1, 1}); rc < 0 && rc != AVERROR_EOF)
            return EngineLog::failure("flush encoder", rc, "join output");
        if (int rc = drainEncoder(s.encoder, s.index); rc < 0)
            return rc;
    }
    _progress.store(99.9);
    return _muxer.finish();
}

} // namespace mediacore
