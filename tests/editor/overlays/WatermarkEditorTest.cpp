#include "WatermarkEditor.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LQWaterView.h"
#include "MOQButton.h"
#include "OpenPanel.h"
#include "PlayerTestSupport.h"
#include "ShellTestEnvironment.h"
#include "ViewFrame.h"
#include "WaterMarkCellItemView.h"
#include "WatermarkHost.h"
#include "WatermarkPanel.h"
#include "WatermarkTestSupport.h"
#include "WindowShots.h"
#include "support/MediaFixtures.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct Fixture : ::testing::Test {
    ShellTestEnvironment environment;
    EditorStandIn host;
    WatermarkEditor editor{host};
    std::string redPng = WatermarkClips::red();
    std::string greenClip = WatermarkClips::green();

    void SetUp() override {
        editor.initWaterView(host.left);
        editor.initWatermarkView();
        editor.waterView()->show();
        editor.watermarkView()->show();
        host.window->show();
        ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*host.player));
    }
    void settle() {
        WindowShots::waitUntil([] { return false; }, 50);
    }
    WatermarkPanel& panel() { return *editor.waterView(); }
    void typeTime(int group, const QStringList& parts) {
        auto& fields = panel().timeRows()[static_cast<size_t>(group)]->fields;
        for (int i = 0; i < 4; ++i)
            fields[static_cast<size_t>(i)]->setStringValue(parts[i]);
    }
};

using Time = WatermarkEditRules::Time;

} // namespace

TEST_F(Fixture, AddingPicturesVideosAndTextsSelectsTheNewOne) {
    EXPECT_TRUE(editor.waterMarkList().isEmpty());
    EXPECT_FALSE(panel().wmAlphaField->isEnabled()); // nothing selected: the properties are off

    ASSERT_TRUE(editor.addFile(QString::fromStdString(redPng)));
    const WaterParam& image = *editor.waterMarkList().at(0);
    EXPECT_FALSE(image.isVideo());
    EXPECT_TRUE(image.keepaspectRatio());
    EXPECT_NEAR(image.duration(), 4.0, 0.05);
    // A 64 x 48 picture: a box of its pixel size on the 320 x 240 video, which the 480-point overlay shows 1.5
    // times larger; the fields count the video's pixels.
    EXPECT_DOUBLE_EQ(image.waterRect().width, 96);
    EXPECT_DOUBLE_EQ(image.waterRect().height, 72);
    EXPECT_EQ(panel().wmWidthField->stringValue(), "64");
    EXPECT_EQ(panel().wmHeightField->stringValue(), "48");
    EXPECT_TRUE(panel().wmWidthField->isEnabled());
    EXPECT_FALSE(panel().waterFontBtn->isEnabled());

    ASSERT_TRUE(editor.addFile(QString::fromStdString(greenClip)));
    const WaterParam& video = *editor.waterMarkList().at(1);
    EXPECT_TRUE(video.isVideo());
    EXPECT_NEAR(video.fileDuration(), 2.0, 0.1);
    EXPECT_FLOAT_EQ(video.fileEndTime(), video.fileDuration());
    EXPECT_EQ(editor.watermarkView()->waterMark().height(), 180);
    EXPECT_FALSE(panel().watermarkContent3View->isHidden()); // the clip rows

    editor.addTextAction();
    settle();
    ASSERT_EQ(editor.waterMarkList().size(), 3);
    EXPECT_EQ(editor.selectedWaterMarkIndex(), 2);
    const WaterParam& text = *editor.waterMarkList().at(2);
    EXPECT_EQ(text.waterType(), WaterParam::Text);
    EXPECT_EQ(text.waterText(), "Watermark");
    EXPECT_FALSE(panel().wmWidthField->isEnabled());
    EXPECT_TRUE(panel().waterFontBtn->isEnabled());
    EXPECT_TRUE(panel().watermarkContent3View->isHidden());
    EXPECT_GT(text.waterRect().width, 20); // fitted to the text

    WindowShots::save(host.window.get(), "watermark-panel-01-three-added");

    // Delete the last: the selection moves to the new last row.
    editor.deleteAction();
    EXPECT_EQ(editor.waterMarkList().size(), 2);
    EXPECT_EQ(editor.selectedWaterMarkIndex(), 1);
    editor.deleteAction();
    editor.deleteAction();
    EXPECT_TRUE(editor.waterMarkList().isEmpty());
    EXPECT_EQ(panel().wmAlphaField->stringValue(), "00");
    EXPECT_TRUE(host.alerts.isEmpty());
}

