#pragma once

#include "support/MediaFixtures.h"

#include <string>

// Small clips for joins: one flat colour each (so a frame's pixels tell which clip it comes from), with sound.
inline std::string colourClip(const std::string& colour, int width, int height, double seconds) {
    const std::string name = "join_" + colour + "_" + std::to_string(width) + "x" + std::to_string(height) + "_" +
                             std::to_string(int(seconds * 10)) + ".mp4";
    return MediaFixtures::make(
        name, "-f lavfi -i color=c=" + colour + ":size=" + std::to_string(width) + "x" + std::to_string(height) +
                  ":rate=25:duration=" + std::to_string(seconds) +
                  " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds) +
                  " -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac "
                  "-b:a 96k -shortest");
}

// Clips that a copy join can put together: the same encoder settings, different pictures.
inline std::string patternClip(const std::string& source, double seconds) {
    return MediaFixtures::make(
        "join_pattern_" + source + "_" + std::to_string(int(seconds * 10)) + ".mp4",
        "-f lavfi -i " + source + "=size=320x240:rate=25:duration=" + std::to_string(seconds) +
            " -f lavfi -i sine=frequency=660:sample_rate=44100:duration=" + std::to_string(seconds) +
            " -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 96k "
            "-shortest");
}
