// The plan of a copy-and-encode cut over made-up streams: every picture of the range lands exactly once in the
// head, the copy or the tail, for every start and end, in closed and open groups of pictures.
#include "SmartCutPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using mediacore::SmartCutPlan;

namespace {
// Packets in decoding order of `gops` groups of `length` pictures with `bFrames` B-frames between anchors; times
// are picture numbers. Open groups: each key frame after the first is followed by the previous group's last
// B-frames as its leading pictures (as HEVC CRA pictures are).
std::vector<SmartCutPlan::Packet> stream(int gops, int length, int bFrames, bool open) {
    std::vector<SmartCutPlan::Packet> packets;
    for (int g = 0; g < gops; ++g) {
        const int start = g * length;
        const int end = open && g + 1 < gops ? (g + 1) * length - bFrames : (g + 1) * length;
        packets.push_back({start, true, false});
        if (open && g > 0)
            for (int p = start - bFrames; p < start; ++p)
                packets.push_back({p, false, true});
        for (int p = start + 1; p < end;) {
            const int anchor = std::min(p + bFrames, end - 1);
            packets.push_back({anchor, false, false});
            for (int q = p; q < anchor; ++q)
                packets.push_back({q, false, false});
            p = anchor + 1;
        }
    }
    return packets;
}

// Checks the plan for [start, stop) over `packets` (pictures 0..total-1); whether there was one.
bool expectPartition(const std::vector<SmartCutPlan::Packet>& packets, int total, int start, int stop) {
    SCOPED_TRACE("range " + std::to_string(start) + ".." + std::to_string(stop));
    const SmartCutPlan plan = SmartCutPlan::make(packets, start, stop);
    if (!plan.possible()) {
        // Only a range without a picture a decoder can start from may be refused.
        for (const auto& p : packets)
            EXPECT_FALSE(p.decoderStart && p.pts >= start && p.pts < stop) << plan.reason();
        return false;
    }
    EXPECT_EQ(plan.originPts(), start);
    std::map<int64_t, int> seen;
    int64_t headCount = 0, tailCount = 0;
    for (size_t i = 0; i < packets.size(); ++i) {
        const int64_t pts = packets[i].pts;
        if (plan.copyKeeps(i))
            ++seen[pts];
        if (plan.head().present && pts >= plan.head().fromPts && pts < plan.head().toPts) {
            ++seen[pts];
            ++headCount;
            EXPECT_LE(i, plan.head().lastPacket);
        }
        if (plan.tail().present && pts >= plan.tail().fromPts && pts < plan.tail().toPts) {
            ++seen[pts];
            ++tailCount;
            EXPECT_GE(i, plan.tail().firstPacket);
            EXPECT_LE(i, plan.tail().lastPacket);
            EXPECT_GE(pts, packets[plan.tail().firstPacket].pts);
        }
    }
    const int end = std::min(stop, total);
    for (int p = start; p < end; ++p)
        EXPECT_EQ(seen[p], 1) << "picture " << p;
    EXPECT_EQ(seen.size(), static_cast<size_t>(end - start)); // nothing outside the range
    EXPECT_EQ(plan.head().pictures, headCount);
    EXPECT_EQ(plan.tail().pictures, tailCount);
    EXPECT_TRUE(packets[plan.copyFirst()].decoderStart);
    if (plan.tail().present) {
        EXPECT_TRUE(packets[plan.tail().firstPacket].decoderStart);
    }
    EXPECT_GT(plan.copiedPictures(), 0);
    return true;
}
} // namespace

TEST(SmartCutPlanTest, EveryPictureOfEveryRangeLandsOnceInClosedAndOpenGroups) {
    struct Case {
        int gops, length, bFrames;
        bool open;
    };
    const Case cases[] = {{4, 10, 2, false}, {4, 12, 3, true}, {3, 8, 0, false}, {3, 9, 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + " pictures, " + std::to_string(c.bFrames) + " B-frames" +
                     (c.open ? ", open" : ""));
        const int total = c.gops * c.length;
        const auto packets = stream(c.gops, c.length, c.bFrames, c.open);
        int planned = 0;
        for (int start = 0; start < total; ++start)
            for (int stop = start + 1; stop <= total + 2; ++stop) {
                // The packets a reader hands over: from the key frame at or before the start.
                const int key = start / c.length * c.length;
                auto from = std::find_if(packets.begin(), packets.end(),
                                         [&](const SmartCutPlan::Packet& p) { return p.pts == key; });
                planned += expectPartition(std::vector<SmartCutPlan::Packet>(from, packets.end()), total, start, stop);
            }
        EXPECT_GT(planned, total * total / 3);
    }
}

TEST(SmartCutPlanTest, KeyFrameToKeyFrameInClosedGroupsIsAPureCopy) {
    const auto packets = stream(4, 10, 2, false);
    for (int start : {0, 10, 20})
        for (int stop : {20, 30, 40, 45}) {
            if (stop <= start)
                continue;
            auto from = packets.begin() + start; // each group is ten packets
            const SmartCutPlan plan =
                SmartCutPlan::make(std::vector<SmartCutPlan::Packet>(from, packets.end()), start, stop);
            EXPECT_TRUE(plan.pureCopy()) << start << ".." << stop;
            EXPECT_EQ(plan.copiedPictures(), std::min(stop, 40) - start);
        }
}

TEST(SmartCutPlanTest, EncodesTheHeadUpToTheNextKeyFrameAndOnlyWhatTheEndNeeds) {
    const auto packets = stream(3, 10, 2, false); // decoding order per group: I0 P3 B1 B2 P6 B4 B5 P9 B7 B8
    const SmartCutPlan plan = SmartCutPlan::make(packets, 4, 25);
    ASSERT_TRUE(plan.possible()) << plan.reason();
    EXPECT_EQ(plan.head().pictures, 6); // 4..9
    EXPECT_EQ(plan.head().fromPts, 4);
    EXPECT_EQ(plan.head().toPts, 10);
    EXPECT_EQ(plan.copiedPictures(), 14); // 10..23: the second group and I20 P23 B21 B22
    EXPECT_EQ(plan.tail().pictures, 1);   // 24, shown before P26 but decoded after it
    EXPECT_EQ(plan.tail().fromPts, 24);
    EXPECT_EQ(plan.tail().firstPacket, 20u);
}
