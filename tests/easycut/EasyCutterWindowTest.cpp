#include "EasyCutterWindowcontroller.h"

#include "EasyCutClips.h"
#include "ShellTestEnvironment.h"
#include "WindowShots.h"
#include "support/Ffprobe.h"
#include "support/PaintCounter.h"

#include "Alert.h"
#include "CutItemView.h"
#include "HelpClass.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MOQScrollView.h"
#include "MOQView.h"
#include "NSProgressView.h"
#include "OpenPanel.h"
#include "ResourceBundle.h"
#include "SegmentExportPlan.h"
#include "ShownTime.h"
#include "StringsTable.h"
#include "TimeStepper.h"
#include "ViewFrame.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>
#include <memory>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kFrame = 0.05;

// A shown easy cutter with the open panel answering `path`, and every alert's text recorded.
struct Window {
    explicit Window(const std::string& path) {
        OpenPanel::setProvider(
            [path](const OpenPanelOptions&, QWidget*) { return QStringList{QString::fromStdString(path)}; });
        Alert::setProvider([this](const AlertRequest& request, QWidget*) {
            alerts << request.informativeText;
            // A real alert takes the keyboard focus from the field being typed in.
            if (QWidget* focused = QApplication::focusWidget())
                focused->clearFocus();
            return answer;
        });
        window = controller.window();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    ~Window() { controller.close(); }

    void click(QWidget* widget) {
        ASSERT_TRUE(widget->isVisible());
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    void load() {
        click(controller.addfileBtn());
        ASSERT_TRUE(WindowShots::waitUntil([&] { return controller.fileData() != nullptr; }, 10000));
    }
    // Types text into one field as a person does: a click, the digits, Return.
    void type(LQTextField* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // Types a time of less than a minute into a row's seconds and hundredths, in the order that never passes the
    // other end on the way (a start moving later: hundredths first; an end: seconds first).
    void typeTime(const EasyCutterWindowcontroller::TimeRow& row, double seconds, bool hundredthsFirst) {
        const int whole = int(std::floor(seconds + 1e-6));
        const int hundredths = int(std::lround((seconds - whole) * 100));
        if (hundredthsFirst)
            type(row.fields[3], QString::number(hundredths));
        type(row.fields[2], QString::number(whole));
        if (!hundredthsFirst)
            type(row.fields[3], QString::number(hundredths));
    }
    bool idle() { return !controller.isRunning() && !controller.jobRunner().isBusy(); }
    // Cuts `count` segments, segment i being the i-th of `parts` equal parts of the file.
    void cutParts(int count, int parts) {
        for (int i = 0; i < count; ++i) {
            controller.cutprogressView()->setLowerValueUpperValue(float(i) / float(parts), float(i + 1) / float(parts));
            controller.cutAction();
        }
    }

    ShellTestEnvironment env;
    EasyCutterWindowcontroller controller;
    QWidget* window = nullptr;
    QStringList alerts;
    int answer = 0; // the button every alert is answered with
};

double videoDuration(const std::string& path) {
    const FfprobeResult probe = ffprobe(path); // the stream below points into it
    const FfprobeStream* video = probe.firstVideo();
    return video ? video->duration : -1;
}

double frameDifference(const std::string& a, double at, const std::string& b, double bt) {
    int w = 0, h = 0;
    return meanAbsoluteDifference(ffmpegFrameRgb(a, at, &w, &h), ffmpegFrameRgb(b, bt, &w, &h));
}

} // namespace

TEST(EasyCutterWindow, EndToEndTwelveSegmentsMergedThenSeparate) {
    const std::string source = levelClip();
    Window w(source);
    WindowShots::save(w.window, "easycut-00-no-file");
    EXPECT_TRUE(w.controller.addfileBtn()->isVisible());

    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    EXPECT_EQ(c.scrLabel()->text(), QString::fromStdString(source));
    EXPECT_FALSE(c.addfileBtn()->isVisible());
    EXPECT_NEAR(c.duration(), 4.0, 0.06);
    EXPECT_EQ(c.stopRow().fields[2]->stringValue(), "04");
    EXPECT_FLOAT_EQ(c.volumeSlider()->progress(), 0.5f);
    WindowShots::save(w.window, "easycut-01-loaded");

    // A dozen segments of 0.25 s, 0.3 s apart, marked by typing the range and pressing Cut.
    std::vector<std::pair<double, double>> marked;
    for (int i = 0; i < 12; ++i) {
        const double start = 0.3 * i;
        const double end = start + 0.25;
        w.typeTime(c.stopRow(), end, false);
        w.typeTime(c.startRow(), start, true);
        // Times are single precision and shown truncated to hundredths, so a typed time may read back a hundredth
        // lower (1.80 shows as 1.79).
        EXPECT_NEAR(c.cutprogressView()->lowerValue() * c.duration(), start, 0.011) << i;
        EXPECT_NEAR(c.cutprogressView()->upperValue() * c.duration(), end, 0.011) << i;
        w.click(c.cutStartBtn());
        marked.emplace_back(start, end);
    }
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    w.alerts.clear();
    ASSERT_EQ(c.segments().count(), 12);
    ASSERT_EQ(c.cutItemViews().size(), 12u);
    EXPECT_EQ(c.segments().selectedCutIndex(), 11);
    EXPECT_TRUE(c.cutItemViews().back()->selected());
    // Times are kept in single precision and shown truncated to hundredths.
    const SegmentList::Item fourth = c.segments().at(3);
    EXPECT_NEAR(fourth->startTime(), 0.9, 0.011);
    EXPECT_NEAR(fourth->endTime(), 1.15, 0.011);
    EXPECT_EQ(c.cutItemViews()[3]->title(),
              ShownTime::text(fourth->startTime()) + "-" + ShownTime::text(fourth->endTime()));
    EXPECT_TRUE(c.cutItemViews()[3]->title().startsWith("00:00:00.")) << c.cutItemViews()[3]->title().toStdString();
    EXPECT_TRUE(WindowShots::waitUntil([&] { return !c.cutItemViews()[3]->iconView()->pixmap().isNull(); }, 10000))
        << "each tile shows its picture once it is read";
    EXPECT_TRUE(c.cutItemViews().back()->visibleRegion().boundingRect().height() > 100)
        << "the list scrolled to the new segment";
    WindowShots::save(w.window, "easycut-02-twelve-segments");

    // The segment editor under the selected tile, through the overlay's Modify.
    w.click(c.itemModifyBtn());
    EXPECT_TRUE(c.selectedItemTimeChangeView()->isVisible());
    EXPECT_EQ(c.stopItemRow().fields[2]->stringValue(), "03");
    EXPECT_NEAR(c.stopItemRow().fields[3]->integerValue(), 55, 1);
    WindowShots::save(w.window, "easycut-03-segment-editor");
    w.click(c.itemModifyBtn());
    EXPECT_FALSE(c.selectedItemTimeChangeView()->isVisible());

    // Merged into one file.
    w.click(c.merageBtn());
    EXPECT_TRUE(c.merageBtn()->selected());
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    EXPECT_EQ(c.startExportBtn()->contentTitle(), "Cancel");
    EXPECT_FALSE(c.addfileBtn()->isEnabled());
    EXPECT_FALSE(c.updateFileAddBtn()->isEnabled());
    EXPECT_FALSE(c.cutStartBtn()->isEnabled());
    EXPECT_FALSE(c.cutItemViews()[0]->isEnabled());
    WindowShots::save(w.window, "easycut-04-merging");
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 60000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_EQ(c.startExportBtn()->contentTitle(), "Start");
    EXPECT_TRUE(c.cutStartBtn()->isEnabled());
    WindowShots::save(w.window, "easycut-05-merged");

    const QString folder = c.outputPath();
    const QStringList merged = QDir(folder).entryList(QDir::Files);
    ASSERT_EQ(merged.size(), 1);
    const std::string joined = (folder + "/" + merged.first()).toStdString();
    EXPECT_TRUE(merged.first().endsWith(".mp4"));
    EXPECT_NEAR(videoDuration(joined), 12 * 0.25, 2 * kFrame);
    const FfprobeResult probe = ffprobe(joined);
    EXPECT_EQ(probe.count("audio"), 1);
    ASSERT_NE(probe.firstVideo(), nullptr);
    EXPECT_EQ(probe.firstVideo()->width, 320);
    // Every seam: the joined file's frame is the segment's first frame.
    for (int i = 0; i < 12; ++i) {
        // The segment's first frame is the first one that starts at or after its start in whole microseconds.
        const qint64 us = SegmentExportPlan::microseconds(c.segments().at(i)->startTime());
        const double firstFrame = double((us + 49999) / 50000) * kFrame;
        EXPECT_NEAR(firstFrame, marked[size_t(i)].first, 1e-6) << "segment " << i;
        EXPECT_LT(frameDifference(joined, frameStartingAt(i * 0.25), source, frameStartingAt(firstFrame)), 3.0)
            << "segment " << i;
    }

    // Then each segment as a file of its own.
    w.click(c.merageBtn());
    EXPECT_FALSE(c.merageBtn()->selected());
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    WindowShots::waitUntil([&] { return c.jobRunner().currentStep() >= 5; }, 30000);
    WindowShots::save(w.window, "easycut-06-separate-exporting");
    EXPECT_GE(c.segments().selectedCutIndex(), 4) << "the segment being written is the selected one";
    EXPECT_FALSE(c.upMoveItemBtn()->isEnabled()) << "selecting the segment being written keeps the lock";
    EXPECT_FALSE(c.downMoveItemBtn()->isEnabled());
    EXPECT_FALSE(c.cutItemViews()[0]->isEnabled());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 90000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_FLOAT_EQ(c.exportProgressView()->progress(), 0.0f);
    WindowShots::save(w.window, "easycut-07-separate-done");
    const QStringList files = QDir(folder).entryList(QDir::Files);
    EXPECT_EQ(files.size(), 13);
    EXPECT_TRUE(files.contains("000000.00-000000.25.mp4"));
    for (const SegmentList::Item& item : c.segments().items()) {
        const QString name = SegmentExportPlan::baseName(item->startTime(), item->endTime()) + ".mp4";
        ASSERT_TRUE(files.contains(name)) << name.toStdString();
        EXPECT_NEAR(videoDuration((folder + "/" + name).toStdString()), 0.25, kFrame + 0.001) << name.toStdString();
    }
}

TEST(EasyCutterWindow, AnExportKeepsTheSegmentsTakenAtStartAndLocksTheAddButtons) {
    const std::string source = levelClip();
    Window w(source);
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    for (int i = 0; i < 3; ++i) {
        c.cutprogressView()->setLowerValueUpperValue(float(i) / 4, float(i) / 4 + 0.125f);
        c.cutAction();
    }
    ASSERT_EQ(c.segments().count(), 3);
    const QString folder = w.env.root + "/not/yet/there";
    c.setOutputPath(folder);
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    EXPECT_FALSE(c.addfileBtn()->isEnabled());
    EXPECT_FALSE(c.updateFileAddBtn()->isEnabled());
    EXPECT_TRUE(c.startExportBtn()->isEnabled()) << "Start is the Cancel";
    // Whatever happens to the list meanwhile, the export writes what was there at Start.
    c.segments().clear();
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 60000));
    EXPECT_TRUE(c.addfileBtn()->isEnabled());
    EXPECT_TRUE(c.updateFileAddBtn()->isEnabled());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              (QStringList{"000000.00-000000.50.mp4", "000001.00-000001.50.mp4", "000002.00-000002.50.mp4"}))
        << "the output folder is created";
    EXPECT_TRUE(w.alerts.isEmpty());
}

