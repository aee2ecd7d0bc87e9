#include "LQUICliperModel.h"

#include <algorithm>
#include <cmath>

namespace {
double single(double v) {
    return static_cast<double>(static_cast<float>(v));
}
} // namespace

LQUICliperModel::LQUICliperModel(const ViewRect& frame) : _oFrame(frame) {
    // The panels start as one-point strips along the edges; the box field is the whole frame until a redraw.
    _x = 1;
    _y = 1;
    _x2 = frame.width - 1;
    _y2 = frame.height - 1;
    _cliprect = {0, 0, frame.width, frame.height};
}

ViewRect LQUICliperModel::centredSquare() const {
    const double W = _oFrame.width, H = _oFrame.height;
    const double s = single(std::min(W, H));
    return {single((W - s) / 2), single((H - s) / 2), s, s};
}

void LQUICliperModel::setFrameRect(const ViewRect& frame) {
    _oFrame = frame;
    _cliprect = centredSquare();
    redraw();
}

void LQUICliperModel::setVideoSize(const ViewSize& size) {
    _videoSize = size;
    _cliprect = centredSquare();
    redraw();
}

bool LQUICliperModel::presetBox(int type, const ViewSize& size, ViewRect& box) {
    const double W = size.width, H = size.height;
    if (type < 1 || type > 7 || W <= 0 || H <= 0)
        return false;
    const double r = W / H;
    double w = W, h = H;
    switch (type) {
    case 1:
    case 3:
        w = h = std::min(W, H);
        break;
    case 2:
        break;
    case 4:
        if (r > 16.0 / 9) {
            w = 16 * H / 9;
        } else {
            h = 9 * W / 16;
        }
        break;
    case 5:
        if (r > 9.0 / 16) {
            w = 9 * H / 16;
        } else {
            h = 16 * W / 9;
        }
        break;
    case 6:
        if (r > 4.0 / 3) {
            w = 12 * H / 9;
        } else {
            h = 9 * W / 12;
        }
        break;
    case 7:
        if (r > 3.0 / 4) {
            w = 9 * H / 12;
        } else {
            h = 12 * W / 9;
        }
        break;
    }
    box = {single((W - w) / 2), single((H - h) / 2), single(w), single(h)};
    return true;
}

void LQUICliperModel::setCropType(int type) {
    _cropType = type;
    ViewRect box;
    if (presetBox(type, _oFrame.size(), box))
        _cliprect = box;
}

void LQUICliperModel::setClipRect(const ViewRect& rect) {
    const double w = std::max(60.0, std::min(rect.width, _oFrame.width));
    const double h = std::max(60.0, std::min(rect.height, _oFrame.height));
    setSides(rect.x, rect.y, rect.x + w, rect.y + h);
    _cliprect = {rect.x, rect.y, w, h};
}

double LQUICliperModel::getclipRectScale() const {
    const float frameWidth = static_cast<float>(_oFrame.width);
    if (frameWidth == 0)
        return 0;
    return static_cast<float>(_videoSize.width) / frameWidth;
}

ViewRect LQUICliperModel::getclipRect() const {
    const double s = getclipRectScale();
    return {_cliprect.x * s, _cliprect.y * s, _cliprect.width * s, _cliprect.height * s};
}

ViewRect LQUICliperModel::getPercentClipRect() const {
    const double W = _oFrame.width, H = _oFrame.height;
    if (W <= 0 || H <= 0)
        return {};
    return {_cliprect.x / W, _cliprect.y / H, _cliprect.width / W, _cliprect.height / H};
}

void LQUICliperModel::redraw() {
    _cliprect = {single(_x), single(_y), single(_x2 - _x), single(_y2 - _y)};
}

void LQUICliperModel::setSides(double x, double y, double x2, double y2) {
    _x = x;
    _y = y;
    _x2 = x2;
    _y2 = y2;
}

int LQUICliperModel::press(const ViewPoint& point) {
    _touchBeginPoint = point;
    const double px = single(point.x), py = single(point.y);
    const double x = _cliprect.x, y = _cliprect.y, w = _cliprect.width, h = _cliprect.height;
    const bool middleRow = y + h / 2 - 20 < py && py < y + h / 2 + 20;
    const bool middleColumn = x + w / 2 - 20 < px && px < x + w / 2 + 20;
    const bool nearTop = std::fabs(py - (y + h)) < 30;
    const bool nearBottom = std::fabs(py - y) < 30;
    int code = None;
    if (std::fabs(px - x) < 20) {
        code = nearTop ? TopLeft : nearBottom ? BottomLeft : middleRow ? LeftMiddle : None;
    } else if (std::fabs(px - (x + w)) < 20) {
        code = nearTop ? TopRight : nearBottom ? BottomRight : middleRow ? RightMiddle : None;
    } else if (nearBottom) {
        code = middleColumn ? BottomMiddle : None;
    } else if (nearTop) {
        code = middleColumn ? TopMiddle : None;
    } else if (x < px && px < x + w && y < py && py < y + h) {
        code = Move;
        _left = point.x - x;
        _bottom = point.y - y;
    }
    if (code != None)
        _cropTouchPoint = code;
    return code;
}

