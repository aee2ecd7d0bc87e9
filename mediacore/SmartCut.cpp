#include "SmartCut.h"

#include "CodecCatalog.h"
#include "DecodableSeek.h"
#include "Decoder.h"
#include "Demuxer.h"
#include "EngineLog.h"
#include "OutputPlan.h"
#include "StreamRecords.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace mediacore {

// A stretch of pictures decoded and encoded again. The decoded pictures go to an encoding thread of the
// segment's own through a short queue, so decoding and encoding run side by side; the encoded packets are kept
// until the segment's place in the file comes.
struct SmartCut::Segment {
    Segment(const SmartCutPlan::Encoded& r, const AVStream* s) : range(r), stream(s) {}
    ~Segment() {
        {
            std::lock_guard<std::mutex> hold(lock);
            abandoned = true;
        }
        changed.notify_all();
        if (encoding.joinable())
            encoding.join();
    }
    const SmartCutPlan::Encoded& range;
    const AVStream* stream; // the video stream, of the reader that feeds the segment
    // The segment's own reader, when it has one: it outlives the encoding thread, which reads its stream.
    std::unique_ptr<Demuxer> reader;
    std::vector<PacketPtr> kept;
    std::string refusal; // why the cut cannot be made this way, when a step said kEncodeInstead
    Decoder decoder;
    Encoder encoder;
    bool encoderOpen = false;
    bool finished = false;
    int64_t pictures = 0;

    // Between the decoding side and the encoding thread, under `lock`.
    std::thread encoding;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<FramePtr> queued;
    bool noMore = false;    // the decoding side has handed over its last picture
    bool abandoned = false; // the cut stops: the encoding thread ends at once
    bool encoded = false;   // the encoding thread has ended, with encodeResult
    int encodeResult = 0;
};

namespace {
constexpr int kOk = 0;
// Decoded pictures waiting for the encoder: enough to smooth the two sides' pace, few enough for memory.
constexpr size_t kQueuedPictures = 4;

// FFmpeg's name of the source's profile for its encoder; "" leaves the encoder to choose.
std::string profileName(const AVCodecParameters* par) {
    if (par->codec_id == AV_CODEC_ID_H264) {
        switch (par->profile & ~FF_PROFILE_H264_CONSTRAINED) {
        case FF_PROFILE_H264_BASELINE:
            return "baseline";
        case FF_PROFILE_H264_MAIN:
            return "main";
        case FF_PROFILE_H264_HIGH:
            return "high";
        case FF_PROFILE_H264_HIGH_10:
            return "high10";
        case FF_PROFILE_H264_HIGH_422:
            return "high422";
        case FF_PROFILE_H264_HIGH_444_PREDICTIVE:
            return "high444";
        default:
            return "";
        }
    }
    if (par->codec_id == AV_CODEC_ID_HEVC) {
        if (par->profile == FF_PROFILE_HEVC_MAIN)
            return "main";
        if (par->profile == FF_PROFILE_HEVC_MAIN_10)
            return "main10";
    }
    return "";
}

AVRational frameRateOf(const AVStream* stream) {
    if (stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0)
        return stream->avg_frame_rate;
    if (stream->r_frame_rate.num > 0 && stream->r_frame_rate.den > 0)
        return stream->r_frame_rate;
    return AVRational{25, 1};
}

bool changesParameters(const AVPacket* packet) {
    size_t size = 0;
    return av_packet_get_side_data(packet, AV_PKT_DATA_NEW_EXTRADATA, &size) ||
           av_packet_get_side_data(packet, AV_PKT_DATA_PARAM_CHANGE, &size);
}
} // namespace

SmartCut::SmartCut(const ConvertSettings& settings, Demuxer& source, const std::vector<int64_t>& bitRates,
                   const std::atomic<bool>& stop, std::atomic<int>& progress)
    : _settings(settings), _source(source), _bitRates(bitRates), _stop(stop), _progress(progress) {}

SmartCut::~SmartCut() {
    _tailStop = true;
    if (_tailRun.valid())
        _tailRun.wait();
}

