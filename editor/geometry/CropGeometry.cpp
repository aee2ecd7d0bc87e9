#include "CropGeometry.h"

#include "AVMakeRectWithAspectRatioInsideRect.h"

#include <algorithm>
#include <cmath>

namespace {
float single(double v) {
    return static_cast<float>(v);
}

// v - fmod(v, 2) on v in single precision: cut toward zero to a multiple of 2.
int evenDown(double value) {
    const float v = single(value);
    return static_cast<int>(v - std::fmod(v, 2.0f));
}

int evenAtMost(int value) {
    return std::max(0, value - value % 2);
}

// The even number nearest a size (halves go up), never below 0. A size a hair from a whole number (a typed 547
// that went through the overlay's single-precision box) counts as that number.
int evenNearest(double value) {
    const double whole = std::round(value * 1000.0) / 1000.0;
    return std::max(0, 2 * static_cast<int>(std::floor(whole / 2.0 + 0.5)));
}
} // namespace

ViewSize CropGeometry::videoSizeFor(const ViewSize& source, int angle) {
    return isQuarterTurn(angle) ? ViewSize{source.height, source.width} : source;
}

ViewRect CropGeometry::videoRectInside(const ViewSize& video, const ViewRect& bounds) {
    return AVMakeRectWithAspectRatioInsideRect(video, bounds);
}

ViewRect CropGeometry::clipRectFromBox(const ViewRect& box, const ViewSize& frame, const ViewSize& video) {
    if (frame.width <= 0 || frame.height <= 0)
        return {0, 0, video.width, video.height};
    const float fx = single(box.x / frame.width), fy = single(box.y / frame.height);
    const float fw = single(box.width / frame.width), fh = single(box.height / frame.height);
    return {single(fx * video.width), single(fy * video.height), single(fw * video.width), single(fh * video.height)};
}

ViewRect CropGeometry::boxFromClipRect(const ViewRect& r, const ViewSize& video, const ViewSize& frame) {
    if (video.width <= 0 || video.height <= 0)
        return {0, 0, frame.width, frame.height};
    return {single(r.x / video.width) * frame.width, single(r.y / video.height) * frame.height,
            single(r.width / video.width) * frame.width, single(r.height / video.height) * frame.height};
}

RECT CropGeometry::evenMargins(const ViewRect& r, const ViewSize& video) {
    const int vw = static_cast<int>(video.width), vh = static_cast<int>(video.height);
    RECT m{};
    // The left and top margins go down to even; the size is the rectangle's (within the picture) at the nearest
    // even number, so a width typed as 952 is written as 952 and one of 547 as 548, as the fields then say.
    m.left = std::clamp(evenDown(r.x), 0, evenAtMost(vw - 2));
    m.top = std::clamp(evenDown(video.height - (r.y + r.height)), 0, evenAtMost(vh - 2));
    const double across = std::min(r.x + r.width, video.width) - std::max(r.x, 0.0);
    const double down = std::min(r.y + r.height, video.height) - std::max(r.y, 0.0);
    const int width = std::clamp(evenNearest(across), 2, std::max(2, evenAtMost(vw - m.left)));
    const int height = std::clamp(evenNearest(down), 2, std::max(2, evenAtMost(vh - m.top)));
    m.right = std::max(0, vw - m.left - width);
    m.bottom = std::max(0, vh - m.top - height);
    return m;
}

CropGeometry::Fields CropGeometry::fields(const RECT& m, const ViewSize& video) {
    const int vw = static_cast<int>(video.width), vh = static_cast<int>(video.height);
    return {QString::asprintf("%02i", vw - m.left - m.right), QString::asprintf("%02i", vh - m.top - m.bottom),
            QString::asprintf("%i", m.left), QString::asprintf("%i", m.top)};
}

namespace {
// The overlay's box for a rectangle, moved back inside the picture: a box that ends past the right or top edge
// starts that much earlier, and none starts before the picture.
ViewRect insideBox(const ViewRect& r, const ViewSize& video, const ViewSize& frame) {
    double x = r.x, y = r.y;
    const double w = std::min(r.width, video.width), h = std::min(r.height, video.height);
    if (x + w > video.width)
        x = video.width - w;
    if (y + h > video.height)
        y = video.height - h;
    x = std::max(0.0, x);
    y = std::max(0.0, y);
    return CropGeometry::boxFromClipRect({x, y, w, h}, video, frame);
}
} // namespace

CropGeometry::Typed CropGeometry::typedSize(ViewRect r, const ViewSize& video, const ViewSize& frame, double width,
                                            double height) {
    r.width = width;
    r.height = height;
    return {r, insideBox(r, video, frame)};
}

CropGeometry::Typed CropGeometry::typedLeft(ViewRect r, const ViewSize& video, const ViewSize& frame, double left) {
    r.x = std::min(std::max(left, 0.0), video.width - r.width);
    return {r, insideBox(r, video, frame)};
}

CropGeometry::Typed CropGeometry::typedTop(ViewRect r, const ViewSize& video, const ViewSize& frame, double top) {
    r.y = std::min(std::max(0.0, video.height - r.height - top), video.height - r.height);
    return {r, insideBox(r, video, frame)};
}

int CropGeometry::rotatedRight(int angle) {
    switch (angle) {
    case 0:
    case 360:
        return 90;
    case 90:
        return 180;
    case 180:
        return 270;
    case 270:
        return 0;
    default:
        return angle;
    }
}

int CropGeometry::rotatedLeft(int angle) {
    switch (angle) {
    case 0:
    case 360:
        return 270;
    case 90:
        return 0;
    case 180:
        return 90;
    case 270:
        return 180;
    default:
        return angle;
    }
}