// A new text starts where the whole of it shows: its box inside the picture, and the glyphs drawn from the box's
// baseline (the descent below it, the ascent above it) inside as well, after a picture placed at the same spot.
TEST_F(Fixture, ANewTextWatermarkLiesWhollyInsideThePicture) {
    ASSERT_TRUE(editor.addFile(QString::fromStdString(redPng)));
    editor.addTextAction();
    settle();
    ASSERT_EQ(editor.waterMarkList().size(), 2);
    const WaterParam& text = *editor.waterMarkList().at(1);
    LQWaterView& overlay = *editor.watermarkView();
    const ViewSize picture = overlay.model().size();
    const ViewRect box = text.waterRect();
    EXPECT_GE(box.x, 0);
    EXPECT_GE(box.y, 0);
    EXPECT_LE(box.maxX(), picture.width);
    EXPECT_LE(box.maxY(), picture.height);
    const QFontMetricsF metrics(overlay.waterMarkFont());
    EXPECT_GE(box.y - metrics.descent(), 0) << "the descent hangs below the picture";
    EXPECT_LE(box.y + metrics.ascent(), picture.height);
    EXPECT_LE(box.x + metrics.horizontalAdvance(text.waterText()), picture.width + 1);
    // The record the preview and the export read carries the same place.
    EXPECT_NEAR(text.waterPercentClipRect().y * picture.height, box.y, 0.5);
}

TEST_F(Fixture, UnreadableOrTooLongFilesAreRefusedWithAMessage) {
    const std::string dir = MediaFixtures::freshDir("wm_bad");
    const std::string text = dir + "/notes.png";
    ASSERT_EQ(MediaFixtures::run("echo hello > " + MediaFixtures::quote(text)), 0);
    EXPECT_FALSE(editor.addFile(QString::fromStdString(text)));
    EXPECT_FALSE(editor.addFile(QString::fromStdString(dir + "/missing.mp4")));
    EXPECT_EQ(host.alerts, (QStringList{"watermarkFileUnreadable", "watermarkFileUnreadable"}));
    EXPECT_FALSE(editor.addFile("/" + QString(300, QLatin1Char('a')) + ".png"));
    EXPECT_EQ(host.alerts.last(), "watermarkPathTooLong");
    EXPECT_TRUE(editor.waterMarkList().isEmpty());

    // The open panel's last choice is the one added.
    OpenPanel::setProvider([&](const OpenPanelOptions& options, QWidget*) {
        EXPECT_TRUE(options.allowsMultipleSelection);
        return QStringList{QString::fromStdString(text), QString::fromStdString(redPng)};
    });
    editor.addImageOrVideoAction();
    ASSERT_EQ(editor.waterMarkList().size(), 1);
    EXPECT_EQ(editor.waterMarkList().at(0)->waterImagePath().toStdString(), redPng);
}

TEST_F(Fixture, TextThatDoesNotFitIsRefusedAndTheOldTextKept) {
    editor.addTextAction();
    settle();
    EXPECT_TRUE(editor.renameText(0, QString::fromUtf8("水印 Clipwright")));
    EXPECT_EQ(editor.waterMarkList().at(0)->waterText(), QString::fromUtf8("水印 Clipwright"));
    EXPECT_EQ(editor.watermarkView()->waterMarkString(), QString::fromUtf8("水印 Clipwright"));
    EXPECT_FALSE(editor.renameText(0, QString(90, QChar(0x6c34))));
    EXPECT_EQ(host.alerts, QStringList{"watermarkTextTooLong"});
    EXPECT_EQ(editor.waterMarkList().at(0)->waterText(), QString::fromUtf8("水印 Clipwright"));
}

