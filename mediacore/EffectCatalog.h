#pragma once

#include "FilterGraphPlan.h"

#include <string>
#include <vector>

namespace mediacore {

// The picture effects of the editor's effect list, each as the filters that make it. The ids are the ones
// Settings.bundle/EffectList.plist gives its rows (the player and the conversion job take them from there);
// they never change meaning, so a list written for one version works with the next.
class EffectCatalog {
public:
    struct Effect {
        int id;
        std::string name; // English name, as the list file shows it
    };

    // Every effect, in the list's order.
    static const std::vector<Effect>& effects();
    static bool contains(int id);

    // Appends the effect's filters after the plan's tail. False, with nothing appended, for an unknown id.
    static bool append(FilterGraphPlan& plan, int id);
};

} // namespace mediacore
