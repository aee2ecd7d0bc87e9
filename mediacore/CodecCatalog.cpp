#include "CodecCatalog.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>

namespace mediacore {

namespace {
std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The common name's key: capitals, without spaces, dots, dashes, slashes and underscores ("H.264" -> "H264").
std::string commonKey(const std::string& text) {
    std::string key;
    for (unsigned char c : text)
        if (std::isalnum(c))
            key += static_cast<char>(std::toupper(c));
    return key;
}

const std::map<std::string, AVCodecID>& commonNames() {
    static const std::map<std::string, AVCodecID> names = {
        {"H264", AV_CODEC_ID_H264},        {"AVC", AV_CODEC_ID_H264},
        {"X264", AV_CODEC_ID_H264},        {"AVC1", AV_CODEC_ID_H264},
        {"H264AVC", AV_CODEC_ID_H264},     {"HEVC", AV_CODEC_ID_HEVC},
        {"H265", AV_CODEC_ID_HEVC},        {"X265", AV_CODEC_ID_HEVC},
        {"HVC1", AV_CODEC_ID_HEVC},        {"H265HEVC", AV_CODEC_ID_HEVC},
        {"MPEG4", AV_CODEC_ID_MPEG4},      {"XVID", AV_CODEC_ID_MPEG4},
        {"DIVX", AV_CODEC_ID_MPEG4},       {"MP4V", AV_CODEC_ID_MPEG4},
        {"MPEG4PART2", AV_CODEC_ID_MPEG4}, {"VP8", AV_CODEC_ID_VP8},
        {"VP9", AV_CODEC_ID_VP9},          {"AV1", AV_CODEC_ID_AV1},
        {"MPEG2", AV_CODEC_ID_MPEG2VIDEO}, {"MPEG2VIDEO", AV_CODEC_ID_MPEG2VIDEO},
        {"MPEG1", AV_CODEC_ID_MPEG1VIDEO}, {"MPEG1VIDEO", AV_CODEC_ID_MPEG1VIDEO},
        {"MJPEG", AV_CODEC_ID_MJPEG},      {"MOTIONJPEG", AV_CODEC_ID_MJPEG},
        {"PRORES", AV_CODEC_ID_PRORES},    {"THEORA", AV_CODEC_ID_THEORA},
        {"WMV", AV_CODEC_ID_WMV2},         {"WMV1", AV_CODEC_ID_WMV1},
        {"WMV2", AV_CODEC_ID_WMV2},        {"FLV", AV_CODEC_ID_FLV1},
        {"FLV1", AV_CODEC_ID_FLV1},        {"H263", AV_CODEC_ID_H263},
        {"DNXHD", AV_CODEC_ID_DNXHD},      {"AAC", AV_CODEC_ID_AAC},
        {"MP3", AV_CODEC_ID_MP3},          {"LAME", AV_CODEC_ID_MP3},
        {"MP2", AV_CODEC_ID_MP2},          {"OPUS", AV_CODEC_ID_OPUS},
        {"VORBIS", AV_CODEC_ID_VORBIS},    {"FLAC", AV_CODEC_ID_FLAC},
        {"PCM", AV_CODEC_ID_PCM_S16LE},    {"LPCM", AV_CODEC_ID_PCM_S16LE},
        {"WAV", AV_CODEC_ID_PCM_S16LE},    {"AC3", AV_CODEC_ID_AC3},
        {"EAC3", AV_CODEC_ID_EAC3},        {"ALAC", AV_CODEC_ID_ALAC},
        {"WMA", AV_CODEC_ID_WMAV2},        {"WMAV2", AV_CODEC_ID_WMAV2},
    };
    return names;
}

// Library encoders we prefer over FFmpeg's default choice for the same codec.
const std::map<AVCodecID, const char*>& preferredEncoders() {
    static const std::map<AVCodecID, const char*> encoders = {
        {AV_CODEC_ID_H264, "libx264"},     {AV_CODEC_ID_HEVC, "libx265"},     {AV_CODEC_ID_VP9, "libvpx-vp9"},
        {AV_CODEC_ID_VP8, "libvpx"},       {AV_CODEC_ID_AV1, "libsvtav1"},    {AV_CODEC_ID_MPEG4, "mpeg4"},
        {AV_CODEC_ID_AAC, "aac"},          {AV_CODEC_ID_MP3, "libmp3lame"},   {AV_CODEC_ID_OPUS, "libopus"},
        {AV_CODEC_ID_VORBIS, "libvorbis"}, {AV_CODEC_ID_THEORA, "libtheora"}, {AV_CODEC_ID_PRORES, "prores_ks"},
    };
    return encoders;
}
} // namespace

const AVCodec* CodecCatalog::encoderFor(AVCodecID id) {
    auto preferred = preferredEncoders().find(id);
    if (preferred != preferredEncoders().end())
        if (const AVCodec* codec = avcodec_find_encoder_by_name(preferred->second))
            return codec;
    void* iterator = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&iterator)) {
        if (codec->id != id || !av_codec_is_encoder(codec))
            continue;
        if (codec->capabilities & (AV_CODEC_CAP_HARDWARE | AV_CODEC_CAP_EXPERIMENTAL))
            continue;
        // Wrappers of hardware APIs that do not flag themselves (v4l2m2m, omx, vaapi, ...).
        static const char* const hardwareSuffixes[] = {"_v4l2m2m", "_omx", "_vaapi",  "_nvenc",       "_qsv",
                                                       "_amf",     "_mf",  "_vulkan", "_videotoolbox"};
        std::string name = codec->name;
        bool hardware = std::any_of(std::begin(hardwareSuffixes), std::end(hardwareSuffixes), [&](const char* s) {
            std::string suffix = s;
            return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
        });
        if (!hardware)
            return codec;
    }
    return nullptr;
}

