#include "FilterGraphBuilder.h"
#include "EngineTestSupport.h"
#include "FilterGraph.h"

#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace mediacore;

using enginetest::source320x240;

namespace {

std::vector<std::string> without(std::vector<std::string> chain, const std::string& name) {
    chain.erase(std::remove(chain.begin(), chain.end(), name), chain.end());
    return chain;
}

// Runs two grey frames of the source's shape, 1/25 s apart, through the plan; returns the first that comes out.
FramePtr runOneFrame(const FilterGraphPlan& plan, const VideoFrameFormat& source, int64_t pts = 0) {
    FilterGraph graph;
    EXPECT_EQ(graph.open(plan), 0) << plan.describe();
    if (!graph.isOpen())
        return nullptr;
    FramePtr in = makeFrame();
    in->width = source.width;
    in->height = source.height;
    in->format = source.pixelFormat;
    in->pts = pts;
    EXPECT_GE(av_frame_get_buffer(in.get(), 0), 0);
    EXPECT_GE(av_frame_make_writable(in.get()), 0);
    for (int plane = 0; plane < 3; ++plane)
        memset(in->data[plane], 128, in->linesize[plane] * (plane ? source.height / 2 : source.height));
    EXPECT_GE(graph.push(in.get()), 0);
    in->pts += av_rescale_q(1, AVRational{1, 25}, source.timeBase);
    EXPECT_GE(graph.push(in.get()), 0);
    EXPECT_GE(graph.push(nullptr), 0);
    FramePtr out = makeFrame();
    if (graph.pull(out.get()) < 0)
        return nullptr;
    return out;
}
} // namespace

TEST(FilterGraphBuilder, RotationTurnsThePixelsClockwise) {
    struct Case {
        std::optional<int> angle;
        bool applyStreamRotation;
        int streamRotation;
        std::vector<std::string> filters; // between source and sink
        int width, height;
    };
    const Case cases[] = {
        {std::nullopt, false, 0, {}, 320, 240},
        {0, false, 0, {}, 320, 240},
        {90, false, 0, {"transpose"}, 240, 320},
        {180, false, 0, {"hflip", "vflip"}, 320, 240},
        {270, false, 0, {"transpose"}, 240, 320},
        {-90, false, 0, {"transpose"}, 240, 320},
        {450, false, 0, {"transpose"}, 240, 320},
        {360, false, 90, {}, 320, 240},                    // a conversion ignores the stream's rotation
        {std::nullopt, true, 90, {"transpose"}, 240, 320}, // a snapshot applies it
        {90, true, 90, {"transpose", "transpose"}, 320, 240},
    };
    for (const Case& c : cases) {
        ConvertSettings settings;
        settings.rotateAngle = c.angle;
        VideoTarget target;
        target.applyStreamRotation = c.applyStreamRotation;
        VideoFrameFormat source = source320x240(c.streamRotation);
        FilterGraphBuilder builder(settings);
        FilterGraphPlan plan = builder.video(source, target);
        std::vector<std::string> chain = plan.chain();
        ASSERT_GE(chain.size(), 2u);
        EXPECT_EQ(chain.front(), "buffer");
        EXPECT_EQ(chain.back(), "buffersink");
        EXPECT_EQ(std::vector<std::string>(chain.begin() + 1, chain.end() - 1), c.filters) << plan.describe();
        EXPECT_EQ(builder.editedSize(source, target), std::make_pair(c.width, c.height));

        FramePtr out = runOneFrame(plan, source);
        ASSERT_TRUE(out);
        EXPECT_EQ(out->width, c.width);
        EXPECT_EQ(out->height, c.height);
    }
    // The direction: a quarter turn clockwise is transpose "clock", counter-clockwise "cclock".
    ConvertSettings settings;
    settings.rotateAngle = 90;
    FilterGraphPlan plan = FilterGraphBuilder(settings).video(source320x240(), VideoTarget());
    EXPECT_EQ(plan.option(plan.find("transpose"), "dir"), "clock");
    settings.rotateAngle = 270;
    plan = FilterGraphBuilder(settings).video(source320x240(), VideoTarget());
    EXPECT_EQ(plan.option(plan.find("transpose"), "dir"), "cclock");
}

