#pragma once

class LQTextField;

// The press on an enabled time or number field, which its owner answers by binding its steppers to that field.
// The method is optional.
class LQTextFieldDelegate {
public:
    enum class Method { MouseDown };

    virtual ~LQTextFieldDelegate() = default;
    virtual bool respondsTo(Method) const { return true; }

    virtual void actionMouseDownForTextFieldBlock(LQTextField*) {}
};
