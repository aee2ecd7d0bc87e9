#pragma once

#include "JoinClip.h"

#include <deque>
#include <string>

namespace mediacore {

// Everything a join job was told, as the setters stored it: filled on the caller's thread before Start, read by
// the run. Zero / empty means "as the first clip has it" (or, for codecs, the container's choice).
struct JoinSettings {
    // A deque keeps each clip at its address while more are added: the address is the clip's handle.
    std::deque<JoinClip> clips;

    std::string videoCodec; // as given ("H264", "libx264", "copy")
    std::string audioCodec;
    int videoBitrateKbps = 0;
    int audioBitrateKbps = 0;
    double fps = 0;
    int width = 0;
    int height = 0;
    int audioChannels = 0;
    int audioSampleRate = 0;
    std::string outputPath;
};

} // namespace mediacore
