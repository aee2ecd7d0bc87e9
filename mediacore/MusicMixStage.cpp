#include "MusicMixStage.h"

#include "Demuxer.h"
#include "EngineLog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace mediacore {

namespace {
std::string samples(int64_t us, int rate) {
    return std::to_string(static_cast<int64_t>(std::llround(us / 1e6 * rate)));
}
} // namespace

int MusicMixStage::track(FilterGraphPlan& plan, const ConvertSettings::Music& music, int64_t cutStartUs,
                         const Mix& mix) {
    const int64_t placeUs = music.timelineEndUs - music.timelineStartUs;
    const int64_t partUs = music.musicEndUs - music.musicStartUs;
    // The mix is sample-counted from its first main frame, so the tracks are placed relative to that frame.
    const int64_t startOnGraph = music.timelineStartUs - cutStartUs - mix.startUs;
    if (placeUs <= 0 || partUs <= 0 || startOnGraph + placeUs <= 0 ||
        (mix.lengthUs > 0 && startOnGraph >= mix.lengthUs - mix.startUs))
        return -1;
    Demuxer file;
    if (file.open(music.path) < 0 || file.firstAudioStream() < 0) {
        EngineLog::failure("open music", AVERROR_STREAM_NOT_FOUND, music.path);
        return -1;
    }
    const int R = mix.sampleRate;
    // amovie gives the file's own timestamps, which start at its start time.
    const int64_t origin = file.originUs();
    FilterGraphPlan::Options source = {{"filename", music.path}, {"si", std::to_string(file.firstAudioStream())}};
    if (music.musicStartUs > 0)
        source.push_back({"seek_point", FilterGraphPlan::seconds(music.musicStartUs)});
    int chain = plan.add("amovie", std::move(source));
    chain = plan.appendTo(chain, "atrim",
                          {{"start", FilterGraphPlan::seconds(origin + music.musicStartUs)},
                           {"end", FilterGraphPlan::seconds(origin + music.musicEndUs)}});
    chain = plan.appendTo(chain, "asetpts", {{"expr", "N/SR/TB"}});
    const bool repeats = placeUs > partUs;
    // A repeated part is held in memory whole; 16-bit samples halve what that costs.
    chain = plan.appendTo(chain, "aformat",
                          {{"sample_fmts", repeats ? "s16p" : "fltp"},
                           {"sample_rates", std::to_string(R)},
                           {"channel_layouts", mix.channelLayout}});
    if (repeats)
        chain = plan.appendTo(chain, "aloop", {{"loop", "-1"}, {"size", samples(partUs, R)}});
    chain = plan.appendTo(chain, "atrim", {{"end_sample", samples(placeUs, R)}});
    // Fades longer than the place are shortened so the two together fit in it.
    int64_t fadeIn = std::max<int64_t>(0, music.fadeInUs), fadeOut = std::max<int64_t>(0, music.fadeOutUs);
    if (fadeIn + fadeOut > placeUs) {
        const double scale = static_cast<double>(placeUs) / static_cast<double>(fadeIn + fadeOut);
        fadeIn = static_cast<int64_t>(fadeIn * scale);
        fadeOut = static_cast<int64_t>(fadeOut * scale);
    }
    if (fadeIn > 0)
        chain = plan.appendTo(chain, "afade",
                              {{"type", "in"}, {"start_time", "0"}, {"duration", FilterGraphPlan::seconds(fadeIn)}});
    if (fadeOut > 0)
        chain = plan.appendTo(chain, "afade",
                              {{"type", "out"},
                               {"start_time", FilterGraphPlan::seconds(placeUs - fadeOut)},
                               {"duration", FilterGraphPlan::seconds(fadeOut)}});
    if (music.volume != 1.0) {
        char volume[32];
        std::snprintf(volume, sizeof volume, "%.6g", std::max(0.0, music.volume));
        chain = plan.appendTo(chain, "volume", {{"volume", volume}});
    }
    if (startOnGraph < 0) {
        // The place began before the cut: the track starts that far in.
        chain = plan.appendTo(chain, "atrim", {{"start_sample", samples(-startOnGraph, R)}});
        chain = plan.appendTo(chain, "asetpts", {{"expr", "N/SR/TB"}});
    } else if (startOnGraph > 0) {
        chain = plan.appendTo(chain, "adelay", {{"delays", samples(startOnGraph, R) + "S"}, {"all", "1"}});
    }
    return chain;
}

void MusicMixStage::append(FilterGraphPlan& plan, const ConvertSettings& settings, const Mix& mix) {
    if (settings.music.empty() && plan.tail() >= 0)
        return;
    std::vector<int> inputs;
    if (plan.tail() >= 0) {
        inputs.push_back(plan.tail());
    } else {
        int silence = plan.add(
            "anullsrc", {{"channel_layout", mix.channelLayout}, {"sample_rate", std::to_string(mix.sampleRate)}});
        // Without a known length the silence lasts until the last track's place ends.
        int64_t lengthUs = mix.lengthUs;
        if (lengthUs <= 0)
            for (const ConvertSettings::Music& music : settings.music)
                lengthUs = std::max(lengthUs, music.timelineEndUs - settings.cutStartUs);
        int length = plan.add("atrim", {{"end_sample", samples(std::max<int64_t>(lengthUs, 0), mix.sampleRate)}});
        plan.link(silence, length);
        inputs.push_back(length);
    }
    for (const ConvertSettings::Music& music : settings.music)
        if (int chain = track(plan, music, settings.cutStartUs, mix); chain >= 0)
            inputs.push_back(chain);
    if (inputs.size() == 1) {
        plan.setTail(inputs[0]);
        return;
    }
    // The first input (main sound or silence) decides the length; sums are not scaled down.
    int mixer = plan.add("amix", {{"inputs", std::to_string(inputs.size())},
                                  {"duration", "first"},
                                  {"dropout_transition", "0"},
                                  {"normalize", "0"}});
    for (size_t i = 0; i < inputs.size(); ++i)
        plan.link(inputs[i], mixer, 0, static_cast<int>(i));
    plan.setTail(mixer);
}

} // namespace mediacore
