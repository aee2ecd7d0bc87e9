#include "OutputSelection.h"
#include "OutputCustomValues.h"
#include "ProfileRoot.h"
#include "SettingChangeMask.h"
#include "SimpleData.h"
#include "TemporaryUserDefaults.h"
#include "TextFiles.h"
#include "UserDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Title = OutputSelection::Title;
using Family = OutputSelection::Family;

std::shared_ptr<SimpleData> makeClip(int width, int height) {
    auto clip = std::make_shared<SimpleData>();
    for (const std::shared_ptr<FileData>& data : {clip->sourceData(), clip->targetData()}) {
        data->setWidth(width);
        data->setHeight(height);
        data->setFps(30);
        data->setBitrate(4000);
        data->setMetadata_vcodec(QStringLiteral("h264"));
        data->setExtension(QStringLiteral("mov"));
        data->setA_codec(QStringLiteral("aac"));
        data->setA_channel(6);
        data->setA_samplerate(48000);
        data->setA_bitrate(320);
    }
    return clip;
}

UserDefaults& store() {
    return UserDefaults::standardUserDefaults();
}

class OutputSelectionTest : public testing::Test {
protected:
    void SetUp() override {
        TextFiles::write(
            rootPath() + "/Video/mkv(HEVC).pf",
            TextFiles::crlf({"[Main]", "ExtName=mkv", "[Parameter]", R"v(vcodec="HEVC",{"HEVC","H264"})v",
                             R"v(s="1280x720",{"1280x720"})v", R"v(r="25",{"25"})v", R"v(b="2000",{"2000"})v",
                             R"v(acodec="AAC",{"AAC"})v", R"v(ac="2(Stereo)",{"1","2(Stereo)"})v",
                             R"v(ar="44100",{"44100"})v", R"v(ab="128",{"128"})v"}));
        TextFiles::write(rootPath() + "/Video/Keep Original.pf", TextFiles::crlf({"[Main]", "ExtName="}));
        TextFiles::write(
            rootPath() + "/Audio/mp3.pf",
            TextFiles::crlf({"[Main]", "ExtName=mp3", "[Parameter]", R"v(vcodec="MPEG4")v", R"v(acodec="MP3",{"MP3"})v",
                             R"v(ac="1",{"1"})v", R"v(ar="22050")v", R"v(ab="96")v"}));
    }

    QString rootPath() const { return dir.filePath("root"); }
    ProfileRoot root() const { return ProfileRoot(rootPath(), QString(), {QStringLiteral("Keep Original")}); }
    QString profile(const char* relative) const { return rootPath() + "/" + relative; }

    QTemporaryDir dir;
    TemporaryUserDefaults defaults;
};

} // namespace

TEST_F(OutputSelectionTest, KeysOfBothFamilies) {
    EXPECT_EQ(OutputSelection::storedKey(Family::Joiner, OutputSelection::ExtName), "extNameSelectTitle");
    EXPECT_EQ(OutputSelection::storedKey(Family::Editor, OutputSelection::ExtName), "extName_SelectTitle");
    EXPECT_EQ(OutputSelection::storedKey(Family::Joiner, OutputSelection::VideoBitRate), "bitateSelectTitle");
    EXPECT_EQ(OutputSelection::storedKey(Family::Editor, OutputSelection::AudioBitRate), "abitate_SelectTitle");
    EXPECT_EQ(OutputSelection::storedKey(Family::Editor, OutputSelection::Channels), "achannel_SelectTitle");
    EXPECT_EQ(OutputSelection::storedKey(Family::Joiner, OutputSelection::SampleRate), "asamplerateSelectTitle");
}

