#pragma once

#include "support/MediaFixtures.h"

#include <string>

// Small clips for batch cuts: 160x120 at 25 frames a second with sound, a key frame every fifth picture so that
// stream-copied parts end close to where they were asked to.
inline std::string batchClip(const std::string& name, double seconds, const std::string& source = "testsrc") {
    return MediaFixtures::make(
        name, "-f lavfi -i " + source + "=size=160x120:rate=25:duration=" + std::to_string(seconds) +
                  " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds) +
                  " -ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 5 -c:a aac -b:a 96k -shortest");
}
