#pragma once

#include "ViewPoint.h"
#include "ViewRect.h"
#include "ViewSize.h"

#include <vector>

// The box of the crop overlay and what presses and drags do to it, without a widget.
//
// Everything is in the overlay's points, origin bottom-left, y up. The four mask panels around the box are the
// authority: they are held as the box's four sides (left x, bottom y, right X2, top Y2), and `cliprect`, the box
// field, is derived from them at every redraw (each value rounded to single precision). An operation that writes
// only the box field (a preset of setCropType, the square of setFrameRect) holds until the next redraw, unless the
// owner hands it back through setClipRect, which moves the sides.
//
// Resize modes (`crop_Type`): 2 keeps the picture's aspect ratio at the corners (the pointer's height sets the
// size, the width follows) and makes the edge-middle handles inert; anything else resizes freely. A box is at least
// 20 points in each direction (the left-middle handle keeps 40 points of width). In keep-aspect mode the width is
// also held inside the overlay: the height is limited so the width that follows it fits.
class LQUICliperModel {
public:
    // Hit codes of a press.
    enum Handle {
        None = 0,
        TopLeft = 1,
        TopRight = 2,
        BottomLeft = 3,
        BottomRight = 4,
        LeftMiddle = 5,
        RightMiddle = 6,
        TopMiddle = 7,
        BottomMiddle = 8,
        Move = 9
    };
    enum { KeepAspect = 2 };

    // A new overlay of that frame: the box field is the whole frame, the sides start as one-point strips, so the
    // first redraw derives the frame inset by one point.
    explicit LQUICliperModel(const ViewRect& frame = {});

    // Stores the frame and writes the centred square of side min(W, H) into the box field, then redraws.
    void setFrameRect(const ViewRect& frame);
    ViewRect oFrame() const { return _oFrame; }
    ViewSize size() const { return _oFrame.size(); }
    // Stores the picture's size (pixels) and writes the centred square into the box field, then redraws.
    void setVideoSize(const ViewSize& size);
    ViewSize videoSize() const { return _videoSize; }

    int crop_Type() const { return _cropType; }
    void setCrop_Type(int type) { _cropType = type; }
    // Sets the mode and, for 1 to 7, writes the preset box into the box field (the sides do not move).
    void setCropType(int type);
    // The preset box of `type` for a frame of `size` (centred); nothing for values outside 1 to 7.
    static bool presetBox(int type, const ViewSize& size, ViewRect& box);

    // Places the box: the size clamped to [60, frame width] x [60, frame height]; the origin is kept.
    void setClipRect(const ViewRect& rect);
    ViewRect getclipRectFrame() const { return _cliprect; }
    // videoSize width / frame width, in single precision.
    double getclipRectScale() const;
    // The box in video pixels (every value times the one scale).
    ViewRect getclipRect() const;
    // The box as fractions of the frame's size.
    ViewRect getPercentClipRect() const;

    // Derives the box field from the sides, as a redraw does.
    void redraw();

    // A press at p (overlay points): the hit code stored in cropTouchPoint, or unchanged when none applies.
    int press(const ViewPoint& p);
    // One drag step to p; the pointer is held inside the overlay first. Always ends with a moved report.
    void drag(const ViewPoint& p);
    // The keep-aspect step (p already inside the overlay).
    void mouseMove(const ViewPoint& p);
    void release() { _cropTouchPoint = None; }

    int cropTouchPoint() const { return _cropTouchPoint; }
    ViewPoint touchBeginPoint() const { return _touchBeginPoint; }

    // The sides as the panels show them (left, bottom, right, top).
    double left() const { return _x; }
    double bottom() const { return _y; }
    double right() const { return _x2; }
    double top() const { return _y2; }

    // The handle squares drawn (10 x 10, flush inside the box): four corners, and the four edge middles unless
    // in keep-aspect mode.
    std::vector<ViewRect> handleRects() const;

private:
    void setSides(double x, double y, double x2, double y2);
    void moveTo(const ViewPoint& p);
    ViewRect centredSquare() const;

    ViewRect _oFrame;
    ViewSize _videoSize;
    double _x = 0, _y = 0, _x2 = 0, _y2 = 0; // the mask panels' sides
    ViewRect _cliprect;
    int _cropType = 0;
    int _cropTouchPoint = None;
    ViewPoint _touchBeginPoint;
    double _left = 0; // grab offset of a move: pointer minus the box's lower-left corner
    double _bottom = 0;
};