TEST(EasyCutterWindow, CancelStopsTheChainAndLeavesTheWindowReady) {
    const std::string source = encodedLevelClip();
    Window w(source);
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    for (int i = 0; i < 3; ++i) {
        c.cutprogressView()->setLowerValueUpperValue(0, 1);
        c.cutAction();
    }
    const QString folder = w.env.root + "/cancelled";
    c.setOutputPath(folder);
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    w.click(c.startExportBtn());
    EXPECT_FALSE(c.isRunning());
    EXPECT_EQ(c.startExportBtn()->contentTitle(), "Start");
    EXPECT_FLOAT_EQ(c.exportProgressView()->progress(), 0.0f);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 10000));
    EXPECT_TRUE(w.alerts.isEmpty()) << "a cancel is never an error";
    EXPECT_LE(QDir(folder).entryList(QDir::Files).size(), 1) << "the chain stopped";
    EXPECT_TRUE(c.startExportBtn()->isEnabled());
    EXPECT_TRUE(c.cutStartBtn()->isEnabled());
}

TEST(EasyCutterWindow, EditingAfterClearChangesNothingAndNeverFails) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    c.cutprogressView()->setLowerValueUpperValue(0.25f, 0.5f);
    c.cutAction();
    c.cutAction();
    w.click(c.itemModifyBtn());
    ASSERT_TRUE(c.selectedItemTimeChangeView()->isVisible());
    w.click(c.deletedItemBtn());
    EXPECT_EQ(c.segments().count(), 0);
    EXPECT_TRUE(c.cutItemViews().empty());
    EXPECT_TRUE(c.selectedItemTimeChangeView()->isVisible()) << "Clear leaves the editor as it was";

    // Every way of writing the open segment now finds none and only moves the handles and the fields.
    c.setStartAction();
    c.setEndAction();
    w.type(c.startItemRow().fields[2], "2");
    w.type(c.stopRow().fields[2], "3");
    EXPECT_EQ(c.stopRow().fields[2]->stringValue(), "03") << "a typed range time moves the handle";
    EXPECT_NEAR(c.cutprogressView()->upperValue(), 0.75f, 0.01);
    c.actionMouseDownForTextFieldBlock(c.stopItemRow().fields[1]);
    c.stopItemRow().stepper->step(true);
    c.kuaijinAction();
    c.kuaituiAction();
    c.cutprogressView()->setLowerValueUpperValue(0.1f, 0.6f); // what a drag does before it reports
    c.actionMouseMovedForCutProgressViewBlock(c.cutprogressView(), 0.1f, 0.6f, 2);
    c.refresSelectTrimTime(true, true);
    EXPECT_EQ(c.segments().count(), 0);
    EXPECT_NEAR(c.cutprogressView()->upperValue(), 0.6f, 1e-6);
    EXPECT_EQ(c.stopRow().fields[2]->stringValue(), "02");
}

