#include "PlayerEdits.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A record's text field is usable only when its NUL lies inside it: a field filled to the brim would be read
// past its end.
template <size_t N> bool terminated(const char (&field)[N]) {
    return std::memchr(field, '\0', N) != nullptr;
}

bool boxUsable(const RECT& rect) {
    return rect.right > rect.left && rect.bottom > rect.top;
}

bool windowUsable(int64_t start, int64_t end) {
    return start >= 0 && end > start;
}

} // namespace

PlayerEdits::PlayerEdits() {
    _subtitle.position = -1;
}

bool PlayerEdits::setRotateAngle(int degrees) {
    if (degrees % 90 != 0)
        return false;
    _settings.rotateAngle = ((degrees % 360) + 360) % 360;
    pictureChanged();
    return true;
}

void PlayerEdits::setHFlip(int on) {
    _settings.hFlip = on != 0;
    pictureChanged();
}

void PlayerEdits::setVFlip(int on) {
    _settings.vFlip = on != 0;
    pictureChanged();
}

void PlayerEdits::setBCS(int brightness, int contrast, int saturation) {
    _settings.brightness = std::clamp(brightness, -255, 255);
    _settings.contrast = std::clamp(contrast, -100, 100);
    _settings.saturation = std::clamp(saturation, -100, 100);
    pictureChanged();
}

void PlayerEdits::clearImageEffect() {
    _settings.effects.clear();
    pictureChanged();
}

void PlayerEdits::addImageEffect(int effectId) {
    _settings.effects.push_back(effectId);
    pictureChanged();
}

bool PlayerEdits::setSubtitle(const SUBTITLE_PARAM& subtitle) {
    if (!terminated(subtitle.path) || !terminated(subtitle.szFontFile))
        return false;
    _subtitle = subtitle;
    if (_subtitle.path[0] == '\0')
        _settings.subtitle.reset();
    else
        _settings.subtitle = _subtitle;
    pictureChanged();
    return true;
}

bool PlayerEdits::updateSubtitleFontFile(const char* path) {
    SUBTITLE_PARAM next = _subtitle;
    if (!MediaRecordSetText(next.szFontFile, sizeof next.szFontFile, path))
        return false;
    return setSubtitle(next);
}

void PlayerEdits::updateSubtitlePos(int position) {
    SUBTITLE_PARAM next = _subtitle;
    next.position = position;
    setSubtitle(next);
}

void PlayerEdits::updateSubtitleFontClr(uint32_t colour, int shadow, uint32_t shadowColour) {
    SUBTITLE_PARAM next = _subtitle;
    next.fontclr = colour;
    next.shadow = shadow;
    next.shadowclr = shadowColour;
    setSubtitle(next);
}

void PlayerEdits::clearWatermask() {
    _settings.imageWatermarks.clear();
    _settings.videoWatermarks.clear();
    _settings.textWatermarks.clear();
    pictureChanged();
}

int PlayerEdits::addImageWatermask(const IMAGE_WATERMARK_PARAM& watermark) {
    if (!terminated(watermark.path) || watermark.path[0] == '\0' || !boxUsable(watermark.rect) ||
        !windowUsable(watermark.start_time, watermark.end_time))
        return 0;
    _settings.imageWatermarks.push_back(watermark);
    pictureChanged();
    return 1;
}

int PlayerEdits::addVideoWatermask(const VIDEO_WATERMARK_PARAM& watermark) {
    if (!terminated(watermark.path) || watermark.path[0] == '\0' || !boxUsable(watermark.rect) ||
        !windowUsable(watermark.start_time, watermark.end_time) ||
        (watermark.file_end_time != 0 && !windowUsable(watermark.file_start_time, watermark.file_end_time)))
        return 0;
    _settings.videoWatermarks.push_back(watermark);
    pictureChanged();
    return 1;
}

int PlayerEdits::addTextWatermask(const TEXT_WATERMARK_PARAM& watermark) {
    if (!terminated(watermark.text) || !terminated(watermark.szFontFile) || !terminated(watermark.szFontName) ||
        watermark.text[0] == '\0' || !windowUsable(watermark.start_time, watermark.end_time))
        return 0;
    _settings.textWatermarks.push_back(watermark);
    pictureChanged();
    return 1;
}

void PlayerEdits::setDrawTextCallback(DRAW_TEXT_CALLBACK callback) {
    _settings.drawText = callback;
    pictureChanged();
}

void PlayerEdits::clearDubbingMusic() {
    _settings.music.clear();
    soundChanged();
}

int PlayerEdits::addDubbingMusic(const char* path, int64_t musicStartUs, int64_t musicEndUs, int64_t timelineStartUs,
                                 int64_t timelineEndUs, int64_t fadeInUs, int64_t fadeOutUs, double volume) {
    if (path == nullptr || path[0] == '\0' || !windowUsable(musicStartUs, musicEndUs) ||
        !windowUsable(timelineStartUs, timelineEndUs) || fadeInUs < 0 || fadeOutUs < 0 || !std::isfinite(volume))
        return 0;
    mediacore::ConvertSettings::Music music;
    music.path = path;
    music.musicStartUs = musicStartUs;
    music.musicEndUs = musicEndUs;
    music.timelineStartUs = timelineStartUs;
    music.timelineEndUs = timelineEndUs;
    music.fadeInUs = fadeInUs;
    music.fadeOutUs = fadeOutUs;
    music.volume = std::max(0.0, volume);
    _settings.music.push_back(std::move(music));
    soundChanged();
    return 1;
}

void PlayerEdits::setMainAudioVolume(double volume) {
    _settings.mainAudioVolume = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 1.0;
    soundChanged();
}

void PlayerEdits::disableMainAudio(bool disabled) {
    _settings.mainAudioDisabled = disabled;
    soundChanged();
}

void PlayerEdits::setAudioIndex(int streamIndex) {
    _settings.audioStreamIndex = streamIndex;
    soundChanged();
}
