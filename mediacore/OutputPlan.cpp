#include "OutputPlan.h"

#include "CodecCatalog.h"
#include "Demuxer.h"
#include "EditChecks.h"
#include "EngineLog.h"
#include "FilterGraphBuilder.h"
#include "StreamRecords.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>

namespace mediacore {

bool OutputPlan::hasPictureEdits(const ConvertSettings& s) {
    return s.width > 0 || s.height > 0 || s.fps > 0 || (s.rotateAngle && *s.rotateAngle % 360 != 0) || s.hFlip ||
           s.vFlip || s.cropMargins || s.brightness || s.contrast || s.saturation || !s.effects.empty() || s.subtitle ||
           !s.imageWatermarks.empty() || !s.textWatermarks.empty() || !s.videoWatermarks.empty();
}

bool OutputPlan::hasSoundEdits(const ConvertSettings& s) {
    return s.mainAudioVolume != 1.0 || s.audioChannels > 0 || s.audioSampleRate > 0 || !s.music.empty();
}

namespace {
bool namesCopy(const std::string& name) {
    CodecCatalog::Choice choice;
    return !name.empty() && CodecCatalog::resolve(name, AVMEDIA_TYPE_VIDEO, choice) && choice.copy;
}

// Picks the codec for one stream: the named one, else the source's where possible, else the container's usual.
// "copy" is refused for a stream with edits of its kind (`edited`).
int chooseEncoder(const std::string& name, AVMediaType type, AVCodecID sourceCodec, const AVOutputFormat* container,
                  bool edited, bool& copy, const AVCodec*& encoder) {
    const char* kind = type == AVMEDIA_TYPE_VIDEO ? "video" : "audio";
    copy = false;
    encoder = nullptr;
    if (!name.empty()) {
        CodecCatalog::Choice choice;
        if (!CodecCatalog::resolve(name, type, choice))
            return EngineLog::failure("choose codec", AVERROR_ENCODER_NOT_FOUND,
                                      std::string("unknown ") + kind + " codec \"" + name + "\"");
        AVCodecID id = choice.copy ? sourceCodec : choice.encoder->id;
        if (!CodecCatalog::accepts(container, id))
            return EngineLog::failure("choose codec", AVERROR(EINVAL),
                                      std::string(avcodec_get_name(id)) + " cannot be stored in " + container->name);
        if (choice.copy && edited)
            return EngineLog::failure("plan output", AVERROR(EINVAL),
                                      std::string("a copied ") + kind + " stream cannot be edited");
        copy = choice.copy;
        encoder = choice.encoder;
        return 0;
    }
    // Wave and AIFF files can hold compressed sound, but players expect PCM there.
    const std::string format = container->name;
    const bool pcmOnly = format == "wav" || format == "aiff" || format == "w64";
    const bool pcm = std::string(avcodec_get_name(sourceCodec)).rfind("pcm_", 0) == 0;
    // Uncompressed pictures are not kept: nobody wants them in an edited file, and most containers cannot hold
    // their odd formats (palettes).
    if (sourceCodec != AV_CODEC_ID_RAWVIDEO && CodecCatalog::accepts(container, sourceCodec) && (!pcmOnly || pcm))
        encoder = CodecCatalog::encoderFor(sourceCodec);
    if (!encoder) {
        AVCodecID usual = CodecCatalog::defaultCodec(container, type);
        encoder = usual != AV_CODEC_ID_NONE ? CodecCatalog::encoderFor(usual) : nullptr;
    }
    if (!encoder)
        return EngineLog::failure("choose codec", AVERROR_ENCODER_NOT_FOUND,
                                  std::string("no ") + kind + " encoder for " + container->name);
    return 0;
}

AVPixelFormat choosePixelFormat(const AVCodec* encoder, AVPixelFormat source) {
    const AVPixelFormat* list = encoder->pix_fmts;
    if (!list)
        return source != AV_PIX_FMT_NONE ? source : AV_PIX_FMT_YUV420P;
    // Motion JPEG takes limited-range 4:2:0 only as an unofficial extension: give it its full-range formats.
    if (encoder->id == AV_CODEC_ID_MJPEG)
        return source == AV_PIX_FMT_YUVJ422P || source == AV_PIX_FMT_YUV422P ? AV_PIX_FMT_YUVJ422P
                                                                             : AV_PIX_FMT_YUVJ420P;
    // 4:2:0 plays everywhere; keep it whenever the encoder has it.
    for (const AVPixelFormat* p = list; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == AV_PIX_FMT_YUV420P)
            return *p;
    for (const AVPixelFormat* p = list; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == source)
            return *p;
    return avcodec_find_best_pix_fmt_of_list(list, source, 0, nullptr);
}

AVRational chooseFrameRate(const AVCodec* encoder, double fps, const AVStream* source) {
    AVRational rate{0, 1};
    if (fps > 0)
        rate = av_d2q(fps, 100000);
    else if (const AVRational believed = StreamRecords::frameRate(source); believed.num > 0)
        rate = believed;
    else
        rate = AVRational{25, 1};
    // Many encoders keep the time base in 16 bits (MPEG-4 part 2, H.263).
    if (rate.den > 65535 || rate.num > 65535)
        av_reduce(&rate.num, &rate.den, rate.num, rate.den, 65535);
    if (encoder->supported_framerates)
        rate = encoder->supported_framerates[av_find_nearest_q_idx(rate, encoder->supported_framerates)];
    return rate;
}

int chooseSampleRate(const AVCodec* encoder, int wanted) {
    const int* list = encoder->supported_samplerates;
    if (!list)
        return wanted;
    int best = 0;
    for (const int* r = list; *r; ++r) {
        if (*r == wanted)
            return wanted;
        // The nearest rate, preferring higher ones on a tie.
        if (!best || std::abs(*r - wanted) < std::abs(best - wanted) ||
            (std::abs(*r - wanted) == std::abs(best - wanted) && *r > best))
            best = *r;
    }
    return best;
}

int chooseChannels(const AVCodec* encoder, int wanted) {
    const AVChannelLayout* list = encoder->ch_layouts;
    if (!list)
        return wanted;
    int fallback = 0;
    for (const AVChannelLayout* l = list; l->nb_channels; ++l) {
        if (l->nb_channels == wanted)
            return wanted;
        if (l->nb_channels == 2 || !fallback)
            fallback = l->nb_channels;
    }
    return wanted == 1 ? 1 : fallback;
}

AVSampleFormat chooseSampleFormat(const AVCodec* encoder, AVSampleFormat source) {
    const AVSampleFormat* list = encoder->sample_fmts;
    if (!list)
        return source;
    for (const AVSampleFormat* f = list; *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == source)
            return source;
    return list[0];
}

// The encoder's sample rate, channel count and sample format nearest to the settings' or, where they keep them,
// to the source's.
void chooseAudioFormat(const ConvertSettings& settings, int sourceRate, int sourceChannels, AVSampleFormat sourceFormat,
                       OutputPlan::Audio& audio) {
    audio.sampleRate =
        chooseSampleRate(audio.encoder, settings.audioSampleRate > 0 ? settings.audioSampleRate : sourceRate);
    audio.channels =
        chooseChannels(audio.encoder, settings.audioChannels > 0 ? settings.audioChannels : sourceChannels);
    audio.sampleFormat = chooseSampleFormat(audio.encoder, sourceFormat);
}

bool everyPacketKey(AVCodecID id) {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(id);
    return descriptor && (descriptor->props & AV_CODEC_PROP_INTRA_ONLY);
}

// Whether the output is written in the source's own kind of container. Moving copied packets into another kind
// may need their form changed (H.264 in AVI or MPEG-TS wants start codes, AAC in MPEG-TS wants ADTS headers).
bool sameContainer(const Demuxer& source, const AVOutputFormat* container) {
    const AVFormatContext* context = source.context();
    if (!context || !context->iformat || !container)
        return false;
    std::string names = std::string(",") + context->iformat->name + ",";
    return names.find(std::string(",") + container->name + ",") != std::string::npos;
}

// Whether a stream the settings leave unchanged is copied; `why` says which way it goes.
bool copiesUnchanged(const ConvertSettings& settings, const Demuxer& source, AVMediaType type, AVCodecID codec,
                     const AVOutputFormat* container, bool edited, std::string& why) {
    const bool video = type == AVMEDIA_TYPE_VIDEO;
    const std::string kind = video ? "video" : "audio";
    const std::string name = avcodec_get_name(codec);
    auto encode = [&](const std::string& reason) {
        why = kind + " encoded: " + reason;
        return false;
    };
    if (!(video ? settings.videoCodec : settings.audioCodec).empty() ||
        (video ? settings.videoBitrateKbps : settings.audioBitrateKbps) > 0)
        return encode("a codec or bit rate is set");
    if (settings.sizeLimitBytes > 0)
        return encode("a size limit is set");
    if (edited)
        return encode("the " + std::string(video ? "picture" : "sound") + " is edited");
    if (codec == AV_CODEC_ID_RAWVIDEO)
        return encode("uncompressed pictures are not kept");
    if (!CodecCatalog::accepts(container, codec))
        return encode(std::string(container->name) + " cannot store " + name);
    if (!sameContainer(source, container))
        return encode(std::string("the output is not a ") + source.context()->iformat->name + " file as the source is");
    const bool ranged = settings.cutStartUs > 0 || settings.cutStopUs > 0;
    if (ranged && !everyPacketKey(codec))
        return encode("the range is cut inside " + name + "'s groups of pictures or frames");
    why = kind + " copied: nothing changes its " + name + (ranged ? ", whose every packet stands alone" : "");
    return true;
}

bool lossless(AVCodecID id) {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(id);
    return descriptor && (descriptor->props & AV_CODEC_PROP_LOSSLESS) && !(descriptor->props & AV_CODEC_PROP_LOSSY);
}

int planVideo(const ConvertSettings& settings, const Demuxer& source, const std::vector<int64_t>& bitRates,
              OutputPlan& plan, bool copyUnchanged) {
    OutputPlan::Video& video = plan.video;
    const AVStream* stream = source.stream(video.stream);
    const AVCodecParameters* par = stream->codecpar;
    VideoFrameFormat format;
    format.width = par->width;
    format.height = par->height;
    format.rotation = StreamRecords::rotation(stream);
    format.mirrored = StreamRecords::mirrored(stream);
    // A job that turns the picture itself (SetRotateAngle) writes upright pixels anyway. Otherwise a container
    // that cannot say how the picture is turned gets it turned in its pixels, or it would play sideways.
    video.uprightPixels = !settings.rotateAngle && (format.rotation != 0 || format.mirrored) &&
                          !CodecCatalog::storesRotation(plan.container);
    std::string codec = settings.videoCodec;
    if (video.uprightPixels && namesCopy(codec)) {
        EngineLog::note(std::string(plan.container->name) +
                        " cannot store the picture's rotation: the picture is encoded upright instead of copied");
        codec.clear();
    }
    const bool edited = OutputPlan::hasPictureEdits(settings) || video.uprightPixels;
    std::string why;
    if (copyUnchanged &&
        copiesUnchanged(settings, source, AVMEDIA_TYPE_VIDEO, par->codec_id, plan.container, edited, why)) {
        plan.route = why;
        video.copy = true;
        return 0;
    }
    int rc = chooseEncoder(codec, AVMEDIA_TYPE_VIDEO, par->codec_id, plan.container, edited, video.copy, video.encoder);
    if (copyUnchanged)
        plan.route = video.copy ? "video copied as asked" : why;
    if (rc < 0 || video.copy)
        return rc;
    const FilterGraphBuilder builder(settings);
    VideoTarget shape;
    shape.applyStreamRotation = video.uprightPixels;
    if (settings.cropMargins) {
        auto [pictureWidth, pictureHeight] = builder.pictureSize(format, shape);
        if ((rc = EditChecks::croppedSize(*settings.cropMargins, pictureWidth, pictureHeight)) < 0)
            return rc;
    }
    auto [w, h] = builder.editedSize(format, shape);
    video.width = settings.width > 0 ? settings.width : w;
    video.height = settings.height > 0 ? settings.height : h;
    video.pixelFormat = choosePixelFormat(video.encoder, static_cast<AVPixelFormat>(par->format));
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(video.pixelFormat);
    if (descriptor && (descriptor->log2_chroma_w || descriptor->log2_chroma_h)) {
        // Subsampled chroma needs even sizes; an odd source size loses its last row or column.
        video.width = std::max(2, video.width & ~1);
        video.height = std::max(2, video.height & ~1);
    }
    video.frameRate = chooseFrameRate(video.encoder, settings.fps, stream);
    if (settings.videoBitrateKbps > 0) {
        video.bitRate = static_cast<int64_t>(settings.videoBitrateKbps) * 1000;
    } else if (bitRates[video.stream] > 0 && par->width > 0 && par->height > 0) {
        // About the source's bit rate, in proportion to the pixels when the size changes.
        double scale =
            static_cast<double>(video.width) * video.height / (static_cast<double>(par->width) * par->height);
        video.bitRate = std::max<int64_t>(100'000, std::llround(bitRates[video.stream] * scale));
    }
    return 0;
}

// Vorbis accepts only the rates its modes cover for the sample rate and channel count (measured on libvorbis
// 1.3: mono 44.1 kHz takes 32 to 240 kb/s, stereo 45 to 500 kb/s); a rate outside makes its encoder refuse to open.
int64_t fitVorbisBitRate(int sampleRate, int channels, int64_t bitRate) {
    int64_t low = 0, high = 0; // for one and for two channels, in kb/s
    if (sampleRate <= 24000)
        low = channels > 1 ? 32 : 16, high = channels > 1 ? 160 : 80;
    else if (sampleRate <= 32000)
        low = channels > 1 ? 40 : 32, high = channels > 1 ? 320 : 160;
    else
        low = channels > 1 ? 45 : 32, high = channels > 1 ? 500 : 240;
    const int64_t scale = channels > 2 ? channels : 2; // more channels: the stereo range per pair
    if (channels > 2)
        low = low * scale / 2, high = high * scale / 2;
    return std::clamp<int64_t>(bitRate, low * 1000, high * 1000);
}

// MPEG audio layer II knows only the bit rates of its header table (kbit/s, per stream): any other rate, such as
// one carried over from a 69 kb/s source, makes its encoder refuse to open. Vorbis has a range per sample rate
// and channel count. Other encoders take any rate.
int64_t fitAudioBitRate(const AVCodec* encoder, int sampleRate, int channels, int64_t bitRate) {
    if (bitRate <= 0)
        return bitRate;
    if (encoder->id == AV_CODEC_ID_VORBIS)
        return fitVorbisBitRate(sampleRate, channels, bitRate);
    if (encoder->id != AV_CODEC_ID_MP2)
        return bitRate;
    static const int mpeg1[] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
    static const int mpeg2[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    const int* table = sampleRate >= 32000 ? mpeg1 : mpeg2;
    int64_t best = table[0] * 1000LL;
    for (int i = 0; i < 14; ++i) {
        const int64_t rate = table[i] * 1000LL;
        if (std::llabs(rate - bitRate) <= std::llabs(best - bitRate))
            best = rate;
    }
    return best;
}

int planAudio(const ConvertSettings& settings, const Demuxer& source, const std::vector<int64_t>& bitRates,
              OutputPlan& plan, bool copyUnchanged) {
    OutputPlan::Audio& audio = plan.audio;
    const AVStream* stream = source.stream(audio.stream);
    const AVCodecParameters* par = stream->codecpar;
    const bool edited = OutputPlan::hasSoundEdits(settings);
    std::string why;
    if (copyUnchanged &&
        copiesUnchanged(settings, source, AVMEDIA_TYPE_AUDIO, par->codec_id, plan.container, edited, why)) {
        plan.route += (plan.route.empty() ? "" : "; ") + why;
        audio.copy = true;
        return 0;
    }
    int rc = chooseEncoder(settings.audioCodec, AVMEDIA_TYPE_AUDIO, par->codec_id, plan.container, edited, audio.copy,
                           audio.encoder);
    if (copyUnchanged)
        plan.route += (plan.route.empty() ? "" : "; ") + (audio.copy ? std::string("audio copied as asked") : why);
    if (rc < 0 || audio.copy)
        return rc;
    chooseAudioFormat(settings, par->sample_rate, par->ch_layout.nb_channels, static_cast<AVSampleFormat>(par->format),
                      audio);
    if (lossless(audio.encoder->id))
        return 0;
    if (settings.audioBitrateKbps > 0) {
        audio.bitRate = static_cast<int64_t>(settings.audioBitrateKbps) * 1000;
    } else {
        // About the source's rate; a lossless source gets a transparent lossy rate instead of its own.
        int64_t perChannel = lossless(par->codec_id) || bitRates[audio.stream] <= 0
                                 ? 96'000
                                 : bitRates[audio.stream] / std::max(1, par->ch_layout.nb_channels);
        perChannel = std::clamp<int64_t>(perChannel, 32'000, 160'000);
        audio.bitRate = perChannel * audio.channels;
    }
    audio.bitRate = fitAudioBitRate(audio.encoder, audio.sampleRate, audio.channels, audio.bitRate);
    return 0;
}
// The music alone (main audio disabled or absent): the container's usual codec unless one is named, 48 kHz
// stereo unless asked otherwise.
int planMusicOnly(const ConvertSettings& settings, OutputPlan& plan) {
    OutputPlan::Audio& audio = plan.audio;
    audio.musicOnly = true;
    int rc = chooseEncoder(settings.audioCodec, AVMEDIA_TYPE_AUDIO, AV_CODEC_ID_NONE, plan.container, false, audio.copy,
                           audio.encoder);
    if (rc < 0)
        return rc;
    if (audio.copy || !audio.encoder)
        return EngineLog::failure("plan output", AVERROR(EINVAL), "music without main audio cannot be copied");
    chooseAudioFormat(settings, 48000, 2, AV_SAMPLE_FMT_FLTP, audio);
    if (!lossless(audio.encoder->id))
        audio.bitRate = settings.audioBitrateKbps > 0 ? static_cast<int64_t>(settings.audioBitrateKbps) * 1000
                                                      : 96'000 * audio.channels;
    audio.bitRate = fitAudioBitRate(audio.encoder, audio.sampleRate, audio.channels, audio.bitRate);
    return 0;
}
} // namespace

int OutputPlan::make(const ConvertSettings& settings, const Demuxer& source, const std::vector<int64_t>& bitRates,
                     OutputPlan& plan, bool copyUnchanged) {
    plan = OutputPlan();
    plan.container = CodecCatalog::containerFor(settings.outputPath);
    if (!plan.container)
        return EngineLog::failure("plan output", AVERROR_MUXER_NOT_FOUND, "unknown container: " + settings.outputPath);
    plan.video.stream = CodecCatalog::isAudioOnly(settings.outputPath) ? -1 : source.firstVideoStream();
    if (!settings.mainAudioDisabled)
        plan.audio.stream = settings.audioStreamIndex >= 0 ? settings.audioStreamIndex : source.firstAudioStream();
    if (plan.video.stream < 0 && plan.audio.stream < 0 && settings.music.empty())
        return EngineLog::failure("plan output", AVERROR_STREAM_NOT_FOUND,
                                  "nothing to write into " + settings.outputPath);
    int rc = 0;
    if (plan.video.stream >= 0 && (rc = planVideo(settings, source, bitRates, plan, copyUnchanged)) < 0)
        return rc;
    if (plan.audio.stream >= 0 && (rc = planAudio(settings, source, bitRates, plan, copyUnchanged)) < 0)
        return rc;
    if (plan.audio.stream < 0 && !settings.music.empty() && (rc = planMusicOnly(settings, plan)) < 0)
        return rc;
    return 0;
}

} // namespace mediacore