TEST(EasyCutterWindow, NudgesMoveTheActiveHandleTheSameStepBothWays) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    const double d = c.duration();
    c.actionSeekToTimeForCutProgressViewBlock(c.cutprogressView(), float(1.0 / d));
    ASSERT_TRUE(
        WindowShots::waitUntil([&] { return std::abs(c.lqPlayer()->currentTime().seconds() - 1.0) < 0.01; }, 3000));
    // Right after loading the start handle is the active one.
    c.kuaijinAction();
    EXPECT_NEAR(c.cutprogressView()->lowerValue() * d, 1.1, 0.001);
    EXPECT_NEAR(c.lqPlayer()->currentTime().seconds(), 1.1, 0.001) << "the playhead stays on the handle it moved";
    c.kuaijinAction();
    EXPECT_NEAR(c.cutprogressView()->lowerValue() * d, 1.2, 0.001);
    c.kuaituiAction();
    c.kuaituiAction();
    EXPECT_NEAR(c.cutprogressView()->lowerValue() * d, 1.0, 0.001);
    EXPECT_EQ(c.startRow().fields[2]->stringValue(), "01");

    // After set end the end handle moves; forward at the end of the file stops at 1.
    c.actionSeekToTimeForCutProgressViewBlock(c.cutprogressView(), float((d - 0.05) / d));
    c.setEndAction();
    c.kuaijinAction();
    EXPECT_FLOAT_EQ(c.cutprogressView()->upperValue(), 1.0f);
    c.kuaituiAction();
    EXPECT_NEAR(c.cutprogressView()->upperValue() * d, d - 0.1, 0.001);
}

