#include "CropPanel.h"
#include "CropTestSupport.h"
#include "EngineConversionJob.h"
#include "LQTextField.h"
#include "PlayerTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>

#include <thread>

namespace {

// Types a value into one of the crop panel's number fields and ends the editing.
void type(CropRotateEditor& editor, LQTextField* field, int value) {
    field->setStringValue(QString::number(value));
    EXPECT_TRUE(editor.controlTextShouldEndEditing(field));
}

// The export of `source` with only the given contribution (and a short cut), run on a thread of its own.
std::string exportWith(const std::string& source, const std::function<int(MediaJob&)>& contribution,
                       const std::string& name) {
    const std::string out = MediaFixtures::freshDir("crop_export") + "/" + name + ".mp4";
    std::shared_ptr<EngineConversionJob> job = EngineConversionJob::create();
    EXPECT_TRUE(job);
    if (!job)
        return {};
    EXPECT_GT(job->setInputMedia(QString::fromStdString(source)), 0);
    EXPECT_GT(apiMediaConvertSetCutTime(job->handle(), 0, 600000), 0);
    EXPECT_GT(contribution(*job), 0);
    EXPECT_GT(apiMediaConvertSetVideoBitrate(job->handle(), 4000), 0);
    EXPECT_GT(job->setOutputPath(QString::fromStdString(out)), 0);
    int started = 0;
    std::thread worker([&] { started = job->start(); });
    worker.join();
    job->close();
    EXPECT_GT(started, 0);
    return out;
}

// The paused preview's picture, as B,G,R,A at the turned picture's size.
QImage previewPicture(LQMoviePlayer& player, const ViewSize& size) {
    EXPECT_TRUE(PlayerTestSupport::waitUntilShown(player));
    const int w = static_cast<int>(size.width), h = static_cast<int>(size.height);
    const std::vector<uint8_t> bgra = PlayerTestSupport::snapshot(player, w, h);
    if (bgra.empty())
        return {};
    return QImage(bgra.data(), w, h, w * 4, QImage::Format_ARGB32_Premultiplied).convertToFormat(QImage::Format_RGB888);
}

} // namespace

TEST(CropRotateExport, PhoneClipTurnedMirroredAndCroppedIsWrittenAsThePreviewShowsIt) {
    struct Case {
        const char* name;
        std::vector<void (CropRotateEditor::*)()> clicks;
        bool crop;
    } cases[] = {
        {"right_mirror_lr_crop",
         {&CropRotateEditor::rotateRightAction, &CropRotateEditor::mirrorLeftRightAction},
         true},
        {"mirror_lr", {&CropRotateEditor::mirrorLeftRightAction}, false},
        {"left_mirror_tb_crop", {&CropRotateEditor::rotateLeftAction, &CropRotateEditor::mirrorTopBottomAction}, true},
        {"half_turn_both_mirrors",
         {&CropRotateEditor::rotateRightAction, &CropRotateEditor::rotateRightAction,
          &CropRotateEditor::mirrorLeftRightAction, &CropRotateEditor::mirrorTopBottomAction},
         true},
    };
    CropStandIn host;
    ASSERT_NE(host.angle % 180, 0) << "the clip stands on its side through its display matrix";
    const QImage upright = CropClips::ffmpegFrame(host.source, 0.2);
    ASSERT_FALSE(upright.isNull());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CropRotateEditor& editor = *host.editor;
        editor.resetCropAction(); // no rotation, no mirrors, no crop
        editor.initPlayerCliper();
        editor.enableEdit(true);
        for (auto click : c.clicks)
            (editor.*click)();
        const ViewSize turned = editor.videoSize();
        if (c.crop) {
            // A crop of 3/5 x 7/12 of the turned picture, 1/8 in from the left and 1/8 down from the top.
            CropPanel* panel = editor.cropView();
            const int w = static_cast<int>(turned.width) * 3 / 5 & ~1,
                      h = static_cast<int>(turned.height) * 7 / 12 & ~1;
            type(editor, panel->_cropWidthField, w);
            type(editor, panel->_cropHeightField, h);
            type(editor, panel->_cropLeftField, static_cast<int>(turned.width) / 8 & ~1);
            type(editor, panel->_cropTopField, static_cast<int>(turned.height) / 8 & ~1);
        }
        const CropRotateSettings settings = editor.exportSettings();
        const RECT m = settings.convertCropSize;
        EXPECT_EQ(CropGeometry::hasMargins(m), c.crop);
        const QImage expected = CropClips::edited(upright, settings.hFlip, settings.vFlip, settings.rotateAngle, m);

        // The paused preview shows the edits at once: its picture inside the crop is the expected one.
        const QImage shown = previewPicture(*host.player, turned)
                                 .copy(m.left, m.top, static_cast<int>(turned.width) - m.left - m.right,
                                       static_cast<int>(turned.height) - m.top - m.bottom);
        EXPECT_LT(CropClips::meanDifference(shown, expected), 6.0);

        // The export takes a copy at Start: what the user does afterwards does not reach it.
        const std::function<int(MediaJob&)> contribution = editor.exportContribution();
        editor.resetCropAction();
        const std::string out = exportWith(host.source, contribution, c.name);
        const FfprobeResult probe = ffprobe(out);
        ASSERT_TRUE(probe.ok);
        const FfprobeStream* video = probe.firstVideo();
        ASSERT_TRUE(video);
        EXPECT_EQ(video->width, expected.width());
        EXPECT_EQ(video->height, expected.height());
        EXPECT_EQ(video->rotation, 0);

        const QImage written = CropClips::ffmpegFrame(out, 0.2);
        EXPECT_LT(CropClips::meanDifference(written, expected), 6.0);
        EXPECT_LT(CropClips::meanDifference(written, shown), 6.0);
        // The four corners, 6 pixels in, hold the colours the edits put there, and they are four different ones.
        const int x2 = expected.width() - 7, y2 = expected.height() - 7;
        std::vector<QRgb> corners;
        for (QPoint p : {QPoint(6, 6), QPoint(x2, 6), QPoint(6, y2), QPoint(x2, y2)}) {
            const QColor want = expected.pixelColor(p), got = written.pixelColor(p);
            EXPECT_LT(std::abs(want.red() - got.red()) + std::abs(want.green() - got.green()) +
                          std::abs(want.blue() - got.blue()),
                      60)
                << p.x() << "," << p.y();
            corners.push_back(want.rgb());
        }
        if (!c.crop) {
            std::sort(corners.begin(), corners.end());
            EXPECT_EQ(std::unique(corners.begin(), corners.end()) - corners.begin(), 4);
        }
    }
}

