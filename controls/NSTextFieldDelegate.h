#pragma once

class LQTextField;

// The text-editing calls of a field: whether editing may begin (on the first change by the keyboard), whether it
// may end (Return, Tab or the focus moving elsewhere; NO keeps the field in editing with the rejected text so the
// user corrects it), and each change of the text while editing. Every method is optional.
class NSTextFieldDelegate {
public:
    virtual ~NSTextFieldDelegate() = default;

    virtual bool controlTextShouldBeginEditing(LQTextField*) { return true; }
    virtual bool controlTextShouldEndEditing(LQTextField*) { return true; }
    virtual void controlTextDidChange(LQTextField*) {}
};
