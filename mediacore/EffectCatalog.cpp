#include "EffectCatalog.h"

#include <algorithm>

namespace mediacore {

namespace {
// The classic sepia matrix (rows: output red, green, blue from input red, green, blue).
const FilterGraphPlan::Options kSepia = {{"rr", "0.393"}, {"rg", "0.769"}, {"rb", "0.189"},
                                         {"gr", "0.349"}, {"gg", "0.686"}, {"gb", "0.168"},
                                         {"br", "0.272"}, {"bg", "0.534"}, {"bb", "0.131"}};

// Filters run on the decoded picture, usually planar YUV: the chroma planes of the emboss are set flat (0 plus
// a bias of 128, neutral grey), the luma plane gets the relief kernel.
const FilterGraphPlan::Options kEmboss = {{"0m", "-2 -1 0 -1 1 1 0 1 2"},
                                          {"1m", "0 0 0 0 0 0 0 0 0"},
                                          {"2m", "0 0 0 0 0 0 0 0 0"},
                                          {"1bias", "128"},
                                          {"2bias", "128"}};

void appendTint(FilterGraphPlan& plan, double redShift) {
    // Shadows and midtones towards red and away from blue (warm) or the reverse (cool); highlights stay white.
    std::string red = std::to_string(redShift), blue = std::to_string(-redShift);
    plan.append("colorbalance", {{"rs", red}, {"rm", red}, {"bs", blue}, {"bm", blue}});
}
} // namespace

const std::vector<EffectCatalog::Effect>& EffectCatalog::effects() {
    static const std::vector<Effect> list = {
        {1, "Gray"}, {2, "Sepia"},    {3, "Negative"}, {4, "Blur"},  {5, "Sharpen"}, {6, "Emboss"},
        {7, "Edge"}, {8, "Vignette"}, {9, "Old Film"}, {10, "Warm"}, {11, "Cool"},
    };
    return list;
}

bool EffectCatalog::contains(int id) {
    const auto& list = effects();
    return std::any_of(list.begin(), list.end(), [id](const Effect& e) { return e.id == id; });
}

bool EffectCatalog::append(FilterGraphPlan& plan, int id) {
    switch (id) {
    case 1: // no colour at all: chroma exactly neutral
        plan.append("hue", {{"s", "0"}});
        return true;
    case 2:
        plan.append("colorchannelmixer", kSepia);
        return true;
    case 3:
        plan.append("negate");
        return true;
    case 4:
        plan.append("gblur", {{"sigma", "4"}});
        return true;
    case 5:
        plan.append("unsharp", {{"luma_msize_x", "5"}, {"luma_msize_y", "5"}, {"luma_amount", "1.5"}});
        return true;
    case 6:
        plan.append("convolution", kEmboss);
        return true;
    case 7: // white lines on black
        plan.append("edgedetect", {{"low", "0.1"}, {"high", "0.3"}});
        plan.append("hue", {{"s", "0"}});
        return true;
    case 8:
        plan.append("vignette", {{"angle", "PI/4"}});
        return true;
    case 9: // sepia, moving grain and darkened corners
        plan.append("colorchannelmixer", kSepia);
        plan.append("noise", {{"alls", "18"}, {"allf", "t"}});
        plan.append("vignette", {{"angle", "PI/4"}});
        return true;
    case 10:
        appendTint(plan, 0.12);
        return true;
    case 11:
        appendTint(plan, -0.12);
        return true;
    default:
        return false;
    }
}

} // namespace mediacore
