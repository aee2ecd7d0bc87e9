#pragma once

#include "ConvertSettings.h"
#include "FilterGraphPlan.h"

namespace mediacore {

// Brightness, contrast and saturation (the editor's sliders) and the chosen picture effects.
//
// The sliders run -255..255, -100..100 and -100..100 with 0 meaning unchanged; they become one eq filter:
// brightness b/255 added to the normalised luma, contrast and saturation as factors 1 + c/100 and 1 + s/100
// (0 flattens, 2 doubles). 0, 0, 0 adds no filter at all. The effects follow in the order they were added.
class ColourEffectStage {
public:
    static void append(FilterGraphPlan& plan, const ConvertSettings& settings);

    // The eq filter's options for slider values (clamped to their ranges); empty when all three are 0.
    static FilterGraphPlan::Options colourOptions(int brightness, int contrast, int saturation);
};

} // namespace mediacore