TEST(EasyCutterWindow, TypedTimesStayInOrderAndInsideTheFile) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    const double d = c.duration();
    w.type(c.stopRow().fields[2], "9");
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_TRUE(w.alerts[0].contains("beyond the end"));
    EXPECT_FLOAT_EQ(c.cutprogressView()->upperValue(), 1.0f) << "the end is the file's end, never beyond";
    EXPECT_EQ(c.stopRow().fields[2]->stringValue(), QString::asprintf("%02d", int(std::floor(d))));

    w.type(c.stopRow().fields[2], "2");
    w.type(c.startRow().fields[2], "3");
    ASSERT_EQ(w.alerts.size(), 2);
    EXPECT_TRUE(w.alerts[1].contains("after the end"));
    EXPECT_NEAR(c.cutprogressView()->lowerValue() * d, 2.0, 0.001) << "the start comes back to the end as a whole";
    EXPECT_EQ(c.startRow().fields[2]->stringValue(), "02");

    // A negative start is refused: the field keeps the text and nothing moves.
    c.cutprogressView()->setLowerValue(0);
    w.type(c.startRow().fields[2], "-5");
    EXPECT_EQ(w.alerts.size(), 3);
    EXPECT_TRUE(c.startRow().fields[2]->isEditing());
    EXPECT_FLOAT_EQ(c.cutprogressView()->lowerValue(), 0.0f);
}

TEST(EasyCutterWindow, RangePreviewLoopsInsideTheRangeWithoutHoldingTheWindow) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    c.cutprogressView()->setLowerValueUpperValue(0.25f, 0.375f); // 1 s to 1.5 s
    w.click(c.playOrpauseSelectBtn());
    ASSERT_TRUE(c.isPlaySelectedCut());
    EXPECT_FALSE(c.playOrpauseBtn()->isEnabled());
    const double d = c.duration();
    double latest = 0;
    int looped = 0;
    double previous = 0;
    QElapsedTimer clock;
    clock.start();
    // The event loop keeps running (the wait returns) while the range plays over and over.
    while (clock.elapsed() < 2500) {
        WindowShots::waitUntil([] { return false; }, 50);
        const double now = c.lqPlayer()->currentTime().seconds();
        latest = std::max(latest, now);
        if (now + 0.2 < previous)
            ++looped;
        previous = now;
    }
    EXPECT_GE(looped, 1) << "the playhead went back to the start handle";
    EXPECT_LT(latest, 0.375 * d + 0.35) << "it never ran far past the end handle";
    w.click(c.playOrpauseSelectBtn());
    EXPECT_FALSE(c.isPlaySelectedCut());
    EXPECT_TRUE(c.playOrpauseBtn()->isEnabled());
}

TEST(EasyCutterWindow, AFileThatCannotBeReadLeavesTheWindowAsItWas) {
    const std::string source = levelClip();
    const std::string broken = MediaFixtures::freshDir("easycut-broken") + "/noise.mp4";
    {
        QFile f(QString::fromStdString(broken));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    Window w(source);
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    c.cutAction();
    OpenPanel::setProvider(
        [broken](const OpenPanelOptions&, QWidget*) { return QStringList{QString::fromStdString(broken)}; });
    w.click(c.updateFileAddBtn());
    WindowShots::waitUntil([&] { return !w.alerts.isEmpty(); }, 5000);
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_TRUE(w.alerts[0].contains("noise.mp4"));
    EXPECT_EQ(c.scrLabel()->text(), QString::fromStdString(source));
    EXPECT_EQ(c.segments().count(), 1);
    EXPECT_TRUE(c.cutStartBtn()->isVisible());
}

TEST(EasyCutterWindow, ClosingDuringAnExportStopsItAndLeavesNothingBehind) {
    const std::string source = levelClip();
    auto w = std::make_unique<Window>(source);
    w->load();
    EasyCutterWindowcontroller& c = w->controller;
    c.cutprogressView()->setLowerValueUpperValue(0, 1);
    c.cutAction();
    w->click(c.merageBtn());
    const QString folder = w->env.root + "/closing";
    c.setOutputPath(folder);
    w->click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    c.close();
    EXPECT_FALSE(c.isRunning());
    EXPECT_EQ(c.lqPlayer(), nullptr) << "the preview is stopped and dropped";
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.jobRunner().isBusy(); }, 10000));
    // The question before closing, answered with its first button; no error after the stop.
    EXPECT_EQ(w->alerts.join("|"), ResourceBundle::localizedStringForKey("StopJobAndCloseMessage"));
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(EasyCutterWindow, AnOutputFolderThatCannotBeWrittenGivesAnErrorAndNoFile) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    c.cutprogressView()->setLowerValueUpperValue(0, 0.25f);
    c.cutAction();
    const QString blocker = w.env.root + "/a-file";
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    c.setOutputPath(blocker + "/inside"); // a folder under a plain file can never be made
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle() && !w.alerts.isEmpty(); }, 10000));
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_TRUE(w.alerts[0].startsWith("error:")) << w.alerts[0].toStdString();
    EXPECT_EQ(c.startExportBtn()->contentTitle(), "Start");
    EXPECT_TRUE(c.cutStartBtn()->isEnabled());
}

