// Every profile we ship, converted through the media engine: a short generated clip goes through a conversion job
// set up from the profile's defaults, and again with each of its options, and the ffprobe program checks the
// output's container, codecs and the numbers asked for. No profile may offer a codec or option the engine cannot
// honour.
#include "CodecCatalog.h"
#include "SourceBundlePath.h"
#include "LeadingNumber.h"
#include "OutputProfile.h"
#include "OutputSelection.h"
#include "ProfileRoot.h"
#include "SimpleData.h"
#include "libMediaCore.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QDir>
#include <QSet>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

const QString kBundle = QStringLiteral(CLIPWRIGHT_SOURCE_BUNDLE);
const QString kKeep = QStringLiteral("Keep Original");

// One conversion: the target record's fields that a choice sets (0 or empty: not set, the source's value stays).
struct ProfileRun {
    std::string name; // root/category/profile[, parameter=option]
    std::string extension;
    std::string vcodec;
    int width = 0;
    int height = 0;
    double fps = 0;
    int videoKbps = 0;
    std::string acodec;
    int channels = 0;
    int sampleRate = 0;
    int audioKbps = 0;
    bool audioOnly = false;

    std::string key() const {
        return extension + "|" + vcodec + "|" + std::to_string(width) + "x" + std::to_string(height) + "|" +
               std::to_string(fps) + "|" + std::to_string(videoKbps) + "|" + acodec + "|" + std::to_string(channels) +
               "|" + std::to_string(sampleRate) + "|" + std::to_string(audioKbps);
    }
};

void PrintTo(const ProfileRun& run, std::ostream* os) {
    *os << run.name;
}

// The titles become target fields exactly as in the windows; a source with nothing set leaves only the choices.
ProfileRun runFromTitles(const OutputSelection& selection, const std::string& name, const std::string& fallbackExt,
                         bool audioOnly) {
    SimpleData clip;
    selection.refreshTarget(clip, OutputSelection::TargetAllFields);
    const FileData& target = *clip.targetData();
    ProfileRun run;
    run.name = name;
    run.extension = target.extension().isEmpty() ? fallbackExt : target.extension().toStdString();
    run.vcodec = target.metadata_vcodec().toStdString();
    run.width = target.width();
    run.height = target.height();
    run.fps = target.fps();
    run.videoKbps = target.bitrate();
    run.acodec = target.a_codec().toStdString();
    run.channels = target.a_channel();
    run.sampleRate = target.a_samplerate();
    run.audioKbps = target.a_bitrate();
    run.audioOnly = audioOnly;
    return run;
}

struct ShippedProfile {
    std::string name; // root/category/profile
    bool audioOnly = false;
    bool keepOriginal = false;
    OutputProfile profile;
};

std::vector<ShippedProfile> shippedProfiles() {
    std::vector<ShippedProfile> profiles;
    for (const QString& rootName : {QStringLiteral("functionFolder"), QStringLiteral("pf_join")}) {
        const ProfileRoot root(kBundle + QLatin1Char('/') + rootName, QString(), {kKeep});
        for (const QString& category : root.getFunctionList()) {
            const bool audioOnly = category == ProfileRoot::kAudioCategory;
            for (const QString& name : root.getFunctionItemChildList(category))
                profiles.push_back({(rootName + "/" + category + "/" + name).toStdString(), audioOnly,
                                    root.isKeepOriginal(name),
                                    OutputProfile::read(root.profilePath(category, name), audioOnly)});
        }
    }
    return profiles;
}

OutputSelection defaultsOf(const ShippedProfile& shipped) {
    OutputSelection selection(OutputSelection::Family::Editor);
    for (int p = 0; p < OutputProfile::ParameterCount; ++p)
        selection.setTitle(OutputSelection::Title(p + 1), shipped.profile.entries[p].defaultValue);
    selection.setTitle(OutputSelection::ExtName, shipped.profile.extName);
    return selection;
}

