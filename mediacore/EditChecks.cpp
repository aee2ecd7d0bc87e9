#include "EditChecks.h"

#include "Demuxer.h"
#include "EffectCatalog.h"
#include "EngineLog.h"
#include "FileAccess.h"
#include "ImageLoader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace mediacore {

namespace {
constexpr int kMaxBoxSide = 8192;
constexpr int kDefaultSubtitleSize = 30;
constexpr double kMaxMusicVolume = 10.0;

int refuse(const char* operation, const std::string& detail, int error = AVERROR(EINVAL)) {
    return EngineLog::failure(operation, error, detail);
}

std::string range(int64_t a, int64_t b) {
    return std::to_string(a) + ".." + std::to_string(b) + " µs";
}

// Whether a subtitle file parses and holds at least one cue (read with the demuxers the renderer uses).
int subtitleCues(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec))
        return refuse("set subtitle", path, AVERROR(ENOENT));
    AVFormatContext* raw = nullptr;
    int rc = FileAccess::openInput(&raw, path, FileAccess::Kind::Subtitle);
    if (rc < 0)
        return refuse("set subtitle", "not a subtitle file: " + path, rc);
    InputContextPtr input(raw);
    if ((rc = avformat_find_stream_info(raw, nullptr)) < 0)
        return refuse("set subtitle", "not a subtitle file: " + path, rc);
    int stream = av_find_best_stream(raw, AVMEDIA_TYPE_SUBTITLE, -1, -1, nullptr, 0);
    if (stream < 0)
        return refuse("set subtitle", "not a subtitle file: " + path, AVERROR_INVALIDDATA);
    PacketPtr packet = makePacket();
    while ((rc = av_read_frame(raw, packet.get())) >= 0) {
        bool cue = packet->stream_index == stream && packet->size > 0;
        av_packet_unref(packet.get());
        if (cue)
            return 0;
    }
    return refuse("set subtitle", "no cue in " + path, AVERROR_INVALIDDATA);
}
} // namespace

bool EditChecks::terminated(const char* field, size_t size) {
    return std::memchr(field, '\0', size) != nullptr;
}

int EditChecks::cropMargins(RECT& margins) {
    if (margins.left < 0 || margins.top < 0 || margins.right < 0 || margins.bottom < 0)
        return refuse("set crop size", "negative margin (" + std::to_string(margins.left) + ", " +
                                           std::to_string(margins.top) + ", " + std::to_string(margins.right) + ", " +
                                           std::to_string(margins.bottom) + ")");
    margins.left &= ~1;
    margins.top &= ~1;
    margins.right &= ~1;
    margins.bottom &= ~1;
    return 0;
}

int EditChecks::croppedSize(const RECT& margins, int width, int height) {
    const int64_t w = int64_t{width} - margins.left - margins.right;
    const int64_t h = int64_t{height} - margins.top - margins.bottom;
    if (w < 2 || h < 2)
        return refuse("crop", "the margins leave " + std::to_string(w) + "x" + std::to_string(h) + " of the " +
                                  std::to_string(width) + "x" + std::to_string(height) + " picture");
    return 0;
}

void EditChecks::colour(int& brightness, int& contrast, int& saturation) {
    brightness = std::clamp(brightness, -255, 255);
    contrast = std::clamp(contrast, -100, 100);
    saturation = std::clamp(saturation, -100, 100);
}

int EditChecks::effect(int id) {
    return EffectCatalog::contains(id) ? 0 : refuse("add image effect", "unknown effect id " + std::to_string(id));
}

int EditChecks::subtitle(SUBTITLE_PARAM& subtitle) {
    if (!terminated(subtitle.path, sizeof subtitle.path) ||
        !terminated(subtitle.szFontFile, sizeof subtitle.szFontFile))
        return refuse("set subtitle", "a path is longer than its field");
    if (int rc = subtitleCues(subtitle.path); rc < 0)
        return rc;
    if (subtitle.fontsize <= 0)
        subtitle.fontsize = kDefaultSubtitleSize;
    subtitle.position = std::max(subtitle.position, -1);
    subtitle.shadow = subtitle.shadow ? 1 : 0;
    return 0;
}

int EditChecks::box(const RECT& rect, int width, int height, const char* what) {
    const std::string text = "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " +
                             std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + ")";
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return refuse(what, "empty box " + text);
    if (int64_t{rect.right} - rect.left > kMaxBoxSide || int64_t{rect.bottom} - rect.top > kMaxBoxSide)
        return refuse(what, "box " + text + " is larger than " + std::to_string(kMaxBoxSide) + " pixels");
    if (width > 0 && height > 0 && (rect.right <= 0 || rect.bottom <= 0 || rect.left >= width || rect.top >= height))
        return refuse(what, "box " + text + " lies outside the " + std::to_string(width) + "x" +
                                std::to_string(height) + " picture");
    return 0;
}

