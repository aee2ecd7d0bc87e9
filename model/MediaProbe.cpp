#include "MediaProbe.h"

#include "ResourceBundle.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace {
// A record's text field: its bytes up to the NUL as UTF-8; a null string when they are not valid UTF-8.
QString fieldText(const char* field, size_t size) {
    size_t length = strnlen(field, size);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(field, static_cast<qsizetype>(length)));
    if (decoder.hasError())
        return QString();
    return text.isNull() ? QStringLiteral("") : text;
}

template <size_t N> QString fieldText(const char (&field)[N]) {
    return fieldText(field, N);
}

void copyAudio(const AUDIO_STREAM_INFO& a, FileData& file) {
    file.setA_fmt(a.fmt);
    file.setA_bitrate(a.bitrate / 1000);
    file.setA_exist(a.exist);
    file.setA_samplerate(a.samplerate);
    file.setA_index(a.index);
    file.setA_channel(a.channel);
    file.setA_codec(fieldText(a.codec));
    file.setA_title(fieldText(a.title));
    file.setA_lang(fieldText(a.lang));
    file.setA_apsect(fieldText(a.apsect));
}

void copyVideo(const VIDEO_STREAM_INFO& v, FileData& file) {
    file.setAngle(v.angle);
    file.setWidth(v.width);
    file.setHeight(v.height);
    file.setAspect(v.aspect);
    file.setBitrate(v.bitrate / 1000);
    file.setFps(std::trunc(v.fps));
    file.setExist(v.exist);
    file.setIndex(v.index);
    file.setMetadata_vcodec(fieldText(v.vcodec));
    file.setMetadata_vcodecTag(fieldText(v.vcodecTag));
    file.setMetadata_lang(fieldText(v.lang));
    file.setMetadata_title(fieldText(v.title));
    file.setMetadata_apsect(fieldText(v.apsect));
}

void describeFile(const QString& path, float seconds, FileData& file) {
    file.setExtension(QFileInfo(path).suffix());
    file.setDuration(seconds);
    QFileInfo info(path);
    file.setFileSize(info.exists() ? static_cast<float>(info.size() / 1'000'000.0) : 0.0f);
}

// A still frame of `width` x `height` from an open media handle; a null image when it cannot be made.
QImage snapshot(MEDIA_HANDLE media, int width, int height) {
    if (width <= 0 || height <= 0)
        return QImage();
    // The engine fills rows top first, bytes B, G, R, A premultiplied: the memory layout of this format on a
    // little-endian machine.
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return QImage();
    std::vector<uint8_t> pixels;
    try {
        pixels.resize(static_cast<size_t>(width) * height * 4);
    } catch (const std::bad_alloc&) {
        return QImage();
    }
    // A picture the engine could not make is none, not the zeroed buffer (a black thumbnail).
    if (MediaSnapshot(media, 0, width, height, pixels.data(), 0) <= 0)
        return QImage();
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), pixels.data() + static_cast<size_t>(y) * width * 4,
                    static_cast<size_t>(width) * 4);
    return image;
}

// Closes a conversion handle when the probe leaves, on every path.
struct ConvertHandle {
    CONVERT_HANDLE h = apiMediaConvertCreate();
    ~ConvertHandle() {
        if (h)
            apiMediaConvertClose(h);
    }
};

struct MediaHandle {
    MEDIA_HANDLE h = nullptr;
    ~MediaHandle() {
        if (h)
            MediaClose(h);
    }
};

// The two-call read of a job's stream records: nullptr when the engine refuses.
template <typename Record, typename Call> bool readRecords(CONVERT_HANDLE h, Call call, std::vector<Record>& records) {
    int count = 0;
    if (call(h, &count, nullptr) <= 0)
        return false;
    records.assign(static_cast<size_t>(std::max(count, 0)), Record{});
    if (count <= 0)
        return true;
    return call(h, &count, records.data()) > 0;
}
} // namespace

std::shared_ptr<SimpleData> MediaProbe::getVideoInfomation(const QString& path, Variant variant) {
    return variant == Variant::Editor ? probeEditor(path) : probeList(path, variant);
}

