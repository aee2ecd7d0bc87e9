#include "EditorWindowTestSupport.h"

#include "../../shell/FakeMediaJob.h"
#include "CropRotateEditor.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LayoutCheck.h"
#include "MOQImageView.h"
#include "MusicEditor.h"
#include "MusicPanel.h"
#include "ResourceBundle.h"
#include "TrimPanel.h"
#include "ViewFrame.h"
#include "WatermarkEditor.h"
#include "WatermarkPanel.h"
#include "support/MediaFixtures.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>

namespace {

const qint64 kModes[] = {ToolItemTypeTrim,      ToolItemTypeRotate,   ToolItemTypeCrop, ToolItemTypeEffect,
                         ToolItemTypeWatermark, ToolItemTypeSubtitle, ToolItemTypeMusic};

// Only the mode's own panel is shown, its button alone selected, and the player area shows what the mode needs.
void expectMode(const EditVideoWindowController& c, qint64 mode) {
    EXPECT_EQ(c.toolItemType(), mode);
    EXPECT_EQ(c.oldToolItemType(), mode);
    for (qint64 other : kModes) {
        QWidget* panel = c.panelForMode(other);
        ASSERT_NE(panel, nullptr) << other;
        EXPECT_EQ(panel->isVisible(), other == mode) << "panel of " << other << " in mode " << mode;
        EXPECT_EQ(c.toolButton(other)->selected(), other == mode) << "button of " << other << " in mode " << mode;
    }
    const bool music = mode == ToolItemTypeMusic;
    EXPECT_EQ(c.playerBackView()->isVisible(), !music);
    EXPECT_EQ(c.musicRightView()->isVisible(), music);
    if (!music) {
        EXPECT_EQ(c.cutProgressView()->isVisible(), mode == ToolItemTypeTrim);
        EXPECT_EQ(c.progressSlider()->isVisible(), mode != ToolItemTypeTrim);
    }
}

std::string garbageFile() {
    const std::string path = MediaFixtures::dir() + "/editor_garbage.mp4";
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly)) {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes.append(char((i * 7919 + 13) % 251));
        file.write(bytes);
    }
    return path;
}

} // namespace

TEST(EditorWindow, EachToolOpensOnItsPanel) {
    struct Case {
        qint64 requested, expected;
    } cases[] = {{1, 1}, {2, 2}, {4, 4}, {8, 8}, {16, 16}, {32, 32}, {64, 64}, {3, 1}, {0, 1}, {128, 1}};
    for (const Case& c : cases) {
        EditorWindow w(c.requested);
        SCOPED_TRACE(c.requested);
        expectMode(*w.controller, c.expected);
        // Nothing is open: the tools wait for a file, Add does not.
        for (MOQButton* button : w.controller->toolButtons())
            EXPECT_FALSE(button->isEnabled());
        EXPECT_TRUE(w.controller->addfileButton()->isEnabled());
        EXPECT_EQ(w.controller->lqPlayer(), nullptr);
        EXPECT_FALSE(w.controller->outputPath().isEmpty());
    }
}

