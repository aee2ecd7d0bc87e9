#include "PlayerEdits.h"

#include "EditChecks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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
    mediacore::EditChecks::colour(brightness, contrast, saturation);
    _settings.brightness = brightness;
    _settings.contrast = contrast;
    _settings.saturation = saturation;
    pictureChanged();
}

void PlayerEdits::clearImageEffect() {
    _settings.effects.clear();
    pictureChanged();
}

bool PlayerEdits::addImageEffect(int effectId) {
    if (mediacore::EditChecks::effect(effectId) < 0)
        return false;
    _settings.effects.push_back(effectId);
    pictureChanged();
    return true;
}

bool PlayerEdits::setSubtitle(const SUBTITLE_PARAM& subtitle) {
    using mediacore::EditChecks;
    if (!EditChecks::terminated(subtitle.path, sizeof subtitle.path) ||
        !EditChecks::terminated(subtitle.szFontFile, sizeof subtitle.szFontFile))
        return false;
    SUBTITLE_PARAM checked = subtitle;
    // An empty path removes the subtitle; the rest of the record waits for the next one.
    if (checked.path[0] != '\0' && EditChecks::subtitle(checked) < 0)
        return false;
    _subtitle = checked;
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

// The picture the boxes are measured on is not known here (it depends on the rotation when the graph is built):
// boxes are checked for shape only, and the engine clips or leaves out what lies outside the picture.
int PlayerEdits::addImageWatermask(const IMAGE_WATERMARK_PARAM& watermark) {
    IMAGE_WATERMARK_PARAM checked = watermark;
    if (mediacore::EditChecks::imageWatermark(checked, 0, 0) < 0)
        return 0;
    _settings.imageWatermarks.push_back(checked);
    pictureChanged();
    return 1;
}

int PlayerEdits::addVideoWatermask(const VIDEO_WATERMARK_PARAM& watermark) {
    VIDEO_WATERMARK_PARAM checked = watermark;
    if (mediacore::EditChecks::videoWatermark(checked, 0, 0) < 0)
        return 0;
    _settings.videoWatermarks.push_back(checked);
    pictureChanged();
    return 1;
}

int PlayerEdits::addTextWatermask(const TEXT_WATERMARK_PARAM& watermark) {
    TEXT_WATERMARK_PARAM checked = watermark;
    if (mediacore::EditChecks::textWatermark(checked) < 0)
        return 0;
    _settings.textWatermarks.push_back(checked);
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
    if (path == nullptr)
        return 0;
    mediacore::ConvertSettings::Music music;
    music.path = path;
    music.musicStartUs = musicStartUs;
    music.musicEndUs = musicEndUs;
    music.timelineStartUs = timelineStartUs;
    music.timelineEndUs = timelineEndUs;
    music.fadeInUs = fadeInUs;
    music.fadeOutUs = fadeOutUs;
    music.volume = volume;
    if (mediacore::EditChecks::music(music) < 0)
        return 0;
    _settings.music.push_back(std::move(music));
    soundChanged();
    return 1;
}

void PlayerEdits::setMainAudioVolume(double volume) {
    _mainLevel = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 1.0;
    mainVolumeChanged();
}

void PlayerEdits::setMainGain(double gain) {
    _mainGain = std::isfinite(gain) ? std::clamp(gain, 0.0, 2.0) : 1.0;
    mainVolumeChanged();
}

void PlayerEdits::mainVolumeChanged() {
    _settings.mainAudioVolume = _mainLevel * _mainGain;
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
