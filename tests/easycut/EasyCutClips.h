#pragma once

#include "support/MediaFixtures.h"

#include <string>

// 4 s, 320x240, 20 fps with sound; every frame is one flat grey level, 20 + (37 n mod 200) for frame n, so each
// frame differs plainly from its neighbours and a frame's pixels tell which source frame it is. At 20 fps frame
// times are exact in binary.
inline const char* levelSources() {
    return "-f lavfi -i \"nullsrc=size=320x240:rate=20:duration=4,geq=lum='20+mod(N*37\\,200)':cb=128:cr=128\" "
           "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
           "-ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 20 -b:a 128k -shortest ";
}

inline std::string levelClip() {
    return MediaFixtures::make("easycut_levels_4s_20fps.mp4", std::string(levelSources()) + "-c:a aac");
}

// As levelClip() in AVI: a cut of it into its own container is encoded, not copied (an export long enough to
// cancel).
inline std::string encodedLevelClip() {
    return MediaFixtures::make("easycut_levels_4s_20fps.avi", std::string(levelSources()) + "-c:a libmp3lame");
}

// The ffmpeg program picks the first frame that starts at or after the time asked: a little before a frame's start
// time names that frame.
inline double frameStartingAt(double t) {
    return t < 0.005 ? 0.0 : t - 0.005;
}
