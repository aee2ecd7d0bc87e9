#pragma once

#include "LQProgressSliderDelegate.h"

#include <functional>
#include <utility>

// The delegate of a one-thumb slider whose owner wants only its value (a preview's volume): the press, every
// movement and the release each report the slider's value to `changed`. The owner keeps it as long as the slider
// may call it.
class SliderValueDelegate : public LQProgressSliderDelegate {
public:
    explicit SliderValueDelegate(std::function<void(float)> changed) : _changed(std::move(changed)) {}

    void actionMouseUpForProgressSliderBlock(LQProgressSlider*, float value) override { _changed(value); }
    void actionMouseDownForProgressSliderBlock(LQProgressSlider*, float value) override { _changed(value); }
    void actionProgressForProgressSliderBlock(LQProgressSlider*, float value) override { _changed(value); }

private:
    std::function<void(float)> _changed;
};
