#include "EditorWindowTestSupport.h"

#include "EditExportClips.h"
#include "EditExportRun.h"
#include "EngineJobFactory.h"
#include "GatedJobFactory.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQTextField.h"
#include "TrimPanel.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QComboBox>
#include <QDir>
#include <QTimer>

namespace {

void setFields(const std::array<LQTextField*, 4>& fields, const QStringList& values) {
    for (int i = 0; i < 4; ++i)
        fields[size_t(i)]->setStringValue(values[i]);
}

QStringList written(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

double frameDifference(const std::string& a, double at, const std::string& b, double bt) {
    int w = 0, h = 0;
    return meanAbsoluteDifference(ffmpegFrameRgb(a, at, &w, &h), ffmpegFrameRgb(b, bt, &w, &h));
}

struct LoadedEditor : EditorWindow {
    explicit LoadedEditor(MediaJobFactory* factory = nullptr) : EditorWindow(ToolItemTypeTrim, factory) {
        add(editLevelClip());
        EXPECT_NE(controller->fileData(), nullptr);
        EXPECT_TRUE(WindowShots::waitUntil(
            [&] { return controller->lqPlayer() && !controller->lqPlayer()->isSeeking(); }, 5000));
    }
    TrimPanel& trim() { return *controller->trimPanel(); }
    bool waitIdle(int ms = 90000) {
        return WindowShots::waitUntil([&] { return !controller->isRunning() && !controller->jobRunner().isBusy(); },
                                      ms);
    }
};

} // namespace

TEST(EditExportWindow, StartWithTheEndBeforeTheStartIsRefusedAndExportsNothing) {
    LoadedEditor w;
    EditVideoWindowController& c = *w.controller;
    // Mark-out may put the end before the start; Start must not export that, nor the range of an earlier Start.
    setFields(w.trim().startFields(), {"00", "00", "03", "00"});
    setFields(w.trim().stopFields(), {"00", "00", "01", "00"});
    w.click(c.startExportBtn());
    EXPECT_FALSE(c.isRunning());
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(w.alerts.first(), QStringLiteral("The end must lie after the start."));
    EXPECT_TRUE(c.startExportBtn()->isEnabled());
    EXPECT_TRUE(c.addfileButton()->isEnabled()) << "the window stays usable";
    EXPECT_TRUE(written(c.outputPath()).isEmpty());

    // Deleting the whole file leaves nothing to write: refused as well.
    setFields(w.trim().startFields(), {"00", "00", "00", "00"});
    setFields(w.trim().stopFields(), {"00", "00", "04", "00"});
    w.trim().actionPreferencesBtn(1);
    w.click(c.startExportBtn());
    EXPECT_FALSE(c.isRunning());
    ASSERT_EQ(w.alerts.size(), 2);
    EXPECT_EQ(w.alerts.last(), QStringLiteral("Deleting this section would leave nothing to export."));
    EXPECT_TRUE(written(c.outputPath()).isEmpty());
}

TEST(EditExportWindow, TheRunningExportKeepsTheTrimTakenAtStart) {
    // The job waits at a gate: a copy cut of this clip would otherwise end before the edits below.
    GatedJobFactory gate(EngineJobFactory::shared());
    gate.close();
    LoadedEditor w(&gate);
    EditVideoWindowController& c = *w.controller;
    setFields(w.trim().startFields(), {"00", "00", "01", "00"});
    setFields(w.trim().stopFields(), {"00", "00", "02", "50"});
    w.click(c.startExportBtn());
    ASSERT_TRUE(c.isRunning());
    // Edits after Start (the fields, the keep/delete choice) belong to the next export.
    setFields(w.trim().startFields(), {"00", "00", "00", "00"});
    setFields(w.trim().stopFields(), {"00", "00", "03", "90"});
    c.cutProgressView()->setIsFanxuan(true);
    gate.open();
    ASSERT_TRUE(w.waitIdle());
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join(" | ").toStdString();
    const QStringList files = written(c.outputPath());
    ASSERT_EQ(files.size(), 1);
    const std::string out = (c.outputPath() + "/" + files.first()).toStdString();
    EXPECT_NEAR(ffprobe(out).firstVideo()->duration, 1.5, 0.051);
    EXPECT_LT(frameDifference(out, 0, editLevelClip(), editFrameAt(1.0)), 3.0);
}

TEST(EditExportWindow, CancellingAnInvertedTrimLeavesNoOutputAndNoPieces) {
    const PrivateTempFolder temp;
    // Only the first piece is let through, so the cancel surely comes while the second one is on.
    GatedJobFactory gate(EngineJobFactory::shared());
    gate.letThrough(1);
    LoadedEditor w(&gate);
    EditVideoWindowController& c = *w.controller;
    setFields(w.trim().startFields(), {"00", "00", "01", "00"});
    setFields(w.trim().stopFields(), {"00", "00", "02", "00"});
    w.trim().actionPreferencesBtn(1);
    w.click(c.startExportBtn());
    ASSERT_TRUE(c.isRunning());
    const QString pieces = c.exportRun()->pieceFolder();
    ASSERT_FALSE(pieces.isEmpty());
    EXPECT_TRUE(pieces.startsWith(temp.path()));
    // Cancel while the second piece is being written: the first one is already in the private folder.
    ASSERT_TRUE(
        WindowShots::waitUntil([&] { return c.jobRunner().currentStep() == 1 && c.jobRunner().currentJob(); }, 60000));
    w.click(c.startExportBtn());
    EXPECT_FALSE(c.isRunning());
    ASSERT_TRUE(w.waitIdle());
    EXPECT_TRUE(w.alerts.isEmpty()) << "a cancel is no error: " << w.alerts.join(" | ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(pieces));
    EXPECT_TRUE(temp.pieceFolders().isEmpty());
    EXPECT_TRUE(written(c.outputPath()).isEmpty()) << written(c.outputPath()).join(",").toStdString();
    EXPECT_TRUE(c.startExportBtn()->isEnabled());
    EXPECT_TRUE(c.addfileButton()->isEnabled());
}

TEST(EditExportWindow, AnExportThatCannotBeSetUpSaysSoAndLeavesTheWindowIdle) {
    const PrivateTempFolder temp;
    // A file that goes away after it was opened: the engine refuses it when the job is set up.
    const QString copy = QString::fromStdString(MediaFixtures::freshDir("editor-vanishing")) + "/gone.mp4";
    ASSERT_TRUE(QFile::copy(QString::fromStdString(editLevelClip()), copy));
    EditorWindow w(ToolItemTypeTrim);
    EditVideoWindowController& c = *w.controller;
    w.add(copy.toStdString());
    const auto idle = [&] {
        return WindowShots::waitUntil([&] { return !c.isRunning() && !c.jobRunner().isBusy(); }, 60000);
    };
    ASSERT_NE(c.fileData(), nullptr);
    for (bool inverted : {false, true}) {
        setFields(c.trimPanel()->startFields(), {"00", "00", "01", "00"});
        setFields(c.trimPanel()->stopFields(), {"00", "00", "02", "00"});
        c.trimPanel()->actionPreferencesBtn(inverted ? 1 : 0);
        QFile::remove(copy);
        w.alerts.clear();
        w.click(c.startExportBtn());
        ASSERT_TRUE(idle());
        ASSERT_EQ(w.alerts.size(), 1) << inverted;
        EXPECT_TRUE(w.alerts.first().startsWith(QStringLiteral("error:"))) << w.alerts.first().toStdString();
        EXPECT_FALSE(c.isRunning());
        EXPECT_TRUE(c.startExportBtn()->isEnabled());
        EXPECT_TRUE(c.addfileButton()->isEnabled());
        EXPECT_TRUE(c.trimPanel()->setStartTrimBtn()->isEnabled()) << "editing is back on";
        EXPECT_TRUE(written(c.outputPath()).isEmpty());
        EXPECT_TRUE(temp.pieceFolders().isEmpty());
    }
}
