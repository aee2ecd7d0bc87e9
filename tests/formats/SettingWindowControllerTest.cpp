#include "SettingWindowController.h"
#include "MOQImageView.h"
#include "Modal.h"
#include "OutputCustomValues.h"
#include "ResourceBundle.h"
#include "SettingChangeMask.h"
#include "SourceBundlePath.h"
#include "TemporaryUserDefaults.h"
#include "TextFiles.h"
#include "UserDefaults.h"
#include "ViewFrame.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using P = OutputProfile;
const QString kKeep = QStringLiteral("Keep Original");

QStringList items(const QComboBox* popUp) {
    QStringList list;
    for (int i = 0; i < popUp->count(); ++i)
        list << popUp->itemText(i);
    return list;
}

UserDefaults& store() {
    return UserDefaults::standardUserDefaults();
}

class SettingWindowControllerTest : public testing::Test {
protected:
    void SetUp() override {
        ResourceBundle::setLanguage("en");
        const QByteArray video = TextFiles::crlf(
            {"[Main]", "ExtName=mp4", "[Parameter]", R"v(vcodec="H264",{"H264","HEVC"})v",
             R"v(s="",{"640x480","1280x720"})v", R"v(r="",{"25","29.97","30"})v", R"v(b="2000",{"1000","2000"})v",
             R"v(acodec="AAC",{"AAC","MP3"})v", R"v(ac="2(Stereo)",{"1", "2 (Stereo)"})v",
             R"v(ar="44100",{"44100","48000"})v", R"v(ab="128",{"128","192"})v"});
        videoPath = TextFiles::write(dir.filePath("Video/mp4.pf"), video);
        keepPath = TextFiles::write(dir.filePath("Video/Keep Original.pf"), video);
        audioPath = TextFiles::write(dir.filePath("Audio/mp3.pf"),
                                     TextFiles::crlf({"[Main]", "ExtName=mp3", "[Parameter]",
                                                      R"v(acodec="MP3",{"MP3"})v", R"v(ac="2(Stereo)",{"1"})v",
                                                      R"v(ar="",{"44100","48000"})v", R"v(ab="192",{"128","192"})v"}));
    }
    void TearDown() override { ResourceBundle::setLanguage(QString()); }

    std::unique_ptr<SettingWindowController> open(bool joinner, int fileType, const QString& path, int width = 360) {
        auto dialog = std::make_unique<SettingWindowController>();
        dialog->setJoinner(joinner);
        dialog->setFileType(fileType);
        ViewFrame::setFrame(dialog->window(), {200, 200, double(width), fileType == 2 ? 292.0 : 480.0});
        dialog->setPfPath(path);
        dialog->setSelectSettingCallbackBlock([this](int bit) { bits.append(bit); });
        dialog->setSettingCallbackBlock([this] { ++defaults; });
        dialog->displayViewChildes();
        return dialog;
    }

    static void choose(SettingWindowController& dialog, P::Parameter parameter, const QString& item) {
        QComboBox* popUp = dialog.popUp(parameter);
        const int index = popUp->findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        emit popUp->activated(index);
    }

    QTemporaryDir dir;
    TemporaryUserDefaults temporaryDefaults;
    QString videoPath, keepPath, audioPath;
    QList<int> bits;
    int defaults = 0;
};

} // namespace

TEST_F(SettingWindowControllerTest, EditorOpensWithKeepOriginalItemsAndStoredChoices) {
    store().setString("29.97", "framerate_SelectTitle");
    store().setString(" 2(Stereo) ", "achannel_SelectTitle");
    store().setString("HEVC", "vcodec_SelectTitle");
    auto dialog = open(false, 1, videoPath);

    EXPECT_EQ(dialog->window()->windowTitle(), "Output Settings");
    EXPECT_EQ(items(dialog->popUp(P::VideoCodec)), QStringList({"H264", "HEVC"}));
    EXPECT_EQ(items(dialog->popUp(P::VideoBitRate)), QStringList({kKeep, "1000 kbps", "2000 kbps"}));
    EXPECT_EQ(items(dialog->popUp(P::Channels)), QStringList({kKeep, "1", "2(Stereo)"}));
    for (const P::Parameter p :
         {P::FrameSize, P::FrameRate, P::VideoBitRate, P::Channels, P::SampleRate, P::AudioBitRate})
        EXPECT_EQ(dialog->popUp(p)->itemText(0), kKeep) << p;
    EXPECT_EQ(dialog->popUp(P::VideoCodec)->currentText(), "HEVC");
    EXPECT_EQ(dialog->popUp(P::FrameRate)->currentText(), "29.97 fps");
    EXPECT_EQ(dialog->popUp(P::Channels)->currentText(), "2(Stereo)");
    EXPECT_EQ(dialog->popUp(P::SampleRate)->currentText(), kKeep);
    EXPECT_TRUE(bits.isEmpty());
    EXPECT_EQ(store().stringForKey("achannel_SelectTitle"), " 2(Stereo) "); // filling changes no key
}

