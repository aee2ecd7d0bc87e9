#include "StreamRecords.h"

#include "Demuxer.h"
#include "EngineLog.h"
#include "FilterGraphBuilder.h"

extern "C" {
#include <libavutil/display.h>
#include <libavutil/pixdesc.h>
}

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace mediacore {

namespace {
void copyText(char* field, size_t size, const char* text) {
    std::memset(field, 0, size);
    if (text)
        std::strncpy(field, text, size - 1);
}

const char* tag(const AVStream* stream, const char* key) {
    const AVDictionaryEntry* entry = av_dict_get(stream->metadata, key, nullptr, 0);
    return entry ? entry->value : nullptr;
}

// Matroska files written by other tools carry a "BPS" statistics tag.
int64_t taggedBitRate(const AVStream* stream) {
    const AVDictionaryEntry* entry = av_dict_get(stream->metadata, "BPS", nullptr, AV_DICT_IGNORE_SUFFIX);
    return entry ? std::atoll(entry->value) : 0;
}

// How much of the file's start is read to share out an unknown bit rate.
constexpr int64_t kScanMicroseconds = 10'000'000;
constexpr int kScanPackets = 4000;
} // namespace

std::vector<int64_t> StreamRecords::bitRates(Demuxer& demuxer) {
    AVFormatContext* context = demuxer.context();
    const unsigned count = context->nb_streams;
    std::vector<int64_t> rates(count, 0);
    std::vector<bool> wanted(count, false);
    int64_t known = 0;
    bool anyUnknown = false;
    for (unsigned i = 0; i < count; ++i) {
        const AVStream* s = context->streams[i];
        AVMediaType type = s->codecpar->codec_type;
        if (type != AVMEDIA_TYPE_AUDIO && type != AVMEDIA_TYPE_VIDEO)
            continue;
        if (s->disposition & AV_DISPOSITION_ATTACHED_PIC)
            continue;
        rates[i] = s->codecpar->bit_rate > 0 ? s->codecpar->bit_rate : taggedBitRate(s);
        if (rates[i] > 0) {
            known += rates[i];
        } else {
            wanted[i] = true;
            anyUnknown = true;
        }
    }
    if (!anyUnknown)
        return rates;

    int64_t duration = demuxer.durationUs();
    // FFmpeg's file rate divides by the header's duration; where that was not believed (a file whose times start
    // at 10 h declaring 10 h), the content's measured length gives the rate.
    int64_t fileRate = demuxer.durationMeasured() ? 0 : context->bit_rate;
    if (fileRate <= 0 && duration > 0 && context->pb) {
        int64_t size = avio_size(context->pb);
        if (size > 0)
            fileRate = av_rescale(size * 8, AV_TIME_BASE, duration);
    }
    int64_t spare = fileRate - known;
    if (spare <= 0)
        return rates;

    std::vector<int64_t> bytes(count, 0);
    int64_t unknownBytes = 0;
    PacketPtr packet = makePacket();
    for (int n = 0; n < kScanPackets && demuxer.read(packet.get()) >= 0; ++n) {
        int index = packet->stream_index;
        int64_t time = packet->dts != AV_NOPTS_VALUE ? demuxer.toMicroseconds(index, packet->dts) : 0;
        if (index < static_cast<int>(count) && wanted[index]) {
            bytes[index] += packet->size;
            unknownBytes += packet->size;
        }
        av_packet_unref(packet.get());
        if (time > kScanMicroseconds)
            break;
    }
    // The scan read ahead; a file that cannot rewind is of no use to the caller.
    if (demuxer.rewind() < 0)
        EngineLog::failure("rewind after the bit-rate scan", AVERROR(EIO), demuxer.path());
    if (unknownBytes <= 0)
        return rates;
    for (unsigned i = 0; i < count; ++i)
        if (wanted[i])
            rates[i] = static_cast<int64_t>(static_cast<double>(spare) * bytes[i] / unknownBytes);
    return rates;
}

namespace {
// The stream's display matrix with its mirror, if any, taken out; false when there is no usable matrix.
// A mirror shows as a negative determinant; FFmpeg's own writers add it after the rotation, by negating the first
// column (av_display_matrix_flip), which is what is undone here.
bool unmirroredMatrix(const AVStream* stream, int32_t (&matrix)[9], bool& mirrored) {
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data || size < 9 * sizeof(int32_t))
        return false;
    std::memcpy(matrix, data, sizeof matrix);
    const double determinant = static_cast<double>(matrix[0]) * matrix[4] - static_cast<double>(matrix[1]) * matrix[3];
    mirrored = determinant < 0;
    if (mirrored) {
        matrix[0] = -matrix[0];
        matrix[3] = -matrix[3];
        matrix[6] = -matrix[6];
    }
    return true;
}
} // namespace