bool SmartCut::suits() {
    const ConvertSettings& s = _settings;
    auto no = [this](const std::string& why) {
        _reason = why;
        return false;
    };
    if (s.cutStartUs <= 0 && s.cutStopUs <= 0)
        return no("no range is cut");
    if (!s.videoCodec.empty() || !s.audioCodec.empty() || s.videoBitrateKbps > 0 || s.audioBitrateKbps > 0)
        return no("codecs or bit rates are set");
    if (s.sizeLimitBytes > 0)
        return no("a size limit is set");
    if (OutputPlan::hasPictureEdits(s) || OutputPlan::hasSoundEdits(s))
        return no("the picture or the sound is edited");
    const AVOutputFormat* container = CodecCatalog::containerFor(s.outputPath);
    const std::string name = container ? container->name : "";
    if (name != "mp4" && name != "mov" && name != "matroska")
        return no("the output is not MP4, MOV or Matroska");
    _video = _source.firstVideoStream();
    if (_video < 0)
        return no("there is no video");
    const AVStream* video = _source.stream(_video);
    const AVCodecParameters* par = video->codecpar;
    if (par->codec_id != AV_CODEC_ID_H264 && par->codec_id != AV_CODEC_ID_HEVC)
        return no(std::string("the video is ") + avcodec_get_name(par->codec_id) + ", not H.264 or HEVC");
    if (!CodecCatalog::accepts(container, par->codec_id) || !CodecCatalog::encoderFor(par->codec_id))
        return no(std::string("no encoder for ") + avcodec_get_name(par->codec_id));
    const bool turned = StreamRecords::rotation(video) != 0 || StreamRecords::mirrored(video);
    if (s.rotateAngle && (*s.rotateAngle != 0 || turned))
        return no("the picture is turned");
    if (turned && !CodecCatalog::storesRotation(container))
        return no(name + " cannot store the picture's rotation");
    if (par->field_order != AV_FIELD_PROGRESSIVE && par->field_order != AV_FIELD_UNKNOWN)
        return no("the video is interlaced");
    if (par->format == AV_PIX_FMT_NONE || par->width <= 0 || par->height <= 0)
        return no("the video's picture format is unknown");
    if (!_units.open(par))
        return no("the video has no parameter set record (avcC / hvcC)");
    _audio = s.mainAudioDisabled ? -1 : (s.audioStreamIndex >= 0 ? s.audioStreamIndex : _source.firstAudioStream());
    if (_audio >= 0 && !CodecCatalog::accepts(container, _source.stream(_audio)->codecpar->codec_id))
        return no(name + " cannot store the sound as it is");
    return true;
}

int SmartCut::encodeInstead(const std::string& reason) {
    _reason = reason;
    return kEncodeInstead;
}

std::string SmartCut::summary() const {
    if (_plan.pureCopy())
        return "cut by copy: all " + std::to_string(_plan.copiedPictures()) + " video packets copied";
    return "cut by copy and encoding: " + std::to_string(_plan.copiedPictures()) + " video packets copied, " +
           std::to_string(_plan.head().pictures) + " pictures encoded before them and " +
           std::to_string(_plan.tail().pictures) + " after";
}

int SmartCut::run(const std::string& outputFile) {
    int rc = scan();
    if (rc != kOk)
        return rc;
    _plan = SmartCutPlan::make(_packets, _startTicks, _stopTicks);
    if (!_plan.possible())
        return encodeInstead(_plan.reason());
    if (_changeAt <= _plan.lastPacket())
        return encodeInstead("the video's parameters change in the range");
    if ((rc = openOutput(outputFile)) < 0)
        return rc;
    if ((rc = _seekUs >= 0 ? _source.seek(_seekUs) : _source.rewind()) < 0)
        return rc;
    if ((rc = writeRange()) != kOk)
        return rc;
    return _muxer.finish();
}

