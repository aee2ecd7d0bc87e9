#include "Demuxer.h"

#include "EngineLog.h"
#include "FileAccess.h"
#include "StreamRecords.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace mediacore {

namespace {
bool usable(const AVStream* stream) {
    const AVCodecParameters* par = stream->codecpar;
    if (par->codec_id == AV_CODEC_ID_NONE)
        return false;
    if (par->codec_type == AVMEDIA_TYPE_VIDEO)
        return !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC) && par->width > 0 && par->height > 0;
    if (par->codec_type == AVMEDIA_TYPE_AUDIO)
        return par->sample_rate > 0 && par->ch_layout.nb_channels > 0;
    return false;
}
} // namespace

int Demuxer::interrupted(void* self) {
    const std::atomic<bool>* stop = static_cast<const Demuxer*>(self)->_stop.load();
    return stop && stop->load(std::memory_order_relaxed) ? 1 : 0;
}

int Demuxer::open(const std::string& path, const std::atomic<bool>* stop) {
    int rc = openContext(path, stop);
    return rc < 0 ? rc : measureWhereUnbelievable();
}

int Demuxer::openHeader(const std::string& path) {
    int rc = openContext(path, nullptr, false);
    if (rc < 0 || _headerOnly)
        return rc;
    return measureWhereUnbelievable();
}

int Demuxer::measureWhereUnbelievable() {
    _measuredUs = 0;
    // A duration the file cannot hold (fewer than 100 bytes a second: a 2 s clip claiming years) or none at all
    // is measured instead, where the file is small enough to read through quickly.
    const int64_t declared = durationUs();
    const int64_t size = _context->pb ? avio_size(_context->pb) : -1;
    const bool absurd = declared > 0 && size > 0 && size * AV_TIME_BASE / declared < 100;
    if ((absurd || declared <= 0) && size > 0 && size <= kMeasurableBytes) {
        const int64_t measured = measureContentEndUs();
        if (measured < 0)
            return static_cast<int>(measured);
        if (int rc = rewind(); rc < 0)
            return rc;
        _measuredUs = measured > 0 ? measured : 0;
        if (absurd && _measuredUs <= 0)
            _measuredUs = 1; // nothing readable: certainly not what the header says
    }
    return 0;
}

void Demuxer::setStop(const std::atomic<bool>* stop) {
    _stop = stop;
}

bool Demuxer::headerTellsAll() const {
    const AVFormatContext* c = _context.get();
    const std::string format = c->iformat && c->iformat->name ? c->iformat->name : "";
    // Containers whose header carries each stream's parameters and the duration.
    if (format.rfind("mov,", 0) != 0 && format.rfind("matroska,", 0) != 0)
        return false;
    const int64_t size = c->pb ? avio_size(c->pb) : -1;
    if (c->duration == AV_NOPTS_VALUE || c->duration <= 0 || size <= 0 || size * AV_TIME_BASE / c->duration < 100)
        return false;
    bool any = false;
    for (unsigned i = 0; i < c->nb_streams; ++i) {
        const AVStream* stream = c->streams[i];
        const AVMediaType type = stream->codecpar->codec_type;
        if (type != AVMEDIA_TYPE_AUDIO && type != AVMEDIA_TYPE_VIDEO)
            continue;
        if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
            continue;
        if (!usable(stream))
            return false; // a stream only probing can tell about
        any = true;
    }
    return any;
}

int Demuxer::openContext(const std::string& path, const std::atomic<bool>* stop, bool probeStreams) {
    EngineLog::initialise();
    _context.reset();
    _headerOnly = false;
    _path = path;
    _stop = stop;
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return EngineLog::failure("open input", AVERROR(ENOENT), path);
    if (!std::filesystem::is_regular_file(status))
        return EngineLog::failure("open input", AVERROR(EINVAL), "not a regular file: " + path);
    const auto size = std::filesystem::file_size(path, ec);
    if (size == 0 || ec)
        return EngineLog::failure("open input", AVERROR_INVALIDDATA, "empty file: " + path);
    _openedSize = static_cast<int64_t>(size);

    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        return EngineLog::failure("open input", AVERROR(ENOMEM), path);
    // Always through this object, so a stop given later (setStop) reaches the reader too.
    raw->interrupt_callback.callback = &Demuxer::interrupted;
    raw->interrupt_callback.opaque = this;
    // On failure avformat_open_input frees the context itself.
    int rc = FileAccess::openInput(&raw, path, FileAccess::Kind::Media);
    if (rc < 0)
        return EngineLog::failure("open input", rc, path);
    _context.reset(raw);
    _headerOnly = !probeStreams && headerTellsAll();
    rc = _headerOnly ? 0 : avformat_find_stream_info(raw, nullptr);
    if (rc < 0) {
        _context.reset();
        return EngineLog::failure("read stream info", rc, path);
    }
    if (firstVideoStream() < 0 && firstAudioStream() < 0) {
        _context.reset();
        return EngineLog::failure("open input", AVERROR_INVALIDDATA, "no audio or video stream: " + path);
    }
    _originUs = raw->start_time != AV_NOPTS_VALUE ? raw->start_time : 0;
    _discontinuous = raw->iformat && (raw->iformat->flags & AVFMT_TS_DISCONT);
    forgetJumps();
    _untimedNext.assign(raw->nb_streams, 0);
    return 0;
}

