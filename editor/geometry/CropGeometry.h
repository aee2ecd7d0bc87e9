#pragma once

#include "ViewRect.h"
#include "ViewSize.h"
#include "libMediaCore.h"

#include <QString>

// The editor's crop in its three forms and the conversions between them, without a widget:
// - the overlay's box, in overlay points (origin at the picture rectangle's lower-left corner, y up);
// - `editVideoClipRect`, the crop in picture pixels, origin at the picture's lower-left corner (the whole picture
//   means no crop);
// - `convertCropSize`, the margins cut from the left, top, right and bottom edges of the turned picture, in pixels,
//   never negative, leaving an even width and height of at least 2 x 2 pixels;
// - the four number fields (width, height, left, top), counted from the picture's top-left corner: the size and
//   place the margins write.
// The picture is the one the preview shows: the source turned by the user's rotation (`videoSize`).
class CropGeometry {
public:
    // The source's size swapped for a quarter turn (90, 270, -90 or -270 degrees).
    static ViewSize videoSizeFor(const ViewSize& source, int angle);
    // The largest rectangle of the picture's aspect centred inside `bounds` (the whole bounds without a picture).
    static ViewRect videoRectInside(const ViewSize& videoSize, const ViewRect& bounds);

    // The overlay's box (in an overlay of `frameSize` points) as a rectangle in picture pixels: each fraction and
    // each product rounded to single precision.
    static ViewRect clipRectFromBox(const ViewRect& box, const ViewSize& frameSize, const ViewSize& videoSize);
    // A rectangle in picture pixels as a box in the overlay's points (fractions rounded to single precision).
    static ViewRect boxFromClipRect(const ViewRect& clipRect, const ViewSize& videoSize, const ViewSize& frameSize);

    // The margins of a rectangle in picture pixels (the part of it inside the picture): the left and top margins
    // rounded down to an even number, the width and height to the nearest even number (the encoder needs even
    // sizes), at least 2 x 2 pixels left, none negative.
    static RECT evenMargins(const ViewRect& clipRect, const ViewSize& videoSize);
    static bool hasMargins(const RECT& margins) {
        return margins.left || margins.top || margins.right || margins.bottom;
    }

    // The texts of the four number fields: what the margins write, so that the fields never say other than the
    // file gets.
    struct Fields {
        QString width;  // "%02i"
        QString height; // "%02i"
        QString left;   // "%i", the left margin
        QString top;    // "%i", the top margin
    };
    static Fields fields(const RECT& margins, const ViewSize& videoSize);

    // A typed width or height (pixels): the rectangle keeps its origin, the typed size is stored as it stands.
    // The overlay's box for it is moved back inside the picture (`box`, in overlay points).
    struct Typed {
        ViewRect clipRect; // the window's rectangle after the typed value
        ViewRect box;      // what the overlay is given
    };
    static Typed typedSize(ViewRect clipRect, const ViewSize& videoSize, const ViewSize& frameSize, double width,
                           double height);
    // A typed left or top margin (pixels): the rectangle moves, held inside the picture.
    static Typed typedLeft(ViewRect clipRect, const ViewSize& videoSize, const ViewSize& frameSize, double left);
    static Typed typedTop(ViewRect clipRect, const ViewSize& videoSize, const ViewSize& frameSize, double top);

    // The user's rotation after a rotate-right or rotate-left click (a stored 360 counts as 0; any value off the
    // quarter turns stays as it is).
    static int rotatedRight(int angle);
    static int rotatedLeft(int angle);
    static bool isQuarterTurn(int angle) { return angle == 90 || angle == 270 || angle == -90 || angle == -270; }
};