// Reads the video packets of the range once, without decoding, to plan the cut: from the key frame a decoder
// starts at for the start, to the first picture a decoder can start from past the end and its leading pictures.
int SmartCut::scan() {
    _startTicks = _source.toTicks(_video, _settings.cutStartUs);
    _stopTicks = _settings.cutStopUs > 0 ? _source.toTicks(_video, _settings.cutStopUs) : INT64_MAX;
    int rc = DecodableSeek::seek(_source, _video, _settings.cutStartUs, &_seekUs);
    if (rc < 0)
        return rc;
    PacketPtr packet = makePacket();
    int64_t endStart = AV_NOPTS_VALUE; // the first picture a decoder can start from at or past the end
    for (;;) {
        if (_stop.load(std::memory_order_relaxed))
            return AVERROR_EXIT;
        rc = _source.read(packet.get());
        if (rc == AVERROR_EXIT)
            return rc;
        if (rc == AVERROR_EOF)
            break;
        if (rc < 0 && !Demuxer::endsReading(rc))
            return rc;
        if (rc < 0)
            return encodeInstead("the file cannot be read through the range");
        if (packet->stream_index != _video) {
            av_packet_unref(packet.get());
            continue;
        }
        const NalUnits::Summary summary = _units.summarise(packet.get());
        std::string problem;
        if (packet->pts == AV_NOPTS_VALUE)
            problem = "video packets without presentation times";
        else if ((packet->flags & AV_PKT_FLAG_CORRUPT) || !summary.valid)
            problem = "damaged video packets in the range";
        // Parameters that change past the range's end (the scan reads a little beyond it) do not matter.
        if (_changeAt == SIZE_MAX &&
            (changesParameters(packet.get()) || (summary.parameterSets && !_units.sameParameterSets(packet.get()))))
            _changeAt = _packets.size();
        const int64_t pts = packet->pts;
        const int64_t dts = packet->dts;
        av_packet_unref(packet.get());
        if (!problem.empty())
            return encodeInstead(problem);
        _packets.push_back(SmartCutPlan::Packet{pts, summary.decoderStart, summary.leading, summary.unreferenced});
        _decodeTimes.push_back(dts);
        // Leading pictures follow their start picture; the first later one ends them.
        if (endStart != AV_NOPTS_VALUE && pts > endStart)
            break;
        if (endStart == AV_NOPTS_VALUE && summary.decoderStart && pts >= _stopTicks)
            endStart = pts;
    }
    return kOk;
}

int SmartCut::openOutput(const std::string& outputFile) {
    int rc = _muxer.open(outputFile, CodecCatalog::containerFor(_settings.outputPath), &_stop);
    if (rc < 0)
        return rc;
    const AVStream* video = _source.stream(_video);
    if ((_videoOut = _muxer.addCopiedStream(video)) < 0)
        return _videoOut;
    size_t size = 0;
    if (const uint8_t* matrix = av_stream_get_side_data(video, AV_PKT_DATA_DISPLAYMATRIX, &size))
        if (uint8_t* copy = av_stream_new_side_data(_muxer.stream(_videoOut), AV_PKT_DATA_DISPLAYMATRIX, size))
            std::memcpy(copy, matrix, size);
    if (_audio >= 0 && (_audioOut = _muxer.addCopiedStream(_source.stream(_audio))) < 0)
        return _audioOut;
    return _muxer.writeHeader();
}