std::vector<int> Demuxer::videoStreams() const {
    std::vector<int> found;
    for (unsigned i = 0; i < _context->nb_streams; ++i)
        if (_context->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && usable(_context->streams[i]))
            found.push_back(static_cast<int>(i));
    return found;
}

std::vector<int> Demuxer::audioStreams() const {
    std::vector<int> found;
    for (unsigned i = 0; i < _context->nb_streams; ++i)
        if (_context->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && usable(_context->streams[i]))
            found.push_back(static_cast<int>(i));
    return found;
}

int Demuxer::firstVideoStream() const {
    auto all = videoStreams();
    return all.empty() ? -1 : all.front();
}

int Demuxer::firstAudioStream() const {
    auto all = audioStreams();
    return all.empty() ? -1 : all.front();
}

int64_t Demuxer::durationUs() const {
    if (_measuredUs > 0)
        return _measuredUs;
    if (_context->duration != AV_NOPTS_VALUE && _context->duration > 0)
        return _context->duration;
    int64_t longest = 0;
    for (unsigned i = 0; i < _context->nb_streams; ++i) {
        const AVStream* s = _context->streams[i];
        if (s->duration != AV_NOPTS_VALUE && s->duration > 0)
            longest = std::max(longest, av_rescale_q(s->duration, s->time_base, AV_TIME_BASE_Q));
    }
    return longest;
}

int Demuxer::seekQuietly(int64_t timeUs) {
    int64_t target = timeUs + _originUs;
    int rc = avformat_seek_file(_context.get(), -1, INT64_MIN, target, target, 0);
    if (rc < 0) {
        // Some demuxers only seek backwards by key frame through the older call.
        rc = av_seek_frame(_context.get(), -1, target, AVSEEK_FLAG_BACKWARD);
    }
    return rc;
}

bool Demuxer::beforeFirstKeyFrame(int64_t timeUs) const {
    const int index = av_find_default_stream_index(_context.get());
    if (index < 0)
        return false;
    AVStream* stream = _context->streams[index];
    return avformat_index_get_entries_count(stream) > 0 &&
           av_index_search_timestamp(stream, toTicks(index, timeUs), AVSEEK_FLAG_BACKWARD) < 0;
}

int Demuxer::seek(int64_t timeUs) {
    forgetJumps();
    _readStartUs = timeUs + _originUs;
    restartUntimed(timeUs);
    int rc = seekQuietly(timeUs);
    // A target before the first key frame of the index (an AVI whose first video chunks are dropped frames or
    // placeholders) has nowhere to land, and the reader would stay where it stood: the file's start leads there.
    if (rc < 0 && beforeFirstKeyFrame(timeUs))
        rc = rewind();
    if (rc < 0)
        return EngineLog::failure("seek", rc, _path);
    return 0;
}

int Demuxer::rewind() {
    forgetJumps();
    restartUntimed(0);
    if (seekQuietly(0) >= 0)
        return 0;
    const std::string path = _path;
    return openContext(path, _stop.load());
}

int64_t Demuxer::measureContentEndUs() {
    std::vector<bool> counted(_context->nb_streams, false);
    for (int index : videoStreams())
        counted[index] = true;
    for (int index : audioStreams())
        counted[index] = true;
    int64_t end = 0;
    PacketPtr packet = makePacket();
    int rc;
    while ((rc = read(packet.get())) >= 0) {
        const int index = packet->stream_index;
        const int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (index < static_cast<int>(counted.size()) && counted[index] && time != AV_NOPTS_VALUE &&
            !(packet->flags & AV_PKT_FLAG_CORRUPT))
            end = std::max(end, toMicroseconds(index, time + std::max<int64_t>(0, packet->duration)));
        av_packet_unref(packet.get());
    }
    return endsReading(rc) ? end : rc;
}

