// The edit stages as plans: which filters, in which order, with which options; run where a frame tells more.

#include "ColourEffectStage.h"
#include "EditTestSupport.h"
#include "EffectCatalog.h"
#include "FilterGraph.h"
#include "FilterGraphBuilder.h"
#include "FontNameReader.h"
#include "SourceBundlePath.h"
#include "SubtitleStage.h"
#include "WatermarkStage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

using namespace mediacore;
namespace fs = std::filesystem;

using enginetest::source320x240;

namespace {

AudioFrameFormat stereo44k() {
    AudioFrameFormat f;
    f.sampleRate = 44100;
    f.sampleFormat = AV_SAMPLE_FMT_FLTP;
    f.channels = 2;
    f.timeBase = AVRational{1, 44100};
    return f;
}

std::vector<std::string> between(const std::vector<std::string>& chain) {
    return chain.size() < 2 ? chain : std::vector<std::string>(chain.begin() + 1, chain.end() - 1);
}

// A 320x240 picture with a luma ramp and varied chroma, so every effect changes something.
FramePtr patternFrame() {
    FramePtr f = makeFrame();
    f->width = 320;
    f->height = 240;
    f->format = AV_PIX_FMT_YUV420P;
    av_frame_get_buffer(f.get(), 0);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            f->data[0][y * f->linesize[0] + x] = static_cast<uint8_t>(16 + (x * 7 + y * 3) % 220);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            f->data[1][y * f->linesize[1] + x] = static_cast<uint8_t>(64 + x % 128);
            f->data[2][y * f->linesize[2] + x] = static_cast<uint8_t>(64 + y % 128);
        }
    return f;
}

// Runs one frame through a video plan; the frame that comes out.
FramePtr runFrame(const FilterGraphPlan& plan, AVFrame* in) {
    FilterGraph graph;
    EXPECT_EQ(graph.open(plan), 0) << plan.describe();
    if (!graph.isOpen())
        return nullptr;
    in->pts = 0;
    EXPECT_GE(graph.push(in), 0);
    EXPECT_GE(graph.push(nullptr), 0);
    FramePtr out = makeFrame();
    return graph.pull(out.get()) >= 0 ? std::move(out) : nullptr;
}