int SmartCut::writeRange() {
    if (_plan.head().present)
        _head = std::make_unique<Segment>(_plan.head(), _source.stream(_video));
    if (_plan.tail().present) {
        _tail = std::make_unique<Segment>(_plan.tail(), nullptr);
        _tailRun = std::async(std::launch::async, [this] { return encodeTail(); });
    }
    if (_audio >= 0) {
        _audioDone = false;
        _audioStart = _source.toTicks(_audio, _source.toMicroseconds(_video, _plan.originPts()));
        _audioStop = _plan.endPts() != INT64_MAX
                         ? _source.toTicks(_audio, _source.toMicroseconds(_video, _plan.endPts()))
                         : INT64_MAX;
    }
    // This reader goes as far as the head and the copy need; the tail has its own.
    const size_t last = std::max(_plan.copyEnd() - 1, _head ? _head->range.lastPacket : 0);
    size_t index = 0;
    PacketPtr packet = makePacket();
    while (!_videoDone || !_audioDone) {
        if (_stop.load(std::memory_order_relaxed))
            return AVERROR_EXIT;
        int rc = _source.read(packet.get());
        if (rc == AVERROR_EXIT || (rc < 0 && !Demuxer::endsReading(rc)))
            return rc;
        if (rc < 0)
            break;
        if (packet->stream_index == _video && !_videoDone) {
            if (index >= _packets.size() || packet->pts != _packets[index].pts)
                rc = encodeInstead("the file reads differently the second time");
            else
                rc = videoPacket(index, packet.get());
            if (++index > last) {
                _videoDone = true;
                if (rc == kOk)
                    rc = writeTail();
            }
            _progress.store(static_cast<int>(std::min<size_t>(99, index * 99 / (last + 1))), std::memory_order_relaxed);
        } else if (packet->stream_index == _audio && !_audioDone) {
            rc = audioPacket(packet.get());
        }
        av_packet_unref(packet.get());
        if (rc != kOk)
            return rc;
    }
    if (!_videoDone)
        return encodeInstead("the file ends before the range it read the first time");
    return kOk;
}

int SmartCut::videoPacket(size_t index, AVPacket* packet) {
    int rc = kOk;
    if (_head && !_head->finished && index <= _head->range.lastPacket) {
        if ((rc = feed(*_head, index, packet)) != kOk)
            return settle(*_head, rc);
        if (index == _head->range.lastPacket) {
            if ((rc = finishSegment(*_head)) != kOk || (rc = writeKept(*_head)) != kOk)
                return settle(*_head, rc);
            for (; !_waiting.empty(); _waiting.pop_front())
                if ((rc = writeVideo(_waiting.front().get(), _source.stream(_video)->time_base)) < 0)
                    return rc;
        }
    }
    if (_plan.copyKeeps(index) && (rc = copyVideo(index, packet)) != kOk)
        return rc;
    return kOk;
}

// Decodes the tail's packets, read by a reader of its own from the tail's decoder start, and encodes its
// pictures into _tail->kept. Runs on a thread of its own.
int SmartCut::encodeTail() {
    Segment& segment = *_tail;
    segment.reader = std::make_unique<Demuxer>();
    Demuxer& reader = *segment.reader;
    int rc = reader.open(_source.path(), &_tailStop);
    if (rc < 0)
        return rc;
    if (_video >= static_cast<int>(reader.context()->nb_streams))
        return refuse(segment, "the file reads differently the second time");
    segment.stream = reader.stream(_video);
    const size_t first = segment.range.firstPacket;
    // Lands on the decoder start or a key frame before it; the packets up to it are passed over.
    if ((rc = reader.seek(_source.toMicroseconds(_video, _packets[first].pts))) < 0)
        return rc;
    PacketPtr packet = makePacket();
    size_t index = first;
    bool reached = false;
    while (index <= segment.range.lastPacket) {
        if (_stop.load(std::memory_order_relaxed) || _tailStop.load(std::memory_order_relaxed))
            return AVERROR_EXIT;
        rc = reader.read(packet.get());
        if (rc == AVERROR_EXIT || (rc < 0 && !Demuxer::endsReading(rc)))
            return rc;
        if (rc < 0)
            return refuse(segment, "the file ends before the range it read the first time");
        if (packet->stream_index == _video && (reached || packet->pts == _packets[first].pts)) {
            reached = true;
            rc = packet->pts == _packets[index].pts ? feed(segment, index, packet.get())
                                                    : refuse(segment, "the file reads differently the second time");
            ++index;
        }
        av_packet_unref(packet.get());
        if (rc != kOk)
            return rc;
    }
    return finishSegment(segment);
}

// Waits for the tail's pictures and writes them after the copy.
int SmartCut::writeTail() {
    if (!_tail)
        return kOk;
    int rc = settle(*_tail, _tailRun.get());
    return rc != kOk ? rc : writeKept(*_tail);
}

