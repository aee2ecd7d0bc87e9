#include "WaterViewModel.h"

#include <algorithm>
#include <cmath>

namespace {
double single(double v) {
    return static_cast<double>(static_cast<float>(v));
}
} // namespace

WaterViewModel::WaterViewModel(const ViewRect& frame) : _oFrame(frame), _width(frame.width), _height(frame.height) {
    setSides(1, 1, frame.width - 1, frame.height - 1);
}

void WaterViewModel::setFrameRect(const ViewRect& frame) {
    _oFrame = frame;
    _width = frame.width;
    _height = frame.height;
}

void WaterViewModel::setSides(double x, double y, double x2, double y2) {
    _x = x;
    _y = y;
    _x2 = x2;
    _y2 = y2;
    _cliprect = {single(x), single(y), single(x2 - x), single(y2 - y)};
}

void WaterViewModel::setScale_Type(int type) {
    _scaleType = type;
    if (type == 3 && hasImage()) {
        const double h = single(_cliprect.height);
        const double w = single(aspect() * h);
        setSides(_cliprect.x, _cliprect.y, _cliprect.x + w, _cliprect.y + h);
    }
}

void WaterViewModel::setClipRect(const ViewRect& rect) {
    const double h = std::max(10.0, std::min(rect.height, _height));
    const double w = std::max(10.0, std::min(rect.width, _width));
    setSides(rect.x, rect.y, rect.x + w, rect.y + h);
}

ViewRect WaterViewModel::getclipRect() const {
    const float factor = _oFrame.width > 0 ? static_cast<float>(_videoSize.width / _oFrame.width) : 0.0f;
    return {static_cast<float>(_cliprect.x) * factor, static_cast<float>(_cliprect.y) * factor,
            static_cast<float>(_cliprect.width) * factor, static_cast<float>(_cliprect.height) * factor};
}

ViewRect WaterViewModel::getPercentImageClipRect() const {
    if (_width <= 0 || _height <= 0)
        return {};
    return {_cliprect.x / _width, _cliprect.y / _height, _cliprect.width / _width, _cliprect.height / _height};
}

ViewRect WaterViewModel::getPercentTextClipRect() const {
    // The text box is the box of the last text-mode redraw, which is the box on screen.
    return getPercentImageClipRect();
}

ViewRect WaterViewModel::getCheckClipRect(const ViewRect& r) const {
    if ((r.width > _width || r.height > _height) && r.width > 0 && r.height / r.width > _height / _width)
        return {r.x, r.y, single(_height / r.height * r.width), single(_height)};
    return r;
}

int WaterViewModel::zone(const ViewPoint& p) const {
    const double x = _cliprect.x, y = _cliprect.y, w = _cliprect.width, h = _cliprect.height;
    const double x2 = x + w, y2 = y + h;
    const bool midY = y + h / 2 - 10 < p.y && p.y < y + h / 2 + 10;
    const bool midX = x + w / 2 - 10 < p.x && p.x < x + w / 2 + 10;
    if (std::fabs(p.x - x) < 20) {
        if (std::fabs(p.y - y2) < 10)
            return TopLeft;
        if (std::fabs(p.y - y) < 10)
            return BottomLeft;
        return midY ? LeftMiddle : -1;
    }
    if (std::fabs(p.x - x2) < 20) {
        if (std::fabs(p.y - y2) < 10)
            return TopRight;
        if (std::fabs(p.y - y) < 10)
            return BottomRight;
        return midY ? RightMiddle : -1;
    }
    if (std::fabs(p.y - y) < 10)
        return midX ? BottomMiddle : -1;
    if (std::fabs(p.y - y2) < 10)
        return midX ? TopMiddle : -1;
    if (x < p.x && p.x < x2 && y < p.y && p.y < y2)
        return Move;
    return -2;
}

