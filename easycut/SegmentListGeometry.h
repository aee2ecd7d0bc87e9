#pragma once

#include "ViewPoint.h"
#include "ViewRect.h"
#include "ViewSize.h"

#include <QtGlobal>

// Where the segment list puts its tiles, the tile overlay's buttons, the segment editor and each tile's parts, in
// y-up points. Tiles are 140 x 120, stacked without gaps from the top of the document view (segment 0 on top),
// with 48 points left below the last one for the segment editor.
class SegmentListGeometry {
public:
    static constexpr double kTileWidth = 140;
    static constexpr double kTileHeight = 120;
    static constexpr double kEditorWidth = 168;
    static constexpr double kEditorHeight = 48;

    // The document view: as wide as the scroll view, as high as the tiles plus the editor's room, at least the
    // scroll view's height.
    static ViewSize documentSize(const ViewSize& scrollSize, qint64 count);
    // With the segment editor open below tile `editorBelow` (-1: closed) the tiles after it move down to make
    // room, so the editor never covers the next tile (the document keeps that room below the last tile).
    static ViewRect tileFrame(qint64 index, const ViewSize& documentSize, qint64 editorBelow = -1);
    // The segment editor just below a tile.
    static double editorY(const ViewRect& tileFrame) { return tileFrame.y - kEditorHeight; }
    // The editor's place before any tile holds it: centred in the list, at the bottom.
    static ViewRect editorFrame(double listWidth) {
        return ViewRect{(listWidth - kEditorWidth) / 2, 0, kEditorWidth, kEditorHeight};
    }

    // The overlay's Copy, Modify and Deleted buttons: a strip along the tile's bottom edge.
    static ViewRect copyButtonFrame() { return ViewRect{0, 0, 50, 20}; }
    static ViewRect modifyButtonFrame() { return ViewRect{50, 0, 40, 20}; }
    static ViewRect deletedButtonFrame() { return ViewRect{90, 0, 50, 20}; }

    // The scroll that rests the selected tile on the bottom edge of the visible area, as far as the document
    // allows: the distance from the document's top edge to the visible area's top edge.
    static double scrollTopForTile(const ViewRect& tileFrame, double documentHeight, double visibleHeight);

    // A tile's own parts for a tile of width x height: the background picture, the thumbnail and the title line.
    static ViewRect tileBackFrame(const ViewSize& tile) { return ViewRect{0, 0, tile.width, tile.height - 20}; }
    static ViewRect tileIconFrame(const ViewSize& tile) { return ViewRect{10, 10, tile.width - 20, 67.5}; }
    static ViewRect tileTitleFrame(const ViewSize& tile) { return ViewRect{0, tile.height - 37, tile.width, 12}; }

    // The pointer in a tile's coordinates from its position in the window: the origins of the tile and of its
    // four nearest ancestors (a missing one counts as 0, 0) are taken off; scroll offsets are not.
    static ViewPoint hoverPoint(const ViewPoint& inWindow, const ViewPoint origins[5]);
};
