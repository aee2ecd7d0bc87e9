#include "EditorWindowTestSupport.h"

#include "AdjustPanel.h"
#include "CropPanel.h"
#include "CropRotateEditor.h"
#include "EffectEditor.h"
#include "EffectPanel.h"
#include "EffectTableCellView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LQWaterView.h"
#include "LabelField.h"
#include "LayoutCheck.h"
#include "MusicEditor.h"
#include "MusicPanel.h"
#include "ResourceBundle.h"
#include "TrimPanel.h"
#include "ViewFrame.h"
#include "WatermarkEditor.h"
#include "WatermarkPanel.h"
#include "Workspace.h"
#include "support/MediaFixtures.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>

namespace {

const qint64 kModes[] = {ToolItemTypeTrim,      ToolItemTypeRotate,   ToolItemTypeCrop, ToolItemTypeEffect,
                         ToolItemTypeWatermark, ToolItemTypeSubtitle, ToolItemTypeMusic};

QString localized(const char* key) {
    return ResourceBundle::localizedStringForKey(QString::fromLatin1(key));
}

bool mainSoundDisabled(const EditVideoWindowController& c) {
    return c.lqPlayer()->edits().settings().mainAudioDisabled;
}

// Presses the slider at a fraction of its width, and releases it there.
void pressSlider(LQProgressSlider* slider, double at) {
    const QPoint point(int(slider->width() * at), slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, {}, point);
    QCoreApplication::processEvents();
}
void releaseSlider(LQProgressSlider* slider, double at) {
    const QPoint point(int(slider->width() * at), slider->height() / 2);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, point);
    QCoreApplication::processEvents();
}

void typeInto(LQTextField* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
    QCoreApplication::processEvents();
}

} // namespace

TEST(EditorWindowHabits, ReleasingTheSeekSliderKeepsTheFilesSoundOffWhileItIsRemoved) {
    EditorWindow w(ToolItemTypeMusic);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    ASSERT_NE(c.lqPlayer(), nullptr);
    w.click(c.music()->panel()->removeOriginalmusicBtn);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.music()->removesOriginalSound(); }, 2000));
    w.click(c.toolButton(ToolItemTypeEffect));
    c.play();
    ASSERT_TRUE(mainSoundDisabled(c));
    pressSlider(c.progressSlider(), 0.5);
    releaseSlider(c.progressSlider(), 0.5);
    EXPECT_TRUE(c.isPlaying());
    EXPECT_TRUE(mainSoundDisabled(c)) << "the release follows the same rule as play";
    c.pause();
}

TEST(EditorWindowHabits, RemoveOriginalMusicWaitsForAFile) {
    EditorWindow w(ToolItemTypeMusic);
    EditVideoWindowController& c = *w.controller;
    MOQButton* remove = c.music()->panel()->removeOriginalmusicBtn;
    EXPECT_FALSE(remove->isEnabled()) << "a tick now would reach the next file's preview and export unseen";
    // The introduction stands in the player's place, each of its steps whole.
    EXPECT_EQ(LayoutCheck::expectFits(c.musicRightView()), 0);
    const auto& steps = c.music()->panel()->toolMusicNofileDescLabels;
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_GE(steps[i]->height(), steps[i]->heightForWidth(steps[i]->width())) << "step " << i << " whole";
        if (i > 0)
            EXPECT_LE(steps[i - 1]->geometry().bottom(), steps[i]->geometry().top()) << "step " << i << " below";
    }
    WindowShots::save(w.window, "editor-music-no-file");
    w.add(MediaFixtures::mp4());
    EXPECT_TRUE(remove->isEnabled());
}

TEST(EditorWindowHabits, TheTrimPlayButtonShowsPauseWhilePlayingWhateverStartedIt) {
    EditorWindow w(ToolItemTypeTrim);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    MOQButton* play = c.trimPanel()->playTrimBtn();
    EXPECT_FALSE(play->selected());
    w.click(play);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isPlaying(); }, 2000));
    EXPECT_TRUE(play->selected());
    w.click(play);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isPlaying(); }, 2000));
    EXPECT_FALSE(play->selected());
    c.play(); // the window's own play button
    EXPECT_TRUE(play->selected());
    c.pause();
    EXPECT_FALSE(play->selected());
}

