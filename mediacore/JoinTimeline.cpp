#include "JoinTimeline.h"

#include <algorithm>

namespace mediacore {

int64_t JoinTimeline::maxTransitionUs(int64_t leftLengthUs, int64_t rightLengthUs) {
    return std::max<int64_t>(0, std::min(leftLengthUs, rightLengthUs) / 2);
}

JoinTimeline::JoinTimeline(const std::vector<Entry>& entries) {
    _placements.reserve(entries.size());
    int64_t start = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        Placement placement;
        placement.startUs = start;
        placement.lengthUs = std::max<int64_t>(0, entries[i].lengthUs);
        if (i + 1 < entries.size() && entries[i].transitionUs > 0) {
            int64_t next = std::max<int64_t>(0, entries[i + 1].lengthUs);
            placement.transitionUs = std::min(entries[i].transitionUs, maxTransitionUs(placement.lengthUs, next));
        }
        start = placement.endUs() - placement.transitionUs;
        _placements.push_back(placement);
    }
    _durationUs = _placements.empty() ? 0 : _placements.back().endUs();
}

} // namespace mediacore
