#include "JoinPlan.h"

#include "SimpleData.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct ClipSpec {
    double duration = 10;
    double start = 0; // seconds
    double stop = 0;
    bool inverted = false;
    int transition = 0;
    double volume = 1.0;
    QString extension = QStringLiteral("mp4");
    int width = 320;
    int height = 240;
};

std::shared_ptr<SimpleData> clip(const ClipSpec& s) {
    auto c = std::make_shared<SimpleData>();
    c->setPath(QStringLiteral("/clips/c%1.%2").arg(s.duration).arg(s.extension));
    c->sourceData()->setDuration(float(s.duration));
    c->sourceData()->setExtension(s.extension);
    c->sourceData()->setWidth(s.width);
    c->sourceData()->setHeight(s.height);
    c->sourceData()->setFps(25);
    c->sourceData()->setMetadata_vcodec(QStringLiteral("h264"));
    c->sourceData()->setA_exist(1);
    c->sourceData()->setA_codec(QStringLiteral("aac"));
    c->sourceData()->setA_samplerate(44100);
    c->sourceData()->setA_channel(2);
    c->targetData()->setWidth(s.width);
    c->targetData()->setHeight(s.height);
    c->targetData()->setBitrate(900);
    c->setCutTimeRange_start(qint64(s.start * 1e6));
    c->setCutTimeRange_stop(qint64(s.stop * 1e6));
    c->setIsTrimFanxuan(s.inverted);
    c->setTransitionEffect(s.transition);
    c->setVolume(s.volume);
    return c;
}

QList<std::shared_ptr<SimpleData>> clips(const std::vector<ClipSpec>& specs) {
    QList<std::shared_ptr<SimpleData>> list;
    for (const ClipSpec& s : specs)
        list << clip(s);
    return list;
}

JoinPlan plan(const std::vector<ClipSpec>& specs,
              const OutputSelection& titles = OutputSelection(OutputSelection::Family::Joiner)) {
    return JoinPlan::make(clips(specs), titles, {}, QString());
}

// A part as the engine is told it: range in µs, transition kind and length, volume.
struct PartSpec {
    qint64 start;
    qint64 stop;
    int transition;
    qint64 transitionUs;
    double volume;
};

} // namespace

