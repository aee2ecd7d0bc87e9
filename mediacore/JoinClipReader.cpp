#include "JoinClipReader.h"

#include "ConvertSettings.h"
#include "DecodableSeek.h"
#include "Decoder.h"
#include "Demuxer.h"
#include "EngineLog.h"
#include "ExactCut.h"
#include "FilterGraph.h"
#include "FilterGraphBuilder.h"
#include "StreamRecords.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <cmath>

namespace mediacore {

// One stream of the clip, from its own demuxer to the graph that brings it to the output's shape.
struct JoinClipReader::Lane {
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    Demuxer input;
    int stream = -1;
    Decoder decoder;
    ExactCut cut;
    ConvertSettings edits; // the clip's own edits for the graph builder: only its volume
    FilterGraph graph;
    int graphWidth = 0; // what the graph was built for
    int graphHeight = 0;
    int graphFormat = -1;
    int graphRate = 0; // sound
    int graphChannels = 0;
    int64_t startTicks = 0;
    bool inputEnded = false; // the graph has been told the input ended
    bool ended = false;      // and has given its last frame
};

void JoinClipReader::FifoDeleter::operator()(AVAudioFifo* fifo) const {
    av_audio_fifo_free(fifo);
}

namespace {
uint64_t channelMask(const AVChannelLayout& layout) {
    return layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
}

int evenDown(int value) {
    return std::max(2, value & ~1);
}
} // namespace

JoinClipReader::JoinClipReader(const JoinClip& clip, const JoinOutputShape& shape, const std::atomic<bool>& stop)
    : _clip(clip), _shape(shape), _stop(stop) {}

JoinClipReader::~JoinClipReader() = default;

std::pair<int, int> JoinClipReader::fittedSize(int width, int height, AVRational sampleAspect, int rotation,
                                               int boxWidth, int boxHeight) {
    double aspect = sampleAspect.num > 0 && sampleAspect.den > 0 ? av_q2d(sampleAspect) : 1.0;
    if (FilterGraphBuilder::normaliseAngle(rotation) % 180 == 90) {
        std::swap(width, height);
        aspect = 1.0 / aspect;
    }
    double shownWidth = width * aspect;
    double scale = std::min(boxWidth / shownWidth, static_cast<double>(boxHeight) / height);
    int w = static_cast<int>(std::lround(shownWidth * scale));
    int h = static_cast<int>(std::lround(height * scale));
    // Within two pixels of the box is the box: no hairline bars from rounding.
    if (boxWidth - w <= 2)
        w = boxWidth;
    if (boxHeight - h <= 2)
        h = boxHeight;
    return {std::min(boxWidth, evenDown(w)), std::min(boxHeight, evenDown(h))};
}

int JoinClipReader::open() {
    Demuxer probe;
    int rc = probe.open(_clip.path, &_stop);
    if (rc < 0)
        return rc;
    if (_shape.video && probe.firstVideoStream() >= 0) {
        _video = std::make_unique<Lane>();
        _video->type = AVMEDIA_TYPE_VIDEO;
        if ((rc = openLane(*_video, probe.firstVideoStream())) < 0)
            return rc;
    }
    if (_shape.audio) {
        _sound.reset(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, _shape.channels, 4096));
        if (!_sound)
            return EngineLog::failure("allocate sound buffer", AVERROR(ENOMEM));
        if (probe.firstAudioStream() >= 0) {
            _audio = std::make_unique<Lane>();
            _audio->type = AVMEDIA_TYPE_AUDIO;
            _audio->edits.mainAudioVolume = _clip.volume;
            if ((rc = openLane(*_audio, probe.firstAudioStream())) < 0)
                return rc;
        }
    }
    return 0;
}

