#pragma once

// Shared by the tests of damaged and odd sources: what the ffprobe program counts in an output.

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <cstdlib>
#include <string>

namespace faulttest {

// The pictures the ffprobe program decodes from the first video stream.
inline long long countedFrames(const std::string& path) {
    const std::string out = captureOutput("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                                          "stream=nb_read_frames -of csv=p=0 " +
                                          MediaFixtures::quote(path));
    return std::atoll(out.c_str());
}

} // namespace faulttest
