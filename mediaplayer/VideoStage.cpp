#include "VideoStage.h"

#include "Demuxer.h"
#include "EngineLog.h"
#include "FilterGraphBuilder.h"
#include "PacketDecoding.h"
#include "StreamRecords.h"
#include "VideoFrameQueue.h"

#include <algorithm>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/mathematics.h>
}

namespace {

std::shared_ptr<AVFrame> share(mediacore::FramePtr frame) {
    return std::shared_ptr<AVFrame>(frame.release(), [](AVFrame* f) { av_frame_free(&f); });
}

} // namespace

VideoStage::VideoStage(const mediacore::Demuxer& demuxer, int streamIndex, VideoFrameQueue& queue)
    : _demuxer(demuxer), _stream(streamIndex), _queue(queue), _targetPts(AV_NOPTS_VALUE), _queuedPts(AV_NOPTS_VALUE),
      _jumpKey(AV_NOPTS_VALUE) {}

int VideoStage::open() {
    const AVStream* stream = _demuxer.stream(_stream);
    _fileStartTicks = _demuxer.toTicks(_stream, 0);
    const int64_t frameUs = mediacore::StreamRecords::frameLengthUs(stream);
    _frameDurationUs = frameUs > 0 ? frameUs : 40000;
    _unitsKnown = _units.open(stream->codecpar);
    return _decoder.open(stream);
}

int VideoStage::decoderThreads() const {
    return _decoder.isOpen() ? std::max(1, _decoder.context()->thread_count) : 1;
}

void VideoStage::setEdits(std::shared_ptr<const mediacore::ConvertSettings> edits, uint64_t version) {
    _edits = std::move(edits);
    _editsVersion = version;
}

int64_t VideoStage::targetTicks(int64_t us) const {
    return _demuxer.toTicks(_stream, us);
}

int64_t VideoStage::spanUs(int64_t ticks) const {
    return av_rescale_q(ticks, _demuxer.stream(_stream)->time_base, AV_TIME_BASE_Q);
}

int64_t VideoStage::latestAtOrBefore(int64_t ticks) const {
    int64_t latest = _lastDecoded && _lastDecoded->pts != AV_NOPTS_VALUE && _lastDecoded->pts <= ticks
                         ? _lastDecoded->pts
                         : AV_NOPTS_VALUE;
    for (const std::vector<int64_t>* list : {&_inFlight, &_skipped})
        for (int64_t pts : *list)
            if (pts <= ticks && (latest == AV_NOPTS_VALUE || pts > latest))
                latest = pts;
    return latest;
}

void VideoStage::reset(int64_t jumpUs) {
    _decoder.reset();
    _jumpKey = keyFrameAtOrBefore(targetTicks(jumpUs));
    dropGraphForNewRun();
    _lastDecoded.reset();
    _inFlight.clear();
    _skipped.clear();
    _candidate.reset();
    _targetPts = AV_NOPTS_VALUE;
    _seeking = false;
    _parked = false;
    _pendingRole = Role::Playback;
    _finished = false;
}

void VideoStage::dropGraph() {
    _graph = mediacore::FilterGraph();
    _graphVersion = 0;
}

void VideoStage::dropGraphForNewRun() {
    // Pictures made from here on start a new run of timestamps, which a graph with timed inputs of its own (a
    // watermark's movie or still) would hold against the old run.
    if (!_graphTakesJumps)
        dropGraph();
}

void VideoStage::beginSeek(int64_t targetUs, bool emitResult) {
    _seeking = true;
    _parked = false;
    // Frames left out before the last one out no longer matter: a seek behind that one starts again anyway.
    if (_lastDecoded && _lastDecoded->pts != AV_NOPTS_VALUE) {
        std::erase_if(_inFlight, [&](int64_t pts) { return pts <= _lastDecoded->pts; });
        std::erase_if(_skipped, [&](int64_t pts) { return pts <= _lastDecoded->pts; });
    }
    _emitResult = emitResult;
    _seekTarget = targetTicks(targetUs);
    _targetPts = AV_NOPTS_VALUE;
    _pendingRole = Role::Playback;
    // Carrying on: the frame decoded last is the one on screen at the target until a later one shows up.
    _candidate = _lastDecoded && _lastDecoded->pts != AV_NOPTS_VALUE && _lastDecoded->pts <= _seekTarget ? _lastDecoded
                                                                                                         : nullptr;
    dropGraphForNewRun();
}

