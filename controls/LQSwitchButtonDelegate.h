#pragma once

class LQSwitchButton;

// The click of the button. The method is optional.
class LQSwitchButtonDelegate {
public:
    enum class Method { MouseUp };

    virtual ~LQSwitchButtonDelegate() = default;
    virtual bool respondsTo(Method) const { return true; }

    virtual void actionMouseUpForSwitchButtonBlock(LQSwitchButton*) {}
};