TEST(CropRotateExport, OddOrNegativeMarginsReachTheEngineEvenAndNeverBelowZero) {
    // Margins that did not come from the overlay (a record read back, say) are still cut down to even values.
    const std::string source = CropClips::phone();
    const CropClips::StreamPicture stream = CropClips::streamPicture(source);
    CropRotateSettings settings;
    settings.sourceAngle = stream.angle;
    settings.clipRect = {0, 0, 1, 1};
    settings.convertCropSize = RECT{-4, 7, 5, -1};
    const std::string out = exportWith(source, settings.contribution(), "odd_margins");
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.ok);
    ASSERT_TRUE(probe.firstVideo());
    // Upright (the stream's own turn applied), less 0 + 4 across and 6 + 0 down.
    const bool sideways = stream.angle % 180 == 90;
    EXPECT_EQ(probe.firstVideo()->width, (sideways ? stream.height : stream.width) - 4);
    EXPECT_EQ(probe.firstVideo()->height, (sideways ? stream.width : stream.height) - 6);
}

TEST(CropRotateExport, TheSizeTheFieldsSayIsTheSizeWritten) {
    CropStandIn host; // the phone clip: 240 x 320 upright
    CropRotateEditor& editor = *host.editor;
    editor.initPlayerCliper();
    editor.enableEdit(true);
    editor.cropReadOut();
    CropPanel& panel = *editor.cropView();
    struct Case {
        int width, height;         // typed
        int saidWidth, saidHeight; // what the fields then say: the even size the encoder needs
    } cases[] = {{150, 100, 150, 100}, {151, 101, 152, 102}, {97, 63, 98, 64}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        type(editor, panel._cropWidthField, c.width);
        type(editor, panel._cropHeightField, c.height);
        type(editor, panel._cropLeftField, 33);
        EXPECT_EQ(panel._cropWidthField->stringValue().toInt(), c.saidWidth);
        EXPECT_EQ(panel._cropHeightField->stringValue().toInt(), c.saidHeight);
        const std::string out = exportWith(host.source, editor.exportContribution(),
                                           "said_" + std::to_string(c.width) + "x" + std::to_string(c.height));
        const FfprobeResult probe = ffprobe(out);
        ASSERT_TRUE(probe.ok);
        ASSERT_TRUE(probe.firstVideo());
        EXPECT_EQ(probe.firstVideo()->width, panel._cropWidthField->stringValue().toInt());
        EXPECT_EQ(probe.firstVideo()->height, panel._cropHeightField->stringValue().toInt());
    }
}