TEST(EasyCutterWindow, TheOverlayActsOnTheTileUnderThePointer) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    w.cutParts(3, 4);
    ASSERT_EQ(c.cutItemViews().size(), 3u);
    QCoreApplication::processEvents();
    // Clicking a tile selects it and moves the handles to its segment.
    w.click(c.cutItemViews()[0]);
    EXPECT_EQ(c.segments().selectedCutIndex(), 0);
    EXPECT_NEAR(c.cutprogressView()->upperValue(), 0.25f, 1e-4);
    EXPECT_FALSE(c.upMoveItemBtn()->isEnabled());
    EXPECT_TRUE(c.downMoveItemBtn()->isEnabled());
    // The pointer over tile 1 carries the overlay there; Copy then copies segment 1, before itself.
    QTest::mouseMove(c.cutItemViews()[1], c.cutItemViews()[1]->rect().center());
    WindowShots::waitUntil([&] { return c.itemSelectView()->parentWidget() == c.cutItemViews()[1]; }, 2000);
    ASSERT_EQ(c.itemSelectView()->parentWidget(), c.cutItemViews()[1]);
    EXPECT_EQ(c.segments().overlayIndex(), 1);
    w.click(c.itemCopyBtn());
    ASSERT_EQ(c.segments().count(), 4);
    EXPECT_FLOAT_EQ(c.segments().at(1)->startTime(), c.segments().at(2)->startTime());
    // Move down carries the selection; Delete on the overlay's tile removes that segment.
    w.click(c.downMoveItemBtn());
    EXPECT_EQ(c.segments().selectedCutIndex(), 1);
    EXPECT_NEAR(c.segments().at(1)->startTime(), 0.0, 1e-4);
    EXPECT_TRUE(c.cutItemViews()[1]->selected());
    const qint64 before = c.segments().count();
    w.click(c.itemDeletedBtn());
    EXPECT_EQ(c.segments().count(), before - 1);
}

TEST(EasyCutterWindow, SetStartAndSetEndFollowThePlayheadsPlace) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    EXPECT_FALSE(c.selectedLeftBtn()->isEnabled()) << "both off after loading";
    EXPECT_FALSE(c.selectedRightBtn()->isEnabled());
    struct Case {
        float lower;
        float upper;
        float playhead;
        bool setStart;
        bool setEnd;
    };
    const std::vector<Case> cases = {
        {0.25f, 0.75f, 0.25f, true, false}, // on the start handle: only set start
        {0.25f, 0.75f, 0.1f, true, false},  {0.25f, 0.75f, 0.5f, true, true},
        {0.25f, 0.75f, 0.75f, false, true}, // on the end handle: only set end
        {0.25f, 0.75f, 0.9f, false, true},
    };
    for (const Case& k : cases) {
        c.cutprogressView()->setLowerValueUpperValue(k.lower, k.upper);
        c.actionSeekToTimeForCutProgressViewBlock(c.cutprogressView(), k.playhead);
        EXPECT_EQ(c.selectedLeftBtn()->isEnabled(), k.setStart) << k.playhead;
        EXPECT_EQ(c.selectedRightBtn()->isEnabled(), k.setEnd) << k.playhead;
    }
    // Set start at the playhead (0.9 of the file) moves only the start handle and its fields.
    ASSERT_TRUE(WindowShots::waitUntil(
        [&] { return std::abs(c.lqPlayer()->currentTime().seconds() - 0.9 * c.duration()) < 0.01; }, 3000));
    c.setStartAction();
    EXPECT_NEAR(c.cutprogressView()->lowerValue(), 0.9f, 1e-3);
    EXPECT_EQ(c.startRow().fields[2]->stringValue(), "03");
    EXPECT_EQ(c.segments().count(), 0);
}

