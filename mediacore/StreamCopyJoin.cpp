#include "StreamCopyJoin.h"

#include "CodecCatalog.h"
#include "CopyRangeCutter.h"
#include "DecodeTimeRebuilder.h"
#include "Demuxer.h"
#include "EngineLog.h"
#include "JoinError.h"
#include "Muxer.h"
#include "StreamRecords.h"

extern "C" {
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>

namespace mediacore {

namespace {
bool sameExtradata(const AVCodecParameters* x, const AVCodecParameters* y) {
    if (x->extradata_size != y->extradata_size)
        return false;
    return x->extradata_size == 0 || std::memcmp(x->extradata, y->extradata, x->extradata_size) == 0;
}

// Copies the display matrix, so a copied portrait clip still shows upright.
void copyDisplayMatrix(const AVStream* from, AVStream* to) {
    size_t size = 0;
    const uint8_t* matrix = av_stream_get_side_data(from, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!matrix || size == 0)
        return;
    if (uint8_t* copy = av_stream_new_side_data(to, AV_PKT_DATA_DISPLAYMATRIX, size))
        std::memcpy(copy, matrix, size);
}

// A picture's length when its packet does not say: one frame at the stream's rate, else 1/25 s.
int64_t frameLengthUs(const AVStream* stream) {
    const int64_t length = StreamRecords::frameLengthUs(stream);
    return length > 0 ? length : 40000;
}
} // namespace

StreamCopyJoin::StreamCopyJoin(const JoinSettings& settings, const std::atomic<bool>& stop,
                               std::atomic<double>& progress)
    : _settings(settings), _stop(stop), _progress(progress) {}

bool StreamCopyJoin::sameParameters(const AVStream* a, const AVStream* b, std::string& reason) {
    const AVCodecParameters* x = a->codecpar;
    const AVCodecParameters* y = b->codecpar;
    if (x->codec_type != y->codec_type || x->codec_id != y->codec_id) {
        reason = std::string("codec ") + avcodec_get_name(x->codec_id) + " vs " + avcodec_get_name(y->codec_id);
        return false;
    }
    if (x->profile != y->profile && x->profile != FF_PROFILE_UNKNOWN && y->profile != FF_PROFILE_UNKNOWN) {
        reason = "profile " + std::to_string(x->profile) + " vs " + std::to_string(y->profile);
        return false;
    }
    if (x->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (x->width != y->width || x->height != y->height) {
            reason = "frame size " + std::to_string(x->width) + "x" + std::to_string(x->height) + " vs " +
                     std::to_string(y->width) + "x" + std::to_string(y->height);
            return false;
        }
        if (x->format != y->format) {
            reason = "pixel format";
            return false;
        }
        if (StreamRecords::rotation(a) != StreamRecords::rotation(b) ||
            StreamRecords::mirrored(a) != StreamRecords::mirrored(b)) {
            reason = "rotation";
            return false;
        }
    } else {
        if (x->sample_rate != y->sample_rate || x->ch_layout.nb_channels != y->ch_layout.nb_channels) {
            reason = "sample rate or channels " + std::to_string(x->sample_rate) + "/" +
                     std::to_string(x->ch_layout.nb_channels) + " vs " + std::to_string(y->sample_rate) + "/" +
                     std::to_string(y->ch_layout.nb_channels);
            return false;
        }
    }
    // The decoder's set-up (H.264 parameter sets, AAC configuration) is stored once per stream.
    if (!sameExtradata(x, y)) {
        reason = "codec set-up (extradata)";
        return false;
    }
    return true;
}

int StreamCopyJoin::run(const std::string& path, const AVOutputFormat* format) {
    // Every clip is opened and checked before a byte is written; each stays open until it has been copied.
    const JoinClip& firstClip = _settings.clips.front();
    std::vector<std::unique_ptr<Demuxer>> inputs;
    for (const JoinClip& clip : _settings.clips) {
        if (_stop.load())
            return AVERROR_EXIT;
        inputs.push_back(std::make_unique<Demuxer>());
        if (int rc = inputs.back()->open(clip.path, &_stop); rc < 0)
            return rc;
    }
    const Demuxer& first = *inputs.front();
    _withVideo = first.firstVideoStream() >= 0 && !CodecCatalog::isAudioOnly(_settings.outputPath);
    _withAudio = first.firstAudioStream() >= 0;
    if (!_withVideo && !_withAudio)
        return EngineLog::failure("copy join", kJoinNothingToWrite, "no stream the output can hold");
    const AVStream* video = _withVideo ? first.stream(first.firstVideoStream()) : nullptr;
    const AVStream* audio = _withAudio ? first.stream(first.firstAudioStream()) : nullptr;
    if (video && !CodecCatalog::storesRotation(format) &&
        (StreamRecords::rotation(video) != 0 || StreamRecords::mirrored(video))) {
        _encodingReason = std::string(format->name) + " cannot store the clips' rotation";
        return kNeedsEncoding;
    }
    if (audio && _settings.clips.size() > 1 &&
        (audio->codecpar->codec_id == AV_CODEC_ID_FLAC || audio->codecpar->codec_id == AV_CODEC_ID_VORBIS)) {
        _encodingReason = std::string(avcodec_get_name(audio->codecpar->codec_id)) +
                          " packets carry their own sample positions, which a seam would contradict";
        return kNeedsEncoding;
    }
    for (const AVStream* s : {video, audio})
        if (s && !CodecCatalog::accepts(format, s->codecpar->codec_id))
            return EngineLog::failure("copy join", kJoinCodecNotInContainer,
                                      std::string(avcodec_get_name(s->codecpar->codec_id)) + " in " + format->name);

    _totalUs = 0;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const JoinClip& clip = _settings.clips[i];
        const Demuxer& other = *inputs[i];
        int v = other.firstVideoStream();
        int a = other.firstAudioStream();
        std::string reason;
        if (_withVideo && v < 0)
            reason = "no video";
        else if (_withAudio && a < 0)
            reason = "no audio";
        else if (!_withAudio && a >= 0)
            reason = "audio where the first clip has none";
        else if (_withVideo && !sameParameters(video, other.stream(v), reason))
            reason = "video " + reason;
        else if (_withAudio && !sameParameters(audio, other.stream(a), reason))
            reason = "audio " + reason;
        if (!reason.empty())
            return EngineLog::failure("copy join", kJoinCopyParametersDiffer,
                                      clip.path + " differs from " + firstClip.path + ": " + reason);
        _totalUs += std::max<int64_t>(1, clip.lengthUs());
    }

    Muxer muxer;
    int rc = muxer.open(path, format, &_stop);
    if (rc < 0)
        return rc;
    if (_withVideo) {
        _unitsOpen = _units.open(video->codecpar);
        if ((_videoOut = muxer.addCopiedStream(video)) < 0)
            return _videoOut;
        copyDisplayMatrix(video, muxer.stream(_videoOut));
        // A piece's average rate counts the time its first pictures are decoded ahead of being shown; its
        // pictures come at the source's steady rate, which containers that store a frame length then keep.
        if (firstClip.exactPiece && video->r_frame_rate.num > 0 && video->r_frame_rate.den > 0)
            muxer.stream(_videoOut)->avg_frame_rate = video->r_frame_rate;
    }
    if (_withAudio && (_audioOut = muxer.addCopiedStream(audio)) < 0)
        return _audioOut;
    if ((rc = muxer.writeHeader()) < 0)
        return rc;

    _lastDtsUs.assign(2, INT64_MIN);
    _offsetUs = 0;
    for (size_t i = 0; i < inputs.size(); ++i) {
        if ((rc = copyClip(_settings.clips[i], *inputs[i], muxer)) < 0)
            return rc;
        inputs[i].reset();
    }
    return muxer.finish();
}

int StreamCopyJoin::mendParameterSets(PacketPtr& packet, bool pieceStart) {
    if (!_unitsOpen)
        return 0;
    const NalUnits::Summary summary = _units.summarise(packet.get());
    if (summary.decoderStart && _foreignParameterSets && !summary.parameterSets) {
        PacketPtr mended = _units.withParameterSets(packet.get());
        if (!mended)
            return EngineLog::failure("copy join", AVERROR(ENOMEM), "parameter sets");
        packet = std::move(mended);
        _foreignParameterSets = false;
    } else if (summary.parameterSets) {
        _foreignParameterSets = !_units.sameParameterSets(packet.get());
    }
    if (pieceStart && _anyVideoWritten && _units.hevc() && !_units.markSpliceStart(packet.get()))
        return EngineLog::failure("copy join", AVERROR(ENOMEM), "splice start");
    _anyVideoWritten = true;
    return 0;
}

int StreamCopyJoin::copyClip(const JoinClip& clip, Demuxer& input, Muxer& muxer) {
    int rc = 0;
    int videoIn = _withVideo ? input.firstVideoStream() : -1;
    int audioIn = _withAudio ? input.firstAudioStream() : -1;
    bool fromStart = clip.wholeFile || clip.startUs <= 0;
    int64_t stopUs = clip.wholeFile ? CopyRangeCutter::kToEnd : clip.stopUs;
    if (!fromStart && (rc = input.seek(clip.startUs)) < 0)
        return rc;

    CopyRangeCutter cutter(fromStart ? 0 : clip.startUs, stopUs, videoIn >= 0, audioIn >= 0);
    std::map<uint64_t, PacketPtr> held;
    uint64_t nextId = 0;
    int64_t videoEndUs = 0;
    int64_t pieceEndUs = _offsetUs;
    int64_t shiftUs = 0; // file time -> output time, fixed when the first packet is kept
    bool shiftKnown = false;
    bool clipVideoStarted = false;
    const bool firstFromStart = fromStart && &clip == &_settings.clips.front();
    const int64_t pictureUs = videoIn >= 0 ? frameLengthUs(input.stream(videoIn)) : 0;
    // Reordered pictures get decoding times rebuilt from their presentation times, whatever the container kept.
    std::optional<DecodeTimeRebuilder> rebuilder;
    // An exact piece keeps the decoding times it was written with.
    if (videoIn >= 0 && input.stream(videoIn)->codecpar->video_delay > 0 && !clip.exactPiece)
        rebuilder.emplace(input.stream(videoIn)->codecpar->video_delay);

    auto write = [&](const CopyRangeCutter::Decisions& decisions) -> int {
        for (uint64_t id : decisions.drop)
            held.erase(id);
        for (uint64_t id : decisions.keep) {
            auto found = held.find(id);
            if (found == held.end())
                continue;
            PacketPtr packet = std::move(found->second);
            held.erase(found);
            bool isVideo = packet->stream_index == videoIn;
            int out = isVideo ? _videoOut : _audioOut;
            if (isVideo) {
                if (int rc = mendParameterSets(packet, !clipVideoStarted && clip.exactPiece); rc < 0)
                    return rc;
                clipVideoStarted = true;
            }
            AVRational timeBase = input.stream(packet->stream_index)->time_base;
            if (!shiftKnown) {
                // The first clip, taken from its start, keeps its own timestamps (compressed sound may begin a
                // little before 0); each later clip starts where the one before ended.
                shiftUs = firstFromStart ? -input.originUs() : _offsetUs - cutter.pieceStartUs() - input.originUs();
                shiftKnown = true;
            }
            if (isVideo && rebuilder && packet->pts != AV_NOPTS_VALUE) {
                int64_t picture =
                    packet->duration > 0 ? packet->duration : av_rescale_q(pictureUs, AV_TIME_BASE_Q, timeBase);
                packet->dts = rebuilder->next(packet->pts, picture);
            } else if (packet->dts == AV_NOPTS_VALUE) {
                packet->dts = packet->pts;
            }
            int64_t dts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
            int64_t dtsUs = av_rescale_q(dts, timeBase, AV_TIME_BASE_Q) + shiftUs;
            int64_t& last = _lastDtsUs[isVideo ? 0 : 1];
            bool squeezed = false;
            if (last != INT64_MIN && dtsUs <= last) {
                // Clips whose decoding delays differ (a clip ending in pictures that are not reordered, the next
                // starting with reordered ones). While the packet is still decoded before it is shown, only its
                // decoding time moves up to just past what was written, and the pictures stay where they are;
                // otherwise the rest of this clip moves.
                int64_t tickUs = std::max<int64_t>(1, av_rescale_q(1, timeBase, AV_TIME_BASE_Q));
                const int64_t ptsUs = packet->pts != AV_NOPTS_VALUE
                                          ? av_rescale_q(packet->pts, timeBase, AV_TIME_BASE_Q) + shiftUs
                                          : INT64_MIN;
                if (isVideo && ptsUs != INT64_MIN && last + tickUs <= ptsUs) {
                    squeezed = true;
                } else {
                    shiftUs += last - dtsUs + tickUs;
                }
                dtsUs = last + tickUs;
            }
            last = dtsUs;
            int64_t shiftTicks = av_rescale_q(shiftUs, AV_TIME_BASE_Q, timeBase);
            if (packet->pts != AV_NOPTS_VALUE)
                packet->pts += shiftTicks;
            if (squeezed)
                packet->dts = av_rescale_q(dtsUs, AV_TIME_BASE_Q, timeBase);
            else if (packet->dts != AV_NOPTS_VALUE)
                packet->dts += shiftTicks;
            int64_t lengthUs = packet->duration > 0 ? av_rescale_q(packet->duration, timeBase, AV_TIME_BASE_Q)
                                                    : (isVideo ? pictureUs : 0);
            int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            pieceEndUs = std::max(pieceEndUs, av_rescale_q(pts, timeBase, AV_TIME_BASE_Q) + lengthUs);
            int written = muxer.write(packet.get(), out, timeBase);
            if (written < 0)
                return written;
            const double share = static_cast<double>(pieceEndUs) / static_cast<double>(_totalUs);
            _progress.store(std::min(99.9, _progressFrom + (100.0 - _progressFrom) * share));
        }
        return 0;
    };

    PacketPtr packet = makePacket();
    CopyRangeCutter::Decisions decisions;
    bool endOfFile = false;
    while (!cutter.done()) {
        if (_stop.load())
            return AVERROR_EXIT;
        rc = input.read(packet.get());
        if (rc == AVERROR_EOF) {
            endOfFile = true;
            break;
        }
        if (rc < 0)
            return EngineLog::failure("read packet", rc, clip.path);
        int index = packet->stream_index;
        int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        // A packet the demuxer could not read whole (a truncated file's cut-short last frame) is not copied into
        // the middle of the output.
        if ((index != videoIn && index != audioIn) || ts == AV_NOPTS_VALUE || (packet->flags & AV_PKT_FLAG_CORRUPT)) {
            av_packet_unref(packet.get());
            continue;
        }
        CopyRangeCutter::Packet info;
        info.video = index == videoIn;
        info.key = packet->flags & AV_PKT_FLAG_KEY;
        info.ptsUs = input.toMicroseconds(index, ts);
        info.durationUs = packet->duration > 0
                              ? av_rescale_q(packet->duration, input.stream(index)->time_base, AV_TIME_BASE_Q)
                              : (info.video ? pictureUs : 0);
        if (info.video)
            videoEndUs = std::max(videoEndUs, info.ptsUs + info.durationUs);
        uint64_t id = nextId++;
        held[id] = std::move(packet);
        packet = makePacket();
        decisions.keep.clear();
        decisions.drop.clear();
        cutter.push(id, info, decisions);
        if ((rc = write(decisions)) < 0)
            return rc;
    }
    if (endOfFile) {
        decisions.keep.clear();
        decisions.drop.clear();
        cutter.finish(videoEndUs, decisions);
        if ((rc = write(decisions)) < 0)
            return rc;
    }
    if (!shiftKnown)
        return EngineLog::failure("copy join", kJoinNothingToWrite, "nothing to copy in the range of " + clip.path);
    _offsetUs = pieceEndUs;
    return 0;
}

} // namespace mediacore