TEST(EditorWindow, LoadingAClipFillsTheWindowAndEveryToolButtonSwitchesItsPanel) {
    EditorWindow w(ToolItemTypeEffect);
    EditVideoWindowController& c = *w.controller;
    const std::string clip = MediaFixtures::mp4();
    w.add(clip);
    ASSERT_NE(c.fileData(), nullptr);
    EXPECT_TRUE(w.alerts.isEmpty());
    EXPECT_TRUE(c.startExportBtn()->isEnabled()) << "a loaded file can be exported";
    EXPECT_EQ(c.scrLabel()->text(), QString::fromStdString(clip));
    EXPECT_EQ(c.filePath(), QString::fromStdString(clip));
    ASSERT_NE(c.lqPlayer(), nullptr);
    EXPECT_NEAR(c.duration(), 2.0, 0.05);
    EXPECT_EQ(c.totalTimeLabel()->text().left(8), "00:00:02");
    EXPECT_TRUE(c.currentTimeLabel()->text().startsWith("00:00:00.0")); // the first frame
    EXPECT_EQ(c.videoSize(), (ViewSize{320, 240}));
    EXPECT_NEAR(c.cutTimeRange_stop(), c.duration() * 1e6, 1);
    EXPECT_EQ(c.cutTimeRange_start(), 0);
    ASSERT_EQ(c.audiochanelPopBtn()->count(), 1);
    EXPECT_TRUE(c.audiochanelPopBtn()->itemText(0).endsWith("(2 44100)"))
        << c.audiochanelPopBtn()->itemText(0).toStdString();
    EXPECT_EQ(c.selectedAudioStreamIndex(), c.fileData()->audioStreamInfos()->first()->index());
    // The target follows the stored choices (none: the source's size).
    EXPECT_EQ(c.fileData()->targetData()->width(), 320);
    expectMode(c, ToolItemTypeEffect);
    // The picture sits aspect-fit in the player's view.
    const ViewRect rect = c.videoRect();
    const ViewRect view = ViewFrame::bounds(c.playerView());
    EXPECT_NEAR(rect.width / rect.height, 320.0 / 240.0, 0.01);
    EXPECT_TRUE(rect.width == view.width || rect.height == view.height);

    for (qint64 mode : {ToolItemTypeTrim, ToolItemTypeCrop, ToolItemTypeMusic, ToolItemTypeWatermark,
                        ToolItemTypeSubtitle, ToolItemTypeRotate, ToolItemTypeMusic, ToolItemTypeEffect}) {
        w.click(c.toolButton(mode));
        SCOPED_TRACE(mode);
        expectMode(c, mode);
        // The player's view follows into the music panel's right column and back.
        QWidget* host = mode == ToolItemTypeMusic ? static_cast<QWidget*>(c.musicRightPlayerView())
                                                  : static_cast<QWidget*>(c.playerView());
        EXPECT_EQ(c.lqPlayer()->view()->parentWidget(), host);
        EXPECT_EQ(ViewFrame::frame(c.lqPlayer()->view()), ViewFrame::bounds(host));
    }
    // The watermark overlay shows only in its own mode.
    w.click(c.toolButton(ToolItemTypeWatermark));
    ASSERT_NE(c.watermarks()->watermarkView(), nullptr);
    EXPECT_TRUE(c.watermarks()->watermarkView()->isVisible());
    w.click(c.toolButton(ToolItemTypeCrop));
    EXPECT_FALSE(c.watermarks()->watermarkView()->isVisible());
}

TEST(EditorWindow, AFileThatCannotBeUsedLeavesTheWindowAsItWasAndSaysWhy) {
    EditorWindow w(ToolItemTypeTrim);
    EditVideoWindowController& c = *w.controller;
    const std::string clip = MediaFixtures::mp4();
    w.add(clip);
    ASSERT_NE(c.fileData(), nullptr);
    const auto record = c.fileData();
    LQMoviePlayer* player = c.lqPlayer();
    const QString label = c.scrLabel()->text();
    const int tracks = c.audiochanelPopBtn()->count();

    const std::string folder = MediaFixtures::freshDir("editor_folder");
    struct Case {
        std::string path;
        QString why;
    } cases[] = {
        {garbageFile(), ResourceBundle::localizedStringForKey("nonsupportfilesstringValue")},
        {MediaFixtures::dir() + "/editor_missing.mp4",
         ResourceBundle::localizedStringForKey("nonsupportfilesstringValue")},
        {folder, ResourceBundle::localizedStringForKey("nonsupportfilesstringValue")},
        {MediaFixtures::mp3WithCover(), ResourceBundle::localizedStringForKey("Pleaseselectedvideo'sfilestring")},
    };
    for (const Case& bad : cases) {
        SCOPED_TRACE(bad.path);
        w.alerts.clear();
        w.add(bad.path);
        ASSERT_EQ(w.alerts.size(), 1);
        EXPECT_TRUE(w.alerts.first().startsWith(bad.why)) << w.alerts.first().toStdString();
        EXPECT_EQ(c.fileData(), record);
        EXPECT_EQ(c.lqPlayer(), player);
        EXPECT_EQ(c.scrLabel()->text(), label);
        EXPECT_EQ(c.filePath(), QString::fromStdString(clip));
        EXPECT_EQ(c.audiochanelPopBtn()->count(), tracks);
        for (MOQButton* button : c.toolButtons())
            EXPECT_TRUE(button->isEnabled());
    }

    // Before any file: a bad file leaves the window empty.
    EditorWindow fresh(ToolItemTypeCrop);
    fresh.add(garbageFile());
    EXPECT_EQ(fresh.controller->fileData(), nullptr);
    EXPECT_EQ(fresh.alerts.size(), 1);
    for (MOQButton* button : fresh.controller->toolButtons())
        EXPECT_FALSE(button->isEnabled());
}