TEST(EasyCutterWindow, MuteSilencesThePreviewAndTheMergedClips) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    c.muteAction();
    EXPECT_FLOAT_EQ(c.volumeSlider()->progress(), 0.0f);
    EXPECT_DOUBLE_EQ(SegmentExportPlan::mergeVolume(c.volumeSlider()->progress()), 0);
    EXPECT_DOUBLE_EQ(c.lqPlayer()->volume(), 0);
    c.muteAction();
    EXPECT_FLOAT_EQ(c.volumeSlider()->progress(), 0.5f);
    EXPECT_DOUBLE_EQ(SegmentExportPlan::mergeVolume(c.volumeSlider()->progress()), 1);
    EXPECT_DOUBLE_EQ(c.lqPlayer()->volume(), 1);
}

TEST(EasyCutterWindow, SteppersWriteTheClickedFieldAndMoveOnlyTheirHandle) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    const double d = c.duration();
    // Before any field was clicked a stepper writes no field; it re-applies its row's time to its handle.
    c.cutprogressView()->setLowerValueUpperValue(0.5f, 1);
    c.startRow().stepper->step(true);
    EXPECT_EQ(c.startRow().fields[2]->stringValue(), "00");
    EXPECT_FLOAT_EQ(c.cutprogressView()->lowerValue(), 0.0f);

    // A click on the end seconds binds the steppers to it: the start stepper then writes into that end field.
    QTest::mouseClick(c.stopRow().fields[2], Qt::LeftButton, {}, c.stopRow().fields[2]->rect().center());
    EXPECT_EQ(c.stopRow().stepper->integerValue(), 4) << "the end stepper starts from the clicked field's number";
    EXPECT_EQ(c.startRow().stepper->integerValue(), 1);
    c.startRow().stepper->step(false);
    EXPECT_EQ(c.stopRow().fields[2]->stringValue(), "00");
    EXPECT_FLOAT_EQ(c.cutprogressView()->upperValue(), 1.0f) << "only the start handle is moved";
    c.stopRow().stepper->setIntegerValue(2);
    c.stopRow().stepper->step(true);
    EXPECT_EQ(c.stopRow().fields[2]->stringValue(), "03");
    EXPECT_NEAR(c.cutprogressView()->upperValue() * d, 3.0, 0.001);

    // The end stepper past the file: a warning, and the end stays the file's end.
    c.stopRow().stepper->setIntegerValue(30);
    c.stopRow().stepper->step(true);
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_TRUE(w.alerts[0].contains("beyond the end"));
    EXPECT_LE(c.cutprogressView()->upperValue(), 1.0f);
}

TEST(EasyCutterWindow, TheEndOfTheFileReturnsToPausedAtTheStart) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    c.actionSeekToTimeForCutProgressViewBlock(c.cutprogressView(), float((c.duration() - 0.3) / c.duration()));
    w.click(c.playOrpauseBtn());
    ASSERT_TRUE(c.isPlaying());
    EXPECT_TRUE(c.playOrpauseBtn()->selected());
    EXPECT_FALSE(c.playOrpauseSelectBtn()->isEnabled()) << "playing and the range preview exclude each other";
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isPlaying(); }, 5000));
    EXPECT_FALSE(c.playOrpauseBtn()->selected());
    EXPECT_TRUE(c.playOrpauseSelectBtn()->isEnabled());
    EXPECT_TRUE(WindowShots::waitUntil([&] { return c.lqPlayer()->currentTime().seconds() < 0.05; }, 3000));
}

TEST(EasyCutterWindow, ClearAsksFirstAndAnEmptyListHasNothingToMove) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    EXPECT_FALSE(c.deletedItemBtn()->toolTip().isEmpty()) << "the clear button says what it does";
    w.cutParts(3, 4);
    w.click(c.cutItemViews()[1]);
    ASSERT_TRUE(c.upMoveItemBtn()->isEnabled());
    ASSERT_TRUE(c.downMoveItemBtn()->isEnabled());

    // Answered with Cancel: the list stays.
    w.answer = 1;
    w.click(c.deletedItemBtn());
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_TRUE(w.alerts[0].contains("3")) << w.alerts[0].toStdString();
    EXPECT_EQ(c.segments().count(), 3);
    EXPECT_EQ(c.cutItemViews().size(), 3u);

    // Answered with Clear: the list goes, and the move buttons have nothing to move.
    w.answer = 0;
    w.click(c.deletedItemBtn());
    EXPECT_EQ(w.alerts.size(), 2);
    EXPECT_EQ(c.segments().count(), 0);
    EXPECT_TRUE(c.cutItemViews().empty());
    EXPECT_FALSE(c.upMoveItemBtn()->isEnabled());
    EXPECT_FALSE(c.downMoveItemBtn()->isEnabled());

    // An empty list is cleared without a question.
    w.click(c.deletedItemBtn());
    EXPECT_EQ(w.alerts.size(), 2);

    // One segment is asked about as one.
    w.cutParts(1, 4);
    w.click(c.deletedItemBtn());
    ASSERT_EQ(w.alerts.size(), 3);
    EXPECT_EQ(w.alerts[2], ResourceBundle::localizedStringForKey("EasyCutClearQuestionOne"));
    EXPECT_EQ(c.segments().count(), 0);
}

