#include "BatchCutterWindowController.h"

#include "AviClips.h"
#include "BatchClips.h"
#include "ClipListPanel.h"
#include "ClipWindowDriver.h"
#include "FakeMediaJob.h"
#include "ShellTestEnvironment.h"
#include "WindowShots.h"
#include "support/Ffprobe.h"

#include "Alert.h"
#include "ArrowStepper.h"
#include "ClipPreviewBar.h"
#include "ClipTrimActions.h"
#include "ClipTrimEditor.h"
#include "JoinnerCell.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "Modal.h"
#include "NSProgressView.h"
#include "OpenPanel.h"
#include "ResourceBundle.h"
#include "SimpleData.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Window = ClipWindowDriver<BatchCutterWindowController>;

// `count` copies of one small clip under their own names, in a folder of their own.
QStringList copies(const std::string& clip, const QString& folderName, int count, const QString& prefix) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir(folderName.toStdString()));
    QStringList list;
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/%1%2.mp4").arg(prefix).arg(i + 1, 2, 10, QLatin1Char('0'));
        EXPECT_TRUE(QFile::copy(QString::fromStdString(clip), path));
        list << path;
    }
    return list;
}

QList<int> selectedRows(const BatchCutterWindowController& c) {
    QList<int> rows;
    const QList<JoinnerCell*>& cells = c.fileListTableView()->cells();
    for (int i = 0; i < cells.size(); ++i)
        if (cells[i]->selected())
            rows << i;
    return rows;
}