int EditChecks::window(int64_t& startUs, int64_t endUs, const char* what) {
    if (endUs <= startUs || endUs <= 0)
        return refuse(what, "empty time window " + range(startUs, endUs));
    startUs = std::max<int64_t>(startUs, 0);
    return 0;
}

int EditChecks::imageWatermark(IMAGE_WATERMARK_PARAM& watermark, int width, int height) {
    const char* what = "add image watermark";
    if (!terminated(watermark.path, sizeof watermark.path))
        return refuse(what, "the path is longer than its field");
    int rc = box(watermark.rect, width, height, what);
    if (rc >= 0)
        rc = window(watermark.start_time, watermark.end_time, what);
    if (rc >= 0)
        rc = ImageLoader::probe(watermark.path, nullptr, nullptr);
    if (rc < 0)
        return rc;
    watermark.transparence = std::clamp(watermark.transparence, 0, 100);
    return 0;
}

int EditChecks::textWatermark(TEXT_WATERMARK_PARAM& watermark) {
    const char* what = "add text watermark";
    if (!terminated(watermark.text, sizeof watermark.text) ||
        !terminated(watermark.szFontName, sizeof watermark.szFontName) ||
        !terminated(watermark.szFontFile, sizeof watermark.szFontFile))
        return refuse(what, "a text is longer than its field");
    if (watermark.text[0] == '\0')
        return refuse(what, "empty text");
    if (int rc = window(watermark.start_time, watermark.end_time, what); rc < 0)
        return rc;
    watermark.fontsize = std::max(watermark.fontsize, 1);
    watermark.transparence = std::clamp(watermark.transparence, 0, 100);
    return 0;
}

int EditChecks::videoWatermark(VIDEO_WATERMARK_PARAM& watermark, int width, int height) {
    const char* what = "add video watermark";
    if (!terminated(watermark.path, sizeof watermark.path))
        return refuse(what, "the path is longer than its field");
    int rc = box(watermark.rect, width, height, what);
    if (rc >= 0)
        rc = window(watermark.start_time, watermark.end_time, what);
    if (rc < 0)
        return rc;
    Demuxer file;
    if ((rc = file.open(watermark.path)) < 0)
        return rc;
    if (file.firstVideoStream() < 0)
        return refuse(what, std::string("no video in ") + watermark.path, AVERROR_STREAM_NOT_FOUND);
    const int64_t duration = file.durationUs();
    watermark.file_start_time = std::max<int64_t>(watermark.file_start_time, 0);
    if (watermark.file_end_time <= 0 || (duration > 0 && watermark.file_end_time > duration))
        watermark.file_end_time = duration > 0 ? duration : INT64_MAX;
    if (watermark.file_end_time <= watermark.file_start_time)
        return refuse(what, "empty part " + range(watermark.file_start_time, watermark.file_end_time) + " of " +
                                watermark.path);
    watermark.transparence = std::clamp(watermark.transparence, 0, 100);
    return 0;
}

int EditChecks::music(ConvertSettings::Music& music) {
    const char* what = "add music";
    if (music.path.empty())
        return refuse(what, "no path");
    if (music.musicStartUs < 0 || music.timelineStartUs < 0 || music.fadeInUs < 0 || music.fadeOutUs < 0)
        return refuse(what, "negative time");
    if (music.musicEndUs <= music.musicStartUs)
        return refuse(what, "empty music range " + range(music.musicStartUs, music.musicEndUs));
    if (music.timelineEndUs <= music.timelineStartUs)
        return refuse(what, "empty place " + range(music.timelineStartUs, music.timelineEndUs));
    if (!std::isfinite(music.volume) || music.volume < 0)
        return refuse(what, "volume " + std::to_string(music.volume));
    Demuxer file;
    if (int rc = file.open(music.path); rc < 0)
        return rc;
    if (file.firstAudioStream() < 0)
        return refuse(what, "no audio in " + music.path, AVERROR_STREAM_NOT_FOUND);
    const int64_t duration = file.durationUs();
    if (duration > 0) {
        if (music.musicStartUs >= duration)
            return refuse(what, "music range " + range(music.musicStartUs, music.musicEndUs) +
                                    " starts after the music's end (" + std::to_string(duration) + " µs)");
        music.musicEndUs = std::min(music.musicEndUs, duration);
    }
    music.volume = std::min(music.volume, kMaxMusicVolume);
    return 0;
}

} // namespace mediacore
