#pragma once

#include <cstdint>
#include <string>

namespace mediacore {

// One clip of a join job as the caller described it, with what adding it found out about its file.
// Times are microseconds on the file's own timeline (0 = the file's start).
struct JoinClip {
    enum Transition : int { kNone = 0, kSlideLeft = 1, kSlideUp = 2, kFade = 3 };

    std::string path;
    int64_t startUs = 0; // the range kept; (0, 0) as given means the whole file and is stored as [0, duration)
    int64_t stopUs = 0;
    bool wholeFile = false;
    int transition = kNone;   // into the next clip
    int64_t transitionUs = 0; // as asked; the join clamps it to what the neighbours allow
    double volume = 1.0;      // factor on the clip's sound: 0 silent, 1 as is, 2 double

    int64_t fileDurationUs = 0;
    bool hasVideo = false;
    bool hasAudio = false;
    // A piece cut from the clip's file (ExactCopyPieces): its first picture has no leading pictures.
    bool exactPiece = false;

    int64_t lengthUs() const { return stopUs - startUs; }
};

} // namespace mediacore
