#include "ConvertPipeline.h"

#include "DecodableSeek.h"
#include "Decoder.h"
#include "Encoder.h"
#include "EngineLog.h"
#include "ExactCut.h"
#include "FilterGraph.h"
#include "StreamRecords.h"

extern "C" {
#include <libavfilter/buffersink.h>
}

#include <algorithm>
#include <cstring>

namespace mediacore {

// One output stream and everything between its source stream and the muxer.
struct ConvertPipeline::Lane {
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    int source = -1; // source stream index
    int output = -1; // output stream index
    bool copy = false;
    Decoder decoder;
    ExactCut cut;
    FilterGraph graph;
    Encoder encoder;
    VideoFrameFormat videoFormat; // what the graph was built for
    AudioFrameFormat audioFormat;
    int64_t startTicks = 0; // the cut on the source stream's clock
    int64_t stopTicks = INT64_MAX;
    int64_t endPts = AV_NOPTS_VALUE; // end of the last frame given to the graph, on the graph's timeline
    bool done = false;               // past the cut's end: takes no more input
    bool started = false;            // copy: a key frame has been passed on
    int64_t bytes = 0;               // written so far
    int64_t packets = 0;
    bool generated = false; // sound made inside the graph (music without main audio): pulled, never fed
    int64_t madeUs = 0;     // generated: end of the sound made so far (µs); INT64_MAX once the graph has ended
};

namespace {
bool sameVideo(const VideoFrameFormat& a, const AVFrame* f) {
    return a.width == f->width && a.height == f->height && a.pixelFormat == f->format;
}

bool sameAudio(const AudioFrameFormat& a, const AVFrame* f) {
    return a.sampleRate == f->sample_rate && a.sampleFormat == f->format && a.channels == f->ch_layout.nb_channels;
}

uint64_t channelMask(const AVChannelLayout& layout) {
    return layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
}

bool wanted(int rc) {
    return rc == AVERROR(EAGAIN) || rc == AVERROR_EOF;
}
} // namespace

ConvertPipeline::ConvertPipeline(const ConvertSettings& settings, Demuxer& source, const std::vector<int64_t>& bitRates,
                                 const std::atomic<bool>& stop, std::atomic<int>& progress)
    : _settings(settings), _source(source), _bitRates(bitRates), _stop(stop), _progress(progress), _builder(settings) {}

ConvertPipeline::~ConvertPipeline() = default;

int ConvertPipeline::run(const std::string& outputFile) {
    int rc = OutputPlan::make(_settings, _source, _bitRates, _plan, true);
    if (rc < 0)
        return rc;
    if (!_plan.route.empty())
        EngineLog::note(_plan.route);
    _startUs = _settings.cutStartUs;
    _stopUs = _settings.cutStopUs > 0 ? _settings.cutStopUs : INT64_MAX;
    int64_t duration = _source.durationUs();
    _endUs = _stopUs != INT64_MAX ? (duration > 0 ? std::min(_stopUs, duration) : _stopUs) : duration;

    if ((rc = _muxer.open(outputFile, _plan.container, &_stop)) < 0)
        return rc;
    _budget = SizeBudget(_settings.sizeLimitBytes, _plan.container->name);
    if (_plan.video.stream >= 0 && (rc = openVideoLane()) < 0)
        return rc;
    if ((_plan.audio.stream >= 0 || _plan.audio.musicOnly) && (rc = openAudioLane()) < 0)
        return rc;
    if ((rc = _muxer.writeHeader()) < 0)
        return rc;
    _budget.setHeaderBytes(_muxer.bytesWritten());
    if (!_budget.fits(0))
        return EngineLog::failure("convert", AVERROR(EFBIG), "the size limit is smaller than the file's header");

    // Streams no lane takes are not read at all (a sound-only output of a film, a video without its sound).
    for (unsigned i = 0; i < _source.context()->nb_streams; ++i)
        if (!laneFor(static_cast<int>(i)))
            _source.context()->streams[i]->discard = AVDISCARD_ALL;

    // The probe may have read ahead. Decoded video starts from a key frame it can really start from; a file
    // that cannot seek to the cut's start is read from its start, and the cut drops what lies before the range.
    int decodedVideo = -1;
    for (const auto& lane : _lanes)
        if (lane->type == AVMEDIA_TYPE_VIDEO && !lane->copy)
            decodedVideo = lane->source;
    if ((rc = DecodableSeek::seek(_source, decodedVideo, _startUs)) < 0)
        return rc;
    if ((rc = readAll()) < 0)
        return rc;
    if ((rc = drain()) < 0)
        return rc;
    if (_stop.load())
        return AVERROR_EXIT;
    // Sound past the last frame stays out of a file the limit ended early.
    if ((rc = releaseSound(!_limitReached)) < 0)
        return rc;
    _heldSound.clear();
    for (const auto& lane : _lanes) {
        if (lane->packets > 0)
            continue;
        if (_budget.enabled())
            return EngineLog::failure("convert", AVERROR(EFBIG), "the size limit leaves no room for a frame");
        // A stream the file promised but nothing of which was written: nothing in the range could be read.
        return EngineLog::failure("convert", AVERROR_INVALIDDATA,
                                  std::string("nothing decodable in the range for the ") +
                                      av_get_media_type_string(lane->type) + " of " + _source.path());
    }
    return _muxer.finish();
}

void ConvertPipeline::setLaneRange(Lane& lane, const AVStream* stream) const {
    lane.startTicks = _source.toTicks(lane.source, _startUs);
    lane.stopTicks = _stopUs == INT64_MAX ? INT64_MAX : _source.toTicks(lane.source, _stopUs);
    lane.cut = ExactCut(stream->time_base, lane.startTicks, lane.stopTicks);
}

int ConvertPipeline::openVideoLane() {
    auto lane = std::make_unique<Lane>();
    lane->type = AVMEDIA_TYPE_VIDEO;
    lane->source = _plan.video.stream;
    lane->copy = _plan.video.copy;
    const AVStream* stream = _source.stream(lane->source);
    setLaneRange(*lane, stream);
    if (lane->copy) {
        lane->output = _muxer.addCopiedStream(stream);
    } else {
        int rc = lane->decoder.open(stream);
        if (rc < 0)
            return rc;
        const AVCodecContext* decoded = lane->decoder.context();
        VideoFrameFormat& format = lane->videoFormat;
        format.width = decoded->width;
        format.height = decoded->height;
        format.pixelFormat = decoded->pix_fmt != AV_PIX_FMT_NONE ? decoded->pix_fmt : AV_PIX_FMT_YUV420P;
        format.timeBase = stream->time_base;
        format.sampleAspect = decoded->sample_aspect_ratio;
        format.frameRate = stream->avg_frame_rate;
        format.rotation = StreamRecords::rotation(stream);
        format.mirrored = StreamRecords::mirrored(stream);
        if ((rc = buildGraph(*lane)) < 0)
            return rc;
        AVFilterContext* sink = lane->graph.sink();
        Encoder::Video video;
        video.codec = _plan.video.encoder;
        video.width = av_buffersink_get_w(sink);
        video.height = av_buffersink_get_h(sink);
        video.pixelFormat = static_cast<AVPixelFormat>(av_buffersink_get_format(sink));
        video.timeBase = av_buffersink_get_time_base(sink);
        video.frameRate = _plan.video.frameRate;
        AVRational aspect = av_buffersink_get_sample_aspect_ratio(sink);
        video.sampleAspect = aspect.num > 0 ? aspect : AVRational{1, 1};
        video.bitRate = _plan.video.bitRate;
        video.globalHeader = _muxer.needsGlobalHeader();
        video.inPresentationOrder = _settings.sizeLimitBytes > 0;
        if ((rc = lane->encoder.open(video)) < 0)
            return rc;
        lane->output = _muxer.addStream(lane->encoder.context());
    }
    if (lane->output < 0)
        return lane->output;
    _lanes.push_back(std::move(lane));
    keepRotationMetadata(*_lanes.back());
    return 0;
}

int ConvertPipeline::openAudioLane() {
    auto lane = std::make_unique<Lane>();
    lane->type = AVMEDIA_TYPE_AUDIO;
    lane->source = _plan.audio.stream;
    lane->copy = _plan.audio.copy;
    // Music without main audio has no source stream: the graph makes the sound and the lane takes no packets.
    lane->generated = _plan.audio.musicOnly;
    lane->done = lane->generated;
    const AVStream* stream = lane->generated ? nullptr : _source.stream(lane->source);
    if (stream)
        setLaneRange(*lane, stream);
    if (lane->copy) {
        lane->output = _muxer.addCopiedStream(stream);
    } else {
        int rc = 0;
        if (stream) {
            if ((rc = lane->decoder.open(stream)) < 0)
                return rc;
            const AVCodecContext* decoded = lane->decoder.context();
            AudioFrameFormat& format = lane->audioFormat;
            format.sampleRate = decoded->sample_rate;
            format.sampleFormat = decoded->sample_fmt;
            format.channels = decoded->ch_layout.nb_channels;
            format.channelMask = channelMask(decoded->ch_layout);
            format.timeBase = stream->time_base;
        }
        if ((rc = buildGraph(*lane)) < 0)
            return rc;
        Encoder::Audio audio;
        audio.codec = _plan.audio.encoder;
        audio.sampleRate = _plan.audio.sampleRate;
        audio.sampleFormat = _plan.audio.sampleFormat;
        audio.channels = _plan.audio.channels;
        audio.bitRate = _plan.audio.bitRate;
        audio.globalHeader = _muxer.needsGlobalHeader();
        if ((rc = lane->encoder.open(audio)) < 0)
            return rc;
        if (lane->encoder.frameSize() > 0)
            lane->graph.setFrameSize(static_cast<unsigned>(lane->encoder.frameSize()));
        lane->output = _muxer.addStream(lane->encoder.context());
    }
    if (lane->output < 0)
        return lane->output;
    _lanes.push_back(std::move(lane));
    return 0;
}

int ConvertPipeline::buildGraph(Lane& lane) {
    if (lane.type == AVMEDIA_TYPE_VIDEO) {
        VideoTarget target;
        target.width = _plan.video.width;
        target.height = _plan.video.height;
        target.frameRate = _plan.video.frameRate;
        target.pixelFormats = {_plan.video.pixelFormat};
        target.applyStreamRotation = _plan.video.uprightPixels;
        return lane.graph.open(_builder.video(lane.videoFormat, target));
    }
    AudioTarget target;
    target.sampleRate = _plan.audio.sampleRate;
    target.channels = _plan.audio.channels;
    target.sampleFormats = {_plan.audio.sampleFormat};
    target.lengthUs = _endUs > _startUs ? _endUs - _startUs : 0;
    // A graph rebuilt after a change of the sound's shape picks the music up where the last one left it.
    if (!lane.generated && lane.endPts != AV_NOPTS_VALUE)
        target.startUs = av_rescale_q(lane.endPts, _source.stream(lane.source)->time_base, AV_TIME_BASE_Q);
    int rc = lane.graph.open(lane.generated ? _builder.audioWithoutSource(target)
                                            : _builder.audio(lane.audioFormat, target));
    if (rc >= 0 && lane.encoder.context() && lane.encoder.frameSize() > 0)
        lane.graph.setFrameSize(static_cast<unsigned>(lane.encoder.frameSize()));
    return rc;
}

void ConvertPipeline::keepRotationMetadata(const Lane& lane) {
    // A job that does not turn the pixels keeps the source's display rotation; one that does writes upright
    // pixels with no rotation.
    if ((_settings.rotateAngle && !lane.copy) || (lane.type == AVMEDIA_TYPE_VIDEO && _plan.video.uprightPixels))
        return;
    size_t size = 0;
    const uint8_t* matrix = av_stream_get_side_data(_source.stream(lane.source), AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!matrix)
        return;
    if (uint8_t* copy = av_stream_new_side_data(_muxer.stream(lane.output), AV_PKT_DATA_DISPLAYMATRIX, size))
        std::memcpy(copy, matrix, size);
}

ConvertPipeline::Lane* ConvertPipeline::laneFor(int sourceStream) {
    for (auto& lane : _lanes)
        if (lane->source == sourceStream)
            return lane.get();
    return nullptr;
}

bool ConvertPipeline::allDone() const {
    for (const auto& lane : _lanes)
        if (!lane->done)
            return false;
    return true;
}

void ConvertPipeline::reportTime(int64_t timeUs) {
    // Time taken out of the source's timeline (an empty span of its timestamps) is work that will not be done.
    const int64_t endUs = _endUs - _source.takenOutUs();
    if (endUs <= _startUs)
        return;
    int64_t percent = (timeUs - _startUs) * 100 / (endUs - _startUs);
    int value = static_cast<int>(std::clamp<int64_t>(percent, 0, 99));
    if (value > _progress.load(std::memory_order_relaxed))
        _progress.store(value, std::memory_order_relaxed);
}

int64_t ConvertPipeline::pendingBytes() const {
    int64_t pending = 0;
    for (const auto& lane : _lanes) {
        if (lane->copy)
            continue;
        const AVCodecContext* encoder = lane->encoder.context();
        double perFrame;
        if (lane->packets > 0)
            perFrame = static_cast<double>(lane->bytes) / lane->packets;
        else if (lane->type == AVMEDIA_TYPE_VIDEO)
            perFrame = encoder->bit_rate > 0 ? encoder->bit_rate / 8.0 / std::max(1.0, av_q2d(encoder->framerate))
                                             : encoder->width * encoder->height / 10.0;
        else
            perFrame = 1024;
        // Half as much again: key frames and the last frames of a run are larger than the average.
        pending += static_cast<int64_t>(lane->encoder.framesInFlight() * perFrame * 1.5);
    }
    return pending;
}

int ConvertPipeline::readAll() {
    PacketPtr packet = makePacket();
    while (!allDone()) {
        if (_stop.load(std::memory_order_relaxed))
            return AVERROR_EXIT;
        int rc = _source.read(packet.get());
        if (rc == AVERROR_EXIT)
            return rc;
        if (rc < 0) {
            // A damaged or truncated file ends where its readable part ends, as it plays; a failed read fails.
            if (!Demuxer::endsReading(rc))
                return rc;
            if (rc != AVERROR_EOF)
                EngineLog::failure("read input (writing what was read)", rc, _source.path());
            return 0;
        }
        Lane* lane = laneFor(packet->stream_index);
        if (lane && !lane->done)
            rc = lane->copy ? copyPacket(*lane, packet.get()) : decodePacket(*lane, packet.get());
        av_packet_unref(packet.get());
        if (rc >= 0)
            rc = pumpGenerated(mainTimeUs());
        if (rc < 0)
            return rc;
        if (!_writing)
            return 0;
        if (_budget.enabled() && _budget.exhausted(pendingBytes())) {
            _limitReached = true;
            return 0;
        }
    }
    return 0;
}

int ConvertPipeline::drain() {
    for (auto& lane : _lanes) {
        if (lane->copy)
            continue;
        int rc = 0;
        if (lane->generated) {
            // The other lanes are drained by now (audio comes after video): the sound runs to its end, or to
            // where the video stopped when the size limit ended the run.
            if ((rc = pumpGenerated(_limitReached ? mainTimeUs() : INT64_MAX)) < 0 ||
                (rc = encodeFrame(*lane, nullptr)) < 0)
                return rc;
            continue;
        }
        // Frames still inside a decoder matter only when the file ended before the cut's end.
        if (!lane->done && !_limitReached) {
            lane->decoder.push(nullptr);
            if ((rc = receiveFrames(*lane)) < 0)
                return rc;
        }
        if (lane->type == AVMEDIA_TYPE_VIDEO) {
            std::vector<FramePtr> held;
            lane->cut.flushVideo(held);
            for (FramePtr& frame : held)
                if ((rc = passFrame(*lane, frame.get())) < 0)
                    return rc;
        }
        if ((rc = endGraphInput(*lane)) < 0)
            return rc;
        if ((rc = pullGraph(*lane)) < 0)
            return rc;
        if ((rc = encodeFrame(*lane, nullptr)) < 0)
            return rc;
    }
    return 0;
}

int ConvertPipeline::copyPacket(Lane& lane, AVPacket* packet) {
    const bool video = lane.type == AVMEDIA_TYPE_VIDEO;
    if (video && !lane.started) {
        // A copied stream can only start on a key frame: the one at or before the cut's start.
        if (!(packet->flags & AV_PKT_FLAG_KEY))
            return 0;
        lane.started = true;
    }
    int64_t time = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (time != AV_NOPTS_VALUE && time >= lane.stopTicks) {
        lane.done = true;
        return 0;
    }
    if (!video && packet->pts != AV_NOPTS_VALUE && packet->pts + packet->duration <= lane.startTicks)
        return 0;
    if (time != AV_NOPTS_VALUE)
        reportTime(_source.toMicroseconds(lane.source, time));
    // The cut's start becomes time 0; the packets before it (back to the key frame) get negative times, which
    // containers with edit lists hide and others shift.
    if (packet->pts != AV_NOPTS_VALUE)
        packet->pts -= lane.startTicks;
    if (packet->dts != AV_NOPTS_VALUE)
        packet->dts -= lane.startTicks;
    return writePacket(lane, packet, _source.stream(lane.source)->time_base);
}

int ConvertPipeline::decodePacket(Lane& lane, const AVPacket* packet) {
    int rc = lane.decoder.push(packet);
    if (rc < 0 && rc != AVERROR(EAGAIN))
        return EngineLog::failure("decode", rc, _source.path());
    return receiveFrames(lane);
}

int ConvertPipeline::receiveFrames(Lane& lane) {
    FramePtr frame = makeFrame();
    int rc;
    while (!lane.done && (rc = lane.decoder.pull(frame.get())) >= 0) {
        if ((rc = acceptFrame(lane, std::move(frame))) < 0)
            return rc;
        frame = makeFrame();
    }
    return 0;
}

int ConvertPipeline::acceptFrame(Lane& lane, FramePtr frame) {
    if (frame->pts != AV_NOPTS_VALUE)
        reportTime(_source.toMicroseconds(lane.source, frame->pts));
    std::vector<FramePtr> kept;
    if (lane.type == AVMEDIA_TYPE_VIDEO)
        lane.cut.pushVideo(std::move(frame), kept);
    else if (FramePtr part = lane.cut.cutAudio(std::move(frame)))
        kept.push_back(std::move(part));
    if (lane.cut.finished())
        lane.done = true;
    for (FramePtr& f : kept)
        if (int rc = passFrame(lane, f.get()); rc < 0)
            return rc;
    return 0;
}

int ConvertPipeline::passFrame(Lane& lane, AVFrame* frame) {
    if (frame->pts == AV_NOPTS_VALUE)
        return filterFrame(lane, frame);
    // Onto the graph's timeline: the cut's start is time 0.
    frame->pts -= lane.startTicks;
    const AVRational timeBase = _source.stream(lane.source)->time_base;
    int64_t duration;
    if (lane.type == AVMEDIA_TYPE_AUDIO) {
        duration = av_rescale_q(frame->nb_samples, AVRational{1, frame->sample_rate}, timeBase);
    } else if (frame->pkt_duration > 0) {
        duration = frame->pkt_duration;
    } else {
        const AVRational rate = StreamRecords::frameRate(_source.stream(lane.source));
        duration = rate.num > 0 ? av_rescale_q(1, av_inv_q(rate), timeBase) : 0;
    }
    int rc = filterFrame(lane, frame);
    int64_t end = frame->pts + duration;
    if (lane.stopTicks != INT64_MAX)
        end = std::min(end, lane.stopTicks - lane.startTicks);
    if (lane.endPts == AV_NOPTS_VALUE || end > lane.endPts)
        lane.endPts = end;
    return rc;
}

int ConvertPipeline::endGraphInput(Lane& lane) {
    // The end's time lets the frame-rate filter give the last frame its full length.
    int rc = lane.endPts != AV_NOPTS_VALUE ? lane.graph.close(lane.endPts) : lane.graph.push(nullptr);
    if (rc < 0 && rc != AVERROR_EOF)
        return EngineLog::failure("end filter input", rc);
    return 0;
}

int ConvertPipeline::filterFrame(Lane& lane, AVFrame* frame) {
    const bool video = lane.type == AVMEDIA_TYPE_VIDEO;
    if (video ? !sameVideo(lane.videoFormat, frame) : !sameAudio(lane.audioFormat, frame)) {
        // The stream changed shape mid-way: finish what the old graph holds, then build one for the new shape
        // with the same output, so the encoder never sees the change.
        int rc = endGraphInput(lane);
        if (rc >= 0)
            rc = pullGraph(lane);
        if (rc < 0)
            return rc;
        if (video) {
            lane.videoFormat.width = frame->width;
            lane.videoFormat.height = frame->height;
            lane.videoFormat.pixelFormat = static_cast<AVPixelFormat>(frame->format);
        } else {
            lane.audioFormat.sampleRate = frame->sample_rate;
            lane.audioFormat.sampleFormat = static_cast<AVSampleFormat>(frame->format);
            lane.audioFormat.channels = frame->ch_layout.nb_channels;
            lane.audioFormat.channelMask = channelMask(frame->ch_layout);
        }
        if ((rc = buildGraph(lane)) < 0)
            return rc;
    }
    int rc = lane.graph.push(frame);
    if (rc < 0)
        return EngineLog::failure("filter", rc);
    return pullGraph(lane);
}

int ConvertPipeline::pullGraph(Lane& lane) {
    FramePtr filtered = makeFrame();
    int rc;
    while ((rc = lane.graph.pull(filtered.get())) >= 0) {
        rc = encodeFrame(lane, filtered.get());
        av_frame_unref(filtered.get());
        if (rc < 0)
            return rc;
    }
    return wanted(rc) ? 0 : EngineLog::failure("filter", rc);
}

void ConvertPipeline::noteWrittenVideo(const Lane& lane, const AVPacket& packet, AVRational timeBase) {
    int64_t duration = packet.duration;
    if (duration <= 0) {
        const AVRational rate = lane.encoder.context()->framerate;
        duration = rate.num > 0 ? av_rescale_q(1, av_inv_q(rate), timeBase) : 0;
    }
    // Rounded up, so that a cut starting there never falls before the next frame's start (that frame would then
    // not be the one on screen at the cut).
    const int64_t end = _startUs + av_rescale_q_rnd(packet.pts + duration, timeBase, AV_TIME_BASE_Q,
                                                    static_cast<AVRounding>(AV_ROUND_UP | AV_ROUND_PASS_MINMAX));
    _writtenVideoEndUs = std::max(_writtenVideoEndUs, end);
}

int64_t ConvertPipeline::writtenEndUs() const {
    if (_writtenVideoEndUs > 0)
        return _writtenVideoEndUs;
    const Lane* main = nullptr;
    for (const auto& lane : _lanes)
        if (!lane->generated && lane->endPts != AV_NOPTS_VALUE && (!main || lane->type == AVMEDIA_TYPE_VIDEO))
            main = lane.get();
    if (!main)
        return _startUs;
    // From the lane's own ticks, so that the time maps back onto the same tick when a next cut starts there.
    return av_rescale_q(main->startTicks + main->endPts, _source.stream(main->source)->time_base, AV_TIME_BASE_Q);
}

int64_t ConvertPipeline::mainTimeUs() const {
    int64_t time = 0;
    for (const auto& lane : _lanes)
        if (!lane->generated && lane->endPts != AV_NOPTS_VALUE)
            time = std::max(time, av_rescale_q(lane->endPts, _source.stream(lane->source)->time_base, AV_TIME_BASE_Q));
    return time;
}

// Sound made inside the graph follows the other lanes: it is pulled up to where they have got, so the muxer
// interleaves the streams instead of holding one of them whole.
int ConvertPipeline::pumpGenerated(int64_t untilUs) {
    for (auto& lane : _lanes) {
        if (!lane->generated)
            continue;
        FramePtr made = makeFrame();
        while (lane->madeUs < untilUs) {
            if (_stop.load(std::memory_order_relaxed))
                return AVERROR_EXIT;
            int rc = lane->graph.pull(made.get());
            if (rc == AVERROR_EOF) {
                lane->madeUs = INT64_MAX;
                break;
            }
            if (rc < 0)
                return EngineLog::failure("filter", rc);
            const AVRational timeBase = av_buffersink_get_time_base(lane->graph.sink());
            lane->madeUs = av_rescale_q(made->pts, timeBase, AV_TIME_BASE_Q) +
                           av_rescale(made->nb_samples, AV_TIME_BASE, std::max(1, made->sample_rate));
            rc = encodeFrame(*lane, made.get());
            av_frame_unref(made.get());
            if (rc < 0)
                return rc;
        }
    }
    return 0;
}

int ConvertPipeline::encodeFrame(Lane& lane, AVFrame* frame) {
    int rc = lane.encoder.push(frame, av_buffersink_get_time_base(lane.graph.sink()));
    if (rc < 0 && rc != AVERROR_EOF)
        return EngineLog::failure("encode", rc, lane.encoder.context()->codec->name);
    PacketPtr packet = makePacket();
    while ((rc = lane.encoder.pull(packet.get())) >= 0) {
        if (_stop.load(std::memory_order_relaxed))
            return AVERROR_EXIT;
        if ((rc = writePacket(lane, packet.get(), lane.encoder.context()->time_base)) < 0)
            return rc;
    }
    return wanted(rc) ? 0 : EngineLog::failure("encode", rc, lane.encoder.context()->codec->name);
}

int ConvertPipeline::writePacket(Lane& lane, AVPacket* packet, AVRational timeBase) {
    if (!_writing) {
        av_packet_unref(packet);
        return 0;
    }
    if (_budget.enabled()) {
        if (!_budget.fits(packet->size)) {
            // The rest would not fit: the file ends with what is written (every stream is a decodable prefix).
            _writing = false;
            _limitReached = true;
            av_packet_unref(packet);
            return 0;
        }
        _budget.add(packet->size);
    }
    lane.bytes += packet->size;
    ++lane.packets;
    if (lane.type == AVMEDIA_TYPE_AUDIO && holdsSound() && packet->pts != AV_NOPTS_VALUE) {
        HeldPacket held;
        held.packet = makePacket();
        av_packet_move_ref(held.packet.get(), packet);
        held.output = lane.output;
        held.timeBase = timeBase;
        held.endUs = _startUs + av_rescale_q(held.packet->pts + held.packet->duration, timeBase, AV_TIME_BASE_Q);
        _heldSound.push_back(std::move(held));
        return 0;
    }
    const bool video = lane.type == AVMEDIA_TYPE_VIDEO && !lane.copy && packet->pts != AV_NOPTS_VALUE;
    if (video) {
        // In the container's time base, which can tell a 1 s end where the encoder's (1/rate) cannot.
        const AVRational muxed = _muxer.timeBase(lane.output);
        av_packet_rescale_ts(packet, timeBase, muxed);
        timeBase = muxed;
        const AVRational rate = lane.encoder.context()->framerate;
        if (packet->duration <= 0 && rate.num > 0 && rate.den > 0)
            packet->duration = av_rescale_q(1, av_inv_q(rate), timeBase);
        endWithinRange(packet, timeBase);
        noteWrittenVideo(lane, *packet, timeBase);
    }
    int rc = _muxer.write(packet, lane.output, timeBase);
    if (rc >= 0 && video)
        rc = releaseSound(false);
    return rc;
}

void ConvertPipeline::endWithinRange(AVPacket* packet, AVRational timeBase) const {
    // A picture shows until the next or the range's end, whichever comes first: the last picture of a cut through
    // a slideshow (one picture every 5 s) does not stretch a 1 s cut to 5 s.
    if (_stopUs == INT64_MAX || _endUs <= _startUs || packet->duration <= 0)
        return;
    const int64_t limit = av_rescale_q(_endUs - _startUs, AV_TIME_BASE_Q, timeBase);
    if (packet->pts < limit && packet->pts + packet->duration > limit)
        packet->duration = limit - packet->pts;
}

bool ConvertPipeline::holdsSound() const {
    if (!_budget.enabled())
        return false;
    for (const auto& lane : _lanes)
        if (lane->type == AVMEDIA_TYPE_VIDEO && !lane->copy)
            return true;
    return false;
}

int ConvertPipeline::releaseSound(bool all) {
    while (!_heldSound.empty() && (all || _heldSound.front().endUs <= _writtenVideoEndUs)) {
        HeldPacket held = std::move(_heldSound.front());
        _heldSound.pop_front();
        if (int rc = _muxer.write(held.packet.get(), held.output, held.timeBase); rc < 0)
            return rc;
    }
    return 0;
}

} // namespace mediacore
