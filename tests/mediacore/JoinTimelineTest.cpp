#include "JoinTimeline.h"

#include <gtest/gtest.h>

using mediacore::JoinTimeline;

TEST(JoinTimeline, TransitionsOverlapAndAreClampedToHalfTheShorterNeighbour) {
    struct Case {
        std::vector<JoinTimeline::Entry> entries;
        std::vector<int64_t> starts;
        std::vector<int64_t> transitions;
        int64_t duration;
    };
    const Case cases[] = {
        {{}, {}, {}, 0},
        {{{5'000'000, 0}}, {0}, {0}, 5'000'000},
        {{{5'000'000, 1'000'000}}, {0}, {0}, 5'000'000}, // the last clip's transition leads nowhere
        {{{4'000'000, 0}, {3'000'000, 0}}, {0, 4'000'000}, {0, 0}, 7'000'000},
        {{{4'000'000, 1'000'000}, {3'000'000, 0}}, {0, 3'000'000}, {1'000'000, 0}, 6'000'000},
        // 10 s asked between 4 s and 3 s: at most 1.5 s.
        {{{4'000'000, 10'000'000}, {3'000'000, 0}}, {0, 2'500'000}, {1'500'000, 0}, 5'500'000},
        // A middle clip with transitions on both sides keeps a moment of its own.
        {{{6'000'000, 5'000'000}, {2'000'000, 5'000'000}, {6'000'000, 0}},
         {0, 5'000'000, 6'000'000},
         {1'000'000, 1'000'000, 0},
         12'000'000},
        {{{2'000'000, 0}, {0, 0}, {2'000'000, 0}}, {0, 2'000'000, 2'000'000}, {0, 0, 0}, 4'000'000},
    };
    for (const Case& c : cases) {
        JoinTimeline timeline(c.entries);
        ASSERT_EQ(timeline.placements().size(), c.entries.size());
        for (size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(timeline.placements()[i].startUs, c.starts[i]) << "clip " << i;
            EXPECT_EQ(timeline.placements()[i].transitionUs, c.transitions[i]) << "clip " << i;
        }
        EXPECT_EQ(timeline.durationUs(), c.duration);
    }
}