TEST(EasyCutterWindow, IconButtonsHaveTooltipsAndStartWithNothingSaysWhy) {
    Window w(levelClip());
    EasyCutterWindowcontroller& c = w.controller;
    w.click(c.startExportBtn());
    ASSERT_EQ(w.alerts.size(), 1) << "Start with no file says why";
    EXPECT_EQ(w.alerts[0], ResourceBundle::localizedStringForKey("scrlabelplaceholderString"));

    w.load();
    w.click(c.startExportBtn());
    ASSERT_EQ(w.alerts.size(), 2) << "Start with no segment says why";
    EXPECT_EQ(w.alerts[1], ResourceBundle::localizedStringForKey("EasyCutNoSegments"));
    EXPECT_FALSE(c.isRunning());

    for (QWidget* b : std::initializer_list<QWidget*>{
             c.updateFileAddBtn(), c.playOrpauseBtn(), c.playOrpauseSelectBtn(), c.selectedLeftBtn(),
             c.selectedRightBtn(), c.upMoveItemBtn(), c.downMoveItemBtn(), c.deletedItemBtn(), c.volumeSlider(),
             c.startRow().stepper, c.stopItemRow().stepper})
        EXPECT_FALSE(b->toolTip().isEmpty()) << b->metaObject()->className() << " " << ViewFrame::frame(b).x;
}

TEST(EasyCutterWindow, TheMergeIsWrittenAtTheLevelThePreviewPlays) {
    const std::string source = levelClip();
    Window w(source);
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    // The thumb dragged a little left of the middle: the preview plays at 0.8 of the source's level.
    c.volumeSlider()->setProgress(0.4f);
    c.volumeSlider()->delegate()->actionProgressForProgressSliderBlock(c.volumeSlider(), 0.4f);
    EXPECT_NEAR(c.lqPlayer()->volume(), 0.8, 1e-6);
    c.cutprogressView()->setLowerValueUpperValue(0.25f, 0.75f);
    c.cutAction();
    w.click(c.merageBtn());
    c.setOutputPath(w.env.root + "/level");
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 60000));
    ASSERT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    const QStringList files = QDir(c.outputPath()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    const double written = ffmpegMeanVolume((c.outputPath() + "/" + files[0]).toStdString(), 0.3, 1.2);
    const double original = ffmpegMeanVolume(source, 1.3, 1.2);
    EXPECT_NEAR(written - original, 20 * std::log10(0.8), 0.6) << written << " vs " << original;
}

TEST(EasyCutterWindow, ShownTimesAgreeWithTypedOnesAndFollowSeeksWhilePaused) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    struct Typed {
        double start;
        double end;
        const char* duration;
    };
    // Ends whose fraction of the duration multiplied back lands just below the hundredth typed.
    for (const Typed& t : {Typed{0.1, 0.7, "00:00:00.60"}, Typed{1.3, 3.1, "00:00:01.80"},
                           Typed{0.7, 2.9, "00:00:02.20"}, Typed{1.1, 3.7, "00:00:02.60"}}) {
        w.typeTime(c.stopRow(), t.end, false);
        w.typeTime(c.startRow(), t.start, true);
        w.typeTime(c.stopRow(), t.end, false);
        EXPECT_EQ(c.durationValueLabel()->text(), t.duration) << t.start << "-" << t.end;
        w.click(c.cutStartBtn());
        const CutItemView* tile = c.cutItemViews().back();
        EXPECT_EQ(tile->title(), ShownTime::text(t.start) + "-" + ShownTime::text(t.end)) << "as typed";
    }
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();

    // A seek while paused moves the time label at once, a drag of a handle too.
    ASSERT_FALSE(c.isPlaying());
    c.actionSeekToTimeForCutProgressViewBlock(c.cutprogressView(), 0.5f);
    EXPECT_EQ(c.currentTimeLabel()->text(), ShownTime::text(0.5 * c.duration()));
    c.cutprogressView()->setLowerValueUpperValue(0.25f, 0.75f);
    c.actionMouseMovedForCutProgressViewBlock(c.cutprogressView(), 0.25f, 0.75f, 2);
    EXPECT_EQ(c.currentTimeLabel()->text(), ShownTime::text(double(0.75f) * c.duration()));
}

TEST(EasyCutterWindow, AnInvalidTimeTypedWithReturnWarnsOnce) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    w.type(c.stopRow().fields[2], "9");
    WindowShots::waitUntil([] { return false; }, 200); // any second check would come now
    EXPECT_EQ(w.alerts.size(), 1) << w.alerts.join("|").toStdString();
    w.type(c.startRow().fields[2], "-3");
    WindowShots::waitUntil([] { return false; }, 200);
    EXPECT_EQ(w.alerts.size(), 2) << w.alerts.join("|").toStdString();
    EXPECT_TRUE(c.startRow().fields[2]->isEditing()) << "a refused time stays in editing";
}

