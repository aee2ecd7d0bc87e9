#include "../core/EditorWindowTestSupport.h"
#include "AdjustPanel.h"
#include "CropPanel.h"
#include "CropRotateEditor.h"
#include "CropTestSupport.h"
#include "LQMoviePlayer.h"
#include "LQTextField.h"
#include "LQUICliper.h"
#include "LabelField.h"
#include "ToolItemType.h"
#include "ViewFrame.h"

#include <QDir>
#include <QMouseEvent>

namespace {

// A left-button drag on the overlay from one of its points to another (the overlay's points, y up).
void drag(LQUICliper* overlay, ViewPoint from, ViewPoint to) {
    const QPoint a = ViewFrame::pointToQt(overlay, from).toPoint(), b = ViewFrame::pointToQt(overlay, to).toPoint();
    QTest::mousePress(overlay, Qt::LeftButton, {}, a);
    for (int i = 1; i <= 4; ++i) {
        const QPointF p = a + (b - a) * (i / 4.0);
        QMouseEvent move(QEvent::MouseMove, p, overlay->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(overlay, &move);
    }
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, b);
    QCoreApplication::processEvents();
}

bool clickAndWait(EditorWindow& w, MOQButton* button, const std::function<bool()>& done) {
    w.click(button);
    return WindowShots::waitUntil(done, 5000);
}

} // namespace

TEST(CropWindow, EndToEndCropTurnMirrorAndExportAPhoneClip) {
    EditorWindow w(ToolItemTypeCrop);
    EditVideoWindowController& c = *w.controller;
    const std::string clip = CropClips::phone();
    w.add(clip);
    ASSERT_NE(c.fileData(), nullptr);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.lqPlayer()->isSeeking(); }, 5000));
    CropRotateEditor& crop = *c.crop();
    LQUICliper* overlay = crop.cliper();
    ASSERT_NE(overlay, nullptr);
    // Crop mode: the overlay lies exactly over the upright picture.
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(overlay->parentWidget(), c.lqPlayer()->view());
    EXPECT_EQ(ViewFrame::frame(overlay), c.videoRect());
    const ViewSize upright = c.videoSize();
    EXPECT_LT(upright.width, upright.height) << "the phone clip stands upright";
    EXPECT_EQ(crop.cropView()->_original_SizeLabel->stringValue(),
              QString("%1 x %2").arg(upright.width).arg(upright.height));

    // Drag the top-right corner a quarter in and the box up from the bottom a little.
    const ViewRect frame = overlay->oFrame();
    drag(overlay, {frame.width - 2, frame.height - 2}, {frame.width * 0.75, frame.height * 0.75});
    drag(overlay, {frame.width * 0.375, 1}, {frame.width * 0.375, frame.height * 0.1});
    RECT m = crop.convertCropSize();
    EXPECT_NEAR(m.right, upright.width / 4, 2);
    EXPECT_NEAR(m.top, upright.height / 4, 2);
    EXPECT_NEAR(m.bottom, upright.height / 10, 2);
    EXPECT_EQ(m.left, 0);
    WindowShots::save(w.window, "editor_crop_mode");

    // A resize of the window keeps the crop on the picture.
    w.window->resize(w.window->width() + 120, w.window->height() + 40);
    QCoreApplication::processEvents();
    EXPECT_EQ(ViewFrame::frame(overlay), c.videoRect());
    EXPECT_NEAR(crop.convertCropSize().right, m.right, 2);
    EXPECT_NEAR(crop.convertCropSize().top, m.top, 2);

    // Rotate mode: the crop is fixed, the overlay hidden; a quarter turn right starts the crop afresh and the
    // mirror acts on the turned picture.
    w.click(c.toolButton(ToolItemTypeRotate));
    EXPECT_FALSE(overlay->isVisible());
    AdjustPanel* rotate = crop.adjustView();
    ASSERT_TRUE(clickAndWait(w, rotate->_right_ratioBtn, [&] { return crop.playerRotateAngle() == 90; }));
    ASSERT_TRUE(clickAndWait(w, rotate->_horizontal_mirrorBtn, [&] { return crop.vFlip() == 1; }));
    EXPECT_EQ(c.videoSize(), (ViewSize{upright.height, upright.width}));
    EXPECT_EQ(c.lqPlayer()->edits().settings().rotateAngle.value_or(0), 90);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.lqPlayer()->isSeeking(); }, 5000));
    WindowShots::save(w.window, "editor_rotate_mode");

    // Back in the crop mode the overlay lies over the turned picture; crop its left third by the number field.
    w.click(c.toolButton(ToolItemTypeCrop));
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(ViewFrame::frame(overlay), c.videoRect());
    LQTextField* left = crop.cropView()->_cropLeftField;
    LQTextField* width = crop.cropView()->_cropWidthField;
    const int third = int(c.videoSize().width) / 3 & ~1;
    width->setStringValue(QString::number(int(c.videoSize().width) - third));
    crop.controlTextShouldEndEditing(width);
    left->setStringValue(QString::number(third));
    crop.controlTextShouldEndEditing(left);
    m = crop.convertCropSize();
    EXPECT_NEAR(m.left, third, 2);
    EXPECT_EQ(m.right, 0);
    WindowShots::save(w.window, "editor_crop_mode_turned");

    // Start: the window's export, checked against the preview's edits.
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("crop_window"));
    c.setOutputPath(folder);
    const CropRotateSettings taken = crop.exportSettings();
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.jobRunner().isBusy(); }, 60000));
    const QStringList outputs = QDir(folder).entryList({"*.mp4"}, QDir::Files);
    ASSERT_EQ(outputs.size(), 1);
    const std::string out = (folder + "/" + outputs.first()).toStdString();
    const QImage expected = CropClips::edited(CropClips::ffmpegFrame(clip, 0.5), taken.hFlip, taken.vFlip,
                                              taken.rotateAngle, taken.convertCropSize);
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.ok);
    ASSERT_TRUE(probe.firstVideo());
    EXPECT_EQ(probe.firstVideo()->width, expected.width());
    EXPECT_EQ(probe.firstVideo()->height, expected.height());
    EXPECT_NEAR(probe.duration, 2.0, 0.1);
    EXPECT_LT(CropClips::meanDifference(CropClips::ffmpegFrame(out, 0.5), expected), 6.0);
}