int JoinClipReader::openLane(Lane& lane, int streamIndex) {
    int rc = lane.input.open(_clip.path, &_stop);
    if (rc < 0)
        return rc;
    lane.stream = streamIndex;
    AVFormatContext* context = lane.input.context();
    // Each lane reads the packets of every picture and sound stream, though it decodes only its own: the demuxer
    // takes out spans in which no stream has anything, and both lanes must see the same spans to stay in step.
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* s = context->streams[i];
        const bool media =
            (s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC)) ||
            s->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
        context->streams[i]->discard = static_cast<int>(i) == streamIndex || media ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    const AVStream* stream = lane.input.stream(streamIndex);
    lane.startTicks = lane.input.toTicks(streamIndex, _clip.startUs);
    int64_t stopTicks = _clip.wholeFile ? INT64_MAX : lane.input.toTicks(streamIndex, _clip.stopUs);
    lane.cut = ExactCut(stream->time_base, lane.startTicks, stopTicks);
    if ((rc = lane.decoder.open(stream)) < 0)
        return rc;
    if (_clip.startUs > 0 && lane.type == AVMEDIA_TYPE_VIDEO)
        return DecodableSeek::seek(lane.input, streamIndex, _clip.startUs);
    if (_clip.startUs > 0 && (rc = lane.input.seek(_clip.startUs)) < 0)
        return rc;
    return 0;
}

int JoinClipReader::buildGraph(Lane& lane, const AVFrame* first) {
    const AVStream* stream = lane.input.stream(lane.stream);
    FilterGraphBuilder builder(lane.edits);
    int rc;
    if (lane.type == AVMEDIA_TYPE_VIDEO) {
        VideoFrameFormat format;
        format.width = first->width;
        format.height = first->height;
        format.pixelFormat = static_cast<AVPixelFormat>(first->format);
        format.timeBase = stream->time_base;
        format.sampleAspect = first->sample_aspect_ratio;
        format.frameRate = stream->avg_frame_rate;
        format.rotation = StreamRecords::rotation(stream);
        format.mirrored = StreamRecords::mirrored(stream);
        VideoTarget target;
        auto [w, h] = fittedSize(first->width, first->height, first->sample_aspect_ratio, format.rotation, _shape.width,
                                 _shape.height);
        target.width = w;
        target.height = h;
        target.pixelFormats = {_shape.pixelFormat};
        target.applyStreamRotation = true;
        rc = lane.graph.open(builder.video(format, target));
        lane.graphWidth = first->width;
        lane.graphHeight = first->height;
        lane.graphFormat = first->format;
        if (rc >= 0)
            _pictureTimeBase = av_buffersink_get_time_base(lane.graph.sink());
    } else {
        AudioFrameFormat format;
        format.sampleRate = first->sample_rate;
        format.sampleFormat = static_cast<AVSampleFormat>(first->format);
        format.channels = first->ch_layout.nb_channels;
        format.channelMask = channelMask(first->ch_layout);
        format.timeBase = stream->time_base;
        AudioTarget target;
        target.sampleRate = _shape.sampleRate;
        target.channels = _shape.channels;
        target.sampleFormats = {AV_SAMPLE_FMT_FLTP};
        rc = lane.graph.open(builder.audio(format, target));
        lane.graphFormat = first->format;
        lane.graphRate = first->sample_rate;
        lane.graphChannels = first->ch_layout.nb_channels;
    }
    return rc;
}

int JoinClipReader::pump(Lane& lane) {
    PacketPtr packet = makePacket();
    while (!lane.ended) {
        if (_stop.load(std::memory_order_relaxed))
            return AVERROR_EXIT;
        if (!lane.inputEnded) {
            int rc = lane.input.read(packet.get());
            if (rc == AVERROR_EXIT)
                return rc;
            if (rc < 0) {
                // A damaged or truncated file ends where its readable part ends, as it plays; a failed read fails.
                if (!Demuxer::endsReading(rc))
                    return rc;
                if (rc != AVERROR_EOF)
                    EngineLog::failure("read clip (joining what was read)", rc, _clip.path);
                lane.decoder.push(nullptr);
                if ((rc = decodePacket(lane, nullptr)) < 0)
                    return rc;
                if ((rc = endInput(lane)) < 0)
                    return rc;
            } else {
                if (packet->stream_index == lane.stream)
                    rc = decodePacket(lane, packet.get());
                av_packet_unref(packet.get());
                if (rc < 0)
                    return rc;
            }
        }
        auto held = [&] {
            return lane.type == AVMEDIA_TYPE_VIDEO ? static_cast<int64_t>(_pictures.size())
                                                   : static_cast<int64_t>(av_audio_fifo_size(_sound.get()));
        };
        const int64_t before = held();
        if (int rc = pullGraph(lane); rc < 0)
            return rc;
        if (held() > before || _silenceDue > 0)
            return 0;
    }
    return 0;
}