TEST_F(OutputSelectionTest, AppliesAProfileToTitlesTargetsAndStore) {
    OutputSelection selection(Family::Joiner);
    const ClipList clips = {makeClip(1920, 1080), makeClip(640, 480)};
    selection.setViewChildesPf(profile("Video/mkv(HEVC).pf"), "Video", root(), clips);

    EXPECT_EQ(selection.extNameSelectTitle(), QString("mkv"));
    EXPECT_EQ(selection.vcodecSelectTitle(), QString("HEVC"));
    EXPECT_EQ(selection.achannelSelectTitle(), QString("2(Stereo)"));
    for (const std::shared_ptr<SimpleData>& clip : clips) {
        const FileData& target = *clip->targetData();
        EXPECT_EQ(target.extension(), "mkv");
        EXPECT_EQ(target.metadata_vcodec(), "HEVC");
        EXPECT_EQ(target.width(), 1280);
        EXPECT_EQ(target.height(), 720);
        EXPECT_EQ(target.fps(), 25);
        EXPECT_EQ(target.bitrate(), 2000);
        EXPECT_EQ(target.a_codec(), "AAC");
        EXPECT_EQ(target.a_channel(), 2);
        EXPECT_EQ(target.a_samplerate(), 44100);
        EXPECT_EQ(target.a_bitrate(), 128);
    }
    EXPECT_EQ(store().stringForKey("extNameSelectTitle"), "mkv");
    EXPECT_EQ(store().stringForKey("resolutionSelectTitle"), "1280x720");
    EXPECT_EQ(store().stringForKey("achannelSelectTitle"), "2(Stereo)");
    EXPECT_FALSE(store().hasKey("extName_SelectTitle"));
}

TEST_F(OutputSelectionTest, KeepOriginalClearsEveryParameterButTheExtension) {
    OutputSelection selection(Family::Editor);
    const ClipList clips = {makeClip(1920, 1080)};
    selection.setViewChildesPf(profile("Video/mkv(HEVC).pf"), "Video", root(), clips);
    selection.setViewChildesPf(profile("Video/Keep Original.pf"), "Video", root(), clips);

    EXPECT_EQ(selection.extNameSelectTitle(), QString("mkv"));
    for (int t = OutputSelection::VideoCodec; t < OutputSelection::TitleCount; ++t) {
        EXPECT_EQ(selection.title(Title(t)), std::nullopt) << t;
        EXPECT_FALSE(store().hasKey(OutputSelection::storedKey(Family::Editor, Title(t)))) << t;
    }
    const FileData& target = *clips.first()->targetData();
    EXPECT_EQ(target.width(), 1920);
    EXPECT_EQ(target.metadata_vcodec(), "h264");
    EXPECT_EQ(target.a_channel(), 6);
    EXPECT_EQ(target.a_bitrate(), 320);
}

TEST_F(OutputSelectionTest, AudioProfileLeavesVideoAlone) {
    OutputSelection selection(Family::Joiner);
    const ClipList clips = {makeClip(1920, 1080)};
    selection.setViewChildesPf(profile("Video/mkv(HEVC).pf"), "Video", root(), clips);
    selection.setViewChildesPf(profile("Audio/mp3.pf"), "Audio", root(), clips);

    EXPECT_EQ(selection.vcodecSelectTitle(), QString("HEVC"));
    EXPECT_EQ(selection.resolutionSelectTitle(), QString("1280x720"));
    EXPECT_EQ(selection.extNameSelectTitle(), QString("mp3"));
    EXPECT_EQ(selection.acodecSelectTitle(), QString("MP3"));
    const FileData& target = *clips.first()->targetData();
    EXPECT_EQ(target.metadata_vcodec(), "HEVC");
    EXPECT_EQ(target.width(), 1280);
    EXPECT_EQ(target.extension(), "mp3");
    EXPECT_EQ(target.a_channel(), 1);
    EXPECT_EQ(target.a_samplerate(), 22050);
}

