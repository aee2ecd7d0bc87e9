#pragma once

#include "ViewRect.h"
#include "ViewSize.h"

#include <vector>

// The box of the watermark overlay and what presses, hovers, drags and releases do to it, without a widget.
//
// Everything is in the overlay's points, origin bottom-left, y up. The box is held as its four sides (left x,
// bottom y, right X2, top Y2), which the overlay's four edge views show; `cliprect` is read back from them after
// every change, so what is reported is always the box on screen.
//
// Resize rules (`scale_Type`): 3 keeps the image's aspect at the corners and makes the edge-middle handles inert;
// 2 keeps the video's aspect, the pointer's height setting the size; anything else resizes freely. A box is at
// least 10 points wide and high (the left-middle handle keeps 40 points).
class WaterViewModel {
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
    enum class Cursor { Unchanged, Arrow, OpenHand, ClosedHand, ResizeLeftRight, ResizeUpDown };
    // Content modes.
    enum { ImageMode = 2, TextMode = 4 };

    // A new overlay of that frame: the box is the frame inset by one point (the edge views start as strips).
    explicit WaterViewModel(const ViewRect& frame = {});

    // The overlay's frame; the box keeps its points.
    void setFrameRect(const ViewRect& frame);
    ViewRect oFrame() const { return _oFrame; }
    ViewSize size() const { return {_width, _height}; }
    void setVideoSize(const ViewSize& size) { _videoSize = size; }
    ViewSize videoSize() const { return _videoSize; }

    void setMarkWaterType(int type) { _markWaterType = type; }
    int markWaterType() const { return _markWaterType; }
    bool imageMode() const { return _markWaterType == ImageMode; }
    // The image's size (pixels); empty when no image is set.
    void setImageSize(const ViewSize& size) { _imageSize = size; }
    bool hasImage() const { return _imageSize.width > 0 && _imageSize.height > 0; }
    // The overlay shows something (a text or an image): cursors change only then.
    void setHasContent(bool content) { _hasContent = content; }
    bool hasContent() const { return _hasContent; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    bool enabled() const { return _enabled; }

    int scale_Type() const { return _scaleType; }
    // With 3 and an image, the box keeps its origin and height and takes the image's aspect.
    void setScale_Type(int type);

    // The box, its height then width limited to the overlay and to at least 10 points; the origin stays.
    void setClipRect(const ViewRect& rect);
    ViewRect getclipRectFrame() const { return _cliprect; }
    // The box scaled by videoSize width / frame width (video pixels when the overlay spans the picture).
    ViewRect getclipRect() const;
    ViewRect getPercentImageClipRect() const;
    ViewRect getPercentTextClipRect() const;
    // A proposed box fitted to the overlay's height when it is too big and relatively taller than the overlay.
    ViewRect getCheckClipRect(const ViewRect& rect) const;

    // Events; points in the overlay's coordinates. press() and release() do nothing while disabled (Ignored).
    struct PressResult {
        bool accepted = false; // false while disabled
        Cursor cursor = Cursor::Unchanged;
    };
    PressResult press(const ViewPoint& p);
    Cursor hover(const ViewPoint& p);
    // True when the step asks for a redraw and the moved report (with getclipRectFrame()).
    bool drag(const ViewPoint& p);
    // The drag of scale type 2 (p already inside the overlay).
    bool mouseMove(const ViewPoint& p);
    PressResult release();

    int moveTouchPoint() const { return _moveTouchPoint; }
    bool isTouchPointInClipRect() const { return _isTouchPointInClipRect; }
    ViewPoint touchBeginPoint() const { return _touchBeginPoint; }

    // The handle squares drawn in image mode (10 x 10, inside the box).
    std::vector<ViewRect> handleRects() const;

private:
    // The hit code of a point by the press zones; -1 in a side band away from the handles, -2 elsewhere.
    int zone(const ViewPoint& p) const;
    void setSides(double x, double y, double x2, double y2);
    void moveTo(const ViewPoint& p);
    double aspect() const { return _imageSize.width / _imageSize.height; }

    ViewRect _oFrame;
    double _width = 0;
    double _height = 0;
    ViewSize _videoSize;
    double _x = 0, _y = 0, _x2 = 0, _y2 = 0; // the edge views' sides
    ViewRect _cliprect;
    int _scaleType = 0;
    int _markWaterType = 0;
    ViewSize _imageSize;
    bool _hasContent = false;
    bool _enabled = true;
    int _moveTouchPoint = None;
    bool _isTouchPointInClipRect = false;
    ViewPoint _touchBeginPoint;
    float _left = 0;
    float _bottom = 0;
};