int JoinClipReader::decodePacket(Lane& lane, const AVPacket* packet) {
    if (packet) {
        int rc = lane.decoder.push(packet);
        if (rc < 0 && rc != AVERROR(EAGAIN))
            return EngineLog::failure("decode", rc, _clip.path);
    }
    FramePtr frame = makeFrame();
    int rc;
    while (!lane.inputEnded && (rc = lane.decoder.pull(frame.get())) >= 0) {
        if ((rc = acceptFrame(lane, std::move(frame))) < 0)
            return rc;
        frame = makeFrame();
    }
    if (!packet && lane.type == AVMEDIA_TYPE_VIDEO && !lane.inputEnded) {
        std::vector<FramePtr> held;
        lane.cut.flushVideo(held);
        for (FramePtr& f : held)
            if ((rc = acceptFrame(lane, std::move(f))) < 0)
                return rc;
    }
    return 0;
}

int JoinClipReader::acceptFrame(Lane& lane, FramePtr frame) {
    std::vector<FramePtr> kept;
    if (frame->format >= 0 && frame->pts != AV_NOPTS_VALUE) {
        if (lane.type == AVMEDIA_TYPE_VIDEO)
            lane.cut.pushVideo(std::move(frame), kept);
        else if (FramePtr part = lane.cut.cutAudio(std::move(frame)))
            kept.push_back(std::move(part));
    } else if (frame->format >= 0 && frame->pts == AV_NOPTS_VALUE) {
        kept.push_back(std::move(frame));
    }
    for (FramePtr& f : kept) {
        bool changed =
            lane.type == AVMEDIA_TYPE_VIDEO
                ? f->width != lane.graphWidth || f->height != lane.graphHeight || f->format != lane.graphFormat
                : f->format != lane.graphFormat || f->sample_rate != lane.graphRate ||
                      f->ch_layout.nb_channels != lane.graphChannels;
        if (!lane.graph.isOpen() || changed) {
            // Built from the first frame, whose size and format are the decoder's real ones; a picture that
            // changes size, or sound that changes rate or channels midway, gets a graph of its own, after the old
            // one has given what it holds.
            if (lane.graph.isOpen()) {
                lane.graph.push(nullptr);
                if (int rc = pullGraph(lane); rc < 0)
                    return rc;
            }
            if (int rc = buildGraph(lane, f.get()); rc < 0)
                return rc;
        }
        // Onto the clip's timeline: the range's start is time 0.
        if (f->pts != AV_NOPTS_VALUE)
            f->pts -= lane.startTicks;
        if (int rc = lane.graph.push(f.get()); rc < 0)
            return EngineLog::failure("filter", rc, _clip.path);
    }
    if (lane.cut.finished())
        return endInput(lane);
    return 0;
}

int JoinClipReader::endInput(Lane& lane) {
    if (lane.inputEnded)
        return 0;
    lane.inputEnded = true;
    if (!lane.graph.isOpen()) {
        lane.ended = true;
        return 0;
    }
    int rc = lane.graph.push(nullptr);
    if (rc < 0 && rc != AVERROR_EOF)
        return EngineLog::failure("end filter input", rc, _clip.path);
    return 0;
}

int JoinClipReader::pullGraph(Lane& lane) {
    if (!lane.graph.isOpen())
        return 0;
    FramePtr frame = makeFrame();
    while (true) {
        // Sound after a gap waits until the gap's silence has been read; the graph holds the rest meanwhile.
        if (lane.type == AVMEDIA_TYPE_AUDIO && _silenceDue > 0)
            return 0;
        int rc = lane.graph.pull(frame.get());
        if (rc == AVERROR(EAGAIN))
            return 0;
        if (rc == AVERROR_EOF) {
            if (lane.inputEnded)
                lane.ended = true;
            return 0;
        }
        if (rc < 0)
            return EngineLog::failure("filter", rc, _clip.path);
        if (lane.type == AVMEDIA_TYPE_VIDEO) {
            _pictures.push_back(std::move(frame));
            frame = makeFrame();
        } else {
            rc = deliverSound(frame.get(), av_buffersink_get_time_base(lane.graph.sink()));
            av_frame_unref(frame.get());
            if (rc < 0)
                return rc;
        }
    }
}