TEST_F(OutputSelectionTest, MissingProfilesFallBackToTheDefaultThenToNothing) {
    OutputSelection selection(Family::Editor);
    selection.setViewChildesPf(profile("Video/gone.pf"), "Video", root(), {});
    EXPECT_EQ(selection.vcodecSelectTitle(), QString("HEVC"));
    selection.setViewChildesPf(QString(), "Video", root(), {});
    EXPECT_EQ(selection.vcodecSelectTitle(), QString("HEVC"));

    const ProfileRoot empty(dir.filePath("none"), QString(), {"Keep Original"});
    testing::internal::CaptureStdout();
    selection.setViewChildesPf(QString(), "Video", empty, {});
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(selection.extNameSelectTitle(), QString(""));
    EXPECT_EQ(selection.vcodecSelectTitle(), std::nullopt);
    EXPECT_FALSE(store().hasKey("extName_SelectTitle"));
    EXPECT_FALSE(store().hasKey("vcodec_SelectTitle"));
}

TEST_F(OutputSelectionTest, TitlesTurnIntoTargetFieldsByTable) {
    struct Case {
        Title title;
        const char* text;
        std::function<QString(const FileData&)> field;
        const char* expected;
    };
    const auto size = [](const FileData& d) { return QString("%1x%2").arg(d.width()).arg(d.height()); };
    const auto fps = [](const FileData& d) { return QString::number(d.fps()); };
    const auto channels = [](const FileData& d) { return QString::number(d.a_channel()); };
    const auto rate = [](const FileData& d) { return QString::number(d.bitrate()); };
    const auto ext = [](const FileData& d) { return d.extension(); };
    const Case cases[] = {
        {OutputSelection::Resolution, "720", size, "720x720"},
        {OutputSelection::Resolution, "1281x721", size, "1280x720"},
        {OutputSelection::Resolution, "Custom", size, "640x480"},
        {OutputSelection::Resolution, "0x360", size, "640x360"},
        {OutputSelection::Resolution, "100000x4", size, "8192x16"},
        {OutputSelection::FrameRate, "29.97", fps, "29.97"},
        {OutputSelection::FrameRate, " ", fps, "30"},
        {OutputSelection::FrameRate, "abc", fps, "30"},
        {OutputSelection::Channels, "2(Stereo)", channels, "2"},
        {OutputSelection::Channels, "1", channels, "1"},
        {OutputSelection::Channels, "0", channels, "6"},
        {OutputSelection::VideoBitRate, "1500 kbps", rate, "1500"},
        {OutputSelection::VideoBitRate, "Custom", rate, "4000"},
        {OutputSelection::ExtName, " ", ext, "mov"},
        {OutputSelection::ExtName, "mkv", ext, "mkv"},
    };
    for (const Case& c : cases) {
        OutputSelection selection(Family::Joiner);
        selection.setTitle(c.title, QString(c.text));
        const std::shared_ptr<SimpleData> clip = makeClip(640, 480);
        selection.refreshTarget(*clip, OutputSelection::TargetAllFields);
        EXPECT_EQ(c.field(*clip->targetData()), c.expected) << c.text;
    }
}

TEST_F(OutputSelectionTest, SettingChangesRereadTheirTitlesAndFields) {
    OutputSelection selection(Family::Editor);
    const ClipList clips = {makeClip(1920, 1080)};
    store().setString("HEVC", "vcodec_SelectTitle");
    store().setString("24", "framerate_SelectTitle");
    store().setString("96", "abitate_SelectTitle");
    store().setString("2500", "bitate_SelectTitle");

    selection.applySettingChange(SettingChangeVideoCodec, clips);
    EXPECT_EQ(selection.vcodecSelectTitle(), QString("HEVC"));
    EXPECT_EQ(clips[0]->targetData()->metadata_vcodec(), "HEVC");
    EXPECT_EQ(clips[0]->targetData()->fps(), 30); // only the reported field moves

    selection.applySettingChange(SettingChangeAudioBitRate, clips);
    EXPECT_EQ(selection.abitateSelectTitle(), QString("96"));
    EXPECT_EQ(selection.bitateSelectTitle(), QString("2500"));
    EXPECT_EQ(clips[0]->targetData()->a_bitrate(), 96);
    EXPECT_EQ(clips[0]->targetData()->bitrate(), 4000);

    selection.applySettingChange(SettingChangeFrameRate, clips);
    EXPECT_EQ(clips[0]->targetData()->fps(), 24);

    store().removeObjectForKey("vcodec_SelectTitle");
    selection.applySettingChange(SettingChangeVideoCodec, clips);
    EXPECT_EQ(selection.vcodecSelectTitle(), std::nullopt);
    EXPECT_EQ(clips[0]->targetData()->metadata_vcodec(), "h264");

    selection.applySettingChange(3, clips); // not a single bit: nothing
    EXPECT_EQ(selection.abitateSelectTitle(), QString("96"));
}

