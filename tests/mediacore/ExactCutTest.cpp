#include "ExactCut.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <gtest/gtest.h>

using namespace mediacore;

namespace {
FramePtr videoFrame(int64_t pts) {
    FramePtr frame = makeFrame();
    frame->pts = pts;
    return frame;
}

// Mono 16-bit frame whose samples hold their absolute sample number.
FramePtr audioFrame(int64_t firstSample, int samples) {
    FramePtr frame = makeFrame();
    frame->format = AV_SAMPLE_FMT_S16;
    frame->sample_rate = 1000;
    av_channel_layout_default(&frame->ch_layout, 1);
    frame->nb_samples = samples;
    EXPECT_GE(av_frame_get_buffer(frame.get(), 0), 0);
    auto* data = reinterpret_cast<int16_t*>(frame->data[0]);
    for (int i = 0; i < samples; ++i)
        data[i] = static_cast<int16_t>(firstSample + i);
    frame->pts = firstSample;
    return frame;
}
} // namespace

TEST(ExactCut, VideoKeepsTheFramesShownDuringTheRange) {
    struct Case {
        int64_t start, stop;
        std::vector<int64_t> expected; // output pts
    };
    // Frames every 10 ticks from 0 to 90.
    const Case cases[] = {
        {25, 60, {25, 30, 40, 50}}, // the frame on screen at 25 is the one from 20
        {30, 60, {30, 40, 50}},     // a start on a frame keeps that frame
        {0, INT64_MAX, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90}},
        {85, INT64_MAX, {85, 90}},
        {95, INT64_MAX, {95}}, // past the last frame: the last frame, shown at the start
        {41, 42, {41}},        // a range inside one frame keeps that frame
    };
    for (const Case& c : cases) {
        ExactCut cut(AVRational{1, 100}, c.start, c.stop);
        std::vector<FramePtr> out;
        for (int64_t pts = 0; pts < 100; pts += 10)
            cut.pushVideo(videoFrame(pts), out);
        cut.flushVideo(out);
        std::vector<int64_t> got;
        for (const FramePtr& f : out)
            got.push_back(f->pts);
        EXPECT_EQ(got, c.expected) << "range " << c.start << ".." << c.stop;
        EXPECT_EQ(cut.finished(), c.stop <= 90);
    }
}

TEST(ExactCut, AudioIsCutToTheSample) {
    ExactCut cut(AVRational{1, 1000}, 250, 420);
    std::vector<int16_t> kept;
    int64_t firstPts = -1;
    for (int64_t first = 0; first < 1000 && !cut.finished(); first += 100) {
        FramePtr part = cut.cutAudio(audioFrame(first, 100));
        if (!part)
            continue;
        if (firstPts < 0)
            firstPts = part->pts;
        auto* data = reinterpret_cast<const int16_t*>(part->data[0]);
        kept.insert(kept.end(), data, data + part->nb_samples);
    }
    ASSERT_EQ(kept.size(), 170u);
    EXPECT_EQ(firstPts, 250);
    for (size_t i = 0; i < kept.size(); ++i)
        ASSERT_EQ(kept[i], static_cast<int16_t>(250 + i));
    EXPECT_TRUE(cut.finished());
}
