#include "EditorWindowTestSupport.h"

#include "EditExportClips.h"
#include "LQMoviePlayer.h"
#include "LQTextField.h"
#include "WaterParam.h"
#include "WatermarkEditor.h"
#include "WatermarkPanel.h"
#include "WatermarkRecordBuilder.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include "LayoutCheck.h"

#include <QDir>

namespace {

// The colour of one pixel of an RGB frame.
struct Pixel {
    int r, g, b;
};
Pixel pixelAt(const std::vector<unsigned char>& rgb, int width, int x, int y) {
    const size_t at = (size_t(y) * width + x) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}
bool isRed(Pixel p) {
    return p.r > 180 && p.g < 70 && p.b < 70;
}
bool isGrey(Pixel p) {
    return std::abs(p.r - p.g) < 25 && std::abs(p.g - p.b) < 25;
}

// A 64 x 48 red picture to use as a watermark.
std::string redPicture() {
    return MediaFixtures::make("wm_window_red.png", "-f lavfi -i color=c=red:s=64x48 -frames:v 1");
}

// The grey-levels clip added through the Add button, its first frame shown.
void loadLevelClip(EditorWindow& w) {
    EditVideoWindowController& c = *w.controller;
    w.add(editLevelClip());
    ASSERT_NE(c.fileData(), nullptr);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.lqPlayer() && !c.lqPlayer()->isSeeking(); }, 5000));
}

} // namespace

// The panel at the window's default size with each kind selected in turn: a picture (size and keep-aspect), a
// video (also the part of the clip it shows) and a text (font and colour).
TEST(EditorWatermarkWindow, EndToEndEachKindsPropertiesFitThePanel) {
    const std::string picture = redPicture();
    const std::string video =
        MediaFixtures::make("wm_window_green.mp4", "-f lavfi -i color=c=green:s=80x60:d=2:r=10 -pix_fmt yuv420p");
    EditorWindow w(ToolItemTypeWatermark);
    EditVideoWindowController& c = *w.controller;
    ASSERT_NO_FATAL_FAILURE(loadLevelClip(w));
    WatermarkEditor& editor = *c.watermarks();
    WatermarkPanel& panel = *editor.waterView();

    struct Kind {
        const char* shot;
        std::string file; // none: a text
        bool clipRows, size;
    } kinds[] = {{"editor-watermark-image", picture, false, true},
                 {"editor-watermark-video", video, true, true},
                 {"editor-watermark-text", {}, false, false}};
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.shot);
        const qsizetype before = editor.waterMarkList().size();
        w.nextFile = kind.file;
        w.click(kind.file.empty() ? panel.textmarkBtn : panel.imagemarkBtn);
        ASSERT_TRUE(WindowShots::waitUntil([&] { return editor.waterMarkList().size() == before + 1; }, 5000));
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join(" | ").toStdString();
        EXPECT_EQ(panel.watermarkContent3View->isVisible(), kind.clipRows);
        EXPECT_EQ(panel.wmsizeBackgroundView->isVisible(), kind.size);
        EXPECT_EQ(panel.wmfontStyleBackView->isVisible(), !kind.size);
        EXPECT_EQ(LayoutCheck::expectFits(&panel), 0);
        // The picture is taken once the preview shows the new watermark with the others.
        EXPECT_TRUE(WindowShots::waitUntil([&] { return c.lqPlayer() && !c.lqPlayer()->isSeeking(); }, 5000));
        WindowShots::save(w.window, kind.shot);
    }
}