WaterViewModel::PressResult WaterViewModel::press(const ViewPoint& p) {
    if (!_enabled)
        return {};
    _touchBeginPoint = p;
    _isTouchPointInClipRect = _cliprect.contains(p);
    if (!imageMode()) {
        _moveTouchPoint = Move;
        _left = static_cast<float>(p.x - _cliprect.x);
        _bottom = static_cast<float>(p.y - _cliprect.y);
    } else {
        const int code = zone({single(p.x), single(p.y)});
        if (code == -2)
            return {true, Cursor::Unchanged};
        if (code >= 0)
            _moveTouchPoint = code;
        if (code == Move) {
            _left = static_cast<float>(p.x - _cliprect.x);
            _bottom = static_cast<float>(p.y - _cliprect.y);
        }
    }
    if (!_hasContent)
        return {true, Cursor::Unchanged};
    if (!_isTouchPointInClipRect)
        return {true, Cursor::Arrow};
    if (_moveTouchPoint == LeftMiddle || _moveTouchPoint == RightMiddle)
        return {true, Cursor::ResizeLeftRight};
    if (_moveTouchPoint == TopMiddle || _moveTouchPoint == BottomMiddle)
        return {true, Cursor::ResizeUpDown};
    return {true, Cursor::ClosedHand};
}

WaterViewModel::Cursor WaterViewModel::hover(const ViewPoint& p) {
    _isTouchPointInClipRect = _cliprect.contains(p);
    if (!_hasContent || _moveTouchPoint != None)
        return Cursor::Unchanged;
    if (!_isTouchPointInClipRect)
        return Cursor::Arrow;
    if (!imageMode())
        return Cursor::OpenHand;
    const int code = zone({single(p.x), single(p.y)});
    const bool inertMiddles = _scaleType == 3 && hasImage();
    switch (code) {
    case TopLeft:
    case TopRight:
    case BottomLeft:
    case BottomRight:
        return Cursor::ResizeLeftRight;
    case LeftMiddle:
    case RightMiddle:
        return inertMiddles ? Cursor::Unchanged : Cursor::ResizeLeftRight;
    case TopMiddle:
    case BottomMiddle:
        return inertMiddles ? Cursor::Unchanged : Cursor::ResizeUpDown;
    case Move:
        return Cursor::OpenHand;
    default:
        return Cursor::Unchanged;
    }
}

void WaterViewModel::moveTo(const ViewPoint& p) {
    const double w = _cliprect.width, h = _cliprect.height;
    double x = p.x - _left;
    if (x < 0)
        x = 0;
    else if (x > _width - w)
        x = _width - w;
    double y = p.y - _bottom;
    if (y < 0)
        y = 0;
    else if (y > _height - h)
        y = _height - h;
    setSides(x, y, x + w, y + h);
}