TEST_F(SettingWindowControllerTest, EveryChoiceStoresAndReportsItsOneBit) {
    auto dialog = open(false, 1, videoPath);
    struct Case {
        P::Parameter parameter;
        const char* item;
        const char* key;
        const char* stored; // nullptr: key removed
        int bit;
    };
    const Case cases[] = {
        {P::VideoCodec, "HEVC", "vcodec_SelectTitle", "HEVC", SettingChangeVideoCodec},
        {P::FrameSize, "1280x720", "resolution_SelectTitle", "1280x720", SettingChangeResolution},
        {P::FrameRate, "29.97 fps", "framerate_SelectTitle", "29.97", SettingChangeFrameRate},
        {P::VideoBitRate, "1000 kbps", "bitate_SelectTitle", "1000", SettingChangeVideoBitRate},
        {P::AudioCodec, "MP3", "acodec_SelectTitle", "MP3", SettingChangeAudioCodec},
        {P::Channels, "1", "achannel_SelectTitle", "1", SettingChangeChannels},
        {P::SampleRate, "48000 hz", "asamplerate_SelectTitle", "48000", SettingChangeSampleRate},
        {P::AudioBitRate, "192 kbps", "abitate_SelectTitle", "192", SettingChangeAudioBitRate},
        {P::SampleRate, "Keep Original", "asamplerate_SelectTitle", nullptr, SettingChangeSampleRate},
    };
    for (const Case& c : cases) {
        bits.clear();
        choose(*dialog, c.parameter, c.item);
        EXPECT_EQ(bits, QList<int>({c.bit})) << c.item;
        if (c.stored)
            EXPECT_EQ(store().stringForKey(c.key), c.stored) << c.item;
        else
            EXPECT_FALSE(store().hasKey(c.key)) << c.item;
    }
    EXPECT_EQ(defaults, 0);
}

TEST_F(SettingWindowControllerTest, KeepOriginalProfileOpensOnFirstItemsAndDefaultRemovesEveryKey) {
    store().setString("HEVC", "vcodec_SelectTitle");
    store().setString("30", "framerate_SelectTitle");
    auto dialog = open(false, 1, keepPath);
    for (int p = 0; p < P::ParameterCount; ++p)
        EXPECT_EQ(dialog->popUp(P::Parameter(p))->currentIndex(), 0) << p;
    EXPECT_EQ(dialog->popUp(P::VideoCodec)->currentText(), kKeep);
    EXPECT_EQ(store().stringForKey("vcodec_SelectTitle"), "HEVC");

    emit dialog->defaultButton()->clicked();
    EXPECT_EQ(defaults, 1);
    EXPECT_TRUE(bits.isEmpty());
    for (const char* key :
         {"vcodec_SelectTitle", "resolution_SelectTitle", "framerate_SelectTitle", "bitate_SelectTitle",
          "acodec_SelectTitle", "achannel_SelectTitle", "asamplerate_SelectTitle", "abitate_SelectTitle"})
        EXPECT_FALSE(store().hasKey(key)) << key;
    EXPECT_EQ(items(dialog->popUp(P::VideoCodec)), QStringList({"H264", "HEVC"})); // no keep item after Default
}

