#include "ProgressSliderModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ProgressSliderModel, NewSliderLayout) {
    ProgressSliderModel m(200, 20);
    EXPECT_EQ(m.trackFrame(), (ViewRect{0, 6, 200, 8}));
    EXPECT_EQ(m.tintFrame(), (ViewRect{0, 6, 200, 8}));
    EXPECT_EQ(m.thumbFrame(), (ViewRect{0, 0, 20, 20}));
    EXPECT_EQ(m.progress(), 0.0f);
}

TEST(ProgressSliderModel, ValueFromCodeIsStoredAsGivenAndTheThumbKeptOnTheSlider) {
    struct Case {
        float value;
        double thumbX;
    };
    const Case cases[] = {{0, 0}, {0.5f, 90}, {1, 180}, {1.5f, 180}, {-0.2f, 0}};
    for (const Case& c : cases) {
        ProgressSliderModel m(200, 20);
        m.setProgress(c.value);
        EXPECT_EQ(m.progress(), c.value);
        EXPECT_DOUBLE_EQ(m.thumbFrame().x, c.thumbX) << c.value;
        EXPECT_DOUBLE_EQ(m.tintFrame().width, c.thumbX + 10) << "tint ends at the thumb's centre";
        EXPECT_EQ(m.thumbFrame().width, 20);
    }
}

TEST(ProgressSliderModel, NotANumberShowsAtTheLeftStop) {
    ProgressSliderModel m(200, 20);
    m.setProgress(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(m.thumbFrame().x, 0);
}

TEST(ProgressSliderModel, DragFollowsThePointerWithinTheStops) {
    struct Case {
        double x;
        float value;
        double thumbX;
    };
    const Case cases[] = {{-50, 0, 0}, {10, 0, 0}, {100, 0.5f, 90}, {55, 0.25f, 45}, {190, 1, 180}, {900, 1, 180}};
    for (const Case& c : cases) {
        ProgressSliderModel m(200, 20);
        EXPECT_FLOAT_EQ(m.dragTo(c.x), c.value) << c.x;
        EXPECT_FLOAT_EQ(m.progress(), c.value);
        EXPECT_DOUBLE_EQ(m.thumbFrame().x, c.thumbX);
        EXPECT_DOUBLE_EQ(m.tintFrame().width, c.thumbX + 10);
    }
}

TEST(ProgressSliderModel, NoTravelGivesZeroNotNaN) {
    for (double width : {20.0, 12.0, 0.0}) {
        ProgressSliderModel m(width, 20);
        const float v = m.dragTo(15);
        EXPECT_FALSE(std::isnan(v)) << width;
        EXPECT_EQ(v, 0.0f) << width;
    }
}

TEST(ProgressSliderModel, WiderFrameKeepsTheFraction) {
    ProgressSliderModel m(200, 20);
    m.setProgress(0.5f);
    m.setSize(400, 20);
    EXPECT_EQ(m.trackFrame(), (ViewRect{0, 6, 400, 8}));
    EXPECT_DOUBLE_EQ(m.thumbFrame().x, 190);
    EXPECT_DOUBLE_EQ(m.tintFrame().width, 200);
    EXPECT_FLOAT_EQ(m.progress(), 0.5f);
}

TEST(ProgressSliderModel, TallerFrameScalesTheTrackAndKeepsTheThumbSize) {
    ProgressSliderModel m(200, 20);
    m.setSize(200, 40);
    EXPECT_EQ(m.trackFrame(), (ViewRect{0, 12, 200, 16}));
    EXPECT_EQ(m.thumbFrame().width, 20);
    EXPECT_EQ(m.thumbFrame().height, 20);
}

} // namespace
