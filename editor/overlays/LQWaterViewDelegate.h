#pragma once

#include "ViewRect.h"

class LQWaterView;

// What the watermark overlay reports; every method is optional.
class LQWaterViewDelegate {
public:
    virtual ~LQWaterViewDelegate() = default;

    // At every press while enabled, before the hit test; the rectangle is zero.
    virtual void actionMouseMoveBeginForWaterViewBlock(LQWaterView*, const ViewRect&) {}
    // After each drag step that changed or reported the box: the box in the overlay's points.
    virtual void actionMouseMovedForWaterViewBlock(LQWaterView*, const ViewRect&) {}
    // At every release while enabled: the box as fractions of the overlay's size.
    virtual void actionMouseMoveEndForWaterViewBlock(LQWaterView*, const ViewRect&) {}
};