TEST_F(SettingWindowControllerTest, DefaultPutsBackWhatPickingTheProfileApplies) {
    store().setString("HEVC", "vcodec_SelectTitle");
    store().setString("640x480", "resolution_SelectTitle");
    store().setString("1", "achannel_SelectTitle");
    auto dialog = open(false, 1, videoPath);
    emit dialog->defaultButton()->clicked();
    EXPECT_EQ(store().stringForKey("vcodec_SelectTitle"), "H264");
    // No size before the options: the source's size is kept. Other values: the first option is the default.
    EXPECT_FALSE(store().hasKey("resolution_SelectTitle"));
    EXPECT_EQ(dialog->popUp(P::FrameSize)->currentText(), kKeep);
    EXPECT_EQ(store().stringForKey("framerate_SelectTitle"), "25");
    EXPECT_EQ(store().stringForKey("achannel_SelectTitle"), "2(Stereo)");
    EXPECT_EQ(dialog->popUp(P::Channels)->currentText(), "2(Stereo)");
    EXPECT_EQ(store().stringForKey("bitate_SelectTitle"), "2000");
    EXPECT_EQ(defaults, 1);
}

TEST_F(SettingWindowControllerTest, AudioProfileShowsAndResetsTheAudioPanelOnly) {
    store().setString("HEVC", "vcodecSelectTitle");
    store().setString("1280x720", "resolutionSelectTitle");
    auto dialog = open(true, 2, audioPath);
    EXPECT_EQ(dialog->videoBackView(), nullptr);
    EXPECT_EQ(dialog->popUp(P::VideoCodec), nullptr);
    ASSERT_NE(dialog->audioBackView(), nullptr);
    EXPECT_EQ(ViewFrame::frame(dialog->window()).height, 292);
    EXPECT_EQ(dialog->window()->windowTitle(), "Joiner Output Settings");

    emit dialog->defaultButton()->clicked();
    // All eight keys: the video ones, which an audio profile does not name, are removed.
    EXPECT_FALSE(store().hasKey("vcodecSelectTitle"));
    EXPECT_FALSE(store().hasKey("resolutionSelectTitle"));
    EXPECT_EQ(store().stringForKey("acodecSelectTitle"), "MP3");
    EXPECT_EQ(store().stringForKey("abitateSelectTitle"), "192");
    EXPECT_EQ(store().stringForKey("asamplerateSelectTitle"), "44100");
    EXPECT_EQ(defaults, 1);
}

TEST_F(SettingWindowControllerTest, JoinerCustomBitRateOpensWideWithItsValue) {
    store().setString("Custom", "bitateSelectTitle");
    store().setInteger(1500, OutputCustomValues::kBitRateKey);
    auto dialog = open(true, 1, videoPath, 480);
    EXPECT_EQ(items(dialog->popUp(P::VideoBitRate)), QStringList({"1000 kbps", "2000 kbps", "Custom"}));
    EXPECT_EQ(dialog->popUp(P::VideoBitRate)->currentText(), "Custom");
    EXPECT_TRUE(dialog->customVideoBit()->isVisibleTo(dialog->window()));
    EXPECT_EQ(dialog->customVideoBit()->text(), "1500");
    EXPECT_FALSE(dialog->customWidth()->isVisibleTo(dialog->window()));
    EXPECT_EQ(ViewFrame::frame(dialog->videoBackView()).width, 436);
    EXPECT_EQ(ViewFrame::frame(dialog->audioBackView()).width, 436);
    EXPECT_TRUE(bits.isEmpty());
}