double planeDifference(const AVFrame* a, const AVFrame* b) {
    double sum = 0;
    for (int y = 0; y < a->height; ++y)
        for (int x = 0; x < a->width; ++x)
            sum += std::abs(a->data[0][y * a->linesize[0] + x] - b->data[0][y * b->linesize[0] + x]);
    for (int p = 1; p < 3; ++p)
        for (int y = 0; y < a->height / 2; ++y)
            for (int x = 0; x < a->width / 2; ++x)
                sum += std::abs(a->data[p][y * a->linesize[p] + x] - b->data[p][y * b->linesize[p] + x]);
    return sum / (a->width * a->height * 1.5);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

TEST(EditPlan, EveryEditInItsPlace) {
    ConvertSettings settings;
    settings.hFlip = true;
    settings.vFlip = true;
    settings.rotateAngle = 90;
    settings.brightness = 10;
    settings.effects = {1, 4};
    SUBTITLE_PARAM subtitle{};
    edits::setText(subtitle.path, MediaFixtures::srt());
    subtitle.position = -1;
    settings.subtitle = subtitle;
    IMAGE_WATERMARK_PARAM image{};
    edits::setText(image.path, edits::magentaPng());
    image.rect = {10, 10, 50, 40};
    image.end_time = 1'000'000;
    settings.imageWatermarks = {image};
    settings.cropMargins = RECT{20, 10, 20, 10};
    VideoTarget target;
    target.width = 100;
    target.height = 140;
    target.pixelFormats = {AV_PIX_FMT_YUV420P};

    FilterGraphBuilder builder(settings);
    FilterGraphPlan plan = builder.video(source320x240(), target);
    EXPECT_EQ(between(plan.chain()),
              (std::vector<std::string>{"hflip", "vflip", "transpose", "eq", "hue", "gblur", "subtitles", "overlay",
                                        "crop", "scale", "setsar", "format"}))
        << plan.describe();
    // The crop is measured on the turned picture (240x320).
    EXPECT_EQ(builder.pictureSize(source320x240(), target), std::make_pair(240, 320));
    EXPECT_EQ(builder.editedSize(source320x240(), target), std::make_pair(200, 300));
    const int crop = plan.find("crop");
    EXPECT_EQ(plan.option(crop, "w"), "200");
    EXPECT_EQ(plan.option(crop, "h"), "300");
    EXPECT_EQ(plan.option(crop, "x"), "20");
    EXPECT_EQ(plan.option(crop, "y"), "10");
    // The image is a still picture of its box's size, fed to the overlay's second input.
    ASSERT_EQ(plan.stills().size(), 1u);
    const AVFrame* still = plan.nodes()[plan.stills()[0]].still.get();
    EXPECT_EQ(still->width, 40);
    EXPECT_EQ(still->height, 30);

    FramePtr in = patternFrame();
    FramePtr out = runFrame(plan, in.get());
    ASSERT_TRUE(out);
    EXPECT_EQ(out->width, 100);
    EXPECT_EQ(out->height, 140);

    // No edits: no filters at all between source and sink.
    ConvertSettings none;
    none.cropMargins = RECT{0, 0, 0, 0};
    EXPECT_TRUE(between(FilterGraphBuilder(none).video(source320x240(), VideoTarget()).chain()).empty());
}

TEST(EditPlan, ColourSlidersMapToEq) {
    struct Case {
        int b, c, s;
        std::map<std::string, std::string> options; // empty: no eq at all
    };
    const Case cases[] = {
        {0, 0, 0, {}},
        {255, 100, -100, {{"brightness", "1.0000"}, {"contrast", "2.0000"}, {"saturation", "0.0000"}}},
        {-255, -100, 100, {{"brightness", "-1.0000"}, {"contrast", "0.0000"}, {"saturation", "2.0000"}}},
        {51, 0, 0, {{"brightness", "0.2000"}, {"contrast", "1.0000"}, {"saturation", "1.0000"}}},
        {999, -999, 999, {{"brightness", "1.0000"}, {"contrast", "0.0000"}, {"saturation", "2.0000"}}}, // clamped
    };
    for (const Case& c : cases) {
        FilterGraphPlan::Options options = ColourEffectStage::colourOptions(c.b, c.c, c.s);
        std::map<std::string, std::string> got(options.begin(), options.end());
        EXPECT_EQ(got, c.options) << c.b << " " << c.c << " " << c.s;
    }
}

// Each effect of the list builds, runs and changes the picture; an unknown id adds nothing.
TEST(EditPlan, EveryEffectChangesThePicture) {
    FramePtr in = patternFrame();
    for (const EffectCatalog::Effect& effect : EffectCatalog::effects()) {
        ConvertSettings settings;
        settings.effects = {effect.id};
        FilterGraphPlan plan = FilterGraphBuilder(settings).video(source320x240(), {{}, {}, {}, {AV_PIX_FMT_YUV420P}});
        FramePtr out = runFrame(plan, in.get());
        ASSERT_TRUE(out) << effect.name;
        EXPECT_GT(planeDifference(in.get(), out.get()), 1.0) << effect.name << ": " << plan.describe();
    }
    FilterGraphPlan plan;
    plan.append("buffer");
    EXPECT_FALSE(EffectCatalog::append(plan, 0));
    EXPECT_FALSE(EffectCatalog::append(plan, 9999));
    EXPECT_EQ(plan.nodes().size(), 1u);
}

// The list file the editor reads names the same ids as the engine, and both strings tables name each effect.
TEST(EditPlan, EffectListFileMatchesTheCatalog) {
    const fs::path bundle = CLIPWRIGHT_SOURCE_BUNDLE;
    const std::string plist = readFile(bundle / "EffectList.plist");
    ASSERT_FALSE(plist.empty());
    std::regex entry("<dict>\\s*<key>EffectName</key>\\s*<string>([^<]*)</string>\\s*<key>EffectId</key>\\s*"
                     "<integer>(-?[0-9]+)</integer>\\s*</dict>");
    std::vector<EffectCatalog::Effect> listed;
    for (auto it = std::sregex_iterator(plist.begin(), plist.end(), entry); it != std::sregex_iterator(); ++it)
        listed.push_back({std::stoi((*it)[2]), (*it)[1]});
    const auto& catalog = EffectCatalog::effects();
    ASSERT_EQ(listed.size(), catalog.size());
    for (size_t i = 0; i < catalog.size(); ++i) {
        EXPECT_EQ(listed[i].id, catalog[i].id);
        EXPECT_EQ(listed[i].name, catalog[i].name);
    }
    for (const char* table : {"en.lproj/Main.strings", "zh-Hans.lproj/Main.strings"}) {
        const std::string strings = readFile(bundle / table);
        for (const auto& effect : catalog)
            EXPECT_NE(strings.find("\n\"" + effect.name + "\" = \""), std::string::npos)
                << table << ": " << effect.name;
    }
}

TEST(EditPlan, SubtitleStyleFromTheRecord) {
    SUBTITLE_PARAM s{};
    edits::setText(s.path, "/tmp/cues.srt");
    edits::setText(s.szFontFile, edits::fontFile());
    s.position = -1;
    s.fontsize = 30;
    s.shadow = 1;
    s.fontclr = 0xFF000000u;   // red
    s.shadowclr = 0x0000FF00u; // blue
    std::string style = SubtitleStage::forceStyle(s, 640, 360);
    EXPECT_EQ(style, "PlayResX=640,PlayResY=360,FontName=DejaVu Sans,FontSize=30,PrimaryColour=&H000000FF,"
                     "BackColour=&H00FF0000,Shadow=2");
    s.position = 100;
    s.shadow = 0;
    EXPECT_NE(SubtitleStage::forceStyle(s, 640, 360).find("Shadow=0,Alignment=6,MarginV=100"), std::string::npos);
    s.position = 5000; // below the picture: the last row
    EXPECT_NE(SubtitleStage::forceStyle(s, 640, 360).find("MarginV=359"), std::string::npos);

    // A script keeps its own style; a row moves it, in the script's own units.
    std::string dir = MediaFixtures::freshDir("subtitle-style");
    std::string script = dir + "/cues.ass";
    std::ofstream(script) << "[Script Info]\nScriptType: v4.00+\nPlayResX: 1280\nPlayResY: 720\n\n[Events]\n";
    edits::setText(s.path, script);
    s.position = -1;
    EXPECT_EQ(SubtitleStage::forceStyle(s, 640, 360), "");
    s.position = 90;
    EXPECT_EQ(SubtitleStage::forceStyle(s, 640, 360), "Alignment=6,MarginV=180");

    // The filter gets the file and font folder as options, whatever characters they hold.
    FilterGraphPlan plan;
    plan.append("buffer");
    edits::setText(s.path, dir + "/it's, a: [cue] = ü.srt");
    SubtitleStage::append(plan, s, 640, 360);
    EXPECT_EQ(plan.option(plan.find("subtitles"), "filename"), dir + "/it's, a: [cue] = ü.srt");
    // libass loads every font of that folder: it holds the one font the record names, and nothing else.
    const fs::path fonts = plan.option(plan.find("subtitles"), "fontsdir");
    std::vector<fs::path> inFolder;
    for (const auto& entry : fs::directory_iterator(fonts))
        inFolder.push_back(entry.path());
    ASSERT_EQ(inFolder.size(), 1u) << fonts;
    EXPECT_EQ(fs::canonical(inFolder.front()), fs::canonical(s.szFontFile));
    EXPECT_EQ(SubtitleStage::assColour(0x11223300u), "&H00332211");
    fs::remove_all(dir);
}

TEST(EditPlan, FontNamesFromFontFiles) {
    if (!fs::exists(edits::fontFile()))
        GTEST_SKIP() << "no DejaVu fonts";
    EXPECT_EQ(FontNameReader::read(edits::fontFile()), "DejaVu Sans");
    EXPECT_EQ(FontNameReader::read("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"), "DejaVu Sans Bold");
    EXPECT_EQ(FontNameReader::read(MediaFixtures::png()), "");
    EXPECT_EQ(FontNameReader::read("/no/such/font.ttf"), "");
}

// Watermark windows are on the source timeline; the graph starts at the cut's start.
TEST(EditPlan, WatermarkWindowsFollowTheCut) {
    ConvertSettings settings;
    settings.cutStartUs = 1'000'000;
    WatermarkStage stage(settings, 320, 240);
    EXPECT_EQ(stage.enableExpression(1'500'000, 2'500'000), "gte(t,0.500000)*lt(t,1.500000)");
    EXPECT_EQ(stage.enableExpression(0, 1'250'000), "gte(t,-1.000000)*lt(t,0.250000)");
    EXPECT_EQ(stage.enableExpression(0, 1'000'000), ""); // over before the cut
    EXPECT_EQ(stage.enableExpression(2'000'000, 2'000'000), "");

    // A video watermark whose window began before the cut starts that far into its part.
    VIDEO_WATERMARK_PARAM video{};
    edits::setText(video.path, edits::watermarkVideo());
    video.rect = {0, 0, 32, 24};
    video.start_time = 500'000;
    video.end_time = 2'500'000;
    video.file_start_time = 1'000'000;
    video.file_end_time = 3'000'000;
    settings.videoWatermarks = {video};
    FilterGraphPlan plan = FilterGraphBuilder(settings).video(source320x240(), VideoTarget());
    const int movie = plan.find("movie");
    EXPECT_EQ(plan.option(movie, "filename"), edits::watermarkVideo());
    EXPECT_EQ(plan.option(movie, "seek_point"), "1.500000");
    // From the frame on screen at 1.5 s on, which may have begun up to a frame (40 ms at 25 fps) before.
    EXPECT_EQ(plan.option(plan.find("trim"), "start"), "1.460001");
    EXPECT_EQ(plan.option(plan.find("trim"), "end"), "3.000000");
    EXPECT_EQ(plan.option(plan.find("setpts"), "expr"), "PTS+(-1.500000)/TB");
    EXPECT_EQ(plan.option(plan.find("overlay"), "eof_action"), "pass");
}

// A text is drawn once, on a zeroed canvas the picture's size, and only the touched part is overlaid.
TEST(EditPlan, TextCanvasIsTrimmedToTheDrawnPixels) {
    static int calls;
    static bool zeroed;
    static int canvasWidth, canvasHeight;
    calls = 0;
    ConvertSettings settings;
    settings.drawText = [](int32_t w, int32_t h, void* pixels, TEXT_WATERMARK_PARAM text) {
        ++calls;
        canvasWidth = w;
        canvasHeight = h;
        auto* bytes = static_cast<uint8_t*>(pixels);
        zeroed = std::all_of(bytes, bytes + size_t(w) * h * 4, [](uint8_t b) { return b == 0; });
        // One opaque white pixel at the origin (x from the left, y up from the bottom).
        uint8_t* pixel = bytes + (size_t(h - 1 - text.rect.top) * w + text.rect.left) * 4;
        std::memset(pixel, 255, 4);
    };
    TEXT_WATERMARK_PARAM text{};
    edits::setText(text.text, "x");
    text.rect = {101, 20, 0, 0};
    text.end_time = 1'000'000;
    settings.textWatermarks = {text};
    FilterGraphPlan plan = FilterGraphBuilder(settings).video(source320x240(), VideoTarget());
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(zeroed);
    EXPECT_EQ(canvasWidth, 320);
    EXPECT_EQ(canvasHeight, 240);
    ASSERT_EQ(plan.stills().size(), 1u);
    const AVFrame* still = plan.nodes()[plan.stills()[0]].still.get();
    EXPECT_EQ(still->format, AV_PIX_FMT_BGRA);
    EXPECT_EQ(still->width, 2); // widened to even coordinates
    EXPECT_EQ(still->height, 2);
    const int overlay = plan.find("overlay");
    EXPECT_EQ(plan.option(overlay, "x"), "100");
    EXPECT_EQ(plan.option(overlay, "y"), "218"); // row 219 from the top, widened to 218..219
    EXPECT_EQ(plan.option(overlay, "alpha"), "premultiplied");
}

TEST(EditPlan, MusicTracksAreMixedWithoutNormalising) {
    ConvertSettings settings;
    settings.cutStartUs = 500'000;
    ConvertSettings::Music looped;
    looped.path = edits::music();
    looped.musicStartUs = 0;
    looped.musicEndUs = 2'000'000;
    looped.timelineStartUs = 1'000'000;
    looped.timelineEndUs = 4'000'000; // 3 s place, 2 s part: repeated
    looped.fadeInUs = 1'000'000;
    looped.fadeOutUs = 1'000'000;
    looped.volume = 0.5;
    ConvertSettings::Music early = looped;
    early.musicStartUs = 500'000;
    early.musicEndUs = 1'500'000;
    early.timelineStartUs = 0;
    early.timelineEndUs = 1'000'000; // began before the cut
    early.fadeInUs = early.fadeOutUs = 0;
    early.volume = 1.0;
    ConvertSettings::Music before = early;
    before.timelineEndUs = 400'000; // over before the cut: left out
    settings.music = {looped, early, before};

    AudioTarget target;
    target.sampleFormats = {AV_SAMPLE_FMT_FLTP};
    FilterGraphPlan plan = FilterGraphBuilder(settings).audio(stereo44k(), target);
    const int mix = plan.find("amix");
    ASSERT_GE(mix, 0) << plan.describe();
    EXPECT_EQ(plan.option(mix, "inputs"), "3");
    EXPECT_EQ(plan.option(mix, "normalize"), "0");
    EXPECT_EQ(plan.option(mix, "duration"), "first");
    EXPECT_EQ(plan.count("amovie"), 2);
    EXPECT_EQ(plan.option(plan.find("aloop"), "size"), "88200"); // the 2 s part at 44.1 kHz
    EXPECT_EQ(plan.count("aloop"), 1);
    EXPECT_EQ(plan.count("afade"), 2);
    EXPECT_EQ(plan.option(plan.find("adelay"), "delays"), "22050S"); // 0.5 s after the cut
    EXPECT_EQ(plan.option(plan.find("volume"), "volume"), "0.5");
    EXPECT_EQ(plan.option(plan.find("amovie", plan.find("amovie") + 1), "seek_point"), "0.500000");
    FilterGraph graph;
    EXPECT_EQ(graph.open(plan), 0) << plan.describe();

    // A graph rebuilt 1 s in (the sound changed shape) picks the music up there: the repeated track is half a
    // second into its place, the early one is over.
    target.startUs = 1'000'000;
    plan = FilterGraphBuilder(settings).audio(stereo44k(), target);
    EXPECT_EQ(plan.option(plan.find("amix"), "inputs"), "2");
    EXPECT_EQ(plan.find("adelay"), -1);
    EXPECT_EQ(plan.option(plan.find("atrim", plan.find("afade")), "start_sample"), "22050");
    target.startUs = 0;

    // Without main audio: the music on a silence of the graph's length, at the target's rate and layout.
    target.sampleRate = 48000;
    target.channels = 1;
    target.lengthUs = 2'000'000;
    plan = FilterGraphBuilder(settings).audioWithoutSource(target);
    EXPECT_TRUE(plan.sources().empty());
    const int silence = plan.find("anullsrc");
    ASSERT_GE(silence, 0);
    EXPECT_EQ(plan.option(silence, "channel_layout"), "mono");
    EXPECT_EQ(plan.option(plan.find("atrim"), "end_sample"), "96000");
    ASSERT_EQ(graph.open(plan), 0) << plan.describe();
    int64_t samples = 0;
    FramePtr frame = makeFrame();
    int rc;
    while ((rc = graph.pull(frame.get())) >= 0) {
        samples += frame->nb_samples;
        av_frame_unref(frame.get());
    }
    EXPECT_EQ(rc, AVERROR_EOF);
    EXPECT_EQ(samples, 96000);
}