AVRational StreamRecords::frameRate(const AVStream* stream) {
    const auto valid = [](AVRational r) { return r.num > 0 && r.den > 0 && av_q2d(r) <= kMostFramesASecond; };
    const AVRational average = stream->avg_frame_rate, base = stream->r_frame_rate;
    // A declared average far above the rate the timestamps show (a Matroska frame length of 1 ns says 30,000 a
    // second) is damage: the timestamps are believed instead.
    if (valid(average) && (!valid(base) || av_q2d(average) <= 2 * av_q2d(base)))
        return average;
    if (valid(base))
        return base;
    return AVRational{0, 1};
}

int64_t StreamRecords::frameLengthUs(const AVStream* stream) {
    const AVRational rate = frameRate(stream);
    if (rate.num <= 0 || rate.den <= 0)
        return 0;
    return av_rescale_q(1, av_inv_q(rate), AV_TIME_BASE_Q);
}

int StreamRecords::rotation(const AVStream* stream) {
    int32_t matrix[9];
    bool mirrored = false;
    if (!unmirroredMatrix(stream, matrix, mirrored))
        return 0;
    const double counterClockwise = av_display_rotation_get(matrix);
    if (std::isnan(counterClockwise))
        return 0;
    double clockwise = std::fmod(-counterClockwise, 360.0);
    if (clockwise < 0)
        clockwise += 360.0;
    const double quarter = std::round(clockwise / 90.0) * 90.0;
    // A picture can only be turned by quarter turns; a tilted one is shown as it is stored.
    if (std::fabs(clockwise - quarter) > 1.0)
        return 0;
    return FilterGraphBuilder::normaliseAngle(static_cast<int>(quarter));
}

bool StreamRecords::mirrored(const AVStream* stream) {
    int32_t matrix[9];
    bool mirrored = false;
    return unmirroredMatrix(stream, matrix, mirrored) && mirrored;
}

void StreamRecords::fillAudio(const Demuxer& demuxer, int streamIndex, int64_t bitRate, AUDIO_STREAM_INFO& record) {
    std::memset(&record, 0, sizeof record);
    const AVStream* s = demuxer.stream(streamIndex);
    const AVCodecParameters* par = s->codecpar;
    record.exist = 1;
    record.index = streamIndex;
    copyText(record.codec, sizeof record.codec, avcodec_get_name(par->codec_id));
    record.samplerate = par->sample_rate;
    record.channel = par->ch_layout.nb_channels;
    record.bitrate = static_cast<int32_t>(std::min<int64_t>(bitRate, INT32_MAX));
    record.fmt = par->format;
    copyText(record.lang, sizeof record.lang, tag(s, "language"));
    copyText(record.title, sizeof record.title, tag(s, "title"));
}

void StreamRecords::fillVideo(const Demuxer& demuxer, int streamIndex, int64_t bitRate, VIDEO_STREAM_INFO& record) {
    std::memset(&record, 0, sizeof record);
    const AVStream* s = demuxer.stream(streamIndex);
    const AVCodecParameters* par = s->codecpar;
    record.exist = 1;
    record.index = streamIndex;
    copyText(record.vcodec, sizeof record.vcodec, avcodec_get_name(par->codec_id));
    if (par->codec_tag) {
        char fourcc[AV_FOURCC_MAX_STRING_SIZE] = {};
        av_fourcc_make_string(fourcc, par->codec_tag);
        copyText(record.vcodecTag, sizeof record.vcodecTag, fourcc);
    }
    record.width = par->width;
    record.height = par->height;
    const AVRational rate = frameRate(s);
    record.fps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
    record.bitrate = static_cast<int32_t>(std::min<int64_t>(bitRate, INT32_MAX));
    AVRational sar = s->sample_aspect_ratio.num > 0 ? s->sample_aspect_ratio : par->sample_aspect_ratio;
    if (sar.num <= 0 || sar.den <= 0)
        sar = AVRational{1, 1};
    if (par->height > 0) {
        AVRational dar{};
        av_reduce(&dar.num, &dar.den, static_cast<int64_t>(par->width) * sar.num,
                  static_cast<int64_t>(par->height) * sar.den, 1 << 20);
        record.aspect = av_q2d(dar);
        std::string text = std::to_string(dar.num) + ":" + std::to_string(dar.den);
        copyText(record.apsect, sizeof record.apsect, text.c_str());
    }
    record.angle = rotation(s);
    copyText(record.lang, sizeof record.lang, tag(s, "language"));
    copyText(record.title, sizeof record.title, tag(s, "title"));
}

} // namespace mediacore