QStringList optionsOf(const ShippedProfile& shipped, OutputProfile::Parameter parameter) {
    QStringList options;
    for (const QString& option : shipped.profile.entry(parameter).options.value_or(QStringList()))
        options << option.trimmed();
    return options;
}

// Large frames take long to encode and scaling is the same at every size: a run whose frame is wider than
// kQuickWidth is made at the largest size the profile offers within it (the static test checks every size).
constexpr int kQuickWidth = 320;

ProfileRun quick(ProfileRun run, const QStringList& sizes) {
    if (run.width <= kQuickWidth)
        return run;
    for (const QString& size : sizes) {
        const int width = LeadingNumber::integer(size);
        if (width <= kQuickWidth && width > 0) {
            run.width = width;
            run.height = LeadingNumber::integer(QStringView(size).sliced(size.indexOf('x') + 1));
        }
    }
    run.name += " at " + std::to_string(run.width) + "x" + std::to_string(run.height);
    return run;
}

// The conversions: every profile's defaults; each codec a profile offers, once per container; and, per container
// and default codecs, four runs that step through the numeric options together (frame rate, bit rates, channels,
// sample rate and a frame size). The option steps use the smallest frame size but in the last run, so they stay
// quick; the static test below checks every single option against the engine.
std::vector<ProfileRun> shippedRuns() {
    std::vector<ProfileRun> runs;
    QSet<QString> seen;
    const auto add = [&](const ProfileRun& run, const std::string& dedupeKey) {
        const QString key = QString::fromStdString(dedupeKey);
        if (!seen.contains(key)) {
            seen.insert(key);
            runs.push_back(run);
        }
    };
    for (const ShippedProfile& shipped : shippedProfiles()) {
        const OutputSelection defaults = defaultsOf(shipped);
        const QStringList sizes = optionsOf(shipped, OutputProfile::FrameSize);
        const ProfileRun base = quick(runFromTitles(defaults, shipped.name, "mp4", shipped.audioOnly), sizes);
        add(base, base.key());

        for (const OutputProfile::Parameter codec : {OutputProfile::VideoCodec, OutputProfile::AudioCodec}) {
            if (shipped.audioOnly && codec == OutputProfile::VideoCodec)
                continue;
            for (const QString& option : optionsOf(shipped, codec)) {
                OutputSelection varied = defaults;
                if (!sizes.isEmpty())
                    varied.setTitle(OutputSelection::Resolution, sizes.first());
                varied.setTitle(OutputSelection::Title(codec + 1), option);
                const std::string label =
                    shipped.name + ", " + OutputProfile::profileKey(codec).toStdString() + "=" + option.toStdString();
                add(runFromTitles(varied, label, "mp4", shipped.audioOnly),
                    base.extension + "|" + OutputProfile::profileKey(codec).toStdString() + "|" + option.toStdString());
            }
        }

        constexpr int kSteps = 4;
        for (int step = 0; step < kSteps; ++step) {
            OutputSelection varied = defaults;
            std::string label = shipped.name + ", step " + std::to_string(step);
            for (const OutputProfile::Parameter parameter :
                 {OutputProfile::FrameSize, OutputProfile::FrameRate, OutputProfile::VideoBitRate,
                  OutputProfile::Channels, OutputProfile::SampleRate, OutputProfile::AudioBitRate}) {
                if (shipped.audioOnly && OutputProfile::isVideoParameter(parameter))
                    continue;
                const QStringList options = optionsOf(shipped, parameter);
                if (options.isEmpty())
                    continue;
                qsizetype index = step * options.size() / kSteps;
                if (parameter == OutputProfile::FrameSize)
                    index = step + 1 < kSteps ? 0 : options.size() / 3;
                varied.setTitle(OutputSelection::Title(parameter + 1), options.at(index));
            }
            add(quick(runFromTitles(varied, label, "mp4", shipped.audioOnly), sizes),
                base.extension + "|" + base.vcodec + "|" + base.acodec + "|step" + std::to_string(step));
        }
    }
    return runs;
}

