#pragma once

#include "libMediaCore.h"

#include <vector>

class LQMoviePlayer;

// What the effect panel sets: the gain of the file's own sound, the three colour adjustments and the chosen
// picture effects (ids in ascending order). A plain value: the export takes a copy when it starts.
struct EffectSettings {
    double volume = 1.0; // 0..2, 1 = the file's own level
    int brightness = 0;  // -255..255
    int contrast = 0;    // -100..100
    int saturation = 0;  // -100..100
    std::vector<int> effectIds;

    bool operator==(const EffectSettings&) const = default;

    // Adds the id when absent, removes it when present; the list stays in ascending order. True when added.
    static bool toggle(std::vector<int>& ids, int id);

    // The preview: gain, adjustments and effects (the effects cleared first).
    void applyTo(LQMoviePlayer& player) const;
    // A conversion job's picture: one effect per id in order, then the adjustments. The first failing engine
    // code, else 1.
    int applyPictureTo(CONVERT_HANDLE job) const;
    // A conversion job's level of the file's own sound: `mainLevel` (the level the export gives it otherwise,
    // 0..1) times the gain, so the output sounds as the preview does.
    int applyLevelTo(CONVERT_HANDLE job, double mainLevel) const;
};
