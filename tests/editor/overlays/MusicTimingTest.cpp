#include "MusicTiming.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

MusicItemTimes item(float ps, float pe, float rs, float rd, float duration = 30) {
    MusicItemTimes m;
    m.positionStart = ps;
    m.positionEnd = pe;
    m.pruneStart = rs;
    m.pruneDiration = rd;
    m.duration = duration;
    m.volume = 0.5f;
    return m;
}

struct EditCase {
    std::string name;
    MusicItemTimes before;
    std::function<bool(MusicItemTimes&)> edit; // returns whether the place changed
    float ps, pe, rs, rd;
    bool placeChanged;
};

} // namespace

TEST(MusicTimingTest, NewItemsKeepTheMusicsOwnLengthAndFitThePartToTheVideo) {
    const MusicItemTimes longer = MusicTiming::loaded(20, 10);
    EXPECT_FLOAT_EQ(longer.duration, 20); // the real length, not the video's
    EXPECT_FLOAT_EQ(longer.pruneDiration, 10);
    EXPECT_FLOAT_EQ(longer.positionStart, 0);
    EXPECT_FLOAT_EQ(longer.positionEnd, 10);
    EXPECT_FLOAT_EQ(longer.volume, 0.5f);
    EXPECT_FALSE(longer.repeat || longer.prune || longer.fadeIn || longer.fadeOut);

    const MusicItemTimes shorter = MusicTiming::loaded(4, 10);
    EXPECT_FLOAT_EQ(shorter.duration, 4);
    EXPECT_FLOAT_EQ(shorter.pruneDiration, 4);
    EXPECT_FLOAT_EQ(shorter.positionEnd, 10);
}

TEST(MusicTimingTest, EditsOfThePartAndThePlace) {
    const float V = 10, M = 30;
    const std::vector<EditCase> cases = {
        {"start mark after the old end runs to the music's end", item(0, 10, 1, 2),
         [&](MusicItemTimes& m) {
             MusicTiming::pruneStartAt(m, 5, M);
             return false;
         },
         0, 10, 5, 25, false},
        {"start mark before the old end keeps the end", item(0, 10, 1, 4),
         [&](MusicItemTimes& m) {
             MusicTiming::pruneStartAt(m, 2, M);
             return false;
         },
         0, 10, 2, 3, false},
        {"end mark before the start starts at 0", item(0, 10, 3, 2),
         [&](MusicItemTimes& m) { return MusicTiming::pruneEndAt(m, 2, V); }, 0, 10, 0, 2, false},
        {"end mark with a part longer than the room left pushes the place back", item(8, 9, 0, 1),
         [&](MusicItemTimes& m) { return MusicTiming::pruneEndAt(m, 4, V); }, 6, 10, 0, 4, true},
        {"end mark with a part inside the video widens the place", item(2, 3, 0, 1),
         [&](MusicItemTimes& m) { return MusicTiming::pruneEndAt(m, 4, V); }, 2, 6, 0, 4, true},
        {"end mark with a part longer than the video", item(3, 4, 0, 1),
         [&](MusicItemTimes& m) { return MusicTiming::pruneEndAt(m, 15, V); }, 0, 10, 0, 15, true},
        {"prune slider handle 2 widens the place", item(8, 9, 0, 1),
         [&](MusicItemTimes& m) { return MusicTiming::pruneSliderMoved(m, 0.1f, 0.2f, 2, M, V); }, 7, 10, 3, 3, true},
        {"prune slider handle 0 sets the part only", item(8, 9, 0, 1),
         [&](MusicItemTimes& m) { return MusicTiming::pruneSliderMoved(m, 0.1f, 0.2f, 0, M, V); }, 8, 9, 3, 3, false},
        {"a shorter part leaves the place", item(0, 10, 0, 5),
         [&](MusicItemTimes& m) { return MusicTiming::pruneSliderMoved(m, 0, 0.1f, 2, M, V); }, 0, 10, 0, 3, false},
        {"a selection caps the part at the place", item(2, 5, 0, 8),
         [&](MusicItemTimes& m) {
             MusicTiming::capPruneToRange(m);
             return false;
         },
         2, 5, 0, 3, false},
        {"a stepped prune end is stored unchecked", item(0, 5, 2, 1),
         [&](MusicItemTimes& m) {
             MusicTiming::step(m, MusicTiming::Field::PruneEnd, 9);
             return false;
         },
         0, 5, 2, 7, false},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        MusicItemTimes m = c.before;
        EXPECT_EQ(c.edit(m), c.placeChanged);
        EXPECT_NEAR(m.positionStart, c.ps, 1e-5);
        EXPECT_NEAR(m.positionEnd, c.pe, 1e-5);
        EXPECT_NEAR(m.pruneStart, c.rs, 1e-5);
        EXPECT_NEAR(m.pruneDiration, c.rd, 1e-5);
    }
}

