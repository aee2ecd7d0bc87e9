#include "SplitWindowController.h"

#include "GatedJobFactory.h"
#include "ShellTestEnvironment.h"
#include "SplitClips.h"
#include "WindowShots.h"

#include "Alert.h"
#include "CountStepper.h"
#include "EngineJobFactory.h"
#include "HelpClass.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "Modal.h"
#include "NSProgressView.h"
#include "OpenPanel.h"
#include "OutputFolderPopUp.h"
#include "ResourceBundle.h"
#include "SplitPlan.h"
#include "SplitProgressView.h"
#include "SplitValuePrompt.h"
#include "ViewFrame.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

// A shown splitter with the open panel answering `path`, the custom prompt answering `answer`, and every alert's
// text recorded.
struct Window {
    explicit Window(const std::string& path, MediaJobFactory& factory = EngineJobFactory::shared())
        : controller(factory) {
        OpenPanel::setProvider(
            [path](const OpenPanelOptions&, QWidget*) { return QStringList{QString::fromStdString(path)}; });
        Alert::setProvider([this](const AlertRequest& request, QWidget*) {
            alerts << request.informativeText;
            return 0;
        });
        Modal::setProvider(
            [this](QWidget*) {
                ++resultAlerts;
                return Modal::kModalResponseStop;
            },
            [](int) {});
        SplitValuePrompt::setProvider([this](const QString&, const QString&) { return answer; });
        window = controller.window();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        controller.setOutputPath(QString::fromStdString(MediaFixtures::freshDir("split-window-out")));
    }
    ~Window() {
        controller.close();
        SplitValuePrompt::resetProvider();
    }

    void click(QWidget* widget) {
        ASSERT_TRUE(widget->isVisible());
        ASSERT_TRUE(widget->isEnabled());
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
        settle();
    }
    void settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    void load() {
        click(controller.addfileBtn());
        ASSERT_TRUE(WindowShots::waitUntil([&] { return controller.fileData() != nullptr; }, 10000));
        settle();
    }
    // Picks a pop-up's item as the user does (the pop-up's activation).
    void choose(QComboBox* popUp, int index) {
        popUp->setCurrentIndex(index);
        emit popUp->activated(index);
        settle();
    }
    void chooseCustom(QComboBox* popUp, const QString& typed) {
        answer = typed;
        choose(popUp, popUp->count() - 1);
    }
    void typeCount(const QString& text) {
        QLineEdit* field = controller.averageTextField();
        field->selectAll();
        QTest::keyClicks(field, text);
        settle();
    }
    bool idle() { return !controller.isRunning() && !controller.jobRunner().isBusy(); }
    // Before a picture of the window: the preview has shown the frame it was asked for.
    void shot(const QString& name) {
        LQMoviePlayer* player = controller.lqPlayer();
        WindowShots::waitUntil([&] { return player == nullptr || !player->isSeeking(); }, 3000);
        QTest::qWait(200);
        WindowShots::save(window, name);
    }
    void export_() {
        click(controller.startExportBtn());
        ASSERT_TRUE(WindowShots::waitUntil([&] { return idle(); }, 120000));
    }
    QStringList pieces() const {
        QStringList names = QDir(controller.outputPath()).entryList(QDir::Files);
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        });
        return names;
    }
    std::string piecePath(const QString& name) const { return (controller.outputPath() + "/" + name).toStdString(); }

    ShellTestEnvironment env;
    SplitWindowController controller;
    QWidget* window = nullptr;
    QStringList alerts;
    int resultAlerts = 0;
    std::optional<QString> answer;
};

std::vector<int> allFrames(const Window& w, const QStringList& names) {
    std::vector<int> frames;
    for (const QString& name : names) {
        const std::vector<int> piece = sourceFrameNumbers(w.piecePath(name));
        frames.insert(frames.end(), piece.begin(), piece.end());
    }
    return frames;
}

std::vector<int> everyFrame() {
    std::vector<int> frames(kSplitClipFrames);
    std::iota(frames.begin(), frames.end(), 0);
    return frames;
}

