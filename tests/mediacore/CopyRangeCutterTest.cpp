#include "CopyRangeCutter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using mediacore::CopyRangeCutter;

namespace {
constexpr int64_t kSecond = 1'000'000;
constexpr int64_t kPicture = 40'000; // 25 fps
constexpr int64_t kSound = 23'220;   // 1024 samples at 44.1 kHz

struct Stream {
    std::vector<CopyRangeCutter::Packet> packets; // file order
};

// 6 s of pictures with a key frame every second, and sound; the sound is stored `soundLeadUs` ahead of the
// pictures in the file (negative: behind), as muxers interleave in chunks.
Stream makeStream(bool withVideo, int64_t soundLeadUs) {
    std::vector<std::pair<int64_t, CopyRangeCutter::Packet>> order;
    if (withVideo)
        for (int64_t t = 0; t < 6 * kSecond; t += kPicture)
            order.push_back({t, {true, t % kSecond == 0, t, kPicture}});
    for (int64_t t = 0; t < 6 * kSecond; t += kSound)
        order.push_back({t - soundLeadUs, {false, true, t, kSound}});
    std::stable_sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
    Stream s;
    for (auto& [at, packet] : order)
        s.packets.push_back(packet);
    return s;
}

struct Result {
    std::vector<CopyRangeCutter::Packet> kept;
    size_t decided = 0;
    bool onceEach = true;
    int64_t pieceStartUs = 0;
};

Result cut(const Stream& s, int64_t start, int64_t stop, bool withVideo) {
    CopyRangeCutter cutter(start, stop, withVideo, true);
    CopyRangeCutter::Decisions d;
    uint64_t id = 0;
    for (; id < s.packets.size() && !cutter.done(); ++id)
        cutter.push(id, s.packets[id], d);
    if (!cutter.done())
        cutter.finish(6 * kSecond, d);
    Result r;
    std::set<uint64_t> seen;
    for (uint64_t k : d.keep) {
        r.onceEach &= seen.insert(k).second;
        r.kept.push_back(s.packets[k]);
    }
    for (uint64_t k : d.drop)
        r.onceEach &= seen.insert(k).second;
    // Everything pushed is decided; what was never read counts as dropped.
    r.onceEach &= seen.size() == id;
    r.decided = seen.size();
    r.pieceStartUs = cutter.pieceStartUs();
    return r;
}
} // namespace

TEST(CopyRangeCutter, MovesEachEndToTheNearestKeyFrame) {
    struct Case {
        double start, stop;      // seconds; stop < 0: to the end
        double keptFrom, keptTo; // the pictures kept, seconds
    };
    const Case cases[] = {
        {0, -1, 0, 6},    // the whole file
        {0, 2.3, 0, 2},   // a leading part
        {3.6, -1, 4, 6},  // a trailing part
        {2.4, 3.4, 2, 3}, // both ends move back
        {2.6, 3.6, 3, 4}, // both ends move on
        {0.5, 5.7, 0, 6}, // a tie keeps the earlier key frame; 5.7 is nearer the file's end than 5 s
        {2.6, 2.8, 3, 4}, // both ends meet one key frame: its group is kept, never nothing
        {1.2, 6.0, 1, 6},
    };
    for (int64_t lead : {int64_t(0), int64_t(300'000), int64_t(-300'000)}) {
        Stream s = makeStream(true, lead);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.start << ".." << c.stop << " s, sound lead " << lead << " µs");
            int64_t stop = c.stop < 0 ? CopyRangeCutter::kToEnd : int64_t(c.stop * kSecond);
            Result r = cut(s, int64_t(c.start * kSecond), stop, true);
            EXPECT_TRUE(r.onceEach);
            int64_t from = int64_t(c.keptFrom * kSecond), to = int64_t(c.keptTo * kSecond);
            std::vector<int64_t> pictures, expected;
            for (auto& p : r.kept)
                if (p.video)
                    pictures.push_back(p.ptsUs);
            for (int64_t t = from; t < to; t += kPicture)
                expected.push_back(t);
            EXPECT_EQ(pictures, expected);
            // Sound: every packet whose middle lies in the kept pictures' span (all before it from the start,
            // all after it to the end), in order.
            std::vector<int64_t> sound, expectedSound;
            for (auto& p : r.kept)
                if (!p.video)
                    sound.push_back(p.ptsUs);
            for (int64_t t = 0; t < 6 * kSecond; t += kSound) {
                int64_t mid = t + kSound / 2;
                if ((from == 0 || mid >= from) && (to == 6 * kSecond || mid < to))
                    expectedSound.push_back(t);
            }
            EXPECT_EQ(sound, expectedSound);
            EXPECT_EQ(r.pieceStartUs, from);
        }
    }
}

TEST(CopyRangeCutter, SoundOnlyIsCutAtPacketMiddles) {
    Stream s = makeStream(false, 0);
    Result r = cut(s, kSecond, 2 * kSecond, false);
    EXPECT_TRUE(r.onceEach);
    ASSERT_FALSE(r.kept.empty());
    for (auto& p : r.kept) {
        EXPECT_GE(p.ptsUs + kSound / 2, kSecond);
        EXPECT_LT(p.ptsUs + kSound / 2, 2 * kSecond);
    }
    EXPECT_EQ(r.kept.size(), 43u); // 1 s of 23.22 ms packets
    EXPECT_EQ(r.pieceStartUs, r.kept.front().ptsUs);
}

// Pictures that follow the first key frame in the file but are shown before it belong to the previous group.
TEST(CopyRangeCutter, DropsLeadingPicturesOfAnOpenGroup) {
    std::vector<CopyRangeCutter::Packet> packets = {
        {true, true, 0, kPicture},
        {true, false, 3 * kPicture, kPicture},
        {true, false, kPicture, kPicture},
        {true, false, 2 * kPicture, kPicture},
        {true, true, 6 * kPicture, kPicture},
        {true, false, 4 * kPicture, kPicture}, // shown before its key frame
        {true, false, 5 * kPicture, kPicture},
        {true, false, 7 * kPicture, kPicture},
    };
    CopyRangeCutter cutter(6 * kPicture - 1000, CopyRangeCutter::kToEnd, true, false);
    CopyRangeCutter::Decisions d;
    for (uint64_t i = 0; i < packets.size(); ++i)
        cutter.push(i, packets[i], d);
    cutter.finish(8 * kPicture, d);
    EXPECT_EQ(d.keep, (std::vector<uint64_t>{4, 7}));
    EXPECT_EQ(d.keep.size() + d.drop.size(), packets.size());
}