int SmartCut::refuse(Segment& segment, const std::string& reason) {
    segment.refusal = reason;
    return kEncodeInstead;
}

// A segment's kEncodeInstead carries its reason to the cut's.
int SmartCut::settle(const Segment& segment, int rc) {
    if (rc == kEncodeInstead && !segment.refusal.empty())
        _reason = segment.refusal;
    return rc;
}

int SmartCut::copyVideo(size_t index, AVPacket* packet) {
    PacketPtr copied;
    // After or before encoded pictures, whose parameter sets a decoder may hold by then, a picture it can start
    // from gets the stream's own again.
    if ((_head || _tail) && _packets[index].decoderStart) {
        copied = _units.withParameterSets(packet);
    } else if ((copied = makePacket()) && av_packet_ref(copied.get(), packet) < 0) {
        copied.reset();
    }
    // The copy's first picture follows encoded ones (or, in a later join, another file's): an HEVC CRA picture
    // whose leading pictures were left out becomes a broken-link picture.
    if (copied && index == _plan.copyFirst() && !_units.markSpliceStart(copied.get()))
        copied.reset();
    if (!copied)
        return EngineLog::failure("copy packet", AVERROR(ENOMEM));
    const int64_t origin = _plan.originPts();
    if (copied->pts != AV_NOPTS_VALUE)
        copied->pts -= origin;
    if (copied->dts != AV_NOPTS_VALUE)
        copied->dts -= origin;
    if (_head && !_head->finished) {
        _waiting.push_back(std::move(copied));
        return kOk;
    }
    return writeVideo(copied.get(), _source.stream(_video)->time_base);
}

int SmartCut::audioPacket(AVPacket* packet) {
    const int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (time == AV_NOPTS_VALUE)
        return kOk;
    if (time >= _audioStop) {
        _audioDone = true;
        return kOk;
    }
    // Packets covering the range: the first may start up to one sound frame before the output's time 0.
    if (time + std::max<int64_t>(packet->duration, 0) <= _audioStart)
        return kOk;
    if (packet->pts != AV_NOPTS_VALUE)
        packet->pts -= _audioStart;
    if (packet->dts != AV_NOPTS_VALUE)
        packet->dts -= _audioStart;
    return _muxer.write(packet, _audioOut, _source.stream(_audio)->time_base);
}

// A picture shown before the segment's first that no other refers to is not decoded.
int SmartCut::feed(Segment& segment, size_t index, const AVPacket* packet) {
    const SmartCutPlan::Packet& planned = _packets[index];
    if (planned.unreferenced && planned.pts < segment.range.fromPts)
        return kOk;
    return decodeInto(segment, packet);
}

int SmartCut::decodeInto(Segment& segment, const AVPacket* packet) {
    int rc;
    if (!segment.decoder.isOpen() && (rc = segment.decoder.open(segment.stream)) < 0)
        return rc;
    rc = segment.decoder.push(packet);
    if (rc < 0 && rc != AVERROR(EAGAIN) && rc != AVERROR_EOF)
        return EngineLog::failure("decode", rc, _source.path());
    FramePtr frame = makeFrame();
    while ((rc = segment.decoder.pull(frame.get())) >= 0) {
        if (frame->pts >= segment.range.fromPts && frame->pts < segment.range.toPts &&
            (rc = handOver(segment, frame.get())) != kOk)
            return rc;
        av_frame_unref(frame.get());
    }
    return rc == AVERROR(EAGAIN) || rc == AVERROR_EOF ? kOk : EngineLog::failure("decode", rc, _source.path());
}