std::string expectedCodec(const std::string& name) {
    static const std::map<std::string, std::string> names = {
        {"H264", "h264"}, {"HEVC", "hevc"}, {"MPEG4", "mpeg4"}, {"VP9", "vp9"},       {"AAC", "aac"},
        {"MP3", "mp3"},   {"OPUS", "opus"}, {"FLAC", "flac"},   {"PCM", "pcm_s16le"}, {"libvorbis", "vorbis"}};
    const auto found = names.find(name);
    return found == names.end() ? std::string() : found->second;
}

std::string expectedFormat(const std::string& extension) {
    static const std::map<std::string, std::string> formats = {
        {"mp4", "mov,mp4"}, {"mov", "mov,mp4"}, {"m4a", "mov,mp4"}, {"mkv", "matroska"}, {"webm", "matroska,webm"},
        {"avi", "avi"},     {"mp3", "mp3"},     {"wav", "wav"},     {"flac", "flac"},    {"ogg", "ogg"}};
    const auto found = formats.find(extension);
    return found == formats.end() ? extension : found->second;
}

// Half a second of picture and stereo sound, small enough that several hundred conversions stay quick.
std::string sourceClip() {
    return MediaFixtures::make("formats-160x120-half-second.mp4",
                               "-f lavfi -i testsrc2=size=160x120:rate=25:duration=0.5 "
                               "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=0.5 "
                               "-ac 2 -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest");
}

// The output has the profile's container and codecs and the numbers the run asked for.
void checkOutput(const ProfileRun& run, const std::string& output) {
    const FfprobeResult probe = ffprobe(output);
    ASSERT_TRUE(probe.ok) << output;
    EXPECT_NE(probe.formatName.find(expectedFormat(run.extension)), std::string::npos) << probe.formatName;

    const FfprobeStream* audio = probe.firstAudio();
    ASSERT_NE(audio, nullptr);
    if (!run.acodec.empty()) {
        EXPECT_EQ(audio->codecName, expectedCodec(run.acodec));
    }
    if (run.channels > 0) {
        EXPECT_EQ(audio->channels, run.channels);
    }
    if (run.sampleRate > 0) {
        EXPECT_EQ(audio->sampleRate, run.sampleRate);
    }

    const FfprobeStream* video = probe.firstVideo();
    if (run.audioOnly) {
        EXPECT_EQ(video, nullptr);
    } else {
        ASSERT_NE(video, nullptr);
        if (!run.vcodec.empty()) {
            EXPECT_EQ(video->codecName, expectedCodec(run.vcodec));
        }
        if (run.width > 0) {
            EXPECT_EQ(video->width, run.width);
        }
        if (run.height > 0) {
            EXPECT_EQ(video->height, run.height);
        }
        if (run.fps > 0) {
            EXPECT_NEAR(video->frameRate, run.fps, run.fps * 0.05);
        }
    }
}

class ProfileConversion : public testing::TestWithParam<ProfileRun> {};
class ProfileJoin : public testing::TestWithParam<ProfileRun> {};

// The joiner's profiles as the joiner uses them: two clips joined into one output.
std::vector<ProfileRun> joinerRuns() {
    std::vector<ProfileRun> runs;
    for (const ShippedProfile& shipped : shippedProfiles()) {
        if (shipped.name.rfind("pf_join/", 0) != 0)
            continue;
        runs.push_back(quick(runFromTitles(defaultsOf(shipped), shipped.name, "mp4", shipped.audioOnly),
                             optionsOf(shipped, OutputProfile::FrameSize)));
    }
    return runs;
}

// The encoder the engine picks for a profile's codec name, checked against the container; nullptr when refused.
const AVCodec* engineEncoder(const std::string& name, AVMediaType type, const std::string& extension,
                             std::string* problem) {
    mediacore::CodecCatalog::Choice choice;
    if (!mediacore::CodecCatalog::resolve(name, type, choice) || choice.encoder == nullptr) {
        *problem = "the engine knows no encoder for " + name;
        return nullptr;
    }
    const AVOutputFormat* container = mediacore::CodecCatalog::containerFor("out." + extension);
    if (container == nullptr) {
        *problem = "the engine knows no container for ." + extension;
        return nullptr;
    }
    if (!mediacore::CodecCatalog::accepts(container, choice.encoder->id)) {
        *problem = "." + extension + " does not take " + name;
        return nullptr;
    }
    return choice.encoder;
}

