#pragma once

#include "ConvertSettings.h"
#include "libMediaCore.h"

#include <cstddef>

namespace mediacore {

// What the picture and sound edits accept, shared by the conversion job's setters and the preview player. Each
// check either refuses a record (returns a negative AVERROR, logged once with the reason) or clamps it in place
// and returns 0; the comment on each says which. Text fields are read only up to their size: a field without a
// NUL inside it (text longer than the field) is refused, never read past its end.
class EditChecks {
public:
    static bool terminated(const char* field, size_t size);

    // Refused: a negative margin. Clamped: an odd margin is rounded down to even. Whether the margins leave a
    // picture is known only once the rotation is (see croppedSize).
    static int cropMargins(RECT& margins);
    // At the start: refused when the margins leave less than 2 x 2 pixels of a width x height picture.
    static int croppedSize(const RECT& margins, int width, int height);

    // Clamped to -255..255, -100..100, -100..100.
    static void colour(int& brightness, int& contrast, int& saturation);
    // Refused: an id that is not in the effect list.
    static int effect(int id);

    // Refused: a path or font field without its NUL; a file that is missing, does not parse as subtitles or
    // has no cue. Clamped: a font size <= 0 becomes 30, a position below -1 becomes -1 (default place), the
    // shadow flag becomes 0 or 1. A missing font file is not refused: the renderer's default font is used.
    static int subtitle(SUBTITLE_PARAM& subtitle);

    // width x height is the picture the box is measured on (0 x 0 when not known yet).
    // Refused: a path without its NUL; a missing or undecodable image; an empty or inverted box, a side over
    // 8192 pixels, a box wholly outside the picture; an end not after the start. Clamped: transparency to
    // 0..100, a negative start to 0. A box partly outside the picture is kept and clipped when drawn.
    static int imageWatermark(IMAGE_WATERMARK_PARAM& watermark, int width, int height);
    // Refused: text, font name or font file without its NUL; empty text; an end not after the start.
    // Clamped: transparency to 0..100, a font size below 1 to 1, a negative start to 0.
    static int textWatermark(TEXT_WATERMARK_PARAM& watermark);
    // Refused: as an image watermark's box and times; a file without video; a used part that starts at or
    // after the file's end, or ends before it starts. Clamped: a negative part start to 0, a part end of 0 or
    // beyond the file's end to the file's end, transparency to 0..100.
    static int videoWatermark(VIDEO_WATERMARK_PARAM& watermark, int width, int height);

    // Refused: no path; a file that cannot be read or has no audio; negative times; a music range or place
    // that is empty; a music range that starts at or after the music's end; a negative fade; a volume that is
    // negative or not a number. Clamped: a music range beyond the music's end ends there; a volume over 10 is
    // 10. Fades longer than the place are shortened where the track is built.
    static int music(ConvertSettings::Music& music);

private:
    static int box(const RECT& rect, int width, int height, const char* what);
    static int window(int64_t& startUs, int64_t endUs, const char* what);
};

} // namespace mediacore