int SmartCut::openEncoder(Segment& segment, const AVFrame* frame) {
    const AVStream* stream = segment.stream;
    const AVCodecParameters* par = stream->codecpar;
    Encoder::Video video;
    video.codec = CodecCatalog::encoderFor(par->codec_id);
    video.width = frame->width;
    video.height = frame->height;
    video.pixelFormat = static_cast<AVPixelFormat>(frame->format);
    video.timeBase = stream->time_base;
    video.frameRate = frameRateOf(stream);
    video.sampleAspect = frame->sample_aspect_ratio.num > 0 ? frame->sample_aspect_ratio
                         : par->sample_aspect_ratio.num > 0 ? par->sample_aspect_ratio
                                                            : AVRational{1, 1};
    video.bitRate = _bitRates[_video] > 0 ? _bitRates[_video] : 0;
    video.profile = profileName(par);
    // A source without B-frames gets none: its decoders may not expect the delay.
    video.maxBFrames = par->video_delay == 0 ? 0 : -1;
    video.fastest = true;
    video.colorRange = par->color_range;
    video.colorPrimaries = par->color_primaries;
    video.colorTransfer = par->color_trc;
    video.colorSpace = par->color_space;
    video.chromaLocation = par->chroma_location;
    int rc = segment.encoder.open(video);
    if (rc < 0)
        return rc;
    segment.encoderOpen = true;
    return kOk;
}

int SmartCut::encodePicture(Segment& segment, AVFrame* frame) {
    int rc;
    if (!segment.encoderOpen && (rc = openEncoder(segment, frame)) != kOk)
        return rc;
    const AVCodecContext* encoder = segment.encoder.context();
    if (frame->width != encoder->width || frame->height != encoder->height || frame->format != encoder->pix_fmt)
        return refuse(segment, "the picture's size or format changes in the range");
    frame->pts -= _plan.originPts();
    rc = segment.encoder.push(frame, segment.stream->time_base);
    if (rc < 0)
        return EngineLog::failure("encode", rc, encoder->codec->name);
    ++segment.pictures;
    return pullEncoded(segment);
}

int SmartCut::pullEncoded(Segment& segment) {
    PacketPtr packet = makePacket();
    int rc;
    while ((rc = segment.encoder.pull(packet.get())) >= 0) {
        // The encoder writes start codes; the stream's packets are length-prefixed.
        PacketPtr converted = _units.fromStartCodes(packet.get());
        av_packet_unref(packet.get());
        if (!converted)
            return refuse(segment, "an encoded picture does not fit the stream's unit lengths");
        // Each picture lasts one frame: the muxer counts the track's length up to the end of the last.
        if (converted->duration <= 0)
            converted->duration = std::max<int64_t>(
                1, av_rescale_q(1, av_inv_q(frameRateOf(segment.stream)), segment.encoder.context()->time_base));
        segment.kept.push_back(std::move(converted));
    }
    return rc == AVERROR(EAGAIN) || rc == AVERROR_EOF
               ? kOk
               : EngineLog::failure("encode", rc, segment.encoder.context()->codec->name);
}

// Passes a decoded picture (taking its data) to the segment's encoding thread, started by the first; waits while
// the queue is full. The encoding thread's failure comes back here.
int SmartCut::handOver(Segment& segment, AVFrame* frame) {
    FramePtr picture = makeFrame();
    if (!picture)
        return EngineLog::failure("queue picture", AVERROR(ENOMEM));
    av_frame_move_ref(picture.get(), frame);
    std::unique_lock<std::mutex> hold(segment.lock);
    if (!segment.encoding.joinable())
        segment.encoding = std::thread([this, &segment] { encodeQueued(segment); });
    segment.changed.wait(hold, [&] { return segment.queued.size() < kQueuedPictures || segment.encoded; });
    if (segment.encoded)
        return segment.encodeResult != kOk ? segment.encodeResult : AVERROR_BUG;
    segment.queued.push_back(std::move(picture));
    segment.changed.notify_all();
    return kOk;
}