// Drags the begin marker by dx points, as the pointer does.
void dragBeginMarker(Window& w, int dx) {
    MOQImageView* begin = w.controller.playerSlider()->beginBtn();
    const QPoint grab(8, 8);
    QTest::mousePress(begin, Qt::LeftButton, {}, grab);
    QMouseEvent move(QEvent::MouseMove, QPointF(grab + QPoint(dx, 0)),
                     begin->mapToGlobal(QPointF(grab + QPoint(dx, 0))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(begin, &move);
    QTest::mouseRelease(begin, Qt::LeftButton, {}, grab + QPoint(dx, 0));
    w.settle();
}

// A real engine job whose start fails, as a job the engine cannot write does.
class FailingStartJob : public MediaJob {
public:
    explicit FailingStartJob(std::shared_ptr<MediaJob> inner) : _inner(std::move(inner)) {}
    Kind kind() const override { return _inner->kind(); }
    void* handle() const override { return _inner->handle(); }
    int setInputMedia(const QString& path) override { return _inner->setInputMedia(path); }
    int setOutputPath(const QString& path) override { return _inner->setOutputPath(path); }
    int start() override { return -5; }
    bool startSucceeded(int result) const override { return _inner->startSucceeded(result); }
    double progress() override { return 0; }
    int stop() override { return _inner->stop(); }
    int close() override { return _inner->close(); }

private:
    std::shared_ptr<MediaJob> _inner;
};

class FailingStartFactory : public MediaJobFactory {
public:
    std::shared_ptr<MediaJob> create(MediaJob::Kind kind) override {
        ++made;
        return std::make_shared<FailingStartJob>(EngineJobFactory::shared().create(kind));
    }
    int made = 0;
};

} // namespace

TEST(SplitterWindow, EndToEndByTimeByPointsAndBySize) {
    const std::string source = splitLevelClip();
    Window w(source);
    SplitWindowController& c = w.controller;
    WindowShots::save(w.window, "split-00-no-file");
    EXPECT_TRUE(c.nofileBackView()->isVisible());
    EXPECT_FALSE(c.split_timeBtn()->isEnabled());
    EXPECT_FALSE(c.splitBtn()->isEnabled());

    w.load();
    EXPECT_EQ(c.scrLabel()->text(), QString::fromStdString(source));
    EXPECT_FALSE(c.nofileBackView()->isVisible());
    EXPECT_EQ(c.resolutionValueLabel()->text(), "320x240");
    EXPECT_NEAR(c.duration(), kSplitClipSeconds, 0.06);
    EXPECT_TRUE(c.split_timeBtn()->isChecked());
    EXPECT_FALSE(c.split_sizeBtn()->isChecked());
    EXPECT_TRUE(c.split_timepopBtn()->isEnabled());
    EXPECT_FALSE(c.split_sizepopBtn()->isEnabled());
    EXPECT_TRUE(c.splitBtn()->isEnabled());
    EXPECT_EQ(c.playerSlider()->splitCount(), 0);
    EXPECT_FALSE(c.sizeHintLabel()->isVisible());

    // By time, every second: a custom step typed into the prompt becomes an item before "Custom...".
    w.chooseCustom(c.split_timepopBtn(), "1");
    EXPECT_EQ(c.split_timepopBtn()->currentText(), "1 secs");
    EXPECT_EQ(c.split_timepopBtn()->itemText(c.split_timepopBtn()->count() - 1), "Custom...");
    w.click(c.splitBtn());
    ASSERT_EQ(c.playerSlider()->splitCount(), 3);
    w.shot("split-01-by-time");

    w.click(c.startExportBtn());
    EXPECT_EQ(c.startExportBtn()->contentTitle(), "Cancel");
    EXPECT_FALSE(c.addfileBtn()->isEnabled());
    EXPECT_FALSE(c.split_timeBtn()->isEnabled());
    WindowShots::waitUntil([&] { return c.exportProgressView()->progress() > 0.3f || w.idle(); }, 60000);
    w.shot("split-02-exporting");
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 120000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_EQ(w.resultAlerts, 1);
    EXPECT_FLOAT_EQ(c.exportProgressView()->progress(), 1.0f);
    EXPECT_EQ(c.startExportBtn()->contentTitle(), "Start");
    w.shot("split-03-exported");
    QStringList names = w.pieces();
    ASSERT_EQ(names.size(), 4);
    const double lengths[] = {1, 1, 1, 0.5};
    double total = 0;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(names[i], QStringLiteral("split_bands_3.5s_20fps-split%1.mp4").arg(i + 1));
        const FfprobeResult probe = ffprobe(w.piecePath(names[i]));
        EXPECT_NEAR(probe.firstVideo()->duration, lengths[i], 0.051) << i;
        EXPECT_EQ(probe.count("audio"), 1);
        total += probe.duration;
    }
    EXPECT_NEAR(total, ffprobe(source).duration, 0.2);
    EXPECT_EQ(allFrames(w, names), everyFrame());

    // By hand: a point where the begin marker was dragged, a second one on the same place refused, one at the
    // very start refused.
    QDir(c.outputPath()).removeRecursively();
    QDir().mkpath(c.outputPath());
    w.click(c.split_manuallyBtn());
    EXPECT_TRUE(c.split_manuallyBtn()->isChecked());
    EXPECT_FALSE(c.split_timeBtn()->isChecked());
    EXPECT_FALSE(c.splitBtn()->isVisible());
    EXPECT_TRUE(c.splitItemBtn()->isVisible());
    EXPECT_EQ(c.playerSlider()->splitCount(), 0);
    w.click(c.splitItemBtn());
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(w.alerts.takeFirst(), SplitPlan::refusalMessage(SplitPlan::Refusal::PointOutside));
    const double usable = c.playerSlider()->width() - SplitProgressView::kMarkerSide;
    dragBeginMarker(w, int(std::lround(usable * 0.4)));
    w.click(c.splitItemBtn());
    w.click(c.splitItemBtn());
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(w.alerts.takeFirst(), SplitPlan::refusalMessage(SplitPlan::Refusal::PointDuplicate));
    dragBeginMarker(w, int(std::lround(usable * 0.3)));
    w.click(c.splitItemBtn());
    ASSERT_EQ(c.playerSlider()->splitCount(), 2);
    w.click(c.split_manuallyBtn()); // pressed again: the points stay
    EXPECT_EQ(c.playerSlider()->splitCount(), 2);
    w.shot("split-04-manual");
    w.export_();
    names = w.pieces();
    ASSERT_EQ(names.size(), 3);
    // A point placed by hand may fall inside a frame: that frame is on screen on both sides of the cut.
    std::vector<int> frames = allFrames(w, names);
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    EXPECT_EQ(frames, everyFrame());
    const std::vector<float> plan = c.playerSlider()->getTimeProgresses();
    EXPECT_NEAR(ffprobe(w.piecePath(names[0])).duration, plan[0] * c.duration(), 0.06);

    // By size, a quarter megabyte a piece: every piece within the limit, every frame once.
    QDir(c.outputPath()).removeRecursively();
    QDir().mkpath(c.outputPath());
    w.click(c.split_sizeBtn());
    EXPECT_TRUE(c.split_sizepopBtn()->isEnabled());
    EXPECT_FALSE(c.split_timepopBtn()->isEnabled());
    w.chooseCustom(c.split_sizepopBtn(), "0.25");
    EXPECT_EQ(c.split_sizepopBtn()->currentText(), "0.25 MB");
    w.click(c.splitBtn());
    EXPECT_GE(c.playerSlider()->splitCount(), 1);
    EXPECT_TRUE(c.sizeHintLabel()->isVisible()) << "by size the points are said to be estimates";
    w.shot("split-05-by-size");
    w.export_();
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    names = w.pieces();
    ASSERT_GE(names.size(), 3);
    for (const QString& name : names)
        EXPECT_LE(QFileInfo(QString::fromStdString(w.piecePath(name))).size(), SplitPlan::sizeLimitBytes(0.25f))
            << name.toStdString();
    EXPECT_EQ(allFrames(w, names), everyFrame());
    // After the split the timeline shows where the pieces written really begin.
    ASSERT_EQ(c.playerSlider()->splitCount(), names.size() - 1) << "one point between each two pieces written";
    const std::vector<float> written = c.playerSlider()->getTimeProgresses();
    double begins = 0;
    for (int i = 0; i + 1 < names.size(); ++i) {
        begins += ffprobe(w.piecePath(names[i])).firstVideo()->duration;
        EXPECT_NEAR(written[size_t(i)] * c.duration(), begins, 0.06) << "point " << i;
    }
    w.shot("split-05b-by-size-written");
    EXPECT_TRUE(c.split_sizepopBtn()->isEnabled());
    EXPECT_FALSE(c.split_timepopBtn()->isEnabled()) << "after a split only the chosen mode's controls take input";
    EXPECT_FALSE(c.averageTextField()->isEnabled());

    // Equal parts, for the screenshot of the mode.
    w.click(c.split_averageBtn());
    w.typeCount("3");
    w.click(c.splitBtn());
    EXPECT_EQ(c.playerSlider()->splitCount(), 2);
    w.shot("split-06-equal-parts");
}

