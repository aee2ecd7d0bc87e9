#include "EditorWindowTestSupport.h"

#include "EditExportClips.h"
#include "LQMoviePlayer.h"
#include "LQTextField.h"
#include "TrimPanel.h"
#include "support/Ffprobe.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <numeric>

namespace {

// Types a value into one field as a person does: a click, the text in place of the old, Return.
void type(LQTextField* field, const QString& text) {
    ASSERT_TRUE(field->isVisible());
    ASSERT_TRUE(field->isEnabled());
    QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
    QCoreApplication::processEvents();
}

// The grey level of a frame of the level clip: 20 + (37 n mod 200) for frame n.
double meanLevel(const std::string& path, double seconds) {
    int w = 0, h = 0;
    const std::vector<unsigned char> rgb = ffmpegFrameRgb(path, seconds, &w, &h);
    if (rgb.empty())
        return -1;
    return std::accumulate(rgb.begin(), rgb.end(), 0.0) / double(rgb.size());
}

QStringList outputs(const QString& folder) {
    return QDir(folder).entryList({"*.mp4"}, QDir::Files, QDir::Name);
}

const char* modeName(qint64 mode) {
    switch (mode) {
    case ToolItemTypeTrim:
        return "trim";
    case ToolItemTypeRotate:
        return "rotate";
    case ToolItemTypeCrop:
        return "crop";
    case ToolItemTypeEffect:
        return "effect";
    case ToolItemTypeWatermark:
        return "watermark";
    case ToolItemTypeSubtitle:
        return "subtitle";
    default:
        return "music";
    }
}

} // namespace

TEST(EditorWindow, EndToEndTrimKeptThenRemoved) {
    const std::string source = editLevelClip();
    EditorWindow w(ToolItemTypeTrim);
    EditVideoWindowController& c = *w.controller;
    WindowShots::save(w.window, "editor-00-no-file");

    w.add(source);
    ASSERT_NE(c.fileData(), nullptr);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.lqPlayer() && !c.lqPlayer()->isSeeking(); }, 5000));
    // A frame of the clip's middle grey, so the pictures show the preview at work.
    c.trimSeek(1.5);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.lqPlayer()->isSeeking(); }, 5000));
    for (qint64 mode : {ToolItemTypeRotate, ToolItemTypeCrop, ToolItemTypeEffect, ToolItemTypeWatermark,
                        ToolItemTypeSubtitle, ToolItemTypeMusic, ToolItemTypeTrim}) {
        w.click(c.toolButton(mode));
        WindowShots::waitUntil([] { return false; }, 150);
        WindowShots::save(w.window, QStringLiteral("editor-01-%1").arg(modeName(mode)));
    }
    TrimPanel& trim = *c.trimPanel();
    EXPECT_EQ(trim.stopFields()[2]->stringValue(), "04");

    // Keep 1 s to 3 s.
    type(trim.startFields()[2], "01");
    type(trim.stopFields()[2], "03");
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join(" | ").toStdString();
    w.click(c.startExportBtn());
    // The kept range starts and ends on key frames: a copy, which may be done before the first look.
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning() || !outputs(c.outputPath()).isEmpty(); }, 5000));
    if (c.isRunning())
        EXPECT_FALSE(c.addfileButton()->isEnabled());
    WindowShots::save(w.window, "editor-02-exporting");
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isRunning() && !c.jobRunner().isBusy(); }, 60000));
    WindowShots::save(w.window, "editor-03-exported");
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join(" | ").toStdString();
    EXPECT_TRUE(c.addfileButton()->isEnabled());

    QStringList written = outputs(c.outputPath());
    ASSERT_EQ(written.size(), 1) << written.join(",").toStdString();
    const std::string kept = (c.outputPath() + "/" + written.first()).toStdString();
    const FfprobeResult keptProbe = ffprobe(kept);
    ASSERT_TRUE(keptProbe.ok);
    ASSERT_NE(keptProbe.firstVideo(), nullptr);
    ASSERT_NE(keptProbe.firstAudio(), nullptr);
    EXPECT_NEAR(keptProbe.firstVideo()->duration, 2.0, 0.06);
    // The first frame written is the source's frame at 1 s, the last the one before 3 s.
    EXPECT_NEAR(meanLevel(kept, 0), meanLevel(source, editFrameAt(1.0)), 3);
    EXPECT_NEAR(meanLevel(kept, editFrameAt(1.95)), meanLevel(source, editFrameAt(2.95)), 3);

    // Remove 1 s to 3 s: what is left is 0-1 s and 3-4 s, joined; the file written before stays.
    QComboBox* keepOrDelete = trim.preferenceBtn();
    keepOrDelete->setFocus();
    QTest::keyClick(keepOrDelete, Qt::Key_Down);
    QCoreApplication::processEvents();
    ASSERT_EQ(keepOrDelete->currentIndex(), 1);
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning() || outputs(c.outputPath()).size() == 2; }, 5000));
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isRunning() && !c.jobRunner().isBusy(); }, 90000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join(" | ").toStdString();
    written = outputs(c.outputPath());
    ASSERT_EQ(written.size(), 2) << written.join(",").toStdString();
    QString removedName;
    for (const QString& name : written)
        if (c.outputPath() + "/" + name != QString::fromStdString(kept))
            removedName = name;
    EXPECT_TRUE(removedName.contains("(2)")) << removedName.toStdString();
    const std::string removed = (c.outputPath() + "/" + removedName).toStdString();
    const FfprobeResult removedProbe = ffprobe(removed);
    ASSERT_TRUE(removedProbe.ok);
    ASSERT_NE(removedProbe.firstVideo(), nullptr);
    EXPECT_NEAR(removedProbe.firstVideo()->duration, 2.0, 0.1);
    EXPECT_NEAR(meanLevel(removed, 0), meanLevel(source, 0), 3);
    EXPECT_NEAR(meanLevel(removed, editFrameAt(1.0)), meanLevel(source, editFrameAt(3.0)), 3);
    EXPECT_EQ(ffprobe(kept).size, keptProbe.size);
}