TEST_F(OutputSelectionTest, JoinerCustomBitRateAndItsReRead) {
    OutputSelection selection(Family::Joiner);
    const ClipList clips = {makeClip(1920, 1080)};
    store().setString("Custom", "bitateSelectTitle");
    OutputCustomValues::setBitRate(1500);
    selection.applySettingChange(SettingChangeVideoBitRate, clips);
    EXPECT_EQ(selection.bitateSelectTitle(), QString("1500 kbps"));
    EXPECT_EQ(clips[0]->targetData()->bitrate(), 1500);

    selection.applySettingChange(SettingChangeAudioBitRate, clips);
    EXPECT_EQ(selection.bitateSelectTitle(), QString("Custom"));

    selection.applySettingChange(SettingChangeVideoBitRate, clips);
    selection.applySettingDefaults(clips);
    EXPECT_EQ(selection.bitateSelectTitle(), QString("Custom"));

    // The editor has no custom bit rate: it re-reads the stored text.
    OutputSelection editor(Family::Editor);
    store().setString("Custom", "bitate_SelectTitle");
    editor.applySettingChange(SettingChangeVideoBitRate, clips);
    EXPECT_EQ(editor.bitateSelectTitle(), QString("Custom"));
}

TEST_F(OutputSelectionTest, CustomFrameSizeKeepsEachClipsOwnSizeWhereUnset) {
    OutputSelection selection(Family::Joiner);
    const ClipList clips = {makeClip(1920, 1080), makeClip(640, 480)};
    store().setString("Custom", "resolutionSelectTitle");
    store().setInteger(1000, OutputCustomValues::kWidthKey);
    selection.applySettingChange(SettingChangeResolution, clips);
    EXPECT_EQ(clips[0]->targetData()->width(), 1000);
    EXPECT_EQ(clips[0]->targetData()->height(), 1080);
    EXPECT_EQ(clips[1]->targetData()->width(), 1000);
    EXPECT_EQ(clips[1]->targetData()->height(), 480);
    EXPECT_EQ(selection.resolutionSelectTitle(), QString("1000x480"));
    EXPECT_EQ(store().stringForKey("resolutionSelectTitle"), "Custom");

    // A fixed size afterwards drops the custom values.
    store().setString("640x360", "resolutionSelectTitle");
    selection.applySettingChange(SettingChangeResolution, clips);
    EXPECT_FALSE(store().hasKey(OutputCustomValues::kWidthKey));
    EXPECT_FALSE(store().hasKey(OutputCustomValues::kHeightKey));
    EXPECT_EQ(clips[0]->targetData()->width(), 640);
    EXPECT_EQ(clips[0]->targetData()->height(), 360);
}

TEST_F(OutputSelectionTest, JoinerRereadsTitlesWithoutClips) {
    OutputSelection selection(Family::Joiner);
    store().setString("VP9", "vcodecSelectTitle");
    selection.applySettingChange(SettingChangeVideoCodec, {});
    EXPECT_EQ(selection.vcodecSelectTitle(), QString("VP9"));
}