int JoinClipReader::deliverSound(AVFrame* frame, AVRational timeBase) {
    int offset = 0;
    if (frame->pts != AV_NOPTS_VALUE) {
        int64_t at = av_rescale_q(frame->pts, timeBase, AVRational{1, _shape.sampleRate});
        int64_t gap = at - _soundQueued;
        // Sound that starts late or pauses is padded with silence (beyond a millisecond, which is rounding),
        // so it stays in step with the picture; sound that overlaps what is queued already is skipped. The
        // silence is made as it is read (a gap of hours must not sit in memory): the frame waits behind it.
        if (gap > _shape.sampleRate / 1000) {
            _silenceDue = gap;
            _soundQueued += gap;
            _afterSilence.reset(av_frame_clone(frame));
            _afterSilenceTimeBase = timeBase;
            return _afterSilence ? 0 : AVERROR(ENOMEM);
        } else if (gap < 0) {
            offset = static_cast<int>(std::min<int64_t>(-gap, frame->nb_samples));
        }
    }
    int count = frame->nb_samples - offset;
    if (count <= 0)
        return 0;
    std::vector<void*> planes(_shape.channels);
    for (int c = 0; c < _shape.channels; ++c)
        planes[c] = reinterpret_cast<float*>(frame->extended_data[c]) + offset;
    if (av_audio_fifo_write(_sound.get(), planes.data(), count) < count)
        return AVERROR(ENOMEM);
    _soundQueued += count;
    return 0;
}

int JoinClipReader::queueSilence(int wanted) {
    const int n = static_cast<int>(std::min<int64_t>(std::min(wanted, kSilenceChunk), _silenceDue));
    if (n > 0) {
        std::vector<float> silence(static_cast<size_t>(n), 0.0f);
        std::vector<void*> planes(_shape.channels, silence.data());
        if (av_audio_fifo_write(_sound.get(), planes.data(), n) < n)
            return AVERROR(ENOMEM);
        _silenceDue -= n;
    }
    if (_silenceDue > 0 || !_afterSilence)
        return 0;
    // The gap is filled: the sound that came after it follows.
    FramePtr waiting = std::move(_afterSilence);
    return deliverSound(waiting.get(), _afterSilenceTimeBase);
}

int64_t JoinClipReader::slotOf(const AVFrame* picture) const {
    if (picture->pts == AV_NOPTS_VALUE)
        return 0;
    return av_rescale_q_rnd(picture->pts, _pictureTimeBase, av_inv_q(_shape.frameRate),
                            static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

int JoinClipReader::nextPicture(FramePtr& picture) {
    picture.reset();
    const int64_t slot = _nextSlot++;
    if (!_video)
        return 0;
    while (true) {
        // The picture on screen at this frame's time: the last one whose own time rounds to it or before.
        while (!_pictures.empty() && slotOf(_pictures.front().get()) <= slot) {
            _shown = std::move(_pictures.front());
            _pictures.pop_front();
        }
        if (!_pictures.empty() || _video->ended)
            break;
        if (int rc = pump(*_video); rc < 0)
            return rc;
    }
    // Before the clip's first picture is due, that picture stands in.
    const AVFrame* source = _shown ? _shown.get() : (_pictures.empty() ? nullptr : _pictures.front().get());
    if (source) {
        picture.reset(av_frame_clone(source));
        if (!picture)
            return AVERROR(ENOMEM);
    }
    return 0;
}

int JoinClipReader::readSound(float* const* planes, int count) {
    int got = 0;
    if (_audio) {
        while (av_audio_fifo_size(_sound.get()) < count && (!_audio->ended || _silenceDue > 0)) {
            int rc = _silenceDue > 0 ? queueSilence(count - av_audio_fifo_size(_sound.get())) : pump(*_audio);
            if (rc < 0)
                return rc;
        }
        got = std::min(count, av_audio_fifo_size(_sound.get()));
        if (got > 0 &&
            av_audio_fifo_read(_sound.get(), reinterpret_cast<void**>(const_cast<float**>(planes)), got) < got)
            return AVERROR(EIO);
    }
    for (int c = 0; c < _shape.channels; ++c)
        std::fill(planes[c] + got, planes[c] + count, 0.0f);
    return 0;
}

} // namespace mediacore