TEST(EditorWindow, TheAudioTrackIsAlwaysAStreamOfTheFile) {
    EditorWindow w(ToolItemTypeTrim);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::twoAudioMkv());
    ASSERT_NE(c.fileData(), nullptr);
    const AudioStreamInfoList& tracks = *c.fileData()->audioStreamInfos();
    ASSERT_EQ(tracks.size(), 2);
    ASSERT_EQ(c.audiochanelPopBtn()->count(), 2);
    for (int row = 0; row < 2; ++row) {
        c.audiochanelPopBtn()->setCurrentIndex(row);
        EXPECT_EQ(c.selectedAudioStreamIndex(), tracks.at(row)->index());
    }
    EXPECT_NE(tracks.at(1)->index(), 1); // the second track is stream 2 (stream 0 is the picture)

    // Without sound there is no stream to name: none is sent.
    w.add(MediaFixtures::noAudio());
    EXPECT_TRUE(c.fileData()->audioStreamInfos()->isEmpty());
    EXPECT_EQ(c.audiochanelPopBtn()->count(), 0);
    EXPECT_EQ(c.selectedAudioStreamIndex(), -1);
    c.play();
    EXPECT_TRUE(c.isPlaying());
    c.pause();
}

TEST(EditorWindow, TheVideoSizeTurnsWithTheStreamsOwnRotation) {
    EditorWindow w(ToolItemTypeCrop);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::rotated90());
    ASSERT_NE(c.fileData(), nullptr);
    EXPECT_EQ(c.videoSize(), (ViewSize{240, 320}));
    const ViewRect rect = c.videoRect();
    EXPECT_LT(rect.width, rect.height);
}

TEST(EditorWindow, StillFramesKeepTheirFormatInAnyLanguageAndNeverReplaceAFile) {
    EditorWindow w(ToolItemTypeMusic);
    EditVideoWindowController& c = *w.controller;
    EXPECT_TRUE(c.actionCarameraBtn().isEmpty()); // nothing open: nothing written
    w.add(MediaFixtures::mp4());
    ASSERT_NE(c.lqPlayer(), nullptr);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.lqPlayer()->isSeeking(); }, 5000));
    ResourceBundle::setLanguage("zh-Hans");
    c.chooseCoverStyle(1);
    ResourceBundle::setLanguage("");
    EXPECT_EQ(c.coverStyle(), "jpg");
    const QString first = c.actionCarameraBtn();
    const QString second = c.actionCarameraBtn();
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(first.endsWith(".jpg"));
    EXPECT_TRUE(second.endsWith(".jpg"));
    QImage picture(first);
    EXPECT_EQ(picture.size(), QSize(320, 240));
    EXPECT_EQ(QFileInfo(first).absolutePath(), QFileInfo(c.outputPath() + "/x").absolutePath());
}

