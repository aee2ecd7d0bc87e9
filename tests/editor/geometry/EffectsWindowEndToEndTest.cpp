#include "EditVideoWindowController.h"
#include "EffectEditor.h"
#include "EffectPanel.h"
#include "EffectTableCellView.h"
#include "EffectsTestSupport.h"
#include "LQMoviePlayer.h"
#include "PlayerTestSupport.h"
#include "SubtitleEditor.h"
#include "SubtitlePanel.h"
#include "SubtitleParam.h"
#include "ToolItemType.h"
#include "core/EditorWindowTestSupport.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QComboBox>
#include <QDir>
#include <QSlider>
#include <gtest/gtest.h>

#include <cmath>

// The effect and subtitle modes of the real editor window on a generated clip: the panels fill their hosts, every
// change shows in the paused preview, and Start writes the same picture and sound.
TEST(EffectsWindow, EndToEndEffectAndSubtitleModesPreviewAndExport) {
    EditorWindow w(ToolItemTypeEffect);
    EditVideoWindowController& c = *w.controller;
    ASSERT_NE(c.effects(), nullptr);
    ASSERT_NE(c.subtitles(), nullptr);
    EffectPanel& fx = *c.effects()->effectView();
    SubtitlePanel& sub = *c.subtitles()->captionView();
    EXPECT_EQ(fx.parentWidget(), c.kxfxView());
    EXPECT_EQ(sub.parentWidget(), c.captionView());
    // Before a file: the controls are locked.
    EXPECT_FALSE(fx._brightnessSlider->isEnabled());
    EXPECT_FALSE(sub.subtitle_popUpBtn->isEnabled());

    w.add(EffectClips::tinted());
    ASSERT_NE(c.lqPlayer(), nullptr);
    ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*c.lqPlayer()));
    EXPECT_TRUE(fx.isVisible());
    ASSERT_TRUE(fx._brightnessSlider->isEnabled());
    ASSERT_FALSE(c.effects()->effectTableCells().isEmpty());
    // The first row is "Gray".
    EXPECT_EQ(c.effects()->effectTypes().first().id, 1);
    w.click(c.effects()->effectTableCells().first());
    fx._brightnessSlider->setValue(60);
    fx._volueSlider->setValue(500);
    EXPECT_EQ(c.lqPlayer()->edits().settings().effects, std::vector<int>{1});
    EXPECT_EQ(c.lqPlayer()->edits().settings().brightness, 60);
    ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*c.lqPlayer()));
    WindowShots::save(w.window, "editor_effect_mode");

    w.click(c.toolButton(ToolItemTypeSubtitle));
    EXPECT_TRUE(sub.isVisible());
    EXPECT_FALSE(fx.isVisible());
    ASSERT_TRUE(sub.subtitle_popUpBtn->isEnabled());
    w.nextFile = EffectClips::srt();
    sub.subtitle_popUpBtn->setCurrentIndex(sub.subtitle_popUpBtn->count() - 1);
    emit sub.subtitle_popUpBtn->activated(sub.subtitle_popUpBtn->count() - 1);
    EXPECT_TRUE(w.alerts.isEmpty());
    EXPECT_EQ(c.subtitles()->subtitleParam().subtitlePath(), QString::fromStdString(EffectClips::srt()));
    EXPECT_STREQ(c.lqPlayer()->edits().subtitleRecord().path, EffectClips::srt().c_str());
    c.subtitles()->changeSubtitleColor(QColor(255, 255, 0));
    c.lqPlayer()->seekTime(MediaTime::withSeconds(1.0, 1000));
    ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*c.lqPlayer()));
    WindowShots::save(w.window, "editor_subtitle_mode");
    const std::vector<uint8_t> shown = PlayerTestSupport::snapshot(*c.lqPlayer(), 320, 240);
    ASSERT_FALSE(shown.empty());

    // Start: the window's export writes what the preview shows.
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isRunning() && !c.jobRunner().isBusy(); }, 60000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join(" | ").toStdString();
    const QStringList written = QDir(c.outputPath()).entryList({"*.mp4"}, QDir::Files);
    ASSERT_EQ(written.size(), 1) << written.join(",").toStdString();
    const std::string out = (c.outputPath() + "/" + written.first()).toStdString();
    EXPECT_EQ(ffprobe(out).count("video"), 1);
    int width = 0, height = 0;
    const std::vector<unsigned char> frame = ffmpegFrameRgb(out, 1.0, &width, &height);
    ASSERT_EQ(width, 320);
    EXPECT_LT(PlayerTestSupport::meanDifferenceToRgb(shown, frame), 4.0);
    EXPECT_NEAR(ffmpegMeanVolume(out), ffmpegMeanVolume(EffectClips::tinted()) - 6.02, 1.0);

    // A new file starts the two panels afresh.
    w.add(MediaFixtures::mp4());
    EXPECT_TRUE(c.effects()->settings().effectIds.empty());
    EXPECT_EQ(fx._brightnessSlider->value(), 0);
    EXPECT_TRUE(c.subtitles()->subtitleParam().subtitlePath().isEmpty());
    EXPECT_EQ(sub.subtitle_popUpBtn->count(), 2);
}