bool VideoStage::queuePreview() {
    if (!_seeking || !_candidate || (_candidate->pts != AV_NOPTS_VALUE && _candidate->pts == _queuedPts))
        return false;
    if (_emitResult)
        queuePicture(_candidate, Role::Preview);
    return true;
}

bool VideoStage::candidateWithin(int64_t us) const {
    if (!_candidate || _candidate->pts == AV_NOPTS_VALUE)
        return false;
    return spanUs(_seekTarget - _candidate->pts) <= us;
}

bool VideoStage::queuePreviewIfNearer(int64_t fartherThanUs) {
    if (!_seeking || !_candidate || _candidate->pts == AV_NOPTS_VALUE || _queuedPts == AV_NOPTS_VALUE)
        return false;
    auto distance = [this](int64_t pts) { return pts > _seekTarget ? pts - _seekTarget : _seekTarget - pts; };
    if (spanUs(distance(_queuedPts)) <= fartherThanUs || distance(_candidate->pts) >= distance(_queuedPts))
        return false;
    return queuePreview();
}

void VideoStage::setTargetPts(int64_t ticks) {
    _targetPts = ticks;
    if (_seeking && _candidate && ticks != AV_NOPTS_VALUE && _candidate->pts >= ticks)
        finishSeek(_candidate, true);
}

int64_t VideoStage::keyFrameAtOrBefore(int64_t ticks) const {
    AVStream* stream = _demuxer.stream(_stream);
    const int index = av_index_search_timestamp(stream, ticks - _keyIndexLag, AVSEEK_FLAG_BACKWARD);
    if (index >= 0)
        if (const AVIndexEntry* entry = avformat_index_get_entry(stream, index))
            return entry->timestamp + _keyIndexLag;
    return AV_NOPTS_VALUE;
}