TEST(EditorWindow, WhileAnExportRunsAddTheToolsAndTheEditControlsAreLocked) {
    FakeJobFactory factory;
    factory.script.workMs = 3000;
    factory.script.lingerAfterStopMs = 1000;
    EditorWindow w(ToolItemTypeTrim, &factory);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    ASSERT_NE(c.fileData(), nullptr);
    w.exportOneJobNamed("locked");
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    EXPECT_FALSE(c.addfileButton()->isEnabled());
    for (MOQButton* button : c.toolButtons())
        EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(c.progressSlider()->disable());
    EXPECT_TRUE(c.cutProgressView()->disable());
    EXPECT_FALSE(c.audiochanelPopBtn()->isEnabled());
    // Nor can the watermark list change, nor "Remove Original music" be ticked for the next preview and export.
    WatermarkPanel& marks = *c.watermarks()->waterView();
    MOQButton* removeOriginal = c.music()->panel()->removeOriginalmusicBtn;
    for (MOQButton* button : {marks.textmarkBtn, marks.imagemarkBtn, marks.deletedmarkBtn, removeOriginal})
        EXPECT_FALSE(button->isEnabled());
    // Entering the music mode does not unlock them, nor does a file added meanwhile reach the window.
    c.addmusicAction();
    EXPECT_TRUE(c.progressSlider()->disable());
    EXPECT_FALSE(c.audiochanelPopBtn()->isEnabled());
    EXPECT_FALSE(removeOriginal->isEnabled());
    const auto record = c.fileData();
    c.loadFile(QString::fromStdString(MediaFixtures::noAudio()));
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isProbing(); }, 10000));
    EXPECT_EQ(c.fileData(), record);

    w.click(c.startExportBtn()); // cancel
    ASSERT_TRUE(c.jobRunner().isBusy());
    EXPECT_FALSE(c.startExportBtn()->isEnabled()) << "until the stopped job's worker has returned";
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.jobRunner().isBusy(); }, 10000));
    EXPECT_TRUE(c.startExportBtn()->isEnabled());
    EXPECT_TRUE(c.addfileButton()->isEnabled());
    for (MOQButton* button : c.toolButtons())
        EXPECT_TRUE(button->isEnabled());
    EXPECT_FALSE(c.progressSlider()->disable());
    EXPECT_TRUE(c.audiochanelPopBtn()->isEnabled());
    EXPECT_TRUE(marks.textmarkBtn->isEnabled());
    EXPECT_TRUE(removeOriginal->isEnabled());
}

TEST(EditorWindow, ClosingStopsThePreviewAndAnExport) {
    FakeJobFactory factory;
    factory.script.workMs = 3000;
    EditorWindow w(ToolItemTypeEffect, &factory);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    w.exportOneJobNamed("closing");
    c.play();
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    c.close();
    EXPECT_FALSE(c.isRunning());
    EXPECT_EQ(c.lqPlayer(), nullptr);
    EXPECT_FALSE(c.hasPreviewTimer());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.jobRunner().isBusy(); }, 10000));
    ASSERT_EQ(factory.made.size(), 1u);
    EXPECT_TRUE(factory.made[0]->returned);
}

TEST(EditorWindow, ThePreviewPlaysFollowsAndReturnsToTheTrimStartAtTheEnd) {
    EditorWindow w(ToolItemTypeEffect);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    ASSERT_NE(c.lqPlayer(), nullptr);
    w.click(c.playOrpauseBtn());
    EXPECT_TRUE(c.isPlaying());
    EXPECT_TRUE(c.hasPreviewTimer());
    // The follow timer moves the seek slider and the time label with the player.
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.progressSlider()->progress() > 0.2f; }, 5000));
    EXPECT_NE(c.currentTimeLabel()->text(), "00:00:00.00");

    // A press on the seek slider holds the picture and keeps the play state; the release plays on.
    c.actionMouseDownForProgressSliderBlock(c.progressSlider(), 0.1f);
    EXPECT_TRUE(c.isPlaying());
    EXPECT_FALSE(c.hasPreviewTimer());
    c.actionProgressForProgressSliderBlock(c.progressSlider(), 0.1f);
    EXPECT_EQ(c.currentTimeLabel()->text(), "00:00:00.20");
    c.actionMouseUpForProgressSliderBlock(c.progressSlider(), 0.1f);
    EXPECT_TRUE(c.hasPreviewTimer());

    // At the end the preview pauses and goes back to the trim start.
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isPlaying(); }, 10000));
    EXPECT_FALSE(c.hasPreviewTimer());
    EXPECT_TRUE(WindowShots::waitUntil([&] { return c.lqPlayer()->currentTime().seconds() < 0.05; }, 3000));
    EXPECT_FLOAT_EQ(c.progressSlider()->progress(), 0.0f);

    w.click(c.playOrpauseBtn());
    EXPECT_TRUE(c.isPlaying());
    w.click(c.playOrpauseBtn());
    EXPECT_FALSE(c.isPlaying());
    EXPECT_FALSE(c.hasPreviewTimer());
}

