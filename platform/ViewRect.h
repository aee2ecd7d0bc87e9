#pragma once

#include "ViewPoint.h"
#include "ViewSize.h"

// A rectangle in y-up view coordinates: (x, y) is the bottom-left corner, y grows upwards. Used for
// frames in points and, in the model, for rectangles in video pixels with the same bottom-left origin.
struct ViewRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    ViewPoint origin() const { return {x, y}; }
    ViewSize size() const { return {width, height}; }
    double minX() const { return x; }
    double minY() const { return y; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
    bool isZero() const { return x == 0 && y == 0 && width == 0 && height == 0; }
    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool contains(const ViewPoint& p) const { return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height; }

    friend bool operator==(const ViewRect&, const ViewRect&) = default;
};
