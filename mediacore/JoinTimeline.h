#pragma once

#include <cstdint>
#include <vector>

namespace mediacore {

// Where each clip of a join sits on the output timeline. Times are microseconds.
//
// A transition overlaps the end of one clip with the start of the next, so the output is shorter than the sum of
// the clips by the transitions' lengths. A transition may take at most half of either neighbour: two transitions
// around one clip then never overlap each other, and each clip keeps a moment of its own.
class JoinTimeline {
public:
    struct Entry {
        int64_t lengthUs = 0;
        int64_t transitionUs = 0; // requested overlap into the next clip; 0 = cut
    };
    struct Placement {
        int64_t startUs = 0; // where the clip begins on the output
        int64_t lengthUs = 0;
        int64_t transitionUs = 0; // overlap into the next clip after clamping
        int64_t endUs() const { return startUs + lengthUs; }
    };

    explicit JoinTimeline(const std::vector<Entry>& entries);

    const std::vector<Placement>& placements() const { return _placements; }
    int64_t durationUs() const { return _durationUs; }

    // The longest transition allowed between clips of these lengths.
    static int64_t maxTransitionUs(int64_t leftLengthUs, int64_t rightLengthUs);

private:
    std::vector<Placement> _placements;
    int64_t _durationUs = 0;
};

} // namespace mediacore
