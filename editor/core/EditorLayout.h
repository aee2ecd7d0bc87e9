#pragma once

#include "ViewRect.h"

// The editor window's layout as plain arithmetic: from the window's size and the state of the format strip to the
// frame of every region and of the controls under the player, in y-up view coordinates (each frame in its own
// superview's bounds). The window applies the frames; nothing here touches a widget.
class EditorLayout {
public:
    struct Input {
        double width = 0; // the window's frame
        double height = 0;
        bool collapsed = false;          // the format strip is collapsed (its top bar's button selected)
        bool enteringFullScreen = false; // the call answers the window having entered full screen
        double backGroundWidth = 0;      // the width of the window's backGroundView
    };

    struct Frames {
        ViewSize minimumSize;
        ViewRect contentBackGroundView;
        ViewRect contentLeftView;
        ViewRect contentRightView;
        ViewRect musicRightView;
        ViewRect playerBackView;
        ViewRect playerView;       // in playerBackView
        ViewRect playerBottomView; // in playerBackView
        ViewRect musicRightPlayerView;
        ViewRect musicRightBottomView;
        ViewRect toolMusicNofileView;
        ViewRect progressSlider; // the controls in playerBottomView
        ViewRect cutProgressView;
        ViewRect playOrpauseBtn;
        ViewRect currentTimeLabel;
        ViewRect totalTimeLabel;
        ViewRect tabbarView; // the format strip
        ViewRect tabbarbackView;
        ViewRect showFunctionBtn;
        ViewRect functionView;
        ViewRect functionItemScrollview;
        ViewRect leftMoveItemBtn;
        ViewRect rightMoveItemBtn;
        bool functionRowHidden = false; // the strip's item row and arrows
    };

    static Frames compute(const Input& input);

    // A tool panel keeps its size and x and sits 5 points below the top of the left column.
    static ViewRect toolPanelFrame(const ViewRect& panel, const ViewRect& contentLeftView);
    // The music panel lies beside the left column in the column's superview.
    static ViewRect musicPanelFrame(const ViewRect& panel, const ViewRect& contentLeftView);
    // The export bar keeps its x, y and height and ends 158 points before the window's right edge.
    static ViewRect exportProgressFrame(const ViewRect& bar, double windowWidth);

    // The picture size as the preview shows it: the source's width and height swapped when the stream's own
    // rotation plus the user's is a quarter turn.
    static ViewSize videoSize(int sourceWidth, int sourceHeight, int streamAngle, int userAngle);

    // A window size that fits the room the screen leaves (its work area less the window manager's frame): the
    // wanted size where the room allows, else the room. An empty room (no screen known) changes nothing.
    static ViewSize fittedSize(const ViewSize& wanted, const ViewSize& room);
    // The size the frames are laid out for in a window of `window` points: never below the layout's minimum (the
    // window then scrolls), and narrower by a scroll bar's `scrollBar` points across (or down) when the other
    // direction has to scroll.
    static ViewSize contentSize(const ViewSize& window, const ViewSize& minimum, double scrollBar);

    // The seven tool buttons of the strip: x = 1 + 95 i, width 94, the strip's height.
    static ViewRect toolButtonFrame(int index, double stripHeight);
};