QStringList everyFile(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST(BatchCutterWindow, OpensEmptyWithTheBatchHintAndListsFilesWithoutJoinerControls) {
    Window w(copies(batchClip("hint.mp4", 2), "batch-hint", 2, "hint"));
    BatchCutterWindowController& c = w.controller;
    EXPECT_TRUE(c.listPanel()->emailIconView()->isVisible());
    EXPECT_EQ(c.listPanel()->gettingstatedlabel()->text(), ResourceBundle::localizedStringForKey("batch_desc"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(c.listPanel()->descLabels()[size_t(i)]->isVisible());
        EXPECT_EQ(c.listPanel()->descLabels()[size_t(i)]->text(),
                  QStringLiteral("%1.").arg(i + 1) +
                      ResourceBundle::localizedStringForKey(QStringLiteral("batch_desc%1").arg(i + 1)));
    }
    EXPECT_FALSE(c.fileListTableView()->isVisible());
    EXPECT_FALSE(c.editArea()->actions()->selectTimeBtn()->isEnabled());
    EXPECT_FALSE(c.editArea()->actions()->unSelectTimeBtn()->isEnabled());
    EXPECT_TRUE(c.editArea()->cutProgressView()->disable());
    // With an empty list Start does nothing.
    w.click(c.startJoinnerBtn());
    EXPECT_FALSE(c.isRunning());
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");

    w.add(2);
    EXPECT_FALSE(c.listPanel()->emailIconView()->isVisible());
    EXPECT_TRUE(c.fileListTableView()->isVisible());
    EXPECT_TRUE(c.editArea()->actions()->selectTimeBtn()->isEnabled());
    EXPECT_TRUE(c.editArea()->actions()->unSelectTimeBtn()->isEnabled());
    for (JoinnerCell* cell : c.fileListTableView()->cells()) {
        EXPECT_FALSE(cell->defaultoutputformat()->isVisible()) << "no default-format check";
        EXPECT_FALSE(cell->effectBtn()->isVisible()) << "no transition";
    }

    // Up at the first row and Down at the last change nothing; Remove and Clear leave the overall bar alone.
    const QString first = w.clip(0)->name();
    w.click(c.listPanel()->upBtn());
    EXPECT_EQ(w.clip(0)->name(), first);
    c.joinnerProgressView()->setProgress(0.4f);
    w.click(c.listPanel()->removeBtn());
    EXPECT_EQ(c.fileList()->size(), 1);
    EXPECT_TRUE(c.fileListTableView()->isVisible());
    w.click(c.listPanel()->clearBtn());
    EXPECT_TRUE(c.fileList()->isEmpty());
    EXPECT_TRUE(c.listPanel()->emailIconView()->isVisible());
    EXPECT_FLOAT_EQ(c.joinnerProgressView()->progress(), 0.4f);
    EXPECT_FLOAT_EQ(c.editArea()->cutProgressView()->lowerValue(), 0.0f);
    EXPECT_FLOAT_EQ(c.editArea()->cutProgressView()->upperValue(), 1.0f);
    EXPECT_TRUE(c.editArea()->cutProgressView()->disable());
    EXPECT_EQ(c.previewBar()->player(), nullptr);
}

TEST(BatchCutterWindow, CancelDuringTheSecondFileStartsNoOtherAndSaysNothing) {
    FakeJobFactory factory;
    factory.script.workMs = 2500;
    Window w(copies(batchClip("slow.mp4", 2), "batch-cancel", 5, "slow"), factory);
    BatchCutterWindowController& c = w.controller;
    w.add(5);
    c.setOutputPath(w.env.root + "/cancelled");
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.exportCurrentIndex() == 1; }, 10000));
    ASSERT_TRUE(WindowShots::waitUntil([&] { return factory.made.size() == 2 && factory.made[1]->started; }, 5000));
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Cancel");
    EXPECT_FALSE(c.editArea()->actions()->selectTimeBtn()->isEnabled()) << "the radios are locked with the rest";
    EXPECT_FALSE(c.listPanel()->removeBtn()->isEnabled());
    EXPECT_TRUE(c.addfileBtn()->isEnabled());
    EXPECT_TRUE(c.previewBar()->volumeSlider()->disable()) << "a file's volume is locked with the rest";
    EXPECT_EQ(c.fileListTableView()->selectedRow(), 1);
    EXPECT_TRUE(c.fileListTableView()->cells().at(1)->progress()->isVisible()) << "the row shows its progress";
    EXPECT_EQ(selectedRows(c), QList<int>{1});

    // A file added meanwhile joins the list, not the running batch; the list stays locked on the file written. A
    // file that cannot be read is named, and the start button still offers Cancel.
    const QString broken = QString::fromStdString(MediaFixtures::dir()) + "/batch-locked-broken.mp4";
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a media file");
    file.close();
    w.paths = {w.paths.first(), broken};
    w.click(c.addfileBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isAdding() && c.fileList()->size() == 6; }, 10000));
    w.settle();
    ASSERT_TRUE(c.isRunning());
    EXPECT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Cancel");
    w.alerts.clear();
    EXPECT_FALSE(c.listPanel()->removeBtn()->isEnabled());
    EXPECT_FALSE(c.editArea()->actions()->selectTimeBtn()->isEnabled());
    EXPECT_FALSE(c.editArea()->editor()->startFields()[0]->isEnabled());
    EXPECT_FALSE(c.editArea()->editor()->startStepper()->isEnabled());
    EXPECT_TRUE(c.previewBar()->volumeSlider()->disable());
    EXPECT_TRUE(c.editArea()->cutProgressView()->disable());
    EXPECT_FALSE(c.fileListTableView()->enabele());
    EXPECT_EQ(c.fileListTableView()->selectedRow(), 1);
    EXPECT_TRUE(c.fileListTableView()->cells().at(1)->progress()->isVisible());

    w.click(c.startJoinnerBtn());
    EXPECT_FALSE(c.isRunning());
    EXPECT_FLOAT_EQ(c.joinnerProgressView()->progress(), 0.0f);
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");
    EXPECT_TRUE(c.listPanel()->removeBtn()->isEnabled());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 10000));
    EXPECT_EQ(factory.made.size(), 2u) << "files 3 to 5 are not started";
    for (const auto& job : factory.made)
        EXPECT_EQ(job->closeCount, 1);
    EXPECT_FLOAT_EQ(c.joinnerProgressView()->progress(), 0.0f) << "the bar fills only on success";
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_EQ(w.finishedDialogs, 0);
    EXPECT_FALSE(c.fileListTableView()->cells().at(1)->progress()->isVisible());
    EXPECT_TRUE(c.startJoinnerBtn()->isEnabled());
}