bool CodecCatalog::resolve(const std::string& name, AVMediaType type, Choice& choice) {
    choice = Choice();
    std::string text = trimmed(name);
    if (text.empty())
        return false;
    if (lower(text) == "copy") {
        choice.copy = true;
        return true;
    }
    const AVCodec* encoder = nullptr;
    auto common = commonNames().find(commonKey(text));
    if (common != commonNames().end()) {
        encoder = encoderFor(common->second);
    } else if (const AVCodec* named = avcodec_find_encoder_by_name(lower(text).c_str())) {
        encoder = named;
    } else if (const AVCodecDescriptor* descriptor = avcodec_descriptor_get_by_name(lower(text).c_str())) {
        encoder = encoderFor(descriptor->id);
    }
    if (!encoder || encoder->type != type)
        return false;
    choice.encoder = encoder;
    return true;
}

const AVOutputFormat* CodecCatalog::containerFor(const std::string& path) {
    std::string extension = lower(std::filesystem::path(path).extension().string());
    if (extension.size() < 2)
        return nullptr;
    // av_guess_format matches the extension against each muxer's list.
    return av_guess_format(nullptr, ("x" + extension).c_str(), nullptr);
}

bool CodecCatalog::accepts(const AVOutputFormat* container, AVCodecID id) {
    // The MP4 family names a FLAC tag but writes it only as an experimental feature (FFmpeg 5.1).
    if (id == AV_CODEC_ID_FLAC && storesRotation(container))
        return false;
    int answer = avformat_query_codec(container, id, FF_COMPLIANCE_NORMAL);
    if (answer >= 0)
        return answer == 1;
    // Muxers without a codec table cannot answer: their usual codecs, and what they are known to carry.
    if (id == container->video_codec || id == container->audio_codec)
        return true;
    static const std::map<std::string, std::set<AVCodecID>> carried = {
        {"mpegts",
         {AV_CODEC_ID_H264, AV_CODEC_ID_HEVC, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MPEG4,
          AV_CODEC_ID_AAC, AV_CODEC_ID_MP3, AV_CODEC_ID_MP2, AV_CODEC_ID_AC3, AV_CODEC_ID_EAC3, AV_CODEC_ID_OPUS}},
        {"mpeg", {AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MP3, AV_CODEC_ID_AC3}},
        {"ogg", {AV_CODEC_ID_OPUS, AV_CODEC_ID_FLAC, AV_CODEC_ID_SPEEX, AV_CODEC_ID_VORBIS, AV_CODEC_ID_THEORA}},
    };
    auto known = carried.find(container->name);
    return known != carried.end() && known->second.count(id) > 0;
}

AVCodecID CodecCatalog::defaultCodec(const AVOutputFormat* container, AVMediaType type) {
    if (type == AVMEDIA_TYPE_VIDEO)
        return container->video_codec;
    return container->audio_codec;
}

bool CodecCatalog::storesRotation(const AVOutputFormat* container) {
    static const std::set<std::string> movFamily = {"mp4", "mov", "3gp", "3g2", "ipod", "ismv", "f4v", "psp"};
    return container && movFamily.count(container->name) > 0;
}

bool CodecCatalog::isAudioOnly(const std::string& path) {
    static const std::set<std::string> audioOnly = {".mp3", ".m4a", ".m4b",  ".m4r", ".wav", ".aac",  ".flac",
                                                    ".oga", ".ogg", ".opus", ".ac3", ".aif", ".aiff", ".amr",
                                                    ".mka", ".wma", ".caf",  ".au",  ".mp2"};
    return audioOnly.count(lower(std::filesystem::path(path).extension().string())) > 0;
}

} // namespace mediacore