TEST(EasyCutterWindow, ThePlayButtonShowsPauseWhateverStartedThePlay) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    QTest::keyClick(w.window, Qt::Key_Space);
    QCoreApplication::processEvents();
    ASSERT_TRUE(c.isPlaying());
    EXPECT_TRUE(c.playOrpauseBtn()->selected()) << "Space: the button shows pause";
    QTest::keyClick(w.window, Qt::Key_Space);
    QCoreApplication::processEvents();
    EXPECT_FALSE(c.isPlaying());
    EXPECT_FALSE(c.playOrpauseBtn()->selected());
    w.click(c.playOrpauseBtn());
    EXPECT_TRUE(c.isPlaying());
    EXPECT_TRUE(c.playOrpauseBtn()->selected());
    QTest::keyClick(w.window, Qt::Key_Space);
    QCoreApplication::processEvents();
    EXPECT_FALSE(c.playOrpauseBtn()->selected()) << "paused by Space after the button started it";
    // Space also ends the range preview.
    w.click(c.playOrpauseSelectBtn());
    ASSERT_TRUE(c.isPlaySelectedCut());
    QTest::keyClick(w.window, Qt::Key_Space);
    QCoreApplication::processEvents();
    EXPECT_FALSE(c.isPlaying());
    EXPECT_FALSE(c.playOrpauseSelectBtn()->selected());
    EXPECT_TRUE(c.playOrpauseBtn()->isEnabled());
}

TEST(EasyCutterWindow, TheEditorMakesRoomTheWheelScrollsAndAnIdleListPaintsNothing) {
    Window w(levelClip());
    w.load();
    EasyCutterWindowcontroller& c = w.controller;
    w.cutParts(6, 8);
    ASSERT_EQ(c.cutItemViews().size(), 6u);
    // Each tile's picture arrives once it has been read from the file.
    EXPECT_TRUE(WindowShots::waitUntil(
        [&] {
            return std::all_of(c.cutItemViews().begin(), c.cutItemViews().end(),
                               [](const CutItemView* t) { return !t->iconView()->pixmap().isNull(); });
        },
        10000));
    w.click(c.cutItemViews()[1]);
    QTest::mouseMove(c.cutItemViews()[1], c.cutItemViews()[1]->rect().center());
    WindowShots::waitUntil([&] { return c.itemSelectView()->parentWidget() == c.cutItemViews()[1]; }, 2000);
    w.click(c.itemModifyBtn());
    ASSERT_TRUE(c.selectedItemTimeChangeView()->isVisible());
    const QRect editor = c.selectedItemTimeChangeView()->geometry();
    for (size_t i = 0; i < c.cutItemViews().size(); ++i)
        EXPECT_FALSE(editor.intersects(c.cutItemViews()[i]->geometry())) << "the editor covers tile " << i;
    const qint64 open = c.segments().selectedCutIndex();
    ASSERT_GE(open, 0);
    EXPECT_EQ(editor.top(), c.cutItemViews()[size_t(open)]->geometry().bottom() + 1) << "right below its tile";
    WindowShots::save(w.window, "easycut-08-editor-makes-room");
    // Closing it (a click on a tile) closes the gap again.
    w.click(c.cutItemViews()[3]);
    EXPECT_EQ(c.cutItemViews()[2]->geometry().top(), c.cutItemViews()[1]->geometry().bottom() + 1);

    // The wheel over a tile scrolls the list: the tile leaves the wheel to the list behind it (Qt hands an event
    // left unaccepted on to the parents, up to the list's viewport), where it moves the hidden scroll bar.
    QScrollBar* bar = c.itemsScrollview()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    for (QWidget* target : {static_cast<QWidget*>(c.cutItemViews()[0]), c.itemsScrollview()->viewport()}) {
        const QPoint at = target->rect().center();
        QWheelEvent wheel(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
        if (target != c.itemsScrollview()->viewport())
            EXPECT_FALSE(wheel.isAccepted()) << "a tile passes the wheel on";
    }
    EXPECT_GT(bar->value(), 0) << "the list scrolled down";

    // Nothing moves: the list paints nothing.
    PaintCounter counter;
    counter.watch(c.filesContentView());
    counter.settle();
    QTest::qWait(300);
    EXPECT_EQ(counter.paints, 0) << "an idle list paints nothing";
}

TEST(EasyCutterWindow, EveryEasyCutterTextHasItsChineseText) {
    const QString bundle = ResourceBundle::bundlePath();
    QFile english(bundle + "/en.lproj/Main.strings");
    ASSERT_TRUE(english.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(english.readAll()).split('\n');
    const StringsTable chinese = StringsTable::load(bundle + "/zh-Hans.lproj/Main.strings");
    // The easy cutter's section of the English table runs from its heading to the next blank line.
    const qsizetype first = lines.indexOf("// Easy cutter");
    ASSERT_GE(first, 0);
    const qsizetype end = lines.indexOf(QString(), first);
    int keys = 0;
    for (const QString& line : lines.mid(first, end - first)) {
        const QString key = line.section('"', 1, 1);
        if (key.isEmpty())
            continue;
        ++keys;
        EXPECT_TRUE(chinese.contains(key)) << key.toStdString();
    }
    EXPECT_GT(keys, 25);
}
