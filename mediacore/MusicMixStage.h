#pragma once

#include "ConvertSettings.h"
#include "FilterGraphPlan.h"

#include <string>

namespace mediacore {

// Background music mixed into the sound.
//
// Each item is the part [musicStartUs, musicEndUs) of its file, placed at [timelineStartUs, timelineEndUs) of
// the source timeline: repeated from its start while the place is longer than the part, cut where the place
// ends, faded in from the place's start and out towards its end, scaled by its volume. The graph's time 0 is
// the cut's start, so a place is moved by the cut and one that began before it starts that far in.
//
// The tracks are added to the main sound sample by sample (amix without normalising), so the main sound keeps
// its level and a track at volume 1 keeps its own. Without main sound (disabled, or a file without audio) a
// silent track of the graph's length carries them. The music files are read inside the graph by amovie
// sources whose file names are set through the option API; each is resampled to the mix's rate and layout.
class MusicMixStage {
public:
    struct Mix {
        int sampleRate = 48000;
        std::string channelLayout = "stereo";
        int64_t lengthUs = 0; // the graph's timeline; 0: unknown (only the main sound then ends the mix)
        int64_t startUs = 0;  // graph time of the first main sound fed: a graph rebuilt mid-way picks up there
    };

    // Mixes the tracks after the plan's tail, which is the main sound at its volume; with no tail, the mix
    // starts from silence. Adds nothing when there is no music and the plan has a tail.
    static void append(FilterGraphPlan& plan, const ConvertSettings& settings, const Mix& mix);

private:
    // The track of one item ready to be mixed, on the graph's timeline; -1 when it lies outside the graph.
    static int track(FilterGraphPlan& plan, const ConvertSettings::Music& music, int64_t cutStartUs, const Mix& mix);
};

} // namespace mediacore