TEST(BatchCutterWindow, StartWithNothingSaysWhyTheWheelScrollsAndIconButtonsSayWhatTheyDo) {
    Window w(copies(batchClip("wheel.mp4", 1), "batch-wheel", 9, "wheel"));
    BatchCutterWindowController& c = w.controller;
    w.click(c.startJoinnerBtn());
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(w.alerts.first(), ResourceBundle::localizedStringForKey("batchNoFilesstringValue"));
    EXPECT_FALSE(c.isRunning());
    EXPECT_EQ(w.iconButtonsWithoutToolTip(), QStringList{}) << "empty";

    w.add(9);
    EXPECT_EQ(w.iconButtonsWithoutToolTip(), QStringList{}) << "with files";
    QScrollBar* bar = c.fileListTableView()->itemScrollview()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "nine rows do not fit";
    const QList<JoinnerCell*>& cells = c.fileListTableView()->cells();
    for (QWidget* target : std::vector<QWidget*>{cells.at(3), cells.at(4)->thumbImageView()}) {
        const int before = bar->value();
        Window::wheel(target, 1);
        EXPECT_GT(bar->value(), before) << target->metaObject()->className();
    }
    Window::wheel(cells.at(5), 20);
    EXPECT_EQ(bar->value(), bar->maximum()) << "the last rows are reached";
}

TEST(BatchCutterWindow, AviFilesShowTheirFirstPictureInTheRowAndThePreview) {
    for (const AviClip& avi : aviClips()) {
        SCOPED_TRACE(avi.name);
        ASSERT_EQ(ffmpegFirstPictureColour(avi.path), "red") << "ffmpeg's own first picture";
        Window w({QString::fromStdString(avi.path)});
        BatchCutterWindowController& c = w.controller;
        w.add(1);
        w.waitForPreview();
        EXPECT_EQ(firstPictureColour(w.clip(0)->thumbImage()), "red");
        EXPECT_EQ(firstPictureColour(c.fileListTableView()->cells().at(0)->thumbImageView()->grab().toImage()), "red");
        ASSERT_NE(c.previewBar()->player(), nullptr);
        EXPECT_TRUE(WindowShots::waitUntil(
            [&] { return firstPictureColour(c.previewBar()->player()->view()->grab().toImage()) == "red"; }, 5000));
    }
}

TEST(BatchCutterWindow, ABrokenFileIsNamedAtTheEndAndTheOthersAreWritten) {
    const QStringList files = copies(batchClip("sound.mp4", 2), "batch-broken", 3, "part");
    Window w(files);
    BatchCutterWindowController& c = w.controller;
    w.add(3);
    {
        QFile broken(files[1]);
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("gone bad since it was added");
    }
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 60000));
    ASSERT_EQ(w.alerts.size(), 1) << w.alerts.join("|").toStdString();
    EXPECT_TRUE(w.alerts[0].startsWith(ResourceBundle::localizedStringForKey("batchFailedFilesstringValue")));
    EXPECT_TRUE(w.alerts[0].contains("part02.mp4: error:")) << w.alerts[0].toStdString();
    EXPECT_FALSE(w.alerts[0].contains("part01.mp4"));
    EXPECT_EQ(w.finishedDialogs, 0);
    EXPECT_FLOAT_EQ(c.joinnerProgressView()->progress(), 0.0f);
    EXPECT_EQ(everyFile(c.outputPath()), (QStringList{"part01.mp4", "part03.mp4"}));
    EXPECT_EQ(w.clip(0)->exportPath(), c.outputPath() + "/part01.mp4");
    EXPECT_TRUE(w.clip(1)->exportPath().isEmpty());
    for (JoinnerCell* cell : c.fileListTableView()->cells())
        EXPECT_FALSE(cell->progress()->isVisible());
}