bool Demuxer::endsReading(int rc) {
    return rc == AVERROR_EOF || rc == AVERROR_INVALIDDATA;
}

int Demuxer::readFailure(int rc) {
    if (rc == AVERROR_EXIT)
        return rc;
    // Demuxers report a failed read of the file (EIO) as the end of their data more often than as an error; the
    // reader's own error state tells.
    const AVIOContext* pb = _context->pb;
    if (pb && pb->error < 0 && pb->error != AVERROR_EOF)
        return pb->error == AVERROR_EXIT ? AVERROR_EXIT : EngineLog::failure("read input", pb->error, _path);
    if (rc != AVERROR_EOF && !endsReading(rc))
        return EngineLog::failure("read input", rc, _path);
    // A file cut short while it is read ends early without any error: its size tells.
    std::error_code ec;
    const auto size = std::filesystem::file_size(_path, ec);
    if (_openedSize > 0 && (ec || static_cast<int64_t>(size) < _openedSize))
        return EngineLog::failure("read input", AVERROR(EIO), "the file shrank while it was read: " + _path);
    return rc;
}

int Demuxer::read(AVPacket* packet) {
    int rc = av_read_frame(_context.get(), packet);
    if (rc < 0)
        return readFailure(rc);
    if (packet->stream_index >= static_cast<int>(_nextDtsUs.size()))
        return rc;
    stampUntimed(packet);
    const AVRational timeBase = stream(packet->stream_index)->time_base;
    const int64_t time = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (time == AV_NOPTS_VALUE)
        return rc;
    int64_t& expected = _nextDtsUs[packet->stream_index];
    // Where timestamps may jump, each stream's timeline is mended by itself: a clock reset moves every stream the
    // same way, but damaged timestamps (random ones) move each its own way.
    int64_t& shift = _discontinuous ? _streamShiftUs[packet->stream_index] : _jumpOffsetUs;
    int64_t timeUs = av_rescale_q(time, timeBase, AV_TIME_BASE_Q) + shift;
    if (_discontinuous) {
        // A stream's first packet far from where the others stand (or, for the first of all, from where reading
        // started) starts there instead.
        const int64_t reference = expected != AV_NOPTS_VALUE      ? expected
                                  : _frontierUs != AV_NOPTS_VALUE ? _frontierUs
                                                                  : _readStartUs;
        const int64_t jump = timeUs - reference;
        const bool away = expected != AV_NOPTS_VALUE ? jump < -kBackwardJumpUs || jump > kForwardJumpUs
                                                     : std::llabs(jump) > kForwardJumpUs;
        if (away) {
            shift -= jump;
            if (expected != AV_NOPTS_VALUE) {
                int64_t& takenOut = _streamTakenOutUs[packet->stream_index];
                takenOut += std::max<int64_t>(0, jump);
                _takenOutUs = std::max(_takenOutUs, takenOut);
            }
            timeUs -= jump;
        }
    } else if (_frontierUs != AV_NOPTS_VALUE && timeUs - _frontierUs > kForwardJumpUs && seesEveryStream()) {
        // No stream has anything between the furthest point read so far and this packet: the span holds no
        // picture and no sound, only a few bytes of timestamps. Filling it would cost a frame per frame time (an
        // hour's jump in a two-second file), so it is taken out and the timeline runs on. A pause in one stream
        // while another plays on (a held picture under running sound) moves the frontier and is kept.
        const int64_t jump = timeUs - _frontierUs;
        _jumpOffsetUs -= jump;
        _takenOutUs += jump;
        _lastJumpUs = jump;
        timeUs -= jump;
    } else if (!_discontinuous && _lastJumpUs > 0 && _frontierUs != AV_NOPTS_VALUE &&
               _frontierUs - timeUs > kForwardJumpUs &&
               std::llabs(timeUs + _lastJumpUs - _frontierUs) <= kForwardJumpUs) {
        // The file's timeline goes on where it was before the jump: the jump was one damaged packet (or one
        // damaged cluster of them), not a gap. What it moved stays where the jump's removal put it, just after
        // what came before; from here on nothing is taken out, so the rest of the file keeps its times.
        _jumpOffsetUs += _lastJumpUs;
        _takenOutUs -= _lastJumpUs;
        timeUs += _lastJumpUs;
        _lastJumpUs = 0;
    }
    const int64_t offset = av_rescale_q(shift, AV_TIME_BASE_Q, timeBase);
    if (packet->pts != AV_NOPTS_VALUE)
        packet->pts += offset;
    if (packet->dts != AV_NOPTS_VALUE)
        packet->dts += offset;
    // A picture is shown at most a few frames after it is decoded: a presentation time before its decoding time,
    // or further after it than any jump, is a damaged timestamp, and the decoding time stands in for it.
    if (_discontinuous && packet->pts != AV_NOPTS_VALUE && packet->dts != AV_NOPTS_VALUE &&
        (packet->pts < packet->dts ||
         av_rescale_q(packet->pts - packet->dts, timeBase, AV_TIME_BASE_Q) > kForwardJumpUs))
        packet->pts = packet->dts;
    int64_t lengthUs = packet->duration > 0 ? av_rescale_q(packet->duration, timeBase, AV_TIME_BASE_Q) : 0;
    // A packet that states no length (MPEG-2 video in a transport stream) is expected one frame later.
    if (_discontinuous && lengthUs == 0)
        lengthUs = StreamRecords::frameLengthUs(stream(packet->stream_index));
    expected = timeUs + lengthUs;
    if (_frontierUs == AV_NOPTS_VALUE || expected > _frontierUs)
        _frontierUs = expected;
    return rc;
}