// The segment's encoding thread: encodes the queued pictures, then drains the encoder.
void SmartCut::encodeQueued(Segment& segment) {
    int rc = kOk;
    for (;;) {
        FramePtr picture;
        {
            std::unique_lock<std::mutex> hold(segment.lock);
            segment.changed.wait(hold, [&] { return !segment.queued.empty() || segment.noMore || segment.abandoned; });
            if (segment.abandoned) {
                rc = AVERROR_EXIT;
                break;
            }
            if (segment.queued.empty())
                break;
            picture = std::move(segment.queued.front());
            segment.queued.pop_front();
        }
        segment.changed.notify_all();
        if ((rc = encodePicture(segment, picture.get())) != kOk)
            break;
    }
    if (rc == kOk && segment.encoderOpen) {
        if ((rc = segment.encoder.push(nullptr, segment.stream->time_base)) < 0 && rc != AVERROR_EOF)
            rc = EngineLog::failure("encode", rc, segment.encoder.context()->codec->name);
        else
            rc = pullEncoded(segment);
    }
    {
        std::lock_guard<std::mutex> hold(segment.lock);
        segment.encoded = true;
        segment.encodeResult = rc;
    }
    segment.changed.notify_all();
}

int SmartCut::finishSegment(Segment& segment) {
    segment.finished = true;
    int rc = decodeInto(segment, nullptr); // drains the decoder
    if (rc != kOk)
        return rc;
    {
        std::lock_guard<std::mutex> hold(segment.lock);
        segment.noMore = true;
    }
    segment.changed.notify_all();
    if (segment.encoding.joinable())
        segment.encoding.join();
    if (segment.encodeResult != kOk)
        return segment.encodeResult;
    if (segment.pictures != segment.range.pictures || !segment.encoderOpen)
        return refuse(segment, "the decoder gave " + std::to_string(segment.pictures) + " pictures where " +
                                   std::to_string(segment.range.pictures) + " were expected");
    return kOk;
}

// How far the copied packets' decoding times run ahead of their presentation: the delay the source's B-frames
// give its stream, read at the copy's first picture (source ticks).
int64_t SmartCut::copyDelay() const {
    const size_t first = _plan.copyFirst();
    if (first >= _decodeTimes.size() || _decodeTimes[first] == AV_NOPTS_VALUE)
        return 0;
    return std::max<int64_t>(0, _packets[first].pts - _decodeTimes[first]);
}

// Writes the packets a finished segment encoded. The encoder's decoding delay (none without B-frames) is made the
// copy's, so decoding times run on across the seams one picture apart as in the source: otherwise the copied
// pictures' times would be squeezed against the encoded ones and the track would end that delay early.
int SmartCut::writeKept(Segment& segment) {
    const AVRational timeBase = segment.encoder.context() ? segment.encoder.context()->time_base : AVRational{1, 1};
    if (!segment.kept.empty()) {
        const AVPacket* first = segment.kept.front().get();
        const int64_t own = first->pts != AV_NOPTS_VALUE && first->dts != AV_NOPTS_VALUE ? first->pts - first->dts : 0;
        const int64_t shift = av_rescale_q(copyDelay(), _source.stream(_video)->time_base, timeBase) - own;
        if (shift > 0)
            for (PacketPtr& packet : segment.kept)
                if (packet->dts != AV_NOPTS_VALUE)
                    packet->dts -= shift;
    }
    for (PacketPtr& packet : segment.kept)
        if (int rc = writeVideo(packet.get(), timeBase); rc < 0)
            return rc;
    segment.kept.clear();
    return kOk;
}

// Encoded and copied packets meet at the seams with decoding times from two clocks: a time that does not rise
// is moved just past the one before (presentation times stay as they are).
int SmartCut::writeVideo(AVPacket* packet, AVRational timeBase) {
    const AVRational outBase = _muxer.stream(_videoOut)->time_base;
    av_packet_rescale_ts(packet, timeBase, outBase);
    if (packet->dts != AV_NOPTS_VALUE) {
        if (_lastDts != AV_NOPTS_VALUE && packet->dts <= _lastDts)
            packet->dts = _lastDts + 1;
        if (packet->pts != AV_NOPTS_VALUE && packet->dts > packet->pts)
            return EngineLog::failure("write packet", AVERROR_INVALIDDATA, "decoding times out of order at a seam");
        _lastDts = packet->dts;
    }
    return _muxer.write(packet, _videoOut, outBase);
}

} // namespace mediacore