TEST(JoinPlan, TransitionLengthsAndPartsOfKeptAndInvertedClips) {
    struct Case {
        const char* name;
        std::vector<ClipSpec> clips;
        std::vector<PartSpec> parts;
    };
    const std::vector<Case> cases = {
        {"4.5 s then 20 s: a third of 4.5 s",
         {{20, 0, 4.5, false, 3}, {20, 0, 20}},
         {{0, 4500000, 3, 1500000, 1}, {0, 20000000, 0, 0, 1}}},
        {"1.5 s: a third is not above 0.5 s, no transition",
         {{20, 0, 1.5, false, 1}, {30}},
         {{0, 1500000, 0, 0, 1}, {0, 30000000, 0, 0, 1}}},
        {"1.6 s: a third of 1.6 s",
         {{20, 2, 3.6, false, 2}, {30}},
         {{2000000, 3600000, 2, 533333, 1}, {0, 30000000, 0, 0, 1}}},
        {"just under 6 s: just under 2 s",
         {{20, 0, 5.97, false, 3}, {30}},
         {{0, 5970000, 3, 1990000, 1}, {0, 30000000, 0, 0, 1}}},
        {"6 s and above: 3 s",
         {{20, 0, 6, false, 3}, {30, 0, 30, false, 1}, {30}},
         {{0, 6000000, 3, 3000000, 1}, {0, 30000000, 1, 3000000, 1}, {0, 30000000, 0, 0, 1}}},
        {"kept then inverted: the next length is what the inverted clip keeps (10 - 8.2 = 1.8 s)",
         {{20, 0, 20, false, 3}, {10, 1, 9.2, true}},
         {{0, 20000000, 3, 600000, 1}, {0, 1000000, 0, 0, 1}, {9200000, 10000000, 0, 0, 1}}},
        {"inverted then kept: one second from the trailing part",
         {{10, 4, 5, true, 1}, {0.8}},
         {{0, 4000000, 0, 0, 1}, {5000000, 10000000, 1, 1000000, 1}, {0, 800000, 0, 0, 1}}},
        {"inverted from the file's start: only the trailing part",
         {{10, 0, 3, true, 0}, {5}},
         {{3000000, 10000000, 0, 0, 1}, {0, 5000000, 0, 0, 1}}},
        {"inverted to the file's end: only the leading part, which carries the transition",
         {{10, 6, 10, true, 3}, {5}},
         {{0, 6000000, 3, 1000000, 1}, {0, 5000000, 0, 0, 1}}},
        {"inverted over the whole file adds nothing", {{10, 0, 10, true, 3}, {5}}, {{0, 5000000, 0, 0, 1}}},
        {"the last clip's transition is ignored", {{8, 0, 8, false, 2}}, {{0, 8000000, 0, 0, 1}}},
        {"the last part carries no transition even when a later clip adds nothing",
         {{8, 0, 8, false, 2}, {10, 0, 10, true}},
         {{0, 8000000, 0, 0, 1}}},
        {"volumes below 1 and between the steps are kept",
         {{4, 0, 4, false, 0, 0.9}, {4, 0, 4, false, 0, 1.5}, {4, 1, 2, true, 0, 0.25}},
         {{0, 4000000, 0, 0, 0.9}, {0, 4000000, 0, 0, 1.5}, {0, 1000000, 0, 0, 0.25}, {2000000, 4000000, 0, 0, 0.25}}},
        {"typed times are ordered and clamped to the file",
         {{10, 7, 3, false, 0}, {10, -2, 14, false, 0}, {10, 12, 15, false, 0}},
         {{3000000, 7000000, 0, 0, 1}, {0, 10000000, 0, 0, 1}, {0, 0, 0, 0, 1}}},
        {"an unset range is the whole file",
         {{10, 0, 0, false, 3}, {12}},
         {{0, 10000000, 3, 3000000, 1}, {0, 12000000, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // An encoder chosen: these plans are encoded (copies are the last test's).
        OutputSelection titles(OutputSelection::Family::Joiner);
        titles.setTitle(OutputSelection::VideoCodec, QStringLiteral("H264"));
        const JoinPlan p = plan(c.clips, titles);
        EXPECT_FALSE(p.copy);
        ASSERT_EQ(p.parts.size(), c.parts.size());
        for (size_t i = 0; i < c.parts.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(p.parts[i].startUs, c.parts[i].start);
            EXPECT_EQ(p.parts[i].stopUs, c.parts[i].stop);
            EXPECT_EQ(p.parts[i].transition, c.parts[i].transition);
            // Lengths are a third of a single-precision time, truncated to microseconds.
            EXPECT_NEAR(double(p.parts[i].transitionUs), double(c.parts[i].transitionUs), 2.0);
            EXPECT_DOUBLE_EQ(p.parts[i].volume, c.parts[i].volume);
        }
    }
}

TEST(JoinPlan, TransitionLengthRule) {
    struct Case {
        double a, b;
        qint64 expected;
    };
    for (const Case& c : std::vector<Case>{{4.5, 20, 1500000},
                                           {1.5, 40, 0},
                                           {1.6, 40, 533333},
                                           {40, 1.6, 533333},
                                           {5.999, 9, 1999666},
                                           {6, 9, 3000000},
                                           {30, 30, 3000000},
                                           {0, 30, 0}}) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(JoinPlan::transitionLengthUs(c.a, c.b), c.expected);
    }
}

TEST(JoinPlan, EncoderValuesAndExtensionFromTheChoices) {
    using T = OutputSelection::Title;
    struct Case {
        const char* name;
        std::vector<std::pair<T, QString>> titles;
        bool reference;
        JoinPlan::CustomValues custom;
        QString sourceExtension;
        QString fallback;
        JoinPlan::Encoder expected;
        QString extension;
    };
    const std::vector<Case> cases = {
        {"nothing chosen: the first clip's extension", {}, false, {}, "mov", "mp4", {}, "mov"},
        {"blank titles count as unset",
         {{T::ExtName, " "}, {T::VideoCodec, " "}, {T::FrameRate, ""}, {T::Channels, " "}},
         false,
         {},
         "mkv",
         "mp4",
         {},
         "mkv"},
        {"a source without extension takes the profile's", {}, false, {}, "", "avi", {}, "avi"},
        {"and without a profile's, mp4", {}, false, {}, "", "", {}, "mp4"},
        {"a full profile",
         {{T::ExtName, "mkv"},
          {T::VideoCodec, " H264 "},
          {T::Resolution, "1280x720"},
          {T::FrameRate, "29.97"},
          {T::VideoBitRate, "5000"},
          {T::AudioCodec, "AAC"},
          {T::Channels, "2(Stereo)"},
          {T::SampleRate, "48000"},
          {T::AudioBitRate, "160"}},
         true,
         {},
         "mp4",
         "",
         {160, "AAC", 2, 48000, "H264", 1280, 720, 29.97, 5000},
         "mkv"},
        {"the reference clip's target gives size and bit rate",
         {{T::FrameRate, "25"}, {T::Channels, "1"}},
         true,
         {},
         "mp4",
         "",
         {0, "", 1, 0, "", 320, 240, 25, 900},
         "mp4"},
        {"custom values replace the reference clip's",
         {{T::Resolution, "Custom"}, {T::VideoBitRate, "Custom"}},
         true,
         {640, 360, 1200},
         "mp4",
         "",
         {0, "", 0, 0, "", 640, 360, 0, 1200},
         "mp4"},
        {"custom values also apply without a reference clip",
         {{T::Resolution, "Custom"}, {T::VideoBitRate, "Custom"}},
         false,
         {640, 360, 1200},
         "mp4",
         "",
         {0, "", 0, 0, "", 640, 360, 0, 1200},
         "mp4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OutputSelection titles(OutputSelection::Family::Joiner);
        for (const auto& [title, text] : c.titles)
            titles.setTitle(title, text);
        QList<std::shared_ptr<SimpleData>> list = clips({{10, 0, 10, false, 0, 1.0, c.sourceExtension}, {10}});
        list[1]->setDefaultFormat(c.reference);
        const JoinPlan p = JoinPlan::make(list, titles, c.custom, c.fallback);
        EXPECT_EQ(p.extension, c.extension);
        EXPECT_EQ(p.encoder.audioBitrate, c.expected.audioBitrate);
        EXPECT_EQ(p.encoder.channels, c.expected.channels);
        EXPECT_EQ(p.encoder.sampleRate, c.expected.sampleRate);
        EXPECT_EQ(p.encoder.width, c.expected.width);
        EXPECT_EQ(p.encoder.height, c.expected.height);
        EXPECT_DOUBLE_EQ(p.encoder.fps, c.expected.fps);
        EXPECT_EQ(p.encoder.videoBitrate, c.expected.videoBitrate);
        if (!p.copy) {
            EXPECT_EQ(p.encoder.audioCodec, c.expected.audioCodec);
            EXPECT_EQ(p.encoder.videoCodec, c.expected.videoCodec);
        }
    }
}

TEST(JoinPlan, CopiedOnlyWhenEveryClipMatchesAndNothingIsEncoded) {
    struct Case {
        const char* name;
        std::vector<ClipSpec> clips;
        bool chooseCodec;
        bool copy;
    };
    const std::vector<Case> cases = {
        {"whole matching files", {{4, 0, 4}, {6, 0, 0}, {5, 0, 5}}, false, true},
        {"a range a little inside the ends still counts as whole", {{4, 0.05, 3.95}, {6}}, false, true},
        {"a trimmed clip", {{4, 0, 3}, {6}}, false, false},
        {"an inverted clip", {{4, 1, 2, true}, {6}}, false, false},
        {"a transition", {{4, 0, 4, false, 3}, {6}}, false, false},
        {"the last clip's transition is ignored", {{4}, {6, 0, 0, false, 3}}, false, true},
        {"a volume change", {{4, 0, 4, false, 0, 0.5}, {6}}, false, false},
        {"another frame size", {{4}, {6, 0, 0, false, 0, 1.0, "mp4", 640, 480}}, false, false},
        {"another container", {{4}, {6, 0, 0, false, 0, 1.0, "mkv"}}, false, false},
        {"an encoder chosen", {{4}, {6}}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OutputSelection titles(OutputSelection::Family::Joiner);
        if (c.chooseCodec)
            titles.setTitle(OutputSelection::VideoCodec, QStringLiteral("H264"));
        const JoinPlan p = plan(c.clips, titles);
        EXPECT_EQ(p.copy, c.copy);
        EXPECT_EQ(p.encoder.videoCodec == "copy", c.copy);
        EXPECT_EQ(p.encoder.audioCodec == "copy", c.copy);
        if (c.copy) {
            for (const JoinPlan::Part& part : p.parts) {
                EXPECT_EQ(part.startUs, 0);
                EXPECT_EQ(part.stopUs, 0);
            }
        }
    }
}
