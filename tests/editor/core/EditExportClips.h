#pragma once

#include "support/MediaFixtures.h"

#include <string>

// 4 s, 320x240, 20 fps with a 440 Hz tone; frame n is one flat grey level, 20 + (37 n mod 200), so a frame's
// pixels tell which source frame it is, and frame times are exact in binary.
inline std::string editLevelClip() {
    return MediaFixtures::make(
        "editor_levels_4s_20fps.mp4",
        "-f lavfi -i \"nullsrc=size=320x240:rate=20:duration=4,geq=lum='20+mod(N*37\\,200)':cb=128:cr=128\" "
        "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
        "-ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 20 -c:a aac -b:a 128k -shortest");
}

// The ffmpeg program picks the first frame that starts at or after the time asked: a little before a frame's
// start names that frame.
inline double editFrameAt(double t) {
    return t < 0.005 ? 0.0 : t - 0.005;
}