// The engine's setters of one kind of job: the conversion and the join interfaces take the same settings under
// their own names. Conversion setters answer 1 or more when they take a value, join setters 0 or more.
struct EngineSetters {
    int (*vcodec)(void*, const char*);
    int (*acodec)(void*, const char*);
    int (*frameSize)(void*, int, int);
    int (*fps)(void*, double);
    int (*videoBitrate)(void*, int);
    int (*audioContext)(void*, int, int);
    int (*audioBitrate)(void*, int);
    int accepted;
};

const EngineSetters kConvertSetters{apiMediaConvertSetVcodec,         apiMediaConvertSetAcodec,
                                    apiMediaConvertSetVideoFrameSize, apiMediaConvertSetVideoFps,
                                    apiMediaConvertSetVideoBitrate,   apiMediaConvertSetAudioEncodeContext,
                                    apiMediaConvertSetAudioBitrate,   1};
const EngineSetters kJoinSetters{apiMediaJoinSetVideoCodec,     apiMediaJoinSetAudioCodec,
                                 apiMediaJoinSetVideoFrameSize, apiMediaJoinSetVideoFps,
                                 apiMediaJoinSetVideoBitrate,   apiMediaJoinSetAudioEncodeContext,
                                 apiMediaJoinSetAudioBitrate,   0};

// Sets on the job what the profile run names; a sound-only profile gets no picture settings.
void applyProfile(const ProfileRun& run, void* job, const EngineSetters& set) {
    if (!run.vcodec.empty() && !run.audioOnly) {
        EXPECT_GE(set.vcodec(job, run.vcodec.c_str()), set.accepted) << run.vcodec;
    }
    if (!run.acodec.empty()) {
        EXPECT_GE(set.acodec(job, run.acodec.c_str()), set.accepted) << run.acodec;
    }
    if (run.width > 0 && run.height > 0 && !run.audioOnly) {
        EXPECT_GE(set.frameSize(job, run.width, run.height), set.accepted);
    }
    if (run.fps > 0 && !run.audioOnly) {
        EXPECT_GE(set.fps(job, run.fps), set.accepted);
    }
    if (run.videoKbps > 0 && !run.audioOnly) {
        EXPECT_GE(set.videoBitrate(job, run.videoKbps), set.accepted);
    }
    if (run.channels > 0 || run.sampleRate > 0) {
        EXPECT_GE(set.audioContext(job, run.channels, run.sampleRate), set.accepted);
    }
    if (run.audioKbps > 0) {
        EXPECT_GE(set.audioBitrate(job, run.audioKbps), set.accepted);
    }
}

} // namespace