TEST(EditorWindow, ResizingLaysTheWindowOutAgain) {
    EditorWindow w(ToolItemTypeTrim);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    for (const QSize size : {QSize(1200, 900), QSize(908, 780), QSize(1040, 800)}) {
        w.window->resize(size);
        QCoreApplication::processEvents();
        const ViewRect frame = ViewFrame::frame(w.window);
        EditorLayout::Input in;
        in.width = frame.width;
        in.height = frame.height;
        in.backGroundWidth = frame.width;
        const EditorLayout::Frames f = EditorLayout::compute(in);
        EXPECT_EQ(ViewFrame::frame(c.contentLeftView()), f.contentLeftView) << size.width();
        EXPECT_EQ(ViewFrame::frame(c.playerBackView()), f.playerBackView) << size.width();
        EXPECT_EQ(ViewFrame::frame(c.playerView()), f.playerView) << size.width();
        EXPECT_EQ(ViewFrame::frame(c.lqPlayer()->view()), ViewFrame::bounds(c.playerView()));
        EXPECT_EQ(ViewFrame::frame(c.cutView()),
                  EditorLayout::toolPanelFrame(ViewFrame::frame(c.cutView()), f.contentLeftView));
        const ViewSize minimum = EditorLayout::fittedSize({908, 780}, c.screenRoom());
        EXPECT_EQ(w.window->minimumSize(), QSize(int(minimum.width), int(minimum.height)));
        // The watermark overlay lies on the picture.
        EXPECT_EQ(ViewFrame::frame(c.watermarks()->watermarkView()), c.videoRect()) << size.width();
    }
}

TEST(EditorWindow, ASecondFileKeepsTheRotationAndStartsTheRestAfresh) {
    EditorWindow w(ToolItemTypeRotate);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    c.crop()->rotateRightAction();
    c.trimPanel()->setCutTimeRange(500000, 1500000);
    w.add(MediaFixtures::noAudio());
    ASSERT_EQ(c.filePath(), QString::fromStdString(MediaFixtures::noAudio()));
    EXPECT_EQ(c.fileData()->convertRateAngle(), 90);
    EXPECT_EQ(c.videoSize(), (ViewSize{240, 320}));
    EXPECT_EQ(c.cutTimeRange_start(), 0);
    EXPECT_NEAR(c.cutTimeRange_stop(), c.duration() * 1e6, 1);
    EXPECT_TRUE(c.watermarks()->waterMarkList().isEmpty());
    EXPECT_EQ(c.toolItemType(), ToolItemTypeRotate);
}

TEST(EditorWindow, EveryToolsControlsFitTheWindowAtItsDefaultSize) {
    EditorWindow w(ToolItemTypeTrim);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    ASSERT_NE(c.fileData(), nullptr);
    for (qint64 mode : kModes) {
        SCOPED_TRACE(mode);
        w.click(c.toolButton(mode));
        EXPECT_EQ(LayoutCheck::expectFits(c.panelForMode(mode)), 0);
        EXPECT_EQ(LayoutCheck::expectFits(w.window), 0);
    }
}
