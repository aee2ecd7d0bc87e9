#include "FilterGraphBuilder.h"

#include "ColourEffectStage.h"
#include "MusicMixStage.h"
#include "SubtitleStage.h"
#include "WatermarkStage.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libavutil/pixdesc.h>
}

#include <cmath>
#include <cstdio>

namespace mediacore {

namespace {
std::string rational(AVRational value) {
    return std::to_string(value.num) + "/" + std::to_string(value.den);
}

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string channelLayoutName(int channels, uint64_t mask) {
    AVChannelLayout layout{};
    if (mask == 0 || av_channel_layout_from_mask(&layout, mask) < 0)
        av_channel_layout_default(&layout, channels);
    char text[128] = {};
    av_channel_layout_describe(&layout, text, sizeof text);
    av_channel_layout_uninit(&layout);
    return text;
}
} // namespace

int FilterGraphBuilder::normaliseAngle(int degrees) {
    int quarters = static_cast<int>(std::lround(degrees / 90.0));
    return ((quarters % 4) + 4) % 4 * 90;
}

int FilterGraphBuilder::totalRotation(const VideoFrameFormat& source, const VideoTarget& target) const {
    int angle = target.applyStreamRotation ? source.rotation : 0;
    if (_settings.rotateAngle)
        angle += *_settings.rotateAngle;
    return normaliseAngle(angle);
}

std::pair<int, int> FilterGraphBuilder::pictureSize(const VideoFrameFormat& source, const VideoTarget& target) const {
    int w = source.width, h = source.height;
    if (totalRotation(source, target) % 180 == 90)
        std::swap(w, h);
    return {w, h};
}

std::pair<int, int> FilterGraphBuilder::editedSize(const VideoFrameFormat& source, const VideoTarget& target) const {
    auto [w, h] = pictureSize(source, target);
    if (_settings.cropMargins) {
        const RECT& m = *_settings.cropMargins;
        w -= m.left + m.right;
        h -= m.top + m.bottom;
    }
    return {w, h};
}

void FilterGraphBuilder::addRotation(FilterGraphPlan& plan, int clockwise) const {
    switch (normaliseAngle(clockwise)) {
    case 90:
        plan.append("transpose", {{"dir", "clock"}});
        break;
    case 180:
        plan.append("hflip");
        plan.append("vflip");
        break;
    case 270:
        plan.append("transpose", {{"dir", "cclock"}});
        break;
    default:
        break;
    }
}

FilterGraphPlan FilterGraphBuilder::video(const VideoFrameFormat& source, const VideoTarget& target) const {
    FilterGraphPlan plan;
    AVRational aspect = source.sampleAspect.num > 0 ? source.sampleAspect : AVRational{1, 1};
    FilterGraphPlan::Options bufferOptions = {
        {"video_size", std::to_string(source.width) + "x" + std::to_string(source.height)},
        {"pix_fmt", av_get_pix_fmt_name(source.pixelFormat) ? av_get_pix_fmt_name(source.pixelFormat) : "yuv420p"},
        {"time_base", rational(source.timeBase)},
        {"pixel_aspect", rational(aspect)}};
    if (source.frameRate.num > 0)
        bufferOptions.push_back({"frame_rate", rational(source.frameRate)});
    plan.append("buffer", std::move(bufferOptions));

    if (target.applyStreamRotation) {
        addRotation(plan, source.rotation);
        if (source.mirrored)
            plan.append("hflip");
    }
    if (_settings.hFlip)
        plan.append("hflip");
    if (_settings.vFlip)
        plan.append("vflip");
    if (_settings.rotateAngle)
        addRotation(plan, *_settings.rotateAngle);

    auto [pictureWidth, pictureHeight] = pictureSize(source, target);
    ColourEffectStage::append(plan, _settings);
    if (_settings.subtitle)
        SubtitleStage::append(plan, *_settings.subtitle, pictureWidth, pictureHeight, _settings.cutStartUs);
    // Output frame k (at k / rate) is the frame on screen at that time: the last one at or before it. Rounding
    // up does that, also for the end, so a range gives ceil(length * rate) frames. It comes before the watermarks,
    // where it sees the input's end time: a filter that joins two inputs (a watermark's overlay) ends its output
    // at its last frame's start, which would leave the last frame out. (After the subtitles: their shift of the
    // timeline is exact only in the source's time base.)
    if (target.frameRate.num > 0)
        plan.append("fps", {{"fps", rational(target.frameRate)}, {"round", "up"}});
    WatermarkStage(_settings, pictureWidth, pictureHeight).append(plan);
    if (_settings.cropMargins) {
        // Margins that leave no picture are refused before a graph is built (EditChecks::croppedSize).
        const RECT& m = *_settings.cropMargins;
        const int w = pictureWidth - m.left - m.right, h = pictureHeight - m.top - m.bottom;
        if ((m.left || m.top || m.right || m.bottom) && w > 0 && h > 0)
            plan.append("crop", {{"w", std::to_string(w)},
                                 {"h", std::to_string(h)},
                                 {"x", std::to_string(m.left)},
                                 {"y", std::to_string(m.top)}});
    }

    auto [w, h] = editedSize(source, target);
    if (target.width > 0 && target.height > 0 && (target.width != w || target.height != h)) {
        plan.append("scale", {{"w", std::to_string(target.width)}, {"h", std::to_string(target.height)}});
        // The size asked for is the displayed size: square pixels, whatever the source's pixel aspect was.
        plan.append("setsar", {{"sar", "1"}});
    }
    if (!target.pixelFormats.empty()) {
        std::string names;
        for (AVPixelFormat format : target.pixelFormats)
            if (const char* name = av_get_pix_fmt_name(format))
                names += (names.empty() ? "" : "|") + std::string(name);
        plan.append("format", {{"pix_fmts", names}});
    }
    plan.append("buffersink");
    return plan;
}

FilterGraphPlan FilterGraphBuilder::audio(const AudioFrameFormat& source, const AudioTarget& target) const {
    FilterGraphPlan plan;
    const char* formatName = av_get_sample_fmt_name(source.sampleFormat);
    plan.append("abuffer", {{"time_base", rational(source.timeBase)},
                            {"sample_rate", std::to_string(source.sampleRate)},
                            {"sample_fmt", formatName ? formatName : "fltp"},
                            {"channel_layout", channelLayoutName(source.channels, source.channelMask)}});
    if (_settings.mainAudioVolume != 1.0)
        plan.append("volume", {{"volume", number(_settings.mainAudioVolume)}});
    if (!_settings.music.empty()) {
        MusicMixStage::Mix mix;
        mix.sampleRate = source.sampleRate;
        mix.channelLayout = channelLayoutName(source.channels, source.channelMask);
        mix.lengthUs = target.lengthUs;
        mix.startUs = target.startUs;
        MusicMixStage::append(plan, _settings, mix);
    }
    addAudioEnd(plan, target);
    return plan;
}

FilterGraphPlan FilterGraphBuilder::audioWithoutSource(const AudioTarget& target) const {
    FilterGraphPlan plan;
    MusicMixStage::Mix mix;
    mix.sampleRate = target.sampleRate > 0 ? target.sampleRate : 48000;
    mix.channelLayout = channelLayoutName(target.channels > 0 ? target.channels : 2, 0);
    mix.lengthUs = target.lengthUs;
    MusicMixStage::append(plan, _settings, mix);
    addAudioEnd(plan, target);
    return plan;
}

void FilterGraphBuilder::addAudioEnd(FilterGraphPlan& plan, const AudioTarget& target) const {
    FilterGraphPlan::Options format;
    if (!target.sampleFormats.empty()) {
        std::string names;
        for (AVSampleFormat f : target.sampleFormats)
            if (const char* name = av_get_sample_fmt_name(f))
                names += (names.empty() ? "" : "|") + std::string(name);
        format.push_back({"sample_fmts", names});
    }
    if (target.sampleRate > 0)
        format.push_back({"sample_rates", std::to_string(target.sampleRate)});
    if (target.channels > 0)
        format.push_back({"channel_layouts", channelLayoutName(target.channels, 0)});
    if (!format.empty())
        plan.append("aformat", std::move(format));
    plan.append("abuffersink");
}

} // namespace mediacore