TEST(SplitterWindow, RefusedStepsCountsAndPlansSayWhyAndKeepThePlan) {
    Window w(splitLevelClip());
    SplitWindowController& c = w.controller;
    w.load();
    w.click(c.splitBtn()); // the 5-second default: no point on a 3.5 s file
    EXPECT_EQ(c.playerSlider()->splitCount(), 0);

    const int items = c.split_timepopBtn()->count();
    for (const char* typed : {"0", "-2", "abc", ""}) {
        w.chooseCustom(c.split_timepopBtn(), typed);
        ASSERT_EQ(w.alerts.size(), 1) << typed;
        EXPECT_EQ(w.alerts.takeFirst(), SplitPlan::refusalMessage(SplitPlan::Refusal::StepNotPositive));
        EXPECT_EQ(c.split_timepopBtn()->count(), items) << "no item added for " << typed;
        EXPECT_NE(c.split_timepopBtn()->currentIndex(), items - 1) << "the custom item is never the step";
    }
    w.chooseCustom(c.split_timepopBtn(), "10"); // an existing value: selected, not added
    EXPECT_EQ(c.split_timepopBtn()->count(), items);
    EXPECT_EQ(c.split_timepopBtn()->currentText(), "10 secs");
    w.answer.reset(); // cancelled prompt: nothing changes
    w.choose(c.split_timepopBtn(), c.split_timepopBtn()->count() - 1);
    EXPECT_EQ(c.split_timepopBtn()->currentText(), "10 secs");
    EXPECT_TRUE(w.alerts.isEmpty());

    w.click(c.split_averageBtn());
    w.typeCount("4");
    w.click(c.splitBtn());
    ASSERT_EQ(c.playerSlider()->splitCount(), 3);
    EXPECT_EQ(c.averagestepper()->integerValue(), 4);
    c.averagestepper()->step(true);
    EXPECT_EQ(c.averageTextField()->text(), "5");
    EXPECT_EQ(c.playerSlider()->splitCount(), 0) << "a change of the count clears the plan";
    w.click(c.splitBtn());
    ASSERT_EQ(c.playerSlider()->splitCount(), 4);
    const struct {
        const char* typed;
        SplitPlan::Refusal refusal;
    } counts[] = {{"0", SplitPlan::Refusal::CountNotPositive},
                  {"-3", SplitPlan::Refusal::CountNotPositive},
                  {"100000", SplitPlan::Refusal::TooManyPieces}};
    for (const auto& count : counts) {
        w.typeCount(count.typed);
        w.click(c.splitBtn());
        ASSERT_EQ(w.alerts.size(), 1) << count.typed;
        const QString said = w.alerts.takeFirst();
        EXPECT_EQ(said, SplitPlan::refusalMessage(count.refusal));
        EXPECT_EQ(c.playerSlider()->splitCount(), 0) << count.typed;
    }
    EXPECT_TRUE(SplitPlan::refusalMessage(SplitPlan::Refusal::TooManyPieces).contains("500"));

    // By size, a step that would make more pieces than a run may write is refused at Start too: nothing is written.
    w.click(c.split_sizeBtn());
    w.chooseCustom(c.split_sizepopBtn(), "0.001");
    ASSERT_EQ(c.split_sizepopBtn()->currentText(), "0.001 MB");
    c.startExportAction();
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(w.alerts.takeFirst(), SplitPlan::refusalMessage(SplitPlan::Refusal::TooManyPieces));
    EXPECT_FALSE(c.isRunning());
    EXPECT_TRUE(w.pieces().isEmpty());
}