std::shared_ptr<SimpleData> MediaProbe::probeList(const QString& path, Variant variant) {
    const QByteArray utf8 = path.toUtf8();
    ConvertHandle job;
    if (!job.h || apiMediaConvertSetInputMedia(job.h, utf8.constData()) <= 0)
        return nullptr;
    const int64_t durationUs = apiMediaConvertGetDuration(job.h);

    auto data = std::make_shared<SimpleData>();
    data->setPath(path);
    data->setName(QFileInfo(path).fileName());
    for (const auto& file : {data->sourceData(), data->targetData()})
        describeFile(path, static_cast<float>(durationUs / 1'000'000.0), *file);
    if (variant == Variant::TrimEndAndIcon)
        data->setCutTimeRange_stop(durationUs);

    std::vector<AUDIO_STREAM_INFO> audio;
    if (!readRecords(job.h, apiMediaConvertGetAudioStreamInfo, audio))
        return nullptr;
    if (!audio.empty())
        for (const auto& file : {data->sourceData(), data->targetData()})
            copyAudio(audio[0], *file);

    std::vector<VIDEO_STREAM_INFO> video;
    if (!readRecords(job.h, apiMediaConvertGetVideoStreamInfo, video))
        return nullptr;
    if (video.empty()) {
        if (variant == Variant::TrimEndAndIcon)
            data->setThumbImage(ResourceBundle::imageWithfileName("Cut/musicIconB.png"));
        return data;
    }
    for (const auto& file : {data->sourceData(), data->targetData()})
        copyVideo(video[0], *file);

    MediaHandle media;
    media.h = MediaOpen(utf8.constData());
    if (media.h && video[0].exist)
        data->setThumbImage(snapshot(media.h, kThumbWidth, kThumbHeight));
    return data;
}

std::shared_ptr<SimpleData> MediaProbe::probeEditor(const QString& path) {
    const QByteArray utf8 = path.toUtf8();
    MediaHandle media;
    media.h = MediaOpen(utf8.constData());
    if (!media.h)
        return nullptr;
    AUDIO_STREAM_INFO audio{};
    VIDEO_STREAM_INFO video{};
    if (MediaGetInfo(media.h, &audio, &video) < 0)
        return nullptr;
    if (video.exist && (video.width <= 0 || video.height <= 0))
        return nullptr;
    if (audio.exist && (audio.channel <= 0 || audio.samplerate <= 0))
        return nullptr;
    const int64_t durationUs = MediaGetDuration(media.h);

    // The target record is the output choice's, filled by the editor from the stored choices.
    auto data = std::make_shared<SimpleData>();
    data->setPath(path);
    data->setName(QFileInfo(path).fileName());
    FileData& source = *data->sourceData();
    describeFile(path, static_cast<float>(durationUs / 1'000'000.0), source);
    if (audio.exist)
        copyAudio(audio, source);
    if (video.exist)
        copyVideo(video, source);

    {
        ConvertHandle job;
        std::vector<AUDIO_STREAM_INFO> tracks;
        if (job.h && apiMediaConvertSetInputMedia(job.h, utf8.constData()) > 0 &&
            readRecords(job.h, apiMediaConvertGetAudioStreamInfo, tracks)) {
            for (const AUDIO_STREAM_INFO& record : tracks) {
                auto track = std::make_shared<AudioStreamInfo>();
                track->setChannel(record.channel);
                track->setBitrate(record.bitrate);
                track->setFmt(record.fmt);
                track->setExist(record.exist);
                track->setSample(record.samplerate);
                track->setIndex(record.index);
                track->setLang(fieldText(record.lang));
                track->setTitle(fieldText(record.title));
                track->setPsect(fieldText(record.apsect));
                track->setCodec(fieldText(record.codec));
                data->audioStreamInfos()->append(track);
            }
        }
    }

    if (video.exist) {
        // 180 pixels high, as wide as the picture's aspect asks.
        int width = static_cast<int>(video.width / (video.height / static_cast<double>(kThumbHeight)));
        data->setThumbImage(snapshot(media.h, width, kThumbHeight));
    } else {
        data->setThumbImage(ResourceBundle::imageWithfileName("Resources/defaultMusicZoom.png"));
    }
    return data;
}