bool WaterViewModel::drag(const ViewPoint& pointer) {
    if (!_enabled || !_isTouchPointInClipRect)
        return false;
    const ViewPoint p{std::max(0.0, std::min(pointer.x, _width)), std::max(0.0, std::min(pointer.y, _height))};
    if (_scaleType == 2)
        return mouseMove(p);
    double x = _x, y = _y, x2 = _x2, y2 = _y2;
    if (_moveTouchPoint == Move) {
        moveTo(p);
        return true;
    }
    if (!imageMode())
        return true;
    if (_scaleType != 3 || !hasImage()) {
        switch (_moveTouchPoint) {
        case TopLeft:
            x = std::min(p.x, x2 - 10);
            y2 = std::max(p.y, y + 10);
            break;
        case TopRight:
            x2 = std::max(p.x, x + 10);
            y2 = std::max(p.y, y + 10);
            break;
        case BottomLeft:
            x = std::min(p.x, x2 - 10);
            y = std::min(p.y, y2 - 10);
            break;
        case BottomRight:
            x2 = std::max(p.x, x + 10);
            y = std::min(p.y, y2 - 10);
            break;
        case LeftMiddle:
            x = std::min(p.x, x2 - 40);
            break;
        case RightMiddle:
            x2 = std::max(p.x, x + 10);
            break;
        case TopMiddle:
            y2 = std::max(p.y, y + 10);
            break;
        case BottomMiddle:
            y = std::min(p.y, y2 - 10);
            break;
        default:
            return true;
        }
        setSides(x, y, x2, y2);
        return true;
    }
    const double a = aspect();
    switch (_moveTouchPoint) {
    case TopLeft: {
        x = std::min(p.x, x2 - 10);
        const double w = single(x2 - x);
        const double h = single(w / a);
        y2 = std::min(y + h, _height);
        break;
    }
    case TopRight: {
        const double right = std::max(p.x, x + 10);
        const double h = single(std::min(_height - y, (right - x) / a));
        const double w = single(a * h);
        x2 = std::min(right, x + w);
        y2 = std::min(y + h, _height);
        break;
    }
    case BottomLeft: {
        x = std::min(p.x, x2 - 10);
        const double w = single(x2 - x);
        y = y2 - single(w / a);
        break;
    }
    case BottomRight: {
        const double right = std::max(p.x, x + 10);
        const double h = single(std::min(y2, (right - x) / a));
        const double w = single(a * h);
        x2 = std::min(right, x + w);
        y = y2 - h;
        break;
    }
    case LeftMiddle:
    case RightMiddle:
    case TopMiddle:
    case BottomMiddle:
        return false;
    default:
        return true;
    }
    setSides(x, y, x2, y2);
    return true;
}

bool WaterViewModel::mouseMove(const ViewPoint& p) {
    if (!_enabled)
        return false;
    const double v = _videoSize.height > 0 ? single(_videoSize.width / _videoSize.height) : 0;
    double x = _x, y = _y, x2 = _x2, y2 = _y2;
    switch (_moveTouchPoint) {
    case TopLeft: {
        const double h = single(p.y - y);
        const double w = single(v * h);
        y2 = std::min(_height, y + h);
        x = std::min(x2 - w, x2 - 10);
        break;
    }
    case TopRight: {
        const double h = single(p.y - y);
        const double w = single(v * h);
        y2 = std::max(y + 10, y + h);
        x2 = std::max(x + w, x + 10);
        break;
    }
    case BottomLeft: {
        const double h = single(y2 - p.y);
        const double w = single(v * h);
        y = std::min(y2 - h, y2 - 10);
        x = std::min(x2 - w, x2 - 10);
        break;
    }
    case BottomRight: {
        const double h = single(y2 - p.y);
        const double w = single(v * h);
        y = std::min(y2 - h, y2 - 10);
        x2 = std::max(x + w, x + 10);
        break;
    }
    case Move:
        moveTo(p);
        return true;
    default:
        return true;
    }
    setSides(x, y, x2, y2);
    return true;
}

WaterViewModel::PressResult WaterViewModel::release() {
    if (!_enabled)
        return {};
    PressResult result{true, Cursor::Unchanged};
    if (_hasContent)
        result.cursor = _isTouchPointInClipRect ? Cursor::OpenHand : Cursor::Arrow;
    _moveTouchPoint = None;
    return result;
}

std::vector<ViewRect> WaterViewModel::handleRects() const {
    const double x = _cliprect.x, y = _cliprect.y, w = _cliprect.width, h = _cliprect.height;
    const double x2 = x + w, y2 = y + h;
    std::vector<ViewRect> rects = {
        {x, y, 10, 10}, {x, y2 - 10, 10, 10}, {x2 - 10, y2 - 10, 10, 10}, {x2 - 10, y, 10, 10}};
    if (!(_scaleType == 3 && hasImage())) {
        rects.push_back({x, y + h / 2 - 5, 10, 10});
        rects.push_back({x2 - 10, y + h / 2 - 5, 10, 10});
        rects.push_back({x + w / 2 - 5, y2 - 10, 10, 10});
        rects.push_back({x + w / 2 - 5, y, 10, 10});
    }
    return rects;
}
