#pragma once

#include "libMediaCore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mediacore {

// Everything a conversion job was told, as the setters stored it: filled on the caller's thread before Start,
// read by the run and by FilterGraphBuilder. Zero / empty means "keep the source's" (or "none").
struct ConvertSettings {
    // One background-music item: the part [musicStartUs, musicEndUs) of the file, placed on the source timeline
    // at [timelineStartUs, timelineEndUs), with fades and a gain factor.
    struct Music {
        std::string path;
        int64_t musicStartUs = 0;
        int64_t musicEndUs = 0;
        int64_t timelineStartUs = 0;
        int64_t timelineEndUs = 0;
        int64_t fadeInUs = 0;
        int64_t fadeOutUs = 0;
        double volume = 1.0;
    };

    std::string outputPath;

    // Cut, on the source timeline in µs. cutStopUs 0 runs to the end of the file.
    int64_t cutStartUs = 0;
    int64_t cutStopUs = 0;
    int64_t sizeLimitBytes = 0; // 0: no limit

    // Codec names as given ("H264", "libx264", "copy"); empty keeps the source's codec where possible.
    std::string videoCodec;
    std::string audioCodec;
    int width = 0; // of the picture after rotation
    int height = 0;
    int videoBitrateKbps = 0;
    int audioBitrateKbps = 0;
    double fps = 0;
    int audioChannels = 0;
    int audioSampleRate = 0;

    int audioStreamIndex = -1; // container index of the main audio; -1: the first audio stream
    double mainAudioVolume = 1.0;
    bool mainAudioDisabled = false;

    // Picture edits. rotateAngle is set only by SetRotateAngle: clockwise degrees 0/90/180/270. Unset, the
    // output keeps the source's rotation metadata and its pixels as they are.
    std::optional<int> rotateAngle;
    bool hFlip = false;
    bool vFlip = false;
    std::optional<RECT> cropMargins; // pixels cut from each edge of the rotated picture
    int brightness = 0;              // -255..255
    int contrast = 0;                // -100..100
    int saturation = 0;              // -100..100
    std::vector<int> effects;        // effect ids in the order added
    std::optional<SUBTITLE_PARAM> subtitle;
    std::vector<IMAGE_WATERMARK_PARAM> imageWatermarks;
    std::vector<TEXT_WATERMARK_PARAM> textWatermarks;
    std::vector<VIDEO_WATERMARK_PARAM> videoWatermarks;
    DRAW_TEXT_CALLBACK drawText = nullptr; // taken from the process-wide registration when the job starts
    std::vector<Music> music;
};

} // namespace mediacore