TEST(EditorWindowHabits, PressingTheTransparencySliderHoldsAPlayingPreviewUntilTheRelease) {
    const std::string picture = MediaFixtures::make("habits_red.png", "-f lavfi -i color=c=red:s=40x20 -frames:v 1");
    EditorWindow w(ToolItemTypeWatermark);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    ASSERT_TRUE(c.watermarks()->addFile(QString::fromStdString(picture)));
    LQProgressSlider* transparency = c.watermarks()->waterView()->wmAlphaProgressView;
    c.play();
    ASSERT_EQ(c.lqPlayer()->playerStatus(), LQMoviePlayer::Playing);
    ASSERT_FALSE(transparency->disable()) << "the slider can be pressed while the preview plays";
    pressSlider(transparency, 0.6);
    EXPECT_EQ(c.lqPlayer()->playerStatus(), LQMoviePlayer::Paused) << "held still while pressed";
    EXPECT_TRUE(c.isPlaying());
    EXPECT_GT(c.watermarks()->waterMarkList().at(0)->waterAlph(), 40) << "the press moved the thumb";
    releaseSlider(transparency, 0.6);
    EXPECT_EQ(c.lqPlayer()->playerStatus(), LQMoviePlayer::Playing) << "and playing again at the release";
    c.pause();
}

TEST(EditorWindowHabits, EveryIconOnlyButtonSaysWhatItDoes) {
    EditorWindow w(ToolItemTypeTrim);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    for (qint64 mode : kModes) {
        w.click(c.toolButton(mode));
        for (MOQButton* button : w.window->findChildren<MOQButton*>()) {
            if (!button->isVisible() || !button->contentTitle().trimmed().isEmpty())
                continue;
            EXPECT_FALSE(button->toolTip().isEmpty())
                << "mode " << mode << ": the button at " << button->mapTo(w.window, QPoint(0, 0)).x() << ","
                << button->mapTo(w.window, QPoint(0, 0)).y() << " (" << button->objectName().toStdString() << ")";
        }
    }
}

TEST(EditorWindowHabits, TheOutputFolderButtonShowsTheFolder) {
    EditorWindow w(ToolItemTypeCrop);
    EditVideoWindowController& c = *w.controller;
    QStringList revealed;
    Workspace::setRevealHandler([&](const QString& path) {
        revealed << path;
        return true;
    });
    ASSERT_NE(c.scrFolderBtn(), nullptr);
    EXPECT_FALSE(c.scrFolderBtn()->toolTip().isEmpty());
    w.click(c.scrFolderBtn());
    EXPECT_EQ(revealed, QStringList{c.outputPath()});
}

TEST(EditorWindowHabits, StartWithNothingLoadedSaysWhy) {
    EditorWindow w(ToolItemTypeEffect);
    EditVideoWindowController& c = *w.controller;
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !w.alerts.isEmpty(); }, 2000));
    EXPECT_EQ(w.alerts, QStringList{localized("StartWithoutFileMessage")});
    EXPECT_FALSE(c.isRunning());
}

TEST(EditorWindowHabits, ANewFileStartsTheCropFieldsOverItsWholePicture) {
    EditorWindow w(ToolItemTypeCrop);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    CropPanel& panel = *c.crop()->cropView();
    typeInto(panel._cropWidthField, "200");
    typeInto(panel._cropHeightField, "100");
    typeInto(panel._cropTopField, "40");
    typeInto(panel._cropLeftField, "50");
    ASSERT_EQ(panel._cropTopField->stringValue(), "40");
    ASSERT_EQ(panel._cropLeftField->stringValue(), "50");
    w.add(MediaFixtures::noAudio());
    const ViewSize picture = c.videoSize();
    EXPECT_EQ(panel._cropTopField->stringValue(), "0");
    EXPECT_EQ(panel._cropLeftField->stringValue(), "0");
    EXPECT_EQ(panel._cropWidthField->stringValue().toInt(), int(picture.width));
    EXPECT_EQ(panel._cropHeightField->stringValue().toInt(), int(picture.height));
}

