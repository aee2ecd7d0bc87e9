#include "SegmentListGeometry.h"

#include <algorithm>

ViewSize SegmentListGeometry::documentSize(const ViewSize& scrollSize, qint64 count) {
    // The tiles' height is formed in single precision.
    const float tiles = float(count) * float(kTileHeight) + float(kEditorHeight);
    return ViewSize{scrollSize.width, std::max(scrollSize.height, double(tiles))};
}

ViewRect SegmentListGeometry::tileFrame(qint64 index, const ViewSize& documentSize, qint64 editorBelow) {
    const double room = editorBelow >= 0 && index > editorBelow ? kEditorHeight : 0;
    return ViewRect{(documentSize.width - kTileWidth) * 0.5,
                    documentSize.height - double(index + 1) * kTileHeight - room, kTileWidth, kTileHeight};
}

double SegmentListGeometry::scrollTopForTile(const ViewRect& tileFrame, double documentHeight, double visibleHeight) {
    const double y = double(float(tileFrame.y));
    const double top = documentHeight - (y + visibleHeight);
    return std::clamp(top, 0.0, std::max(0.0, documentHeight - visibleHeight));
}

ViewPoint SegmentListGeometry::hoverPoint(const ViewPoint& inWindow, const ViewPoint origins[5]) {
    double x = inWindow.x;
    double y = inWindow.y;
    for (int i = 0; i < 5; ++i) {
        x -= origins[i].x;
        y -= origins[i].y;
    }
    return ViewPoint{x, y};
}
