#include "EditorLayout.h"

#include <gtest/gtest.h>

namespace {

void expectFrame(const ViewRect& actual, const ViewRect& expected, const char* name) {
    EXPECT_DOUBLE_EQ(actual.x, expected.x) << name;
    EXPECT_DOUBLE_EQ(actual.y, expected.y) << name;
    EXPECT_DOUBLE_EQ(actual.width, expected.width) << name;
    EXPECT_DOUBLE_EQ(actual.height, expected.height) << name;
}

EditorLayout::Frames layout(double w, double h, bool collapsed, bool fullScreen = false) {
    EditorLayout::Input in;
    in.width = w;
    in.height = h;
    in.collapsed = collapsed;
    in.enteringFullScreen = fullScreen;
    in.backGroundWidth = w;
    return EditorLayout::compute(in);
}

} // namespace

TEST(EditorLayout, RegionsOfAnExpandedStrip) {
    const auto f = layout(1000, 780, false);
    EXPECT_EQ(f.minimumSize, (ViewSize{908, 780}));
    expectFrame(f.contentBackGroundView, {4, 236, 992, 512}, "contentBackGroundView");
    expectFrame(f.contentLeftView, {8, 240, 240, 421}, "contentLeftView");
    expectFrame(f.contentRightView, {248, 240, 748, 421}, "contentRightView");
    expectFrame(f.musicRightView, {253, 240, 736, 415}, "musicRightView");
    expectFrame(f.playerBackView, {253, 240, 736, 415}, "playerBackView");
    expectFrame(f.playerView, {0, 80, 736, 303}, "playerView");
    expectFrame(f.playerBottomView, {10, 20, 716, 36}, "playerBottomView");
    expectFrame(f.musicRightPlayerView, {14, 90, 710, 325}, "musicRightPlayerView");
    expectFrame(f.musicRightBottomView, {0, 0, 736, 91}, "musicRightBottomView");
    expectFrame(f.toolMusicNofileView, {0, 0, 736, 415}, "toolMusicNofileView");
    expectFrame(f.progressSlider, {120, 9.5, 516, 17}, "progressSlider");
    expectFrame(f.cutProgressView, {120, 3, 516, 30}, "cutProgressView");
    expectFrame(f.playOrpauseBtn, {0, 2.5, 31, 31}, "playOrpauseBtn");
    expectFrame(f.currentTimeLabel, {40, 1, 80, 26}, "currentTimeLabel");
    expectFrame(f.totalTimeLabel, {636, 1, 80, 26}, "totalTimeLabel");
    expectFrame(f.tabbarView, {4, 50, 992, 180}, "tabbarView");
    expectFrame(f.tabbarbackView, {0, 0, 992, 152}, "tabbarbackView");
    expectFrame(f.showFunctionBtn, {351, 151, 280, 30}, "showFunctionBtn");
    expectFrame(f.functionView, {150, 0, 700, 28}, "functionView");
    expectFrame(f.functionItemScrollview, {105, 35, 790, 110}, "functionItemScrollview");
    expectFrame(f.leftMoveItemBtn, {16, 76, 28, 28}, "leftMoveItemBtn");
    expectFrame(f.rightMoveItemBtn, {948, 76, 28, 28}, "rightMoveItemBtn");
    EXPECT_FALSE(f.functionRowHidden);
}

TEST(EditorLayout, CollapsingTheStripLowersTheMinimumAndGrowsTheColumnsBy150) {
    const auto expanded = layout(908, 780, false);
    const auto collapsed = layout(908, 780, true);
    EXPECT_EQ(collapsed.minimumSize, (ViewSize{908, 622}));
    EXPECT_DOUBLE_EQ(collapsed.contentLeftView.y, 90);
    EXPECT_DOUBLE_EQ(expanded.contentLeftView.y, 240);
    for (auto member : {&EditorLayout::Frames::contentLeftView, &EditorLayout::Frames::contentRightView,
                        &EditorLayout::Frames::musicRightView, &EditorLayout::Frames::playerBackView})
        EXPECT_DOUBLE_EQ((collapsed.*member).height - (expanded.*member).height, 150);
    expectFrame(collapsed.contentBackGroundView, {4, 85, 900, 663}, "contentBackGroundView");
    expectFrame(collapsed.tabbarView, {4, 50, 900, 32}, "tabbarView");
    expectFrame(collapsed.tabbarbackView, {0, -148, 900, 152}, "tabbarbackView");
    EXPECT_DOUBLE_EQ(collapsed.showFunctionBtn.y, 3);
    EXPECT_TRUE(collapsed.functionRowHidden);
}