TEST(EditorWindowHabits, TheCropIsOutlinedOverTheWatermarkMode) {
    EditorWindow w(ToolItemTypeCrop);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    typeInto(c.crop()->cropView()->_cropWidthField, "100");
    typeInto(c.crop()->cropView()->_cropLeftField, "100");
    w.click(c.toolButton(ToolItemTypeWatermark));
    LQWaterView* overlay = c.watermarks()->watermarkView();
    ASSERT_NE(overlay, nullptr);
    const ViewRect outline = overlay->cropOutline();
    ASSERT_FALSE(outline.isEmpty());
    // The crop's place on the overlay: 100 pixels in, 100 wide, of the picture's width.
    const double scale = overlay->model().size().width / c.videoSize().width;
    EXPECT_NEAR(outline.x, 100 * scale, 0.5);
    EXPECT_NEAR(outline.width, 100 * scale, 0.5);
    WindowShots::save(w.window, "editor-watermark-crop-outline");
}

TEST(EditorWindowHabits, TheRotateModeHasItsOwnInstructions) {
    EditorWindow w(ToolItemTypeRotate);
    EditVideoWindowController& c = *w.controller;
    const QString rotate = c.crop()->adjustView()->descriptionView->toPlainText();
    const QString crop = c.crop()->cropView()->descriptionView->toPlainText();
    EXPECT_EQ(rotate, localized("rotateDescriptionString"));
    EXPECT_NE(rotate, crop);
}

TEST(EditorWindowHabits, OnASmallScreenTheWindowFitsAndItsContentScrolls) {
    EditorWindow w(ToolItemTypeTrim);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    // Never asks for more than the screen's room.
    const ViewSize room = c.screenRoom();
    ASSERT_GT(room.height, 0);
    EXPECT_LE(w.window->minimumHeight(), int(room.height));
    EXPECT_LE(w.window->minimumWidth(), int(room.width));
    // A window lower than the layout's minimum (as on a 768-pixel screen): every panel whole, reached by scrolling.
    w.window->setMinimumSize(0, 0);
    w.window->resize(1000, 640);
    QCoreApplication::processEvents();
    QWidget* back = c.backGroundView();
    EXPECT_GE(back->height(), 780);
    EXPECT_GT(c.scroller()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(c.scroller()->horizontalScrollBar()->maximum(), 0) << "wide enough: no sideways scrolling";
    for (qint64 mode : kModes) {
        w.click(c.toolButton(mode));
        QWidget* panel = c.panelForMode(mode);
        const QRect inBack(panel->mapTo(back, QPoint(0, 0)), panel->size());
        EXPECT_TRUE(back->rect().contains(inBack)) << mode;
    }
    WindowShots::save(w.window, "editor-small-screen");
}

TEST(EditorWindowHabits, TheMouseWheelOverTheEffectListReachesTheList) {
    EditorWindow w(ToolItemTypeEffect);
    EditVideoWindowController& c = *w.controller;
    w.add(MediaFixtures::mp4());
    QScrollArea* list = c.effects()->effectView()->_filterScrollView;
    ASSERT_GT(list->verticalScrollBar()->maximum(), 0) << "more effects than fit";
    ASSERT_FALSE(c.effects()->effectTableCells().isEmpty());
    // The window system hands a wheel turn to the widget under the pointer and on up through its parents until
    // one takes it; a parent that keeps the mouse to itself would stop it before the list. (A test cannot send a
    // wheel turn as the window system does: Qt passes only those on.)
    for (QWidget* row : c.effects()->effectTableCells()) {
        for (QWidget* up = row; up && up != list->viewport(); up = up->parentWidget())
            EXPECT_FALSE(up->testAttribute(Qt::WA_NoMousePropagation)) << up->metaObject()->className();
    }
    // The list itself scrolls on a turn.
    QWheelEvent wheel(QPointF(5, 5), list->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &wheel);
    EXPECT_GT(list->verticalScrollBar()->value(), 0);
}

TEST(EditorWindowHabits, SeveralFilesChosenOpenTheFirstAndNameTheOthers) {
    EditorWindow w(ToolItemTypeCrop);
    EditVideoWindowController& c = *w.controller;
    const QString first = QString::fromStdString(MediaFixtures::mp4());
    OpenPanel::setProvider([&](const OpenPanelOptions&, QWidget*) {
        return QStringList{first, QStringLiteral("/nowhere/second clip.mov")};
    });
    w.click(c.addfileButton());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isProbing() && c.fileData() != nullptr; }, 15000));
    EXPECT_EQ(c.filePath(), first);
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_TRUE(w.alerts.first().contains(QStringLiteral("second clip.mov"))) << w.alerts.first().toStdString();
}
