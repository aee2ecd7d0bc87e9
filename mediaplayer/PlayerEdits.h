#pragma once

#include "ConvertSettings.h"
#include "libMediaCore.h"

#include <cstdint>

// The picture and sound edits a preview player was told, kept as the engine's conversion settings so the
// engine's filter-graph builder turns them into the same filters an export would get.
//
// Plain data, main thread only; the player hands a copy to its decoding thread after every change.
// pictureVersion() grows with each change to the picture, so a frame rendered with older edits can be recognised;
// soundVersion() likewise for the sound.
class PlayerEdits {
public:
    PlayerEdits();

    const mediacore::ConvertSettings& settings() const { return _settings; }
    uint64_t pictureVersion() const { return _pictureVersion; }
    uint64_t soundVersion() const { return _soundVersion; }

    // Clockwise quarter turns on top of the upright picture; 0 = none. Other angles are refused.
    bool setRotateAngle(int degrees);
    void setHFlip(int on);
    void setVFlip(int on);
    // The checks are the conversion job's (mediacore::EditChecks), so the preview refuses and clamps what the
    // export would.
    // Brightness -255..255, contrast and saturation -100..100 (clamped); 0, 0, 0 changes nothing.
    void setBCS(int brightness, int contrast, int saturation);
    void clearImageEffect();
    bool addImageEffect(int effectId); // false for an id not in the effect list

    // An empty path removes the subtitle; the font, position and colours are kept for the next one. A subtitle
    // file that is missing or has no cue is refused.
    bool setSubtitle(const SUBTITLE_PARAM& subtitle);
    bool updateSubtitleFontFile(const char* path);
    void updateSubtitlePos(int position);
    void updateSubtitleFontClr(uint32_t colour, int shadow, uint32_t shadowColour);
    const SUBTITLE_PARAM& subtitleRecord() const { return _subtitle; }

    // 1 when the watermark was taken, 0 when refused (a text field without its NUL, a missing or unreadable
    // file, an empty box, a time window that ends before it starts).
    void clearWatermask();
    int addImageWatermask(const IMAGE_WATERMARK_PARAM& watermark);
    int addVideoWatermask(const VIDEO_WATERMARK_PARAM& watermark);
    int addTextWatermask(const TEXT_WATERMARK_PARAM& watermark);

    void setDrawTextCallback(DRAW_TEXT_CALLBACK callback);
    void setLoadImageCallback(LOAD_IMAGE_CALLBACK callback) { _loadImage = callback; }
    LOAD_IMAGE_CALLBACK loadImageCallback() const { return _loadImage; }

    // Times in µs. 1 when taken, 0 when refused (no path, a file without sound, an empty or inverted range, a
    // negative time); a range beyond the music's end is cut there.
    void clearDubbingMusic();
    int addDubbingMusic(const char* path, int64_t musicStartUs, int64_t musicEndUs, int64_t timelineStartUs,
                        int64_t timelineEndUs, int64_t fadeInUs, int64_t fadeOutUs, double volume);

    void setMainAudioVolume(double volume); // 0..1, clamped
    // The player's volume: a gain (0..2, clamped) on the file's own sound only, on top of its level; the music
    // keeps its own factors, as in an export where the volume multiplies the main sound's level.
    void setMainGain(double gain);
    double mainAudioLevel() const { return _mainLevel; }
    double mainGain() const { return _mainGain; }
    void disableMainAudio(bool disabled);
    void setAudioIndex(int streamIndex); // container index; -1 = the first audio stream

    // No main audio and no music: the player has nothing to play.
    bool silent() const { return _settings.mainAudioDisabled && _settings.music.empty(); }

private:
    void pictureChanged() { ++_pictureVersion; }
    void soundChanged() { ++_soundVersion; }
    void mainVolumeChanged();

    mediacore::ConvertSettings _settings;
    SUBTITLE_PARAM _subtitle{};
    LOAD_IMAGE_CALLBACK _loadImage = nullptr;
    double _mainLevel = 1.0; // as setMainAudioVolume gave it
    double _mainGain = 1.0;  // as setMainGain gave it
    uint64_t _pictureVersion = 1;
    uint64_t _soundVersion = 1;
};
