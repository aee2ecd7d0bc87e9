#include "EditorLayout.h"

#include <algorithm>

EditorLayout::Frames EditorLayout::compute(const Input& in) {
    const double W = in.width;
    const double H = in.height;
    const bool s = in.collapsed;
    const double b = s ? 85 : 236;
    const double c = s ? 209 : 359;
    const double t = in.enteringFullScreen ? 8 : 32;
    const double columnY = s ? 90 : 240;

    Frames f;
    f.minimumSize = {908, s ? 622.0 : 780.0};
    f.contentBackGroundView = {4, b, W - 8, H - b - t};
    f.contentLeftView = {8, columnY, 240, H - c};
    f.contentRightView = {248, columnY, W - 252, H - c};
    f.musicRightView = {253, columnY, W - 264, H - c - 6};
    f.playerBackView = {253, columnY, W - 264, H - c - 6};

    const ViewRect& PB = f.playerBackView;
    f.playerView = {0, 80, PB.width, PB.height - 112};
    f.playerBottomView = {10, 20, PB.width - 20, 36};

    const ViewRect& MR = f.musicRightView;
    f.musicRightPlayerView = {14, 90, MR.width - 26, MR.height - 90};
    f.musicRightBottomView = {0, 0, MR.width, 91};
    f.toolMusicNofileView = {0, 0, MR.width, MR.height};

    const ViewRect& PBv = f.playerBottomView;
    f.progressSlider = {120, (PBv.height - 17) / 2, PBv.width - 200, 17};
    f.cutProgressView = {120, (PBv.height - 30) / 2, PBv.width - 200, 30};
    f.playOrpauseBtn = {0, (PBv.height - 31) / 2, 31, 31};
    f.currentTimeLabel = {40, (PBv.height - 26) / 2 - 4, 80, 26};
    f.totalTimeLabel = {PBv.width - 80, (PBv.height - 26) / 2 - 4, 80, 26};

    f.tabbarView = {4, 50, W - 8, s ? 32.0 : 180.0};
    const ViewRect& TV = f.tabbarView;
    f.tabbarbackView = {0, s ? -148.0 : 0.0, TV.width, 152};
    f.showFunctionBtn = {(TV.width - 240) / 2 - 25, TV.height - 29, 280, 30};
    f.functionView = {(W - 700) / 2, 0, 700, 28};
    const double F = f.functionView.height;
    const double K = f.tabbarbackView.height;
    f.functionItemScrollview = {(in.backGroundWidth - 790) / 2, F + (K - F - 100) / 2 - 5, 790, 110};
    f.leftMoveItemBtn = {16, (TV.height - 28) / 2, 28, 28};
    f.rightMoveItemBtn = {TV.width - 44, (TV.height - 28) / 2, 28, 28};
    f.functionRowHidden = s;
    return f;
}

ViewRect EditorLayout::toolPanelFrame(const ViewRect& panel, const ViewRect& contentLeftView) {
    return {panel.x, contentLeftView.height - panel.height - 5, panel.width, panel.height};
}

ViewRect EditorLayout::musicPanelFrame(const ViewRect& panel, const ViewRect& contentLeftView) {
    return {panel.x, contentLeftView.y + contentLeftView.height - panel.height - 5, panel.width, panel.height};
}

ViewRect EditorLayout::exportProgressFrame(const ViewRect& bar, double windowWidth) {
    return {bar.x, bar.y, windowWidth - 158 - bar.x, bar.height};
}

ViewSize EditorLayout::videoSize(int sourceWidth, int sourceHeight, int streamAngle, int userAngle) {
    // Angles may be negative or past a full turn; only whether the sum is a quarter turn matters.
    const bool quarterTurn = ((streamAngle + userAngle) % 180 + 180) % 180 == 90;
    return quarterTurn ? ViewSize{double(sourceHeight), double(sourceWidth)}
                       : ViewSize{double(sourceWidth), double(sourceHeight)};
}
ViewSize EditorLayout::fittedSize(const ViewSize& wanted, const ViewSize& room) {
    if (room.width <= 0 || room.height <= 0)
        return wanted;
    return {std::min(wanted.width, room.width), std::min(wanted.height, room.height)};
}

ViewSize EditorLayout::contentSize(const ViewSize& window, const ViewSize& minimum, double scrollBar) {
    const bool scrollsDown = window.height < minimum.height;
    const bool scrollsAcross = window.width < minimum.width;
    const double width = window.width - (scrollsDown && !scrollsAcross ? scrollBar : 0);
    const double height = window.height - (scrollsAcross && !scrollsDown ? scrollBar : 0);
    return {std::max(width, minimum.width), std::max(height, minimum.height)};
}

ViewRect EditorLayout::toolButtonFrame(int index, double stripHeight) {
    return {1 + 95.0 * index, 0, 94, stripHeight};
}