void VideoStage::learnKeyIndexLag(const AVPacket* packet) {
    if (!(packet->flags & AV_PKT_FLAG_KEY) || packet->pts == AV_NOPTS_VALUE || packet->pos < 0)
        return;
    // The index entry read from the same place in the file.
    AVStream* stream = _demuxer.stream(_stream);
    const int64_t stamp = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    const int index = av_index_search_timestamp(stream, stamp, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
    const AVIndexEntry* entry = index >= 0 ? avformat_index_get_entry(stream, index) : nullptr;
    if (entry && entry->pos == packet->pos)
        _keyIndexLag = packet->pts - entry->timestamp;
}

bool VideoStage::canContinueTo(int64_t targetUs) const {
    if (_finished)
        return false;
    const int64_t target = targetTicks(targetUs);
    const int64_t key = keyFrameAtOrBefore(target);
    if (!_lastDecoded || _lastDecoded->pts == AV_NOPTS_VALUE) {
        // Nothing out of the decoder yet since a jump: it starts from the key frame the target needs too.
        return _jumpKey != AV_NOPTS_VALUE && key == _jumpKey;
    }
    const int64_t last = _lastDecoded->pts;
    if (target < last)
        return false;
    if (key != AV_NOPTS_VALUE)
        return key <= last; // no key frame to jump to between here and the target
    return spanUs(target - last) < 1000000;
}

bool VideoStage::wasSkipped(int64_t ticks) const {
    return std::find(_skipped.begin(), _skipped.end(), ticks) != _skipped.end();
}

bool VideoStage::skippedAtOrBefore(int64_t ticks) const {
    return std::any_of(_skipped.begin(), _skipped.end(), [ticks](int64_t pts) { return pts <= ticks; });
}

bool VideoStage::leaveOut(const AVPacket* packet) const {
    if (!_unitsKnown)
        return false;
    const mediacore::NalUnits::Summary summary = _units.summarise(packet);
    // Parameter sets riding on such a packet still have to reach the decoder.
    return summary.valid && summary.unreferenced && !summary.parameterSets;
}

int VideoStage::decode(const AVPacket* packet) {
    if (_finished || !_decoder.isOpen())
        return 0;
    AVCodecContext* context = _decoder.context();
    if (packet) {
        learnKeyIndexLag(packet);
        const bool skip =
            _seeking && _targetPts != AV_NOPTS_VALUE && packet->pts != AV_NOPTS_VALUE && packet->pts < _targetPts;
        // Frames no other frame refers to are not decoded on the way to a seek's target: the result is the same
        // picture, got sooner.
        context->skip_frame = skip ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
        if (skip) {
            _skipped.push_back(packet->pts);
            if (leaveOut(packet))
                return 0; // spares the decoder's threads a round trip for a packet they would drop
        } else if (packet->pts != AV_NOPTS_VALUE) {
            _inFlight.push_back(packet->pts);
        }
    } else {
        context->skip_frame = AVDISCARD_DEFAULT;
    }

    const int pulled = PacketDecoding::decode(
        _decoder, packet, [this](mediacore::FramePtr frame) { receive(std::move(frame)); }, "playback: decode video",
        _demuxer.path());

    if (!packet || pulled == AVERROR_EOF) {
        // The end of the stream: a seek past the last frame shows the last frame, unless that was skipped.
        if (_seeking && skippedAtOrBefore(_seekTarget)) {
            _parked = true;
        } else if (_seeking) {
            std::shared_ptr<AVFrame> result = _candidate;
            const bool emitResult = _emitResult;
            _seeking = false;
            _candidate.reset();
            if (result && emitResult)
                queuePicture(result, Role::SeekResult);
        }
        if (_graph.isOpen() && _graph.push(nullptr) >= 0 && _lastDecoded)
            pullPictures(_lastDecoded);
        // A closed graph takes no more frames: a seek back builds a new one.
        dropGraph();
        _finished = true;
    }
    return 0;
}

void VideoStage::receive(mediacore::FramePtr frame) {
    std::shared_ptr<AVFrame> decoded = share(std::move(frame));
    _lastDecoded = decoded;
    // Past a seek's target with a frame skipped before it, which none decoded since has superseded: that one was
    // on screen at the target.
    if (_seeking && decoded->pts != AV_NOPTS_VALUE && decoded->pts > _seekTarget && skippedAtOrBefore(_seekTarget)) {
        _parked = true; // what was left out stays known, for the jump back
        return;
    }
    // Frames leave in presentation order: nothing at or before this one is still on its way.
    if (decoded->pts != AV_NOPTS_VALUE) {
        std::erase_if(_inFlight, [&](int64_t pts) { return pts <= decoded->pts; });
        std::erase_if(_skipped, [&](int64_t pts) { return pts <= decoded->pts; });
    }
    if (!_seeking) {
        queuePicture(decoded, Role::Playback);
        return;
    }
    const int64_t pts = decoded->pts;
    if (pts == AV_NOPTS_VALUE || pts <= _seekTarget) {
        if (pts != AV_NOPTS_VALUE && _targetPts != AV_NOPTS_VALUE && pts >= _targetPts)
            finishSeek(decoded, true);
        else
            _candidate = decoded;
        return;
    }
    // The first frame past the target: the one before it was on screen at the target. Without one, the target
    // lies before the first frame, which stands in for it.
    if (std::shared_ptr<AVFrame> result = _candidate) {
        finishSeek(result, true);
        queuePicture(decoded, Role::Playback);
    } else {
        finishSeek(decoded, false);
    }
}

void VideoStage::finishSeek(std::shared_ptr<AVFrame> result, bool isTarget) {
    const bool emitResult = _emitResult;
    _seeking = false;
    _candidate.reset();
    _targetPts = AV_NOPTS_VALUE;
    // A refresh already shows the target's picture; a later frame standing in for it still has to be shown.
    if (emitResult)
        queuePicture(result, Role::SeekResult);
    else if (!isTarget)
        queuePicture(result, Role::Playback);
}

void VideoStage::renderStill(const std::shared_ptr<AVFrame>& decoded) {
    if (!decoded)
        return;
    dropGraphForNewRun();
    queuePicture(decoded, Role::SeekResult);
    dropGraphForNewRun();
}

int VideoStage::buildGraph(const AVFrame* frame, const mediacore::ConvertSettings& edits) {
    const AVStream* stream = _demuxer.stream(_stream);
    mediacore::VideoFrameFormat source;
    source.width = frame->width;
    source.height = frame->height;
    source.pixelFormat = static_cast<AVPixelFormat>(frame->format);
    source.timeBase = stream->time_base;
    source.sampleAspect = frame->sample_aspect_ratio.num > 0 ? frame->sample_aspect_ratio : stream->sample_aspect_ratio;
    source.frameRate = stream->avg_frame_rate;
    source.rotation = mediacore::StreamRecords::rotation(stream);
    source.mirrored = mediacore::StreamRecords::mirrored(stream);
    mediacore::VideoTarget target;
    target.applyStreamRotation = true; // the preview shows the picture upright, then turned by the user's angle
    // With a watermark movie the graph's time starts at this run's first picture, and the movie is read from
    // there on. On the file's timeline, every seek would read the movie from its part's start up to the seek's
    // place.
    const int64_t startUs = !edits.videoWatermarks.empty() && frame->pts != AV_NOPTS_VALUE
                                ? std::max<int64_t>(0, spanUs(frame->pts - _fileStartTicks))
                                : 0;
    mediacore::ConvertSettings placed;
    if (startUs > 0) {
        placed = edits;
        placed.cutStartUs = startUs;
    }
    const mediacore::FilterGraphPlan plan =
        mediacore::FilterGraphBuilder(startUs > 0 ? placed : edits).video(source, target);
    mediacore::FilterGraph graph;
    int rc = graph.open(plan, 2);
    if (rc < 0)
        return rc;
    _graph = std::move(graph);
    _graphTakesJumps = startUs == 0 && plan.count("movie") == 0;
    _graphStartUs = startUs;
    return 0;
}

int VideoStage::ensureGraph(const AVFrame* frame) {
    if (_graph.isOpen() && _graphVersion == _editsVersion && frame->width == _graphWidth &&
        frame->height == _graphHeight && frame->format == _graphFormat)
        return 0;
    int rc = -1;
    if (_edits && _failedVersion != _editsVersion) {
        rc = buildGraph(frame, *_edits);
        if (rc < 0) {
            // Edits the engine cannot render leave the preview showing the plain picture rather than none.
            _failedVersion = _editsVersion;
            mediacore::EngineLog::failure("playback: apply edits", rc, _demuxer.path());
        }
    }
    if (rc < 0)
        rc = buildGraph(frame, mediacore::ConvertSettings());
    if (rc < 0) {
        _graph = mediacore::FilterGraph();
        return rc;
    }
    _graphVersion = _editsVersion;
    _graphWidth = frame->width;
    _graphHeight = frame->height;
    _graphFormat = frame->format;
    return 0;
}

void VideoStage::queuePicture(const std::shared_ptr<AVFrame>& decoded, Role role) {
    if (ensureGraph(decoded.get()) < 0)
        return;
    _queuedPts = decoded->pts;
    mediacore::FramePtr input(av_frame_clone(decoded.get()));
    if (!input)
        return;
    if (input->pts != AV_NOPTS_VALUE)
        input->pts -=
            _fileStartTicks + av_rescale_q(_graphStartUs, AV_TIME_BASE_Q, _demuxer.stream(_stream)->time_base);
    if (role == Role::SeekResult || (role == Role::Preview && _pendingRole == Role::Playback))
        _pendingRole = role;
    int rc = _graph.push(input.get());
    if (rc < 0) {
        mediacore::EngineLog::failure("playback: filter video", rc, _demuxer.path());
        dropGraph();
        return;
    }
    pullPictures(decoded);
}

void VideoStage::pullPictures(const std::shared_ptr<AVFrame>& decoded) {
    mediacore::FramePtr out = mediacore::makeFrame();
    const AVRational timeBase = av_buffersink_get_time_base(_graph.sink());
    while (_graph.pull(out.get()) >= 0) {
        DecodedPicture picture;
        picture.serial = _serial;
        picture.pictureVersion = _editsVersion;
        picture.ptsUs =
            (out->pts != AV_NOPTS_VALUE ? av_rescale_q(out->pts, timeBase, AV_TIME_BASE_Q) : 0) + _graphStartUs;
        picture.durationUs = _frameDurationUs;
        picture.seekResult = _pendingRole == Role::SeekResult;
        picture.preview = _pendingRole == Role::Preview;
        _pendingRole = Role::Playback;
        const QSize size = PictureConverter::fittedSize(out.get(), _displayBox ? _displayBox() : QSize());
        picture.image = _converter.toImage(out.get(), size);
        picture.edited = share(std::move(out));
        picture.decoded = decoded;
        _queue.push(std::move(picture));
        out = mediacore::makeFrame();
    }
}
