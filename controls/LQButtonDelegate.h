#pragma once

class LQButton;

// The click of the button. The method is optional.
class LQButtonDelegate {
public:
    enum class Method { MouseUp };

    virtual ~LQButtonDelegate() = default;
    virtual bool respondsTo(Method) const { return true; }

    virtual void actionMouseUpForLQButtonBlock(LQButton*) {}
};