TEST(BatchCutterWindow, EndToEndTwentyFilesEachWithItsOwnRange) {
    const QStringList inputs = copies(batchClip("twenty.mp4", 2), "batch-twenty", 20, "take");
    Window w(inputs);
    BatchCutterWindowController& c = w.controller;
    WindowShots::save(w.window, "batchcut-00-empty");
    w.add(20);
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_EQ(c.fileListTableView()->cells().size(), 20);
    w.waitForPreview();
    WindowShots::save(w.window, "batchcut-01-twenty-files");

    // The first file keeps 0.50 s to 1.50 s; the second cuts 0.60 s to 1.40 s out.
    ClipTrimEditor* e = c.editArea()->editor();
    w.selectRow(0);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.previewBar()->player() != nullptr; }, 5000));
    w.type(e->startFields()[3], "50");
    w.type(e->stopFields()[2], "1");
    w.type(e->stopFields()[3], "50");
    EXPECT_EQ(w.clip(0)->cutTimeRange_start(), 500000);
    EXPECT_EQ(w.clip(0)->cutTimeRange_stop(), 1500000);
    w.selectRow(1);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.previewBar()->player() != nullptr; }, 5000));
    w.type(e->startFields()[3], "60");
    w.type(e->stopFields()[2], "1");
    w.type(e->stopFields()[3], "40");
    w.click(c.editArea()->actions()->unSelectTimeBtn());
    EXPECT_TRUE(w.clip(1)->isTrimFanxuan());
    EXPECT_EQ(c.fileListTableView()->cells().at(1)->cuttedTimeLabel()->text(), "00:00:00.80");
    // Choosing the files again leaves their ranges exactly as they were set.
    for (int round = 0; round < 3; ++round) {
        for (int row : {0, 1}) {
            w.selectRow(row);
            ASSERT_TRUE(WindowShots::waitUntil([&] { return c.previewBar()->player() != nullptr; }, 5000));
        }
    }
    EXPECT_EQ(w.clip(0)->cutTimeRange_start(), 500000);
    EXPECT_EQ(w.clip(0)->cutTimeRange_stop(), 1500000);
    EXPECT_EQ(w.clip(1)->cutTimeRange_start(), 600000);
    EXPECT_EQ(w.clip(1)->cutTimeRange_stop(), 1400000);
    // The fields show them as set (1.40 s is 1.39999998 as a float), so saving the fields again keeps them.
    EXPECT_EQ(e->stopFields()[2]->stringValue(), "01");
    EXPECT_EQ(e->stopFields()[3]->stringValue(), "40");
    w.waitForPreview();
    WindowShots::save(w.window, "batchcut-02-ranges-set");

    // An unrelated file already has the third file's name in the output folder.
    const QString folder = c.outputPath();
    {
        QFile mine(folder + "/take03.mp4");
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
        mine.write("mine");
    }

    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Cancel");
    WindowShots::waitUntil([&] { return c.exportCurrentIndex() >= 3 || w.idle(); }, 60000);
    WindowShots::save(w.window, "batchcut-03-cutting");
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 180000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_EQ(w.finishedDialogs, 1) << "the finished dialog";
    EXPECT_FLOAT_EQ(c.joinnerProgressView()->progress(), 1.0f);
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");
    EXPECT_TRUE(c.listPanel()->removeBtn()->isEnabled());
    w.waitForPreview();
    WindowShots::save(w.window, "batchcut-04-done");
    EXPECT_EQ(c.fileListTableView()->cells().at(1)->cuttedTimeLabel()->text(), "00:00:00.80");
    EXPECT_GT(c.fileListTableView()->itemScrollview()->verticalScrollBar()->value(), 0)
        << "the list followed the file being written";
    EXPECT_EQ(selectedRows(c), QList<int>{19}) << "one row marked: the last one written";

    const QStringList written = everyFile(folder);
    ASSERT_EQ(written.size(), 21) << written.join(",").toStdString();
    EXPECT_TRUE(written.contains("take03(2).mp4"));
    {
        QFile mine(folder + "/take03.mp4");
        ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
        EXPECT_EQ(mine.readAll(), "mine");
    }
    for (int i = 0; i < 20; ++i) {
        const QString out = w.clip(i)->exportPath();
        ASSERT_FALSE(out.isEmpty()) << i;
        EXPECT_EQ(QFileInfo(out).fileName(),
                  i == 2 ? QStringLiteral("take03(2).mp4") : QFileInfo(inputs[i]).fileName());
        const FfprobeResult probe = ffprobe(out.toStdString());
        ASSERT_TRUE(probe.ok) << out.toStdString();
        ASSERT_NE(probe.firstVideo(), nullptr);
        EXPECT_EQ(probe.firstVideo()->width, 160);
        EXPECT_EQ(probe.firstVideo()->height, 120);
        EXPECT_EQ(probe.count("audio"), 1);
        const double expected = i == 0 ? 1.0 : i == 1 ? 1.2 : 2.0;
        EXPECT_NEAR(probe.duration, expected, i == 1 ? 0.25 : 0.1) << out.toStdString();
    }

    // Again, cancelled at once: only whole files are left, each one new, and nothing is said.
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 20000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_EQ(w.finishedDialogs, 1);
    const QStringList after = everyFile(folder);
    EXPECT_LT(after.size(), 41);
    for (const QString& name : after) {
        EXPECT_FALSE(name.startsWith('.')) << "no temporary part: " << name.toStdString();
        if (!written.contains(name)) {
            EXPECT_TRUE(ffmpegDecodesCleanly((folder + "/" + name).toStdString())) << name.toStdString();
        }
    }
}

