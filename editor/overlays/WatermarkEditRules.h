#pragma once

#include "ViewRect.h"
#include "WaterParam.h"

#include <QString>

// What the watermark properties accept, for typed values and steppers alike, without a widget.
//
// A refused value leaves the watermark as it was and comes with the strings-table key of a message that says why.
// Times are float seconds; the video's duration is NaN without a player, which makes every comparison with it
// false (nothing is refused for the video's length then).
class WatermarkEditRules {
public:
    enum class Time { Start, Duration, ClipStart, ClipEnd };

    // A time as the four fields show it: hours, minutes, seconds and hundredths, rounded as every time field.
    struct Parts {
        int hours = 0;
        int minutes = 0;
        int seconds = 0;
        int hundredths = 0;
    };
    static Parts parts(float seconds);
    static float seconds(const Parts& parts);

    static float value(const WaterParam& watermark, Time which);
    // Applies a time: a start beyond the video is refused, and a start that leaves less than the duration shortens
    // the duration to the video's end; a duration past the video's end is refused; a clip start or end beyond the
    // watermark file's length, a clip start not before the clip end and a clip end not after the clip start are
    // refused. Empty on success, else the refusal's key.
    static QString applyTime(WaterParam& watermark, Time which, float value, double videoDuration);

    // The box after a typed or stepped width (or height) v inside an overlay of the given size: the side is limited
    // to the overlay and the box moved back inside it.
    static ViewRect sized(const ViewRect& box, bool width, double v, const ViewSize& overlay);

    // A transparency in percent, 0 to 100; empty on success, else the refusal's key.
    static QString checkAlph(double alph);
};