TEST(MusicTimingTest, TypedTimesAreCheckedAgainstTheOtherEnd) {
    using F = MusicTiming::Field;
    struct Case {
        std::string name;
        F field;
        float T;
        bool accepted;
        QString key;
        float ps, pe, rs, rd;
    };
    const float M = 6;
    // Before each: place [2, 8], part [1, 4] of a 6-second music.
    const std::vector<Case> cases = {
        {"position start at the end is refused without a message", F::PositionStart, 8, false, "", 2, 8, 1, 3},
        {"position start inside", F::PositionStart, 6, true, "", 6, 8, 1, 2},
        {"position end at the start", F::PositionEnd, 2, false, "showmessageTime3", 2, 8, 1, 3},
        {"position end inside caps the part", F::PositionEnd, 4, true, "", 2, 4, 1, 2},
        {"prune start at the end", F::PruneStart, 4, false, "showmessageTime5", 2, 8, 1, 3},
        {"prune start keeps the end", F::PruneStart, 3, true, "", 2, 8, 3, 1},
        {"prune end at the start", F::PruneEnd, 1, false, "showmessageTime6", 2, 8, 1, 3},
        {"prune end past the music stops at its end", F::PruneEnd, 9, true, "", 2, 8, 1, 5},
        {"negative times are refused", F::PositionStart, -1, false, "showmessageTime4", 2, 8, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MusicItemTimes m = item(2, 8, 1, 3, M);
        const MusicTiming::Commit result = MusicTiming::commit(m, c.field, c.T, M);
        EXPECT_EQ(result.accepted, c.accepted);
        EXPECT_EQ(result.refusalKey, c.key);
        EXPECT_NEAR(m.positionStart, c.ps, 1e-5);
        EXPECT_NEAR(m.positionEnd, c.pe, 1e-5);
        EXPECT_NEAR(m.pruneStart, c.rs, 1e-5);
        EXPECT_NEAR(m.pruneDiration, c.rd, 1e-5);
    }
}

TEST(MusicTimingTest, TheSliceIsOneRuleForThePreviewAndTheExport) {
    struct Case {
        std::string name;
        MusicItemTimes m;
        bool repeat, prune, fadeIn, fadeOut;
        double musicIn, musicOut, timelineIn, timelineOut, fadeInLength, fadeOutLength;
    };
    const std::vector<Case> cases = {
        {"place longer than the part, no repeat: it ends with the part", item(2, 9, 0, 3, 5), false, false, false,
         false, 0, 5, 2, 5, 0, 0},
        {"place longer than the part, repeat: the whole place", item(2, 9, 0, 3, 5), true, false, true, true, 0, 5, 2,
         9, 1, 1},
        {"place not longer than the part: music cut to the place", item(1, 4, 0, 3, 20), false, false, false, true, 0,
         3, 1, 4, 0, 1},
        {"pruned part", item(1, 4, 2, 3, 20), false, true, true, false, 2, 5, 1, 4, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MusicItemTimes m = c.m;
        m.repeat = c.repeat;
        m.prune = c.prune;
        m.fadeIn = c.fadeIn;
        m.fadeOut = c.fadeOut;
        const MusicSlice s = MusicTiming::slice(m);
        EXPECT_NEAR(s.musicIn, c.musicIn, 1e-6);
        EXPECT_NEAR(s.musicOut, c.musicOut, 1e-6);
        EXPECT_NEAR(s.timelineIn, c.timelineIn, 1e-6);
        EXPECT_NEAR(s.timelineOut, c.timelineOut, 1e-6);
        EXPECT_EQ(s.fadeIn, c.fadeInLength);
        EXPECT_EQ(s.fadeOut, c.fadeOutLength);
        EXPECT_DOUBLE_EQ(s.volume, 0.5);
    }
    EXPECT_EQ(MusicTiming::microseconds(1.5), 1500000);
    EXPECT_EQ(MusicTiming::microseconds(static_cast<double>(0.1f)), 100000);
    EXPECT_EQ(MusicTiming::microseconds(2.0000009), 2000000);
}

TEST(MusicTimingTest, SliderValuesAreFractionsOfTheVideoAndTheMusic) {
    const MusicItemTimes m = item(2, 6, 3, 2, 12);
    const MusicTiming::SliderValues s = MusicTiming::sliderValues(m, 8, 12);
    EXPECT_FLOAT_EQ(s.lower, 0.25f);
    EXPECT_FLOAT_EQ(s.upper, 0.75f);
    EXPECT_FLOAT_EQ(s.musicLower, 0.25f);
    EXPECT_FLOAT_EQ(s.musicDuration, 0.25f);
    const MusicTiming::SliderValues none = MusicTiming::sliderValues(m, 0, 0);
    EXPECT_EQ(none.lower, 0);
    EXPECT_EQ(none.musicLower, 0);
}
