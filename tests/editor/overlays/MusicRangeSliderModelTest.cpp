#include "MusicRangeSliderModel.h"

#include <gtest/gtest.h>

using Piece = MusicRangeSliderModel::Piece;

// A slider 210 x 30: the track is 200 points wide from x 5.
TEST(MusicRangeSliderModelTest, ValuesAreClampedAndLaidOnTheTrack) {
    MusicRangeSliderModel s(210, 30);
    EXPECT_EQ(s.trackFrame(), (ViewRect{5, 5, 200, 12}));
    s.setVideoRange(-0.5f, 1.5f);
    EXPECT_EQ(s.positionLeftValue(), 0);
    EXPECT_EQ(s.positionRightValue(), 1);
    s.setVideoRange(0.25f, 0.75f);
    EXPECT_EQ(s.rangeFrame(), (ViewRect{55, 5, 100, 12}));
    EXPECT_EQ(s.leftHandleFrame(), (ViewRect{50, 0, 10, 25}));
    EXPECT_EQ(s.rightHandleFrame(), (ViewRect{150, 0, 10, 25}));

    // A music part longer than the place: stored (up to 1), drawn only as wide as the place.
    s.setMusicRange(-1, 0.9f);
    EXPECT_EQ(s.musicLeftValue(), 0);
    EXPECT_FLOAT_EQ(s.musicRightValue(), 0.9f);
    EXPECT_EQ(s.musicFrame(), (ViewRect{55, 5, 100, 12}));
    s.setMusicRange(0, 1.5f);
    EXPECT_EQ(s.musicRightValue(), 1);
    s.setMusicRange(0, 0.1f);
    EXPECT_NEAR(s.musicFrame().width, 20, 1e-4);

    // The repeat look: lines every music-bar width, on the repeat image; none without a bar.
    EXPECT_EQ(s.repeatWidth(), 0);
    EXPECT_EQ(s.rangeImage(), "Cut/imgTop.bmp");
    s.setIsRepeat(true);
    EXPECT_NEAR(s.repeatWidth(), 20, 1e-4);
    EXPECT_EQ(s.rangeImage(), "Cut/pbTop.bmp");
    s.setMusicRange(0, 0);
    EXPECT_EQ(s.repeatWidth(), 0);
    EXPECT_EQ(s.rangeImage(), "Cut/pbTop.bmp");

    // A new size keeps the values and stands the handles at y 5.
    s.setSize(410, 30);
    EXPECT_EQ(s.rangeFrame(), (ViewRect{105, 5, 200, 12}));
    EXPECT_EQ(s.leftHandleFrame(), (ViewRect{100, 5, 10, 25}));
}

TEST(MusicRangeSliderModelTest, ThePlayhead) {
    MusicRangeSliderModel s(210, 30);
    s.setProgress(1);
    EXPECT_EQ(s.playheadFrame().x, 189);
    EXPECT_EQ(s.dragLimits(Piece::Playhead).maximum, 179);
    s.setVideoRange(0.2f, 0.4f);
    EXPECT_FALSE(s.dragged(Piece::Playhead, 94.5));
    EXPECT_FLOAT_EQ(s.progress(), 0.5f);
    EXPECT_FLOAT_EQ(s.positionLeftValue(), 0.2f);
    EXPECT_FLOAT_EQ(s.positionRightValue(), 0.4f);
}

TEST(MusicRangeSliderModelTest, TheHandlesNeverCross) {
    MusicRangeSliderModel s(210, 30);
    s.setVideoRange(0.25f, 0.75f);
    s.setMusicRange(0.1f, 0.2f);
    // Each handle stops on the other one.
    EXPECT_EQ(s.dragLimits(Piece::LeftHandle).minimum, 0);
    EXPECT_EQ(s.dragLimits(Piece::LeftHandle).maximum, 150);
    EXPECT_EQ(s.dragLimits(Piece::RightHandle).minimum, 50);
    EXPECT_EQ(s.dragLimits(Piece::RightHandle).maximum, 200);

    EXPECT_TRUE(s.dragged(Piece::LeftHandle, s.dragLimits(Piece::LeftHandle).maximum));
    EXPECT_FLOAT_EQ(s.positionLeftValue(), 0.75f);
    EXPECT_LE(s.positionLeftValue(), s.positionRightValue());
    EXPECT_GE(s.rangeFrame().width, 0);
    EXPECT_FLOAT_EQ(s.musicRightValue(), 0.2f); // the bar's length is kept

    s.setVideoRange(0.25f, 0.75f);
    EXPECT_TRUE(s.dragged(Piece::RightHandle, s.dragLimits(Piece::RightHandle).minimum));
    EXPECT_FLOAT_EQ(s.positionRightValue(), 0.25f);
    EXPECT_LE(s.positionLeftValue(), s.positionRightValue());

    // The whole track: from 0 to W - 10.
    s.setVideoRange(0.25f, 0.75f);
    s.dragged(Piece::RightHandle, s.dragLimits(Piece::RightHandle).maximum);
    s.dragged(Piece::LeftHandle, s.dragLimits(Piece::LeftHandle).minimum);
    EXPECT_EQ(s.positionLeftValue(), 0);
    EXPECT_EQ(s.positionRightValue(), 1);
}

TEST(MusicRangeSliderModelTest, TheRangeMovesWithoutAJumpAndStaysOnTheTrack) {
    MusicRangeSliderModel s(210, 30);
    s.setVideoRange(0.25f, 0.75f);
    s.setMusicRange(0, 0.8f);
    // A drag step to where the bar lies changes nothing.
    EXPECT_TRUE(s.dragged(Piece::RangeBar, s.rangeFrame().x));
    EXPECT_FLOAT_EQ(s.positionLeftValue(), 0.25f);
    EXPECT_FLOAT_EQ(s.positionRightValue(), 0.75f);
    EXPECT_FLOAT_EQ(s.musicRightValue(), 0.5f); // no longer than the place
    // 20 points to the right is 0.1 of the track; the width is kept.
    s.dragged(Piece::RangeBar, s.rangeFrame().x + 20);
    EXPECT_FLOAT_EQ(s.positionLeftValue(), 0.35f);
    EXPECT_FLOAT_EQ(s.positionRightValue(), 0.85f);
    EXPECT_EQ(s.leftHandleFrame().x, 70);
    // The ends of the track hold it with its width.
    const MusicRangeSliderModel::Limits limits = s.dragLimits(Piece::RangeBar);
    EXPECT_EQ(limits.minimum, 5);
    EXPECT_EQ(limits.maximum, 105);
    s.dragged(Piece::RangeBar, limits.maximum);
    EXPECT_FLOAT_EQ(s.positionRightValue(), 1);
    EXPECT_FLOAT_EQ(s.positionLeftValue(), 0.5f);
    s.dragged(Piece::RangeBar, limits.minimum);
    EXPECT_FLOAT_EQ(s.positionLeftValue(), 0);
    EXPECT_FLOAT_EQ(s.positionRightValue(), 0.5f);
}