TEST_F(SettingWindowControllerTest, CustomFrameSizeFieldsAndWindowWidth) {
    store().setInteger(1024, OutputCustomValues::kWidthKey);
    auto dialog = open(true, 1, videoPath);
    QWidget* window = dialog->window();
    const ViewRect before = ViewFrame::frame(window);

    choose(*dialog, P::FrameSize, "Custom");
    EXPECT_EQ(store().stringForKey("resolutionSelectTitle"), "Custom");
    EXPECT_TRUE(dialog->customWidth()->isVisibleTo(window));
    EXPECT_TRUE(dialog->sp()->isVisibleTo(window));
    EXPECT_EQ(dialog->customWidth()->text(), ""); // the fields keep their texts; nothing is stored yet
    EXPECT_EQ(store().integerForKey(OutputCustomValues::kWidthKey), 1024);
    ViewRect wide = ViewFrame::frame(window);
    EXPECT_EQ(wide.width, 480);
    EXPECT_DOUBLE_EQ(wide.x + wide.width / 2, before.x + before.width / 2);

    bits.clear();
    dialog->customHeight()->setText("720");
    QTest::keyClicks(dialog->customWidth(), "1281x");
    EXPECT_EQ(dialog->customWidth()->text(), "1281"); // digits only
    EXPECT_EQ(store().integerForKey(OutputCustomValues::kWidthKey), 1280);
    EXPECT_EQ(store().integerForKey(OutputCustomValues::kHeightKey), 720);
    EXPECT_EQ(bits, QList<int>(5, SettingChangeResolution));

    choose(*dialog, P::VideoBitRate, "2000 kbps");
    EXPECT_EQ(ViewFrame::frame(window).width, 480);
    choose(*dialog, P::FrameSize, "640x480");
    EXPECT_EQ(ViewFrame::frame(window).width, 360);
    EXPECT_FALSE(dialog->customWidth()->isVisibleTo(window));
    EXPECT_EQ(ViewFrame::frame(dialog->videoBackView()).width, 316);
    EXPECT_EQ(store().integerForKey(OutputCustomValues::kWidthKey), 1280); // typed values stay in the store

    choose(*dialog, P::VideoBitRate, "Custom");
    EXPECT_TRUE(dialog->customVideoBit()->isVisibleTo(window));
    bits.clear();
    QTest::keyClicks(dialog->customVideoBit(), "9");
    EXPECT_EQ(store().integerForKey(OutputCustomValues::kBitRateKey), OutputCustomValues::kMinBitRate);
    EXPECT_EQ(bits, QList<int>({SettingChangeVideoBitRate}));
}

TEST_F(SettingWindowControllerTest, DefaultAfterCustomSizeKeepsTheFieldsVisible) {
    auto dialog = open(false, 1, videoPath);
    choose(*dialog, P::FrameSize, "Custom");
    emit dialog->defaultButton()->clicked();
    EXPECT_TRUE(dialog->customWidth()->isVisibleTo(dialog->window()));
    EXPECT_EQ(dialog->popUp(P::FrameSize)->currentText(), kKeep);
    EXPECT_FALSE(store().hasKey("resolution_SelectTitle"));
    EXPECT_EQ(ViewFrame::frame(dialog->window()).width, 480);
}

TEST_F(SettingWindowControllerTest, MissingProfileLeavesOnlyTheFixedItems) {
    testing::internal::CaptureStdout();
    auto dialog = open(true, 1, dir.filePath("gone.pf"));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(items(dialog->popUp(P::FrameSize)), QStringList({kKeep, "Custom"}));
    EXPECT_EQ(items(dialog->popUp(P::VideoBitRate)), QStringList({"Custom"}));
    EXPECT_EQ(dialog->popUp(P::AudioBitRate)->count(), 0);
}

TEST_F(SettingWindowControllerTest, ClosingEndsTheModalRun) {
    auto dialog = open(false, 1, videoPath);
    SettingWindowController* raw = dialog.get();
    QTimer::singleShot(0, [raw] { raw->close(); });
    EXPECT_EQ(Modal::runModalForWindow(raw->window()), Modal::kModalResponseStop);
    EXPECT_FALSE(raw->window()->isVisible());
}

TEST_F(SettingWindowControllerTest, DefaultOnAShippedProfileGivesSensibleChoices) {
    const QString shipped = QStringLiteral(CLIPWRIGHT_SOURCE_BUNDLE) + "/functionFolder/Video/mp4(H264).pf";
    ASSERT_TRUE(QFileInfo::exists(shipped));
    store().setString("320x240", "resolution_SelectTitle");
    store().setString("1", "achannel_SelectTitle");
    auto dialog = open(false, 1, shipped);
    emit dialog->defaultButton()->clicked();
    EXPECT_EQ(store().stringForKey("vcodec_SelectTitle"), "H264");
    // The profile names no size: Default keeps the source's instead of enlarging a smaller picture.
    EXPECT_FALSE(store().hasKey("resolution_SelectTitle"));
    EXPECT_EQ(store().stringForKey("framerate_SelectTitle"), "30");
    EXPECT_EQ(store().stringForKey("achannel_SelectTitle"), "2(Stereo)");
    EXPECT_EQ(store().stringForKey("asamplerate_SelectTitle"), "48000");
    EXPECT_EQ(dialog->popUp(P::FrameSize)->currentText(), kKeep);
}

