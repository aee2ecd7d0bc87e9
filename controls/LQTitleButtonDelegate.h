#pragma once

class LQTitleButton;

// Press and release of a title button, handed over instead of the button's own tracking. Both are optional.
class LQTitleButtonDelegate {
public:
    enum class Method { MouseUp, MouseDown };

    virtual ~LQTitleButtonDelegate() = default;
    virtual bool respondsTo(Method) const { return true; }

    virtual void actionMouseUpForTitleButtonBlock(LQTitleButton*) {}
    virtual void actionMouseDownForTitleButtonBlock(LQTitleButton*) {}
};