TEST(FilterGraphBuilder, SizeRateAndFormat) {
    ConvertSettings settings;
    VideoTarget target;
    target.width = 640;
    target.height = 360;
    target.frameRate = AVRational{30, 1};
    target.pixelFormats = {AV_PIX_FMT_YUV420P};
    VideoFrameFormat source = source320x240();
    FilterGraphPlan plan = FilterGraphBuilder(settings).video(source, target);
    EXPECT_EQ(without(plan.chain(), "setsar"),
              (std::vector<std::string>{"buffer", "fps", "scale", "format", "buffersink"}));
    EXPECT_EQ(plan.option(plan.find("scale"), "w"), "640");
    EXPECT_EQ(plan.option(plan.find("fps"), "fps"), "30/1");
    EXPECT_EQ(plan.option(plan.find("fps"), "round"), "up");
    EXPECT_EQ(plan.option(plan.find("format"), "pix_fmts"), "yuv420p");
    FramePtr out = runOneFrame(plan, source);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->pts, 0);
    EXPECT_EQ(out->width, 640);
    EXPECT_EQ(out->height, 360);

    // The same size as the source: no scaler at all.
    target.width = 320;
    target.height = 240;
    plan = FilterGraphBuilder(settings).video(source, target);
    EXPECT_EQ(plan.find("scale"), -1);
}

TEST(FilterGraphBuilder, AudioVolumeAndFormat) {
    ConvertSettings settings;
    settings.mainAudioVolume = 0.5;
    AudioFrameFormat source;
    source.sampleRate = 44100;
    source.sampleFormat = AV_SAMPLE_FMT_FLTP;
    source.channels = 2;
    source.timeBase = AVRational{1, 44100};
    AudioTarget target;
    target.sampleRate = 48000;
    target.channels = 1;
    target.sampleFormats = {AV_SAMPLE_FMT_S16};
    FilterGraphPlan plan = FilterGraphBuilder(settings).audio(source, target);
    EXPECT_EQ(plan.chain(), (std::vector<std::string>{"abuffer", "volume", "aformat", "abuffersink"}));
    EXPECT_EQ(plan.option(plan.find("volume"), "volume"), "0.5");
    EXPECT_EQ(plan.option(plan.find("aformat"), "channel_layouts"), "mono");
    EXPECT_EQ(plan.option(plan.find("abuffer"), "channel_layout"), "stereo");
    FilterGraph graph;
    EXPECT_EQ(graph.open(plan), 0) << plan.describe();

    settings.mainAudioVolume = 1.0;
    plan = FilterGraphBuilder(settings).audio(source, AudioTarget());
    EXPECT_EQ(plan.chain(), (std::vector<std::string>{"abuffer", "abuffersink"}));
}

// Option values go to each filter through the option API, so a path may contain anything a file name can.
TEST(FilterGraph, OptionValuesAreNeverParsedAsGraphSyntax) {
    std::string dir = MediaFixtures::freshDir("filtergraph");
    std::string odd = dir + "/it's a \"clip\", part 1:2; [x] = ünïcødé.png";
    std::filesystem::copy_file(MediaFixtures::png(), odd);
    FilterGraphPlan plan;
    plan.append("movie", {{"filename", odd}});
    plan.append("buffersink");
    FilterGraph graph;
    ASSERT_EQ(graph.open(plan), 0) << plan.describe();
    FramePtr frame = makeFrame();
    ASSERT_GE(graph.pull(frame.get()), 0);
    EXPECT_EQ(frame->width, 64);
    EXPECT_EQ(frame->height, 48);
    std::filesystem::remove_all(dir);
}

TEST(FilterGraph, UnknownFilterOrOptionFailsCleanly) {
    FilterGraphPlan plan;
    plan.append("nosuchfilter");
    FilterGraph graph;
    EXPECT_LT(graph.open(plan), 0);
    FilterGraphPlan badOption;
    badOption.append("buffer", {{"video_size", "320x240"}, {"pix_fmt", "yuv420p"}, {"time_base", "1/25"}});
    badOption.append("scale", {{"nosuchoption", "1"}});
    badOption.append("buffersink");
    EXPECT_LT(graph.open(badOption), 0);
    EXPECT_FALSE(graph.isOpen());
}
