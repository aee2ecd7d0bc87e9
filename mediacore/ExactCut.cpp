#include "ExactCut.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libavutil/samplefmt.h>
}

namespace mediacore {

ExactCut::ExactCut(AVRational timeBase, int64_t startTicks, int64_t stopTicks)
    : _timeBase(timeBase), _start(startTicks), _stop(stopTicks) {}

FramePtr ExactCut::restamped(FramePtr frame) const {
    if (frame->pts < _start)
        frame->pts = _start;
    return frame;
}

void ExactCut::pushVideo(FramePtr frame, std::vector<FramePtr>& out) {
    if (_finished)
        return;
    if (frame->pts == AV_NOPTS_VALUE) {
        out.push_back(std::move(frame));
        return;
    }
    if (frame->pts >= _stop) {
        _finished = true;
        flushVideo(out);
        return;
    }
    if (frame->pts <= _start) {
        _held = std::move(frame);
        return;
    }
    flushVideo(out);
    out.push_back(std::move(frame));
}

void ExactCut::flushVideo(std::vector<FramePtr>& out) {
    if (_held)
        out.push_back(restamped(std::move(_held)));
}

FramePtr ExactCut::cutAudio(FramePtr frame) {
    if (_finished || !frame)
        return nullptr;
    if (frame->pts == AV_NOPTS_VALUE || frame->sample_rate <= 0)
        return frame;
    AVRational sampleTime{1, frame->sample_rate};
    auto toSamples = [&](int64_t ticks) {
        return av_rescale_q_rnd(ticks, _timeBase, sampleTime,
                                static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
    };
    int64_t skip = std::max<int64_t>(0, toSamples(_start - frame->pts));
    int64_t end = frame->nb_samples;
    if (_stop != INT64_MAX)
        end = std::min<int64_t>(end, toSamples(_stop - frame->pts));
    if (end <= 0) {
        _finished = true; // the frame starts at or after the stop
        return nullptr;
    }
    if (skip >= end)
        return nullptr; // wholly before the start
    if (end < frame->nb_samples)
        _finished = true;
    if (skip == 0 && end == frame->nb_samples)
        return frame;

    FramePtr part = makeFrame();
    part->format = frame->format;
    part->sample_rate = frame->sample_rate;
    if (av_channel_layout_copy(&part->ch_layout, &frame->ch_layout) < 0)
        return nullptr;
    part->nb_samples = static_cast<int>(end - skip);
    if (av_frame_get_buffer(part.get(), 0) < 0 || av_frame_copy_props(part.get(), frame.get()) < 0)
        return nullptr;
    av_samples_copy(part->extended_data, frame->extended_data, 0, static_cast<int>(skip), part->nb_samples,
                    frame->ch_layout.nb_channels, static_cast<AVSampleFormat>(frame->format));
    part->pts = frame->pts + av_rescale_q(skip, sampleTime, _timeBase);
    part->pkt_duration = av_rescale_q(part->nb_samples, sampleTime, _timeBase);
    return part;
}

} // namespace mediacore