TEST(SplitterWindow, TheTimelineResumesWhatWasPlayingAndTheEndResetsThePlayButton) {
    Window w(splitLevelClip());
    SplitWindowController& c = w.controller;
    w.load();
    w.click(c.playBtn());
    ASSERT_TRUE(c.isPlaying());
    EXPECT_TRUE(c.playBtn()->selected());

    LQProgressSlider* track = c.playerSlider()->slider();
    const QPoint at(track->width() / 2, track->height() / 2);
    QTest::mousePress(track, Qt::LeftButton, {}, at);
    w.settle();
    EXPECT_FALSE(c.isPlaying()) << "a press pauses";
    QTest::mouseRelease(track, Qt::LeftButton, {}, at);
    w.settle();
    EXPECT_TRUE(c.isPlaying()) << "the release resumes";
    EXPECT_EQ(c.lqPlayer()->playerStatus(), LQMoviePlayer::Playing);

    // Paused, a press and release leaves it paused.
    w.click(c.playBtn());
    EXPECT_FALSE(c.isPlaying());
    QTest::mousePress(track, Qt::LeftButton, {}, at);
    QTest::mouseRelease(track, Qt::LeftButton, {}, at);
    w.settle();
    EXPECT_FALSE(c.isPlaying());

    // Played to its end: the player goes back to the start and the button offers play again.
    const QPoint nearEnd(track->width() - 4, track->height() / 2);
    QTest::mousePress(track, Qt::LeftButton, {}, nearEnd);
    QTest::mouseRelease(track, Qt::LeftButton, {}, nearEnd);
    w.settle();
    w.click(c.playBtn());
    ASSERT_TRUE(c.isPlaying());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isPlaying(); }, 10000));
    EXPECT_FALSE(c.playBtn()->selected());
    EXPECT_LT(c.lqPlayer()->currentTime().seconds(), 0.1);
    EXPECT_FALSE(c.hasPreviewTimer());
    w.click(c.playBtn());
    EXPECT_TRUE(c.isPlaying()) << "one press plays again";
}

