#include "EditorWindowTestSupport.h"

#include "EditExportClips.h"
#include "LQMoviePlayer.h"
#include "WaterParam.h"
#include "WatermarkEditor.h"
#include "WatermarkPanel.h"
#include "WatermarkRecordBuilder.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

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

} // namespace

// The watermark tool as a person uses it: the window opened on the tool, a clip added, a picture added as a
// watermark through the panel, Start, and the picture found in the written file where the overlay showed it.
TEST(EditorWatermarkWindow, EndToEndAPictureWatermarkIsWrittenWhereItWasPlaced) {
    const std::string source = editLevelClip();
    const std::string picture = MediaFixtures::make("wm_window_red.png", "-f lavfi -i color=c=red:s=64x48 -frames:v 1");
    EditorWindow w(ToolItemTypeWatermark);
    EditVideoWindowController& c = *w.controller;
    w.add(source);
    ASSERT_NE(c.fileData(), nullptr);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.lqPlayer() && !c.lqPlayer()->isSeeking(); }, 5000));
    WatermarkEditor& editor = *c.watermarks();
    WatermarkPanel& panel = *editor.waterView();
    ASSERT_TRUE(panel.isVisible()) << "the watermark tool opens on its panel";

    w.nextFile = picture;
    w.click(panel.imagemarkBtn);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return editor.waterMarkList().size() == 1; }, 5000));
    WindowShots::save(w.window, "editor-watermark-placed");
    const WatermarkGeometry g = editor.geometry();
    const RECT box =
        WatermarkRecordBuilder::imageRect(editor.waterMarkList().at(0)->waterPercentClipRect(), g.videoWidth, g.videoHeight);
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
