#pragma once

#include "MusicTiming.h"
#include "libMediaCore.h"

#include <QString>

#include <functional>
#include <vector>

class LQMoviePlayer;
class MediaJob;

// The background music as the preview player and an export are given it: one track per ticked item, in list
// order, and whether the file's own sound is dropped. A plain value: an export takes a copy at Start, so later
// edits do not change a running job. The level of the file's own sound (0 while muted) goes to the preview here;
// an export gets it through the effect panel's part, which scales it by the effect volume.
struct MusicDubbing {
    struct Track {
        QString path;
        MusicSlice slice;
    };
    std::vector<Track> tracks;
    bool removeOriginalSound = false;
    double originalSoundLevel = 1.0;

    // Replaces the player's tracks and sets the level and the drop of its own sound; the player's results are not
    // used.
    void applyToPlayer(LQMoviePlayer& player) const;
    // Adds the tracks to a conversion job being set up, then drops the file's own sound when asked. The first
    // negative result ends the walk and is returned; else the last track's result, or 1 without tracks.
    int applyToJob(CONVERT_HANDLE job) const;
    // The export's part: applyToJob on the step's job, with a copy of these values.
    std::function<int(MediaJob&)> contribution() const;
};