void Demuxer::stampUntimed(AVPacket* packet) {
    // An elementary stream without a container (.h264, .hevc) carries no time at all: its pictures follow each
    // other at the stream's frame rate, as a player shows them. A stream that had a time once is left alone.
    int64_t& next = _untimedNext[packet->stream_index];
    if (next == AV_NOPTS_VALUE)
        return;
    if (packet->pts != AV_NOPTS_VALUE || packet->dts != AV_NOPTS_VALUE) {
        next = AV_NOPTS_VALUE;
        return;
    }
    const AVStream* s = stream(packet->stream_index);
    if (s->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
        return;
    int64_t duration = packet->duration;
    if (duration <= 0) {
        const AVRational rate = s->avg_frame_rate.num > 0 ? s->avg_frame_rate : s->r_frame_rate;
        duration = rate.num > 0 ? av_rescale_q(1, av_inv_q(rate), s->time_base) : 0;
    }
    packet->dts = next;
    if (duration > 0 && packet->duration <= 0)
        packet->duration = duration;
    next += std::max<int64_t>(1, duration);
}

void Demuxer::restartUntimed(int64_t timeUs) {
    for (size_t i = 0; i < _untimedNext.size(); ++i)
        if (_untimedNext[i] != AV_NOPTS_VALUE)
            _untimedNext[i] = av_rescale_q(timeUs, AV_TIME_BASE_Q, stream(static_cast<int>(i))->time_base);
}

bool Demuxer::seesEveryStream() const {
    // A reader that left out a picture or sound stream cannot tell an empty span from one only its streams pause in.
    for (unsigned i = 0; i < _context->nb_streams; ++i) {
        const AVStream* s = _context->streams[i];
        const AVMediaType type = s->codecpar->codec_type;
        if ((type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_AUDIO) &&
            !(s->disposition & AV_DISPOSITION_ATTACHED_PIC) && s->discard >= AVDISCARD_ALL)
            return false;
    }
    return true;
}

void Demuxer::forgetJumps() {
    _jumpOffsetUs = 0;
    _takenOutUs = 0;
    _lastJumpUs = 0;
    _frontierUs = AV_NOPTS_VALUE;
    _nextDtsUs.assign(_context ? _context->nb_streams : 0, AV_NOPTS_VALUE);
    _streamShiftUs.assign(_context ? _context->nb_streams : 0, 0);
    _streamTakenOutUs.assign(_context ? _context->nb_streams : 0, 0);
    _readStartUs = _originUs;
}

int64_t Demuxer::toTicks(int streamIndex, int64_t timeUs) const {
    return av_rescale_q(timeUs + _originUs, AV_TIME_BASE_Q, stream(streamIndex)->time_base);
}

int64_t Demuxer::toMicroseconds(int streamIndex, int64_t ticks) const {
    return av_rescale_q(ticks, stream(streamIndex)->time_base, AV_TIME_BASE_Q) - _originUs;
}

} // namespace mediacore
