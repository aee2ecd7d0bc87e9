#include "ColourEffectStage.h"

#include "EffectCatalog.h"

#include <algorithm>
#include <cstdio>

namespace mediacore {

namespace {
std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}
} // namespace

FilterGraphPlan::Options ColourEffectStage::colourOptions(int brightness, int contrast, int saturation) {
    brightness = std::clamp(brightness, -255, 255);
    contrast = std::clamp(contrast, -100, 100);
    saturation = std::clamp(saturation, -100, 100);
    if (brightness == 0 && contrast == 0 && saturation == 0)
        return {};
    return {{"brightness", number(brightness / 255.0)},
            {"contrast", number(1.0 + contrast / 100.0)},
            {"saturation", number(1.0 + saturation / 100.0)}};
}

void ColourEffectStage::append(FilterGraphPlan& plan, const ConvertSettings& settings) {
    FilterGraphPlan::Options colour = colourOptions(settings.brightness, settings.contrast, settings.saturation);
    if (!colour.empty())
        plan.append("eq", std::move(colour));
    for (int id : settings.effects)
        EffectCatalog::append(plan, id); // ids were checked when they were added
}

} // namespace mediacore
