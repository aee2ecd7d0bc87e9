#include "EffectSettings.h"

#include "LQMoviePlayer.h"

#include <algorithm>

bool EffectSettings::toggle(std::vector<int>& ids, int id) {
    const auto found = std::find(ids.begin(), ids.end(), id);
    const bool added = found == ids.end();
    if (added)
        ids.push_back(id);
    else
        ids.erase(found);
    std::sort(ids.begin(), ids.end());
    return added;
}

void EffectSettings::applyTo(LQMoviePlayer& player) const {
    player.SetVolume(volume);
    player.SetBCS(brightness, contrast, saturation);
    player.ClearImageEffect();
    for (int id : effectIds)
        player.AddImageEffect(id);
}

int EffectSettings::applyPictureTo(CONVERT_HANDLE job) const {
    for (int id : effectIds)
        if (int rc = apiMediaConvertAddImageEffect(job, id); rc <= 0)
            return rc;
    return apiMediaConvertAdjustBCS(job, brightness, contrast, saturation);
}

int EffectSettings::applyLevelTo(CONVERT_HANDLE job, double mainLevel) const {
    return apiMediaConvertSetMaineAudioVolume(job, std::clamp(mainLevel, 0.0, 1.0) * std::clamp(volume, 0.0, 2.0));
}
