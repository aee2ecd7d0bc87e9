#include "FormatBrowserLayout.h"

#include <gtest/gtest.h>

TEST(FormatBrowserLayout, CategoryButtonsSpanTheBar) {
    struct Case {
        int n;
        std::vector<double> xs;
    };
    const Case cases[] = {
        {1, {290}},
        {2, {0, 580}},
        {5, {0, 145, 290, 435, 580}},
        {6, {0, 116, 232, 348, 464, 580}}, // neighbours overlap by 4 points
    };
    for (const Case& c : cases)
        for (int i = 0; i < c.n; ++i)
            EXPECT_DOUBLE_EQ(FormatBrowserLayout::categoryX(i, c.n), c.xs[i]) << c.n << " " << i;
}

TEST(FormatBrowserLayout, PagesAndScrolling) {
    const std::pair<int, int> pages[] = {{0, 0}, {1, 1}, {8, 1}, {9, 2}, {16, 2}, {17, 3}};
    for (const auto& [m, expected] : pages)
        EXPECT_EQ(FormatBrowserLayout::pageCount(m), expected) << m;
    EXPECT_EQ(FormatBrowserLayout::documentWidth(0), 0);
    EXPECT_EQ(FormatBrowserLayout::documentWidth(9), 18000);
    EXPECT_DOUBLE_EQ(FormatBrowserLayout::pageScrollX(0), 0);
    EXPECT_DOUBLE_EQ(FormatBrowserLayout::pageScrollX(1), 800);
    EXPECT_DOUBLE_EQ(FormatBrowserLayout::pageScrollX(3), 2400);
    EXPECT_DOUBLE_EQ(FormatBrowserLayout::itemX(8), 800);
    EXPECT_EQ(FormatBrowserLayout::viewportFrame(908, 28, 152), (ViewRect{59, 35, 790, 110}));
    EXPECT_EQ(FormatBrowserLayout::highlightFrame(3, 110), (ViewRect{200, 0, 90, 95}));
    EXPECT_EQ(FormatBrowserLayout::pageKey("Video"), "Video_selectFunctionOfsetIndex");
}