// The watermark tool as a person uses it: the window opened on the tool, a clip added, a picture added as a
// watermark through the panel, Start, and the picture found in the written file where the overlay showed it.
TEST(EditorWatermarkWindow, EndToEndAPictureWatermarkIsWrittenWhereItWasPlaced) {
    const std::string picture = redPicture();
    EditorWindow w(ToolItemTypeWatermark);
    EditVideoWindowController& c = *w.controller;
    ASSERT_NO_FATAL_FAILURE(loadLevelClip(w));
    WatermarkEditor& editor = *c.watermarks();
    WatermarkPanel& panel = *editor.waterView();
    ASSERT_TRUE(panel.isVisible()) << "the watermark tool opens on its panel";

    w.nextFile = picture;
    w.click(panel.imagemarkBtn);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return editor.waterMarkList().size() == 1; }, 5000));
    WindowShots::save(w.window, "editor-watermark-placed");
    const WatermarkGeometry g = editor.geometry();
    const RECT box = WatermarkRecordBuilder::imageRect(editor.waterMarkList().at(0)->waterPercentClipRect(),
                                                       g.videoWidth, g.videoHeight);
    ASSERT_GT(box.right - box.left, 4);
    ASSERT_GT(box.bottom - box.top, 4);

    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isRunning() && !c.jobRunner().isBusy(); }, 60000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join(" | ").toStdString();
    const QStringList written = QDir(c.outputPath()).entryList({"*.mp4"}, QDir::Files);
    ASSERT_EQ(written.size(), 1);
    const std::string out = (c.outputPath() + "/" + written.first()).toStdString();
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.ok);
    ASSERT_NE(probe.firstVideo(), nullptr);
    EXPECT_NEAR(probe.firstVideo()->duration, 4.0, 0.15);

    int width = 0, height = 0;
    const std::vector<unsigned char> frame = ffmpegFrameRgb(out, 1.0, &width, &height);
    ASSERT_EQ(width, 320);
    ASSERT_EQ(height, 240);
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    EXPECT_TRUE(isRed(pixelAt(frame, width, cx, cy))) << "the picture inside its box at " << cx << "," << cy;
    // Away from the box the clip's own grey is untouched.
    const int fx = box.left > 160 ? 20 : 300, fy = box.top > 120 ? 20 : 220;
    EXPECT_TRUE(isGrey(pixelAt(frame, width, fx, fy)));
}

// A picture watermark is written at the size its fields give in pixels of the video: first its own size, then a
// size typed into the fields.
TEST(EditorWatermarkWindow, EndToEndAPictureIsWrittenAtTheSizeItsFieldsSay) {
    const std::string picture =
        MediaFixtures::make("wm_window_red_40x20.png", "-f lavfi -i color=c=red:s=40x20 -frames:v 1");
    EditorWindow w(ToolItemTypeWatermark);
    EditVideoWindowController& c = *w.controller;
    ASSERT_NO_FATAL_FAILURE(loadLevelClip(w));
    WatermarkEditor& editor = *c.watermarks();
    WatermarkPanel& panel = *editor.waterView();
    w.nextFile = picture;
    w.click(panel.imagemarkBtn);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return editor.waterMarkList().size() == 1; }, 5000));
    EXPECT_EQ(panel.wmWidthField->stringValue(), "40");
    EXPECT_EQ(panel.wmHeightField->stringValue(), "20");

    struct Case {
        const char* width; // typed, or none
        const char* height;
        int expectedWidth, expectedHeight;
    } cases[] = {{nullptr, nullptr, 40, 20}, {"100", "50", 100, 50}};
    for (const Case& size : cases) {
        SCOPED_TRACE(size.expectedWidth);
        if (size.width) {
            panel.wmWidthField->setStringValue(size.width);
            ASSERT_TRUE(editor.controlTextShouldEndEditing(panel.wmWidthField));
            panel.wmHeightField->setStringValue(size.height);
            ASSERT_TRUE(editor.controlTextShouldEndEditing(panel.wmHeightField));
            EXPECT_EQ(panel.wmWidthField->stringValue(), size.width);
            EXPECT_EQ(panel.wmHeightField->stringValue(), size.height);
        }
        const QStringList before = QDir(c.outputPath()).entryList({"*.mp4"}, QDir::Files);
        w.click(c.startExportBtn());
        ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
        ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isRunning() && !c.jobRunner().isBusy(); }, 60000));
        ASSERT_TRUE(w.alerts.isEmpty()) << w.alerts.join(" | ").toStdString();
        QStringList written = QDir(c.outputPath()).entryList({"*.mp4"}, QDir::Files);
        for (const QString& old : before)
            written.removeAll(old);
        ASSERT_EQ(written.size(), 1);
        int width = 0, height = 0;
        const std::vector<unsigned char> frame =
            ffmpegFrameRgb((c.outputPath() + "/" + written.first()).toStdString(), 1.0, &width, &height);
        ASSERT_EQ(width, 320);
        // The red box's extent in the written picture.
        int left = width, right = -1, top = height, bottom = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (isRed(pixelAt(frame, width, x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, left);
        EXPECT_NEAR(right - left + 1, size.expectedWidth, 2);
        EXPECT_NEAR(bottom - top + 1, size.expectedHeight, 2);
    }
}