TEST_F(SettingWindowControllerTest, CancelAndEscPutBackWhatWasStoredAndOkKeepsIt) {
    store().setString("H264", "vcodecSelectTitle");
    store().setString("640x480", "resolutionSelectTitle");
    store().setInteger(1000, OutputCustomValues::kBitRateKey);
    using Dismiss = std::function<void(SettingWindowController&)>;
    const QList<QPair<QString, Dismiss>> ways = {
        {"Cancel", [](SettingWindowController& d) { QTest::mouseClick(d.cancelButton(), Qt::LeftButton); }},
        {"Esc", [](SettingWindowController& d) { QTest::keyClick(d.window(), Qt::Key_Escape); }},
    };
    for (const auto& [name, dismiss] : ways) {
        SCOPED_TRACE(name.toStdString());
        auto dialog = open(true, 1, videoPath);
        dialog->window()->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog->window()));
        EXPECT_EQ(dialog->cancelButton()->text(), "Cancel");
        EXPECT_EQ(dialog->okButton()->text(), "OK");
        choose(*dialog, P::VideoCodec, "HEVC");
        choose(*dialog, P::VideoBitRate, "Custom");
        QTest::keyClicks(dialog->customVideoBit(), "3");
        ASSERT_EQ(store().stringForKey("vcodecSelectTitle"), "HEVC");
        bits.clear();
        dismiss(*dialog);
        EXPECT_FALSE(dialog->window()->isVisible());
        EXPECT_EQ(store().stringForKey("vcodecSelectTitle"), "H264");
        EXPECT_EQ(store().stringForKey("resolutionSelectTitle"), "640x480");
        EXPECT_FALSE(store().hasKey("bitateSelectTitle"));
        EXPECT_EQ(store().integerForKey(OutputCustomValues::kBitRateKey), 1000);
        // The owner followed the changes; it is told again about each parameter that changed.
        EXPECT_EQ(bits, QList<int>({SettingChangeVideoCodec, SettingChangeVideoBitRate}));
    }

    auto dialog = open(true, 1, videoPath);
    dialog->window()->show();
    choose(*dialog, P::VideoCodec, "HEVC");
    bits.clear();
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->window()->isVisible());
    EXPECT_EQ(store().stringForKey("vcodecSelectTitle"), "HEVC");
    EXPECT_TRUE(bits.isEmpty());
}

TEST_F(SettingWindowControllerTest, ACustomSizeTheEncoderRoundsSaysSo) {
    auto dialog = open(false, 1, videoPath);
    dialog->window()->show();
    choose(*dialog, P::FrameSize, "Custom");
    QLabel* note = dialog->roundingNote();
    ASSERT_NE(note, nullptr);
    struct Case {
        QString width, height;
        QString said; // empty: nothing is said
    };
    for (const Case& c : {Case{"641", "361", "Rounded to 640 x 360"}, Case{"640", "360", ""},
                          Case{"640", "9", "Rounded to 640 x 16"}, Case{"1280", "721", "Rounded to 1280 x 720"}}) {
        dialog->customWidth()->setText(c.width);
        dialog->customHeight()->setText(c.height);
        EXPECT_EQ(note->isVisibleTo(dialog->window()), !c.said.isEmpty()) << c.width.toStdString();
        if (!c.said.isEmpty()) {
            EXPECT_EQ(note->text(), c.said);
        }
    }
    EXPECT_EQ(store().integerForKey(OutputCustomValues::kWidthKey), 1280);
    EXPECT_EQ(store().integerForKey(OutputCustomValues::kHeightKey), 720);
    choose(*dialog, P::FrameSize, "640x480");
    EXPECT_FALSE(note->isVisibleTo(dialog->window())) << "no custom size, nothing rounded";
}