// Every option of every shipped profile, one by one, against what the engine can do.
TEST(ProfileOptions, EveryOptionSuitsTheEngine) {
    for (const ShippedProfile& shipped : shippedProfiles()) {
        SCOPED_TRACE(shipped.name);
        // The keep-original profile keeps the source's container; the generated clips are mp4.
        const std::string extension = shipped.keepOriginal ? "mp4" : shipped.profile.extName.toStdString();
        std::string problem;
        if (!shipped.audioOnly) {
            for (const QString& option : optionsOf(shipped, OutputProfile::VideoCodec)) {
                EXPECT_NE(engineEncoder(option.toStdString(), AVMEDIA_TYPE_VIDEO, extension, &problem), nullptr)
                    << problem;
            }
            for (const QString& size : optionsOf(shipped, OutputProfile::FrameSize)) {
                const int width = LeadingNumber::integer(size);
                const int height = LeadingNumber::integer(QStringView(size).sliced(size.indexOf('x') + 1));
                EXPECT_TRUE(width > 0 && height > 0 && width % 2 == 0 && height % 2 == 0 && width <= 8192 &&
                            height <= 8192)
                    << size.toStdString();
            }
            for (const QString& rate : optionsOf(shipped, OutputProfile::FrameRate)) {
                EXPECT_TRUE(LeadingNumber::decimal(rate) > 0 && LeadingNumber::decimal(rate) <= 120)
                    << rate.toStdString();
            }
        }
        for (const QString& codec : optionsOf(shipped, OutputProfile::AudioCodec)) {
            const AVCodec* encoder = engineEncoder(codec.toStdString(), AVMEDIA_TYPE_AUDIO, extension, &problem);
            EXPECT_NE(encoder, nullptr) << problem;
            if (encoder == nullptr)
                continue;
            for (const QString& rate : optionsOf(shipped, OutputProfile::SampleRate)) {
                bool listed = encoder->supported_samplerates == nullptr;
                for (const int* r = encoder->supported_samplerates; r != nullptr && *r != 0; ++r)
                    listed = listed || *r == LeadingNumber::integer(rate);
                EXPECT_TRUE(listed) << codec.toStdString() << " at " << rate.toStdString() << " Hz";
            }
            for (const QString& channels : optionsOf(shipped, OutputProfile::Channels)) {
                const int count = LeadingNumber::integer(channels);
                bool listed = encoder->ch_layouts == nullptr;
                for (const AVChannelLayout* l = encoder->ch_layouts; l != nullptr && l->nb_channels != 0; ++l)
                    listed = listed || l->nb_channels == count;
                EXPECT_TRUE(count >= 1 && count <= 8 && listed) << codec.toStdString() << " with " << count;
            }
        }
    }
}

TEST_P(ProfileConversion, EngineHonoursTheProfile) {
    const ProfileRun& run = GetParam();
    const std::string source = sourceClip();
    ASSERT_FALSE(source.empty());
    const std::string folder = MediaFixtures::freshDir("formats-profile");
    const std::string output = folder + "/out." + run.extension;

    CONVERT_HANDLE job = apiMediaConvertCreate();
    ASSERT_NE(job, nullptr);
    EXPECT_GT(apiMediaConvertSetInputMedia(job, source.c_str()), 0);
    applyProfile(run, job, kConvertSetters);
    EXPECT_GT(apiMediaConvertSetOutputPath(job, output.c_str()), 0);
    EXPECT_GT(apiMediaConvertStart(job), 0);
    apiMediaConvertClose(job);

    checkOutput(run, output);
    std::filesystem::remove_all(folder);
}

TEST_P(ProfileJoin, JoinHonoursTheProfile) {
    const ProfileRun& run = GetParam();
    const std::string source = sourceClip();
    ASSERT_FALSE(source.empty());
    const std::string folder = MediaFixtures::freshDir("formats-join");
    const std::string output = folder + "/joined." + run.extension;

    JOIN_HANDLE job = apiMediaJoinCreate();
    ASSERT_NE(job, nullptr);
    EXPECT_NE(apiMediaJoinAddMediaClip(job, source.c_str(), 0, 0), nullptr);
    EXPECT_NE(apiMediaJoinAddMediaClip(job, source.c_str(), 0, 0), nullptr);
    applyProfile(run, job, kJoinSetters);
    EXPECT_GE(apiMediaJoinSetOutputPath(job, output.c_str()), 0);
    EXPECT_GE(apiMediaJoinStart(job), 0);
    apiMediaJoinClose(job);

    checkOutput(run, output);
    EXPECT_NEAR(ffprobe(output).duration, 1.0, 0.15);
    std::filesystem::remove_all(folder);
}

// Test names follow the profile and the option; they stay the same when other profiles come or go.
std::string testName(const testing::TestParamInfo<ProfileRun>& info) {
    std::string name;
    for (const char c : info.param.name)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Shipped, ProfileConversion, testing::ValuesIn(shippedRuns()), testName);
INSTANTIATE_TEST_SUITE_P(Shipped, ProfileJoin, testing::ValuesIn(joinerRuns()), testName);