TEST(SplitterWindow, AFailedStartIsReportedOnceAndNothingIsLeft) {
    FailingStartFactory factory;
    Window w(splitLevelClip(), factory);
    SplitWindowController& c = w.controller;
    w.load();
    w.click(c.split_averageBtn());
    w.typeCount("3");
    w.click(c.splitBtn());
    w.export_();
    EXPECT_EQ(w.alerts, QStringList{"error:-5"});
    EXPECT_EQ(factory.made, 1) << "the run ends with the failed piece";
    EXPECT_EQ(w.resultAlerts, 0);
    EXPECT_FLOAT_EQ(c.exportProgressView()->progress(), 0.0f);
    EXPECT_EQ(c.startExportBtn()->contentTitle(), "Start");
    EXPECT_TRUE(c.startExportBtn()->isEnabled());
    EXPECT_TRUE(c.split_averageBtn()->isEnabled());
    EXPECT_TRUE(w.pieces().isEmpty());
}

TEST(SplitterWindow, StartWithoutAFileSaysSoAndAnUnreadableFileKeepsTheLoadedOne) {
    const QString junk = QString::fromStdString(MediaFixtures::freshDir("split-junk")) + "/junk.mp4";
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    Window w(splitLevelClip());
    SplitWindowController& c = w.controller;
    c.startExportAction();
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(w.alerts.takeFirst(), ResourceBundle::localizedStringForKey("scrlabelplaceholderString"));
    w.load();
    const QString loaded = c.fileData()->path();
    OpenPanel::setProvider([junk](const OpenPanelOptions&, QWidget*) { return QStringList{junk}; });
    w.click(c.addfileBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !w.alerts.isEmpty(); }, 10000));
    EXPECT_TRUE(w.alerts.first().contains("junk.mp4"));
    EXPECT_EQ(c.fileData()->path(), loaded);
    EXPECT_TRUE(c.split_timeBtn()->isChecked());
}

TEST(SplitterWindow, CancelStopsTheRunAndLeavesNoPartialPiece) {
    Window w(splitLevelClip());
    SplitWindowController& c = w.controller;
    w.load();
    w.click(c.split_averageBtn());
    w.typeCount("2");
    w.click(c.splitBtn());
    w.click(c.startExportBtn());
    w.click(c.startExportBtn()); // cancel at once
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 20000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_EQ(w.resultAlerts, 0);
    EXPECT_FLOAT_EQ(c.exportProgressView()->progress(), 0.0f);
    for (const QString& name : w.pieces())
        EXPECT_TRUE(ffmpegDecodesCleanly(w.piecePath(name))) << "only finished pieces: " << name.toStdString();
    EXPECT_LT(w.pieces().size(), 2);
    EXPECT_EQ(c.playerSlider()->splitCount(), 1) << "an export does not empty the plan";
}