TEST_F(Fixture, RefusedTimesAreNotStoredAndStepsObeyTheSameChecks) {
    ASSERT_TRUE(editor.addFile(QString::fromStdString(greenClip)));
    WaterParam& w = *editor.waterMarkList().at(0);
    auto& start = panel().start;
    auto& duration = panel().duration;
    auto& clipEnd = panel().clipEnd;

    // A duration past the video's end: refused, the stored duration unchanged, the field stays in editing.
    typeTime(static_cast<int>(Time::Duration), {"00", "00", "05", "00"});
    const float before = w.duration();
    EXPECT_FALSE(editor.controlTextShouldEndEditing(duration.fields[2]));
    EXPECT_FLOAT_EQ(w.duration(), before);
    EXPECT_EQ(host.alerts.last(), "watermarkDurationBeyondVideo");

    // A start of 1 s shortens the duration to the video's end.
    typeTime(static_cast<int>(Time::Start), {"00", "00", "01", "00"});
    EXPECT_TRUE(editor.controlTextShouldEndEditing(start.fields[2]));
    EXPECT_FLOAT_EQ(w.startTime(), 1);
    EXPECT_NEAR(w.startTime() + w.duration(), 4.0, 0.05);

    // A clip end before the clip start is refused with its reason.
    w.setFileStartTime(1);
    typeTime(static_cast<int>(Time::ClipEnd), {"00", "00", "00", "50"});
    EXPECT_FALSE(editor.controlTextShouldEndEditing(clipEnd.fields[3]));
    EXPECT_EQ(host.alerts.last(), "watermarkClipEndBeforeStart");
    EXPECT_NEAR(w.fileEndTime(), 2.0, 0.1);

    // The clip end's seconds stepper: 2 -> 3 s would pass the 2 s file; refused, the fields show the stored end.
    editor.refreshWaterTime();
    editor.actionMouseDownForTextFieldBlock(clipEnd.fields[2]);
    EXPECT_EQ(clipEnd.stepper->maximum(), 59);
    const int alerts = static_cast<int>(host.alerts.size());
    clipEnd.stepper->stepBy(1);
    EXPECT_EQ(host.alerts.size(), alerts + 1);
    EXPECT_EQ(host.alerts.last(), "watermarkClipBeyondFile");
    EXPECT_EQ(clipEnd.fields[2]->stringValue(), QString::asprintf("%02i", static_cast<int>(w.fileEndTime())));
    // Hundredths step to 99 at most; one step down from the end is taken.
    editor.actionMouseDownForTextFieldBlock(clipEnd.fields[3]);
    EXPECT_EQ(clipEnd.stepper->maximum(), 99);

    // The start's minutes stepper: 0 -> 1 min lies past the 4 s video: refused.
    editor.actionMouseDownForTextFieldBlock(start.fields[1]);
    start.stepper->stepBy(1);
    EXPECT_EQ(host.alerts.last(), "watermarkStartBeyondVideo");
    EXPECT_FLOAT_EQ(w.startTime(), 1);
    EXPECT_EQ(start.fields[1]->stringValue(), "00");
}

TEST_F(Fixture, SizeStepsMoveTheBoxTheExportUses) {
    ASSERT_TRUE(editor.addFile(QString::fromStdString(redPng)));
    WaterParam& w = *editor.waterMarkList().at(0);
    const ViewRect before = w.waterPercentClipRect();
    // The fields and steppers count pixels of the 320 x 240 video; the overlay's box is 1.5 times larger.
    editor.actionMouseDownForTextFieldBlock(panel().wmWidthField);
    EXPECT_EQ(panel().wmWidthStepperBtn->maximum(), 320);
    panel().wmWidthStepperBtn->setValue(160);
    EXPECT_DOUBLE_EQ(w.waterRect().width, 240);
    EXPECT_DOUBLE_EQ(w.waterPercentClipRect().width, 160.0 / 320);
    EXPECT_EQ(panel().wmWidthField->stringValue(), "160");
    EXPECT_NE(w.waterPercentClipRect().width, before.width);
    // Typed too: the height, written as typed.
    panel().wmHeightField->setStringValue("90");
    EXPECT_TRUE(editor.controlTextShouldEndEditing(panel().wmHeightField));
    EXPECT_DOUBLE_EQ(w.waterPercentClipRect().height, 90.0 / 240);
    const WatermarkGeometry g = editor.geometry();
    const RECT written = WatermarkRecordBuilder::imageRect(w.waterPercentClipRect(), g.videoWidth, g.videoHeight);
    EXPECT_EQ(written.right - written.left, 160);
    EXPECT_EQ(written.bottom - written.top, 90);
    EXPECT_EQ(panel().wmHeightField->stringValue(), "90");
    // Transparency typed out of range is refused; within it is stored.
    panel().wmAlphaField->setStringValue("120");
    EXPECT_FALSE(editor.controlTextShouldEndEditing(panel().wmAlphaField));
    EXPECT_DOUBLE_EQ(w.waterAlph(), 0);
    panel().wmAlphaField->setStringValue("30");
    EXPECT_TRUE(editor.controlTextShouldEndEditing(panel().wmAlphaField));
    EXPECT_DOUBLE_EQ(w.waterAlph(), 30);
    EXPECT_EQ(editor.watermarkView()->waterMarkAlph(), 30);
}

