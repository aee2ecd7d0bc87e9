#pragma once

#include "RecordProperty.h"

// Four insets in points that place an image button's title; the button reads left and right only.
class MOQPosition {
public:
    MOQPosition(float top, float left, float bottom, float right)
        : _top(top), _left(left), _bottom(bottom), _right(right) {}
    MOQPosition(const MOQPosition&) = delete;
    MOQPosition& operator=(const MOQPosition&) = delete;

    RECORD_PROPERTY(float, top, setTop, 0)
    RECORD_PROPERTY(float, left, setLeft, 0)
    RECORD_PROPERTY(float, bottom, setBottom, 0)
    RECORD_PROPERTY(float, right, setRight, 0)
};
