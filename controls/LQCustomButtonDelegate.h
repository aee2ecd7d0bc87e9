#pragma once

class LQCustomButton;

// The click of a composite tile. Both methods are optional; the tile never sends the mouse-down one.
class LQCustomButtonDelegate {
public:
    enum class Method { MouseUp, MouseDown };

    virtual ~LQCustomButtonDelegate() = default;
    virtual bool respondsTo(Method) const { return true; }

    virtual void actionMouseUpForCustomButtonBlock(LQCustomButton*) {}
    virtual void actionMouseDownForCustomButtonBlock(LQCustomButton*) {}
};
