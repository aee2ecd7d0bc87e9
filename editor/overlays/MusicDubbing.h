#pragma once

#include "MusicTiming.h"
#include "libMediaCore.h"

#include <QString>

#include <functional>
#include <vector>

class LQMoviePlayer;
class MediaJob;

// The background music as the preview player and an export are given it: one track per ticked item, in list
// order, and the file's own sound (dropped, or its level, 0 while muted). A plain value: an export takes a copy at
// Start, so later edits do not change a running job.
struct MusicDubbing {
    struct Track {
        QString path;
        MusicSlice slice;
    };
    std::vector<Track> tracks;
    bool removeOriginalSound = false;
    double originalSoundLevel = 1.0;

    // Replaces the player's tracks and sets its own sound; the player's results are not used.
    void applyToPlayer(LQMoviePlayer& player) const;
    // Adds the tracks to a conversion job being set up, then drops or levels the file's own sound. The first
    // negative result ends the walk and is returned; else the last track's result, or 1 without tracks. A failing
    // level or drop of the file's own sound is returned too.
    int applyToJob(CONVERT_HANDLE job) const;
    // The export's part: applyToJob on the step's job, with a copy of these values.
    std::function<int(MediaJob&)> contribution() const;
};