TEST_F(Fixture, DraggingTheOverlayMovesTheSelectedWatermark) {
    ASSERT_TRUE(editor.addFile(QString::fromStdString(redPng)));
    WaterParam& w = *editor.waterMarkList().at(0);
    LQWaterView* overlay = editor.watermarkView();
    settle();
    // Press inside the 64 x 48 box at the bottom-left corner, drag 100 right and 50 up (Qt's y grows downwards).
    const QPoint inside = ViewFrame::pointToQt(overlay, {32, 24}).toPoint();
    QTest::mousePress(overlay, Qt::LeftButton, {}, inside);
    QMouseEvent move(QEvent::MouseMove, inside + QPoint(100, -50), overlay->mapToGlobal(inside + QPoint(100, -50)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(overlay, &move);
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, inside + QPoint(100, -50));
    EXPECT_DOUBLE_EQ(w.waterRect().x, 100);
    EXPECT_DOUBLE_EQ(w.waterRect().y, 50);
    EXPECT_DOUBLE_EQ(w.waterPercentClipRect().x, 100.0 / 480);
    EXPECT_EQ(panel().wmWidthField->stringValue(), "64");
}

TEST_F(Fixture, PreviewAndExportGetTheTickedWatermarks) {
    ASSERT_TRUE(editor.addFile(QString::fromStdString(redPng)));
    editor.addTextAction();
    settle();
    // Editing: the selected text is shown by the overlay, the picture by the player.
    editor.refreshPlayerWaterMark(true);
    EXPECT_EQ(host.player->edits().settings().imageWatermarks.size(), 1u);
    EXPECT_TRUE(host.player->edits().settings().textWatermarks.empty());
    editor.refreshPlayerWaterMark(false);
    EXPECT_EQ(host.player->edits().settings().textWatermarks.size(), 1u);
    // Unticking the picture takes it out of the preview.
    editor.checkRow(0, false);
    EXPECT_TRUE(host.player->edits().settings().imageWatermarks.empty());
    // The export adds the ticked ones.
    CONVERT_HANDLE job = apiMediaConvertCreate();
    ASSERT_GT(apiMediaConvertSetInputMedia(job, host.source.c_str()), 0);
    EXPECT_TRUE(editor.addConvertWaterMark(job));
    apiMediaConvertClose(job);
}

TEST_F(Fixture, EachRowSelectedAgainGetsTheControlsOfItsKind) {
    editor.addTextAction();
    ASSERT_TRUE(editor.addFile(QString::fromStdString(redPng)));
    ASSERT_EQ(editor.selectedWaterMarkIndex(), 1);
    struct Case {
        int row;
        bool font, size;
    } cases[] = {{0, true, false}, {1, false, true}, {0, true, false}};
    for (const Case& c : cases) {
        editor.selectEditWaterItem(c.row);
        ASSERT_TRUE(WindowShots::waitUntil([&] { return editor.selectedWaterMarkIndex() == c.row; }, 2000));
        SCOPED_TRACE(c.row);
        EXPECT_EQ(panel().waterFontBtn->isEnabled(), c.font);
        EXPECT_EQ(panel().wmColorBtn->isEnabled(), c.font);
        EXPECT_EQ(panel().wmWidthField->isEnabled(), c.size);
        EXPECT_EQ(panel().wmHeightStepperBtn->isEnabled(), c.size);
    }
}

TEST_F(Fixture, AFilesRowShowsItsNameWithTheWholePathAsItsTooltip) {
    ASSERT_TRUE(editor.addFile(QString::fromStdString(redPng)));
    settle();
    const QList<WaterMarkCellItemView*> rows =
        panel().waterMarkListScrollView->widget()->findChildren<WaterMarkCellItemView*>();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.at(0)->titleLabel()->text(), QFileInfo(QString::fromStdString(redPng)).fileName());
    EXPECT_EQ(rows.at(0)->titleLabel()->cursorPosition(), 0) << "a long name shows its beginning";
    EXPECT_EQ(rows.at(0)->toolTip(), QDir::toNativeSeparators(QString::fromStdString(redPng)));
}

TEST_F(Fixture, TheCropIsOutlinedAndABoxReachingOutOfItIsSaid) {
    LQWaterView* overlay = editor.watermarkView();
    // No crop: nothing drawn, nothing said.
    editor.showCropOutline();
    EXPECT_TRUE(overlay->cropOutline().isEmpty());
    // The right half of the 320 x 240 picture is kept: the right half of the 480 x 360 overlay.
    host.crop = {160, 0, 160, 240};
    editor.showCropOutline();
    EXPECT_EQ(overlay->cropOutline(), (ViewRect{240, 0, 240, 360}));
    ASSERT_TRUE(editor.addFile(QString::fromStdString(redPng)));
    struct Case {
        ViewRect box;
        bool outside;
    } cases[] = {{{0, 0, 96, 72}, true}, {{200, 100, 96, 72}, true}, {{300, 100, 96, 72}, false}};
    for (const Case& c : cases) {
        overlay->setClipRect(c.box);
        EXPECT_EQ(overlay->boxOutsideCrop(), c.outside) << c.box.x;
    }
    // The picture outside the crop is shaded: a pixel there is darker than one inside.
    overlay->setClipRect({0, 0, 96, 72});
    const QImage shown = overlay->grab().toImage();
    const QColor outside = shown.pixelColor(120, 20), inside = shown.pixelColor(360, 20);
    EXPECT_GT(outside.alpha(), inside.alpha());
    WindowShots::save(host.window.get(), "watermark-outside-crop");
}
