#include "LQMoviePlayer.h"
#include "LQTextField.h"
#include "LQWaterView.h"
#include "MOQButton.h"
#include "OpenPanel.h"
#include "PlayerTestSupport.h"
#include "ShellTestEnvironment.h"
#include "ViewFrame.h"
#include "WaterMarkCellItemView.h"
#include "WatermarkEditor.h"
#include "WatermarkHost.h"
#include "WatermarkPanel.h"
#include "WatermarkRecordBuilder.h"
#include "WatermarkTestSupport.h"
#include "WindowShots.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

// Types a value into one field of a time row and ends the edit with Return.
void type(LQTextField* field, const QString& text) {
    click(field);
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Drags inside the overlay from one point to another (points, y up).
void drag(LQWaterView* overlay, ViewPoint from, ViewPoint to) {
    const QPoint a = ViewFrame::pointToQt(overlay, from).toPoint();
    const QPoint b = ViewFrame::pointToQt(overlay, to).toPoint();
    QTest::mousePress(overlay, Qt::LeftButton, {}, a);
    for (int step = 1; step <= 4; ++step) {
        const QPoint p = a + (b - a) * step / 4;
        QMouseEvent move(QEvent::MouseMove, p, overlay->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(overlay, &move);
    }
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, b);
}

} // namespace

