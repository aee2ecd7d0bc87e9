#include "OutputSettingChecks.h"

#include "CodecCatalog.h"
#include "EngineLog.h"
#include "TemporaryOutput.h"

#include <cmath>

namespace mediacore {

namespace {
constexpr int kMaxDimension = 16384;

int refuse(const char* operation, const std::string& detail, int error = AVERROR(EINVAL)) {
    return EngineLog::failure(operation, error, detail);
}

int codec(const char* operation, const std::string& name, AVMediaType type) {
    CodecCatalog::Choice choice;
    if (CodecCatalog::resolve(name, type, choice))
        return 0;
    const char* kind = type == AVMEDIA_TYPE_VIDEO ? "video" : "audio";
    return refuse(operation, std::string("unknown ") + kind + " codec \"" + name + "\"", AVERROR_ENCODER_NOT_FOUND);
}
} // namespace

int OutputSettingChecks::frameSize(const char* operation, int width, int height) {
    if (width <= 0 || height <= 0 || width % 2 || height % 2 || width > kMaxDimension || height > kMaxDimension)
        return refuse(operation, std::to_string(width) + "x" + std::to_string(height));
    return 0;
}

int OutputSettingChecks::frameRate(const char* operation, double fps) {
    if (!std::isfinite(fps) || fps < 0 || fps > 1000)
        return refuse(operation, std::to_string(fps));
    return 0;
}

int OutputSettingChecks::bitRate(const char* operation, int kbps) {
    if (kbps < 0)
        return refuse(operation, std::to_string(kbps) + " kbit/s");
    return 0;
}

int OutputSettingChecks::audioFormat(const char* operation, int channels, int sampleRate) {
    if (channels < 0 || channels > 8 || sampleRate < 0 ||
        (sampleRate > 0 && (sampleRate < 4000 || sampleRate > 384000)))
        return refuse(operation, std::to_string(channels) + " channels, " + std::to_string(sampleRate) + " Hz");
    return 0;
}

int OutputSettingChecks::videoCodec(const char* operation, const std::string& name) {
    return codec(operation, name, AVMEDIA_TYPE_VIDEO);
}

int OutputSettingChecks::audioCodec(const char* operation, const std::string& name) {
    return codec(operation, name, AVMEDIA_TYPE_AUDIO);
}

int OutputSettingChecks::outputPath(const char* operation, const std::string& path) {
    if (!CodecCatalog::containerFor(path))
        return refuse(operation, "no container for the extension of " + path, AVERROR_MUXER_NOT_FOUND);
    return TemporaryOutput::checkTarget(path);
}

} // namespace mediacore
