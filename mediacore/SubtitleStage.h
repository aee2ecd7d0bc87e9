#pragma once

#include "FilterGraphPlan.h"
#include "libMediaCore.h"

#include <string>

namespace mediacore {

// A subtitle file (.srt, .ass, .ssa) rendered onto the picture by libass through the subtitles filter. The file
// and font folder are filter options set through the option API, so any path works; the style overrides are
// built from numbers and a cleaned font name, never from text the user typed.
//
// For text subtitles (srt and the like) the record's style applies: the renderer's canvas is set to the
// picture's pixels, so the font size and the position are pixels; the font is the face of the record's font
// file (its folder given to libass), the colour word becomes the primary colour and the shadow flag a 2-pixel
// shadow in the shadow colour. Position -1 keeps the default place (bottom centre); a row >= 0 puts the top of
// the subtitle at that pixel row, centred. .ass / .ssa files keep their own styles; only a row >= 0 moves them.
class SubtitleStage {
public:
    // Appends the subtitles filter for a picture of width x height after the plan's tail. The cues are timed on
    // the source's timeline; frames whose graph time 0 is the source time graphStartUs (a cut's start) are
    // moved onto the source's timeline for the renderer and back after it.
    static void append(FilterGraphPlan& plan, const SUBTITLE_PARAM& subtitle, int width, int height,
                       int64_t graphStartUs = 0);

    // The libass style overrides for the record on a width x height picture ("" when none apply).
    static std::string forceStyle(const SUBTITLE_PARAM& subtitle, int width, int height);

    // Whether the file is an .ass / .ssa script (by its name).
    static bool isScript(const std::string& path);
    // An .ass / .ssa script's PlayResY (the height its styles are measured in); libass's 288 when absent.
    static int scriptHeight(const std::string& path);
    // ASS colour "&H00BBGGRR" of a colour word (red bits 24-31, green 16-23, blue 8-15).
    static std::string assColour(uint32_t word);
};

} // namespace mediacore