TEST(BatchCutterWindow, AnOutputFolderThatCannotBeWrittenFailsEveryFileAndSaysSo) {
    Window w(copies(batchClip("blocked.mp4", 2), "batch-blocked", 2, "blocked"));
    BatchCutterWindowController& c = w.controller;
    w.add(2);
    // The output folder is a file: nothing can be written there.
    const QString notAFolder = w.env.root + "/not-a-folder";
    {
        QFile file(notAFolder);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    c.setOutputPath(notAFolder);
    w.clip(1)->setIsTrimFanxuan(true);
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 30000));
    ASSERT_EQ(w.alerts.size(), 1) << w.alerts.join("|").toStdString();
    EXPECT_TRUE(w.alerts[0].contains("blocked01.mp4: error:")) << w.alerts[0].toStdString();
    EXPECT_TRUE(w.alerts[0].contains("blocked02.mp4: error:")) << w.alerts[0].toStdString();
    EXPECT_EQ(w.finishedDialogs, 0) << "never a success";
    EXPECT_FLOAT_EQ(c.joinnerProgressView()->progress(), 0.0f);
    EXPECT_EQ(everyFile(w.env.root), QStringList{"not-a-folder"}) << "nothing left behind";
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");
    EXPECT_TRUE(c.listPanel()->removeBtn()->isEnabled());
}

TEST(BatchCutterWindow, ClosingDuringABatchStopsItAndLeavesOnlyWholeFiles) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("batch-closing-out"));
    QStringList written;
    {
        Window w(copies(batchClip("closing.mp4", 3), "batch-closing", 6, "closing"));
        BatchCutterWindowController& c = w.controller;
        w.add(6);
        c.setOutputPath(folder);
        w.click(c.startJoinnerBtn());
        ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
        c.close();
        EXPECT_FALSE(c.isRunning());
        ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.jobRunner().isBusy(); }, 10000));
        // The question before closing, answered with its first button; no error after the stop.
        EXPECT_EQ(w.alerts.join("|"), ResourceBundle::localizedStringForKey("StopJobAndCloseMessage"));
        EXPECT_EQ(w.finishedDialogs, 0);
        written = everyFile(folder);
    }
    EXPECT_LT(written.size(), 6) << "the batch stopped";
    for (const QString& name : written) {
        EXPECT_FALSE(name.startsWith('.')) << "no temporary part: " << name.toStdString();
        EXPECT_TRUE(ffmpegDecodesCleanly((folder + "/" + name).toStdString())) << name.toStdString();
    }
}