TEST(SplitterWindow, ClosingDuringASplitOrAnUnwritableFolderLeavesNothing) {
    const QString blocked = QString::fromStdString(MediaFixtures::freshDir("split-blocked"));
    {
        Window w(splitLevelClip());
        SplitWindowController& c = w.controller;
        w.load();
        // The output folder is a file: no piece can be written, which is said once, never as a success.
        QFile file(blocked + "/not-a-folder");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        c.setOutputPath(file.fileName());
        w.click(c.splitBtn());
        w.export_();
        ASSERT_EQ(w.alerts.size(), 1) << w.alerts.join("|").toStdString();
        EXPECT_TRUE(w.alerts.first().startsWith("error:")) << w.alerts.first().toStdString();
        EXPECT_EQ(w.resultAlerts, 0);
        EXPECT_EQ(c.startExportBtn()->contentTitle(), "Start");
        EXPECT_TRUE(c.addfileBtn()->isEnabled());
        EXPECT_EQ(QDir(blocked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{"not-a-folder"});
    }
    QString folder;
    {
        // The job waits at a gate: a copy of this clip would otherwise be written before the window closes.
        GatedJobFactory gate(EngineJobFactory::shared());
        gate.close();
        Window w(splitLevelClip(), gate);
        SplitWindowController& c = w.controller;
        folder = c.outputPath();
        w.load();
        w.click(c.startExportBtn()); // no plan: the whole file as one piece
        ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
        c.close();
        ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.jobRunner().isBusy(); }, 5000));
        EXPECT_EQ(c.lqPlayer(), nullptr);
        // The question before closing, answered with its first button; no error after the stop.
        EXPECT_EQ(w.alerts.join("|"), ResourceBundle::localizedStringForKey("StopJobAndCloseMessage"));
        EXPECT_EQ(w.resultAlerts, 0);
    }
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

TEST(SplitterWindow, SplitAtStartsAgainForANewFileAndIconButtonsSayWhatTheyDo) {
    Window w(splitLevelClip());
    SplitWindowController& c = w.controller;
    // Start with nothing loaded, pressed as a person does, says why.
    w.click(c.startExportBtn());
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(w.alerts.takeFirst(), ResourceBundle::localizedStringForKey("scrlabelplaceholderString"));

    w.load();
    w.click(c.split_manuallyBtn());
    dragBeginMarker(w, 120);
    w.click(c.splitItemBtn());
    ASSERT_EQ(c.playerSlider()->splitCount(), 1);
    EXPECT_EQ(c.playerCurrentTimeLabel()->text(), c.splitTimeLabel()->text())
        << "the time label followed the marker's seek while paused";
    const QString zero = HelpClass::returnTimeToStr(0);
    ASSERT_NE(c.splitTimeLabel()->text(), zero);
    const std::shared_ptr<SimpleData> first = c.fileData();
    w.click(c.addfileBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.fileData() != first; }, 10000));
    w.settle();
    EXPECT_EQ(c.splitTimeLabel()->text(), zero) << "the split point of the previous file is gone";

    for (MOQButton* b : {c.playBtn(), c.pauseBtn(), c.volumeBtn(), c.splitItemBtn(), c.leftMoveBtn(), c.rightMoveBtn(),
                         c.deletedItemBtn(), c.openOutputBtn()})
        EXPECT_FALSE(b->toolTip().isEmpty()) << ViewFrame::frame(b).x << "," << ViewFrame::frame(b).y;
    EXPECT_FALSE(c.averagestepper()->toolTip().isEmpty());

    // Play shows pause; a press on the timeline pauses and shows play until the release resumes.
    w.click(c.playBtn());
    ASSERT_TRUE(c.isPlaying());
    EXPECT_TRUE(c.playBtn()->selected());
    c.pauseAction();
    EXPECT_FALSE(c.playBtn()->selected()) << "paused: the button offers play";
}