TEST(WatermarkPanel, EndToEndThreeKindsPlacedTimedAndExported) {
    ShellTestEnvironment environment;
    const QString red = QString::fromStdString(WatermarkClips::red());
    const QString green = QString::fromStdString(WatermarkClips::green());
    EditorStandIn host;
    const std::string source = host.source;
    WatermarkEditor editor(host);
    editor.initWaterView(host.left);
    editor.initWatermarkView();
    editor.waterView()->show();
    editor.watermarkView()->show();
    host.window->show();
    ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*host.player));
    editor.enableWaterChildView(false);
    WatermarkPanel& panel = *editor.waterView();
    LQWaterView* overlay = editor.watermarkView();
    WindowShots::save(host.window.get(), "watermark-01-loaded");

    // A picture: shown from 0 to 1.5 s, moved to the upper left.
    OpenPanel::setProvider([&](const OpenPanelOptions&, QWidget*) { return QStringList{red}; });
    click(panel.imagemarkBtn);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return editor.waterMarkList().size() == 1; }, 5000));
    drag(overlay, {32, 24}, {32 + 24, 24 + 250}); // the box (0, 0, 64, 48) to (24, 250)
    type(panel.duration.fields[2], "01");
    type(panel.duration.fields[3], "50");
    const WaterParam& image = *editor.waterMarkList().at(0);
    EXPECT_FLOAT_EQ(image.duration(), 1.5f);
    EXPECT_DOUBLE_EQ(image.waterRect().x, 24);
    EXPECT_DOUBLE_EQ(image.waterRect().y, 250);

    // A video: shown from 2 s to the end, in the upper right quarter.
    OpenPanel::setProvider([&](const OpenPanelOptions&, QWidget*) { return QStringList{green}; });
    click(panel.imagemarkBtn);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return editor.waterMarkList().size() == 2; }, 5000));
    const WaterParam& video = *editor.waterMarkList().at(1);
    // Its 180-pixel-high thumbnail at its pixel size on the 320 x 240 video (shown 1.5 times larger), then sized
    // to a quarter of the picture through the fields, which count the video's pixels.
    ASSERT_NEAR(video.waterRect().width, 360, 2);
    EXPECT_NEAR(panel.wmWidthField->stringValue().toInt(), 240, 1);
    EXPECT_EQ(panel.wmHeightField->stringValue(), "180");
    type(panel.wmWidthField, "160");
    type(panel.wmHeightField, "120");
    ASSERT_NEAR(video.waterRect().width, 240, 1);
    ASSERT_NEAR(video.waterRect().height, 180, 1);
    drag(overlay, {120, 90}, {360, 270});
    type(panel.start.fields[2], "02");
    EXPECT_FLOAT_EQ(video.startTime(), 2);
    EXPECT_NEAR(video.duration(), 2, 0.05); // shortened to the video's end
    // Its clip end cannot lie before its start: refused, and said why.
    type(panel.clipEnd.fields[2], "00");
    EXPECT_EQ(host.alerts.value(0), "watermarkClipEndBeforeStart");
    QTest::keyClick(panel.clipEnd.fields[2], Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(panel.clipEnd.fields[2], "02");
    QTest::keyClick(panel.clipEnd.fields[2], Qt::Key_Return);
    EXPECT_NEAR(video.fileEndTime(), 2, 0.1);

    // A text: renamed in its row, yellow, shown from 1 s to 3 s, low in the picture.
    click(panel.textmarkBtn);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return editor.waterMarkList().size() == 3; }, 5000));
    auto* document = panel.waterMarkListScrollView->widget();
    ASSERT_NE(document, nullptr);
    QList<WaterMarkCellItemView*> rows = document->findChildren<WaterMarkCellItemView*>();
    WaterMarkCellItemView* textRow = nullptr;
    for (WaterMarkCellItemView* row : rows)
        if (row->row() == 2)
            textRow = row;
    ASSERT_NE(textRow, nullptr);
    textRow->titleLabel()->setFocus();
    textRow->titleLabel()->selectAll();
    // Characters beyond ASCII arrive as key events that carry their text.
    for (const QChar c : QString::fromUtf8("WM 水印")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(textRow->titleLabel(), &press);
    }
    ASSERT_TRUE(WindowShots::waitUntil(
        [&] { return editor.waterMarkList().at(2)->waterText() == QString::fromUtf8("WM 水印"); }, 5000));
    editor.chooseColor = [](const QColor&) { return std::optional<QColor>(QColor(255, 255, 0)); };
    click(panel.wmColorBtn);
    const WaterParam& text = *editor.waterMarkList().at(2);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return text.waterFontColor() == QColor(255, 255, 0); }, 5000));
    const ViewRect box = text.waterRect();
    drag(overlay, {box.midX(), box.midY()}, {box.midX() - box.x + 30, box.midY() - box.y + 40});
    EXPECT_DOUBLE_EQ(editor.waterMarkList().at(2)->waterRect().x, 30);
    type(panel.start.fields[2], "01");
    type(panel.duration.fields[2], "02");
    EXPECT_FLOAT_EQ(text.startTime(), 1);
    EXPECT_FLOAT_EQ(text.duration(), 2);
    EXPECT_EQ(host.alerts.size(), 1);
    WindowShots::save(host.window.get(), "watermark-02-three-placed");

    // The export, its job on a thread of its own as in the editor.
    const std::string out = MediaFixtures::freshDir("wm_end_to_end") + "/edited.mp4";
    CONVERT_HANDLE job = apiMediaConvertCreate();
    ASSERT_GT(apiMediaConvertSetInputMedia(job, source.c_str()), 0);
    ASSERT_TRUE(editor.addConvertWaterMark(job));
    ASSERT_GT(apiMediaConvertSetVideoBitrate(job, 4000), 0);
    ASSERT_GT(apiMediaConvertSetOutputPath(job, out.c_str()), 0);
    int started = 0;
    std::thread worker([&] { started = apiMediaConvertStart(job); });
    ASSERT_TRUE(WindowShots::waitUntil([&] { return apiMediaConvertGetProgress(job) >= 100 || started != 0; }));
    worker.join();
    apiMediaConvertClose(job);
    ASSERT_GT(started, 0);
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.ok);
    EXPECT_NEAR(probe.duration, 4.0, 0.15);

    // Where each one must be, in pixels of the 320 x 240 picture.
    const WatermarkGeometry g = editor.geometry();
    const RECT imageBox = WatermarkRecordBuilder::imageRect(image.waterPercentClipRect(), g.videoWidth, g.videoHeight);
    EXPECT_EQ(imageBox.left, 16); // 24 points of 480
    EXPECT_EQ(imageBox.bottom, static_cast<int>((1 - 250.0 / 360) * 240));
    const RECT videoBox = WatermarkRecordBuilder::imageRect(video.waterPercentClipRect(), g.videoWidth, g.videoHeight);
    EXPECT_EQ(videoBox.left, 160);
    EXPECT_EQ(videoBox.top, 0);
    const RECT textBase = WatermarkRecordBuilder::textRect(text.waterPercentClipRect(), g.videoWidth, g.videoHeight);
    // The text's band: from its baseline up by its size (pixels, top-left origin).
    const int fontSize = WatermarkRecordBuilder::fontSize(g.videoWidth, g.overlayWidth, text.waterFontSize());
    const RECT textBand{textBase.left, 240 - textBase.top - fontSize, textBase.right + 40, 240 - textBase.top + 2};
    const int ix = (imageBox.left + imageBox.right) / 2, iy = (imageBox.top + imageBox.bottom) / 2;
    const int vx = (videoBox.left + videoBox.right) / 2, vy = (videoBox.top + videoBox.bottom) / 2;

    int w = 0, h = 0;
    const std::vector<unsigned char> early = ffmpegFrameRgb(out, 0.5, &w, &h);
    ASSERT_EQ(w, 320);
    const Rgb at05{early, w};
    EXPECT_TRUE(at05.red(ix, iy));
    EXPECT_TRUE(at05.grey(vx, vy));
    EXPECT_EQ(at05.yellowIn(textBand), 0);
    const std::vector<unsigned char> late = ffmpegFrameRgb(out, 2.5, &w, &h);
    const Rgb at25{late, w};
    EXPECT_TRUE(at25.grey(ix, iy));
    EXPECT_TRUE(at25.green(vx, vy));
    EXPECT_GT(at25.yellowIn(textBand), 40);

    // The preview shows what was written.
    editor.refreshPlayerWaterMark(false);
    for (double seconds : {0.5, 2.5}) {
        SCOPED_TRACE(seconds);
        host.player->seekTime(MediaTime::withSeconds(seconds, 1000));
        ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*host.player));
        const std::vector<uint8_t> shown = PlayerTestSupport::snapshot(*host.player, 320, 240);
        EXPECT_LT(PlayerTestSupport::meanDifferenceToRgb(shown, seconds < 1 ? early : late), 4.0);
        std::vector<unsigned char> shownRgb;
        for (size_t i = 0; i + 3 < shown.size(); i += 4)
            shownRgb.insert(shownRgb.end(), {shown[i + 2], shown[i + 1], shown[i]});
        const Rgb preview{shownRgb, 320};
        if (seconds < 1) {
            EXPECT_TRUE(preview.red(ix, iy));
            EXPECT_EQ(preview.yellowIn(textBand), 0);
        } else {
            EXPECT_TRUE(preview.green(vx, vy));
            EXPECT_GT(preview.yellowIn(textBand), 40);
        }
    }
    overlay->hide();
    WindowShots::save(host.window.get(), "watermark-03-after-export");
}
