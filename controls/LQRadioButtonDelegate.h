#pragma once

class LQRadioButton;

// The click of the button. The method is optional.
class LQRadioButtonDelegate {
public:
    enum class Method { MouseUp };

    virtual ~LQRadioButtonDelegate() = default;
    virtual bool respondsTo(Method) const { return true; }

    virtual void actionMouseUpForLQRadioButtonBlock(LQRadioButton*) {}
};