void LQUICliperModel::moveTo(const ViewPoint& p) {
    const double w = _cliprect.width, h = _cliprect.height;
    double x = p.x - _left, y = p.y - _bottom;
    if (x < 0)
        x = 0;
    else if (x > _oFrame.width - w)
        x = _oFrame.width - w;
    if (y < 0)
        y = 0;
    else if (y > _oFrame.height - h)
        y = _oFrame.height - h;
    _cliprect.x = x;
    _cliprect.y = y;
    setSides(x, y, x + w, y + h);
}

void LQUICliperModel::drag(const ViewPoint& point) {
    const ViewPoint p{std::max(0.0, std::min(point.x, _oFrame.width)),
                      std::max(0.0, std::min(point.y, _oFrame.height))};
    if (_cropType == KeepAspect) {
        mouseMove(p);
        return;
    }
    double left = _cliprect.x, bottom = _cliprect.y;
    double right = left + _cliprect.width, top = bottom + _cliprect.height;
    switch (_cropTouchPoint) {
    case TopLeft:
        left = std::min(p.x, right - 20);
        top = std::max(p.y, bottom + 20);
        break;
    case TopRight:
        right = std::max(p.x, left + 20);
        top = std::max(p.y, bottom + 20);
        break;
    case BottomLeft:
        left = std::min(p.x, right - 20);
        bottom = std::min(p.y, top - 20);
        break;
    case BottomRight:
        right = std::max(p.x, left + 20);
        bottom = std::min(p.y, top - 20);
        break;
    case LeftMiddle:
        left = std::min(p.x, right - 40);
        break;
    case RightMiddle:
        right = std::max(p.x, left + 20);
        break;
    case TopMiddle:
        top = std::max(p.y, bottom + 20);
        break;
    case BottomMiddle:
        bottom = std::min(p.y, top - 20);
        break;
    case Move:
        moveTo(p);
        redraw();
        return;
    default:
        redraw();
        return;
    }
    setSides(left, bottom, right, top);
    redraw();
}

void LQUICliperModel::mouseMove(const ViewPoint& p) {
    const int code = _cropTouchPoint;
    if (code == Move) {
        moveTo(p);
        redraw();
        return;
    }
    if (code < TopLeft || code > BottomRight || _videoSize.height <= 0) {
        redraw();
        return;
    }
    const float a = static_cast<float>(_videoSize.width) / static_cast<float>(_videoSize.height);
    double left = _cliprect.x, bottom = _cliprect.y;
    double right = left + _cliprect.width, top = bottom + _cliprect.height;
    const bool topCorner = code == TopLeft || code == TopRight;
    const bool leftCorner = code == TopLeft || code == BottomLeft;
    double hPrime = topCorner ? p.y - bottom : top - p.y;
    // The width follows the height: limit the height so that the width stays inside the overlay.
    const double room = leftCorner ? right : _oFrame.width - left;
    if (a > 0 && hPrime * a > room)
        hPrime = room / a;
    const double wPrime = static_cast<float>(a * static_cast<float>(hPrime));
    if (leftCorner)
        left = std::min(right - 20, right - wPrime);
    else
        right = std::max(left + wPrime, left + 20);
    if (topCorner)
        top = std::max(bottom + hPrime, bottom + 20);
    else
        bottom = std::min(top - hPrime, top - 20);
    setSides(left, bottom, right, top);
    redraw();
}

std::vector<ViewRect> LQUICliperModel::handleRects() const {
    const double x = _x, y = _y, x2 = _x2, y2 = _y2;
    const double w = x2 - x, h = y2 - y;
    std::vector<ViewRect> rects = {
        {x, y, 10, 10}, {x, y2 - 10, 10, 10}, {x2 - 10, y, 10, 10}, {x2 - 10, y2 - 10, 10, 10}};
    if (_cropType != KeepAspect) {
        rects.push_back({x, y + h / 2 - 5, 10, 10});
        rects.push_back({x2 - 10, y + h / 2 - 5, 10, 10});
        rects.push_back({x + w / 2 - 5, y2 - 10, 10, 10});
        rects.push_back({x + w / 2 - 5, y, 10, 10});
    }
    return rects;
}