TEST(EditorLayout, EnteringFullScreenUsesATopMarginOf8) {
    EXPECT_DOUBLE_EQ(layout(1200, 900, false, true).contentBackGroundView.height, 900 - 236 - 8);
    EXPECT_DOUBLE_EQ(layout(1200, 900, false, false).contentBackGroundView.height, 900 - 236 - 32);
}

TEST(EditorLayout, PanelsHangFromTheTopOfTheLeftColumn) {
    const ViewRect column{8, 240, 240, 421};
    expectFrame(EditorLayout::toolPanelFrame({5, 5, 230, 411}, column), {5, 5, 230, 411}, "panel");
    expectFrame(EditorLayout::toolPanelFrame({5, 5, 230, 300}, column), {5, 116, 230, 300}, "short panel");
    expectFrame(EditorLayout::musicPanelFrame({13, 0, 230, 411}, column), {13, 245, 230, 411}, "music panel");
    expectFrame(EditorLayout::exportProgressFrame({456, 23, 100, 8}, 1000), {456, 23, 386, 8}, "export bar");
}

TEST(EditorLayout, ToolButtonsSitEvery95Points) {
    const double xs[] = {1, 96, 191, 286, 381, 476, 571};
    for (int i = 0; i < 7; ++i)
        expectFrame(EditorLayout::toolButtonFrame(i, 54), {xs[i], 0, 94, 54}, "tool button");
}

TEST(EditorLayout, VideoSizeTurnsWithTheStreamsRotationPlusTheUsers) {
    struct Case {
        int stream, user;
        ViewSize expected;
    } cases[] = {
        {0, 0, {1920, 1080}},   {0, 90, {1080, 1920}},  {0, 270, {1080, 1920}},  {0, -90, {1080, 1920}},
        {90, 0, {1080, 1920}},  {90, 90, {1920, 1080}}, {270, 90, {1920, 1080}}, {180, 90, {1080, 1920}},
        {-90, 0, {1080, 1920}}, {0, 180, {1920, 1080}}, {90, 360, {1080, 1920}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EditorLayout::videoSize(1920, 1080, c.stream, c.user), c.expected)
            << "stream " << c.stream << " user " << c.user;
}

TEST(EditorLayout, TheWindowFitsTheRoomTheScreenLeaves) {
    struct Case {
        ViewSize wanted, room, fitted;
        const char* what;
    } cases[] = {
        {{908, 780}, {1920, 1050}, {908, 780}, "a large screen keeps the minimum"},
        {{908, 780}, {1366, 704}, {908, 704}, "a 768-pixel screen less its panel and the title bar"},
        {{1000, 780}, {800, 568}, {800, 568}, "a small screen in both directions"},
        {{908, 780}, {0, 0}, {908, 780}, "no screen known"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EditorLayout::fittedSize(c.wanted, c.room), c.fitted) << c.what;
}

TEST(EditorLayout, BelowTheMinimumTheContentKeepsItAndScrolls) {
    const ViewSize minimum{908, 780};
    struct Case {
        ViewSize window, content;
        const char* what;
    } cases[] = {
        {{1000, 800}, {1000, 800}, "room enough: the window's size"},
        {{1000, 700}, {985, 780}, "too low: the minimum height, beside a vertical scroll bar"},
        {{850, 800}, {908, 785}, "too narrow: the minimum width, above a horizontal scroll bar"},
        {{800, 600}, {908, 780}, "both: the minimum"},
        {{915, 700}, {908, 780}, "a scroll bar would make it too narrow: the minimum"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EditorLayout::contentSize(c.window, minimum, 15), c.content) << c.what;
}