TEST_F(OutputSelectionTest, ClipFormatFillsEightTitlesOnly) {
    OutputSelection selection(Family::Joiner);
    selection.setTitle(OutputSelection::ExtName, QString("mkv"));
    const std::shared_ptr<SimpleData> clip = makeClip(1280, 720);
    clip->sourceData()->setFps(29.6);
    selection.setdefaultFormat(*clip);
    EXPECT_EQ(selection.vcodecSelectTitle(), std::nullopt); // not marked: nothing

    clip->setDefaultFormat(true);
    selection.setdefaultFormat(*clip);
    EXPECT_EQ(selection.extNameSelectTitle(), QString("mkv"));
    EXPECT_EQ(selection.vcodecSelectTitle(), QString("h264"));
    EXPECT_EQ(selection.resolutionSelectTitle(), QString("1280x720"));
    EXPECT_EQ(selection.framerateSelectTitle(), QString("30"));
    EXPECT_EQ(selection.bitateSelectTitle(), QString("4000"));
    EXPECT_EQ(selection.achannelSelectTitle(), QString("6"));
    EXPECT_EQ(selection.asamplerateSelectTitle(), QString("48000"));
    EXPECT_EQ(selection.abitateSelectTitle(), QString("320"));
    EXPECT_FALSE(store().hasKey("vcodecSelectTitle"));
}

TEST_F(OutputSelectionTest, DialogWidthFollowsTheCustomChoices) {
    OutputSelection joiner(Family::Joiner);
    OutputSelection editor(Family::Editor);
    EXPECT_EQ(joiner.settingDialogWidth(), 360);
    store().setString("Custom", "bitateSelectTitle");
    store().setString("Custom", "bitate_SelectTitle");
    EXPECT_EQ(joiner.settingDialogWidth(), 480);
    EXPECT_EQ(editor.settingDialogWidth(), 360);
    store().setString("Custom", "resolution_SelectTitle");
    EXPECT_EQ(editor.settingDialogWidth(), 480);
}

TEST_F(OutputSelectionTest, ClearAndReadStoredTitles) {
    OutputSelection selection(Family::Editor);
    selection.setViewChildesPf(profile("Video/mkv(HEVC).pf"), "Video", root(), {});
    OutputSelection fresh(Family::Editor);
    fresh.readStoredTitles();
    EXPECT_EQ(fresh.framerateSelectTitle(), QString("25"));
    EXPECT_EQ(fresh.extNameSelectTitle(), QString("mkv"));
    selection.clear();
    EXPECT_EQ(selection.extNameSelectTitle(), std::nullopt);
    fresh.readStoredTitles();
    EXPECT_EQ(fresh.framerateSelectTitle(), std::nullopt);
}

TEST(OutputCustomValues, SanitizesTypedValues) {
    EXPECT_EQ(OutputCustomValues::fieldNumber(""), 0);
    EXPECT_EQ(OutputCustomValues::fieldNumber("1280"), 1280);
    EXPECT_EQ(OutputCustomValues::fieldNumber("12a8"), 128);
    EXPECT_EQ(OutputCustomValues::sanitizeFrameDimension(0), 0);
    EXPECT_EQ(OutputCustomValues::sanitizeFrameDimension(-5), 0);
    EXPECT_EQ(OutputCustomValues::sanitizeFrameDimension(3), 16);
    EXPECT_EQ(OutputCustomValues::sanitizeFrameDimension(721), 720);
    EXPECT_EQ(OutputCustomValues::sanitizeFrameDimension(99999), 8192);
    EXPECT_EQ(OutputCustomValues::sanitizeBitRate(0), 0);
    EXPECT_EQ(OutputCustomValues::sanitizeBitRate(1), 16);
    EXPECT_EQ(OutputCustomValues::sanitizeBitRate(1500), 1500);
    EXPECT_EQ(OutputCustomValues::sanitizeBitRate(99999999), 200000);

    TemporaryUserDefaults defaults;
    UserDefaults::standardUserDefaults().setInteger(1001, OutputCustomValues::kWidthKey);
    EXPECT_EQ(OutputCustomValues::width(), 1000);
    EXPECT_EQ(OutputCustomValues::height(), 0);
}
