#pragma once

#include "ViewRect.h"

class LQUICliper;

// What the crop overlay reports; every method is optional.
class LQUICliperDelegate {
public:
    virtual ~LQUICliperDelegate() = default;

    // First thing on every press, before the hit test; the rectangle is zero.
    virtual void actionMoveBeginForLQUICliperBlock(LQUICliper*, const ViewRect&) {}
    // After every drag step, also when nothing moved: the box in the overlay's points.
    virtual void actionMovedForLQUICliperBlock(LQUICliper*, const ViewRect&) {}
    // At a release, only when the overlay's fileType is 1: the box as fractions of the overlay's frame.
    virtual void actionMoveEndForLQUICliperBlock(LQUICliper*, const ViewRect&) {}
};
