#pragma once

class LQProgressSlider;

// What the one-thumb slider reports. Every method is optional: a delegate leaves out a method by not overriding
// it, and says so through respondsTo() where leaving it out changes what the slider does (a slider whose delegate
// does not take the press does not move on the press).
class LQProgressSliderDelegate {
public:
    enum class Method { MouseUp, MouseDown, Progress };

    virtual ~LQProgressSliderDelegate() = default;
    virtual bool respondsTo(Method) const { return true; }

    // Release, with the value at that moment.
    virtual void actionMouseUpForProgressSliderBlock(LQProgressSlider*, float) {}
    // Press, with the value before the press moves the thumb.
    virtual void actionMouseDownForProgressSliderBlock(LQProgressSlider*, float) {}
    // After every movement of the thumb by the pointer, with the new value.
    virtual void actionProgressForProgressSliderBlock(LQProgressSlider*, float) {}
};
