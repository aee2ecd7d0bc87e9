#include "JoinnerWindowController.h"
#include "LayoutCheck.h"

#include "ClipWindowDriver.h"
#include "JoinClips.h"
#include "ShellTestEnvironment.h"
#include "WindowShots.h"
#include "support/Ffprobe.h"

#include "Alert.h"
#include "ArrowStepper.h"
#include "ClipPreviewBar.h"
#include "ClipTrimActions.h"
#include "ClipTrimEditor.h"
#include "HelpClass.h"
#include "JoinPlan.h"
#include "JoinnerCell.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "NSProgressView.h"
#include "OpenPanel.h"
#include "ResourceBundle.h"
#include "SimpleData.h"
#include "Workspace.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using Window = ClipWindowDriver<JoinnerWindowController>;

QStringList threeClips() {
    return {QString::fromStdString(colourClip("red", 320, 240, 2)),
            QString::fromStdString(colourClip("green", 160, 120, 2)),
            QString::fromStdString(colourClip("blue", 256, 144, 2))};
}

QString unreadable(const QString& name) {
    const QString path = QString::fromStdString(MediaFixtures::dir()) + "/" + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("not a media file at all");
    return path;
}

} // namespace

TEST(JoinerWindow, OpensEmptyWithTheHintAndZeroTimes) {
    Window w;
    JoinnerWindowController& c = w.controller;
    EXPECT_TRUE(c.emailIconView()->isVisible());
    EXPECT_FALSE(c.fileListTableView()->isVisible());
    for (QWidget* b : {c.removeBtn(), c.clearBtn(), c.upBtn(), c.downBtn()})
        EXPECT_FALSE(b->isVisible());
    for (const auto* group : {&c.trimEditor()->startFields(), &c.trimEditor()->stopFields()})
        for (LQTextField* field : *group) {
            EXPECT_EQ(field->stringValue(), "00");
            EXPECT_FALSE(field->isEnabled());
        }
    EXPECT_EQ(c.trimEditor()->cutDurationValueLabel()->text(), "00:00:00.00");
    EXPECT_EQ(c.previewBar()->leftTimeLabel()->text(), "00:00:00.00");
    EXPECT_EQ(c.previewBar()->rightTimeLabel()->text(), "00:00:00.00");
    EXPECT_TRUE(c.cutProgressView()->disable());
    // The mail link: the address, a blank subject and body, every space written %20.
    QUrl opened;
    Workspace::setOpenUrlHandler([&](const QUrl& url) {
        opened = url;
        return true;
    });
    w.click(c.emailIconView());
    EXPECT_EQ(opened.toString(QUrl::FullyEncoded),
              "mailto:" + ResourceBundle::localizedStringForKey("email_address") + "?Subject=%20&body=%20");
    // Start with no clips does nothing.
    w.click(c.startJoinnerBtn());
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");
    EXPECT_FALSE(c.isRunning());
}

TEST(JoinerWindow, UnreadableFilesAreNamedOnceWhileTheOthersAreAdded) {
    QStringList chosen = threeClips();
    chosen.insert(1, unreadable("b.xyz"));
    chosen.append(unreadable("c.xyz"));
    Window w(chosen);
    w.add(3);
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_TRUE(w.alerts.first().endsWith("b.xyz,c.xyz")) << w.alerts.first().toStdString();
    EXPECT_FALSE(w.alerts.first().endsWith(","));
    EXPECT_EQ(w.names().size(), 3);
    EXPECT_TRUE(w.controller.fileListTableView()->isVisible());
    EXPECT_FALSE(w.controller.emailIconView()->isVisible());
    // A row's default-format check makes that clip's format the output's.
    w.click(w.controller.fileListTableView()->cells().at(1)->defaultoutputformat());
    EXPECT_TRUE(w.clip(1)->defaultFormat());
    ASSERT_TRUE(w.controller.outputSelection().resolutionSelectTitle().has_value());
    EXPECT_EQ(*w.controller.outputSelection().resolutionSelectTitle(), "160x120");
    // A new clip's range is the whole file.
    EXPECT_EQ(w.clip(0)->cutTimeRange_start(), 0);
    EXPECT_NEAR(double(w.clip(0)->cutTimeRange_stop()), 2e6, 0.05e6);
    EXPECT_EQ(w.controller.trimEditor()->stopFields()[2]->stringValue(), "02");

    // Only unusable files: the alert, and the window as it was.
    w.alerts.clear();
    w.paths = {unreadable("d.xyz")};
    w.click(w.controller.addfileBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !w.controller.isAdding() && !w.alerts.isEmpty(); }, 10000));
    EXPECT_TRUE(w.alerts.first().endsWith("d.xyz"));
    EXPECT_EQ(w.names().size(), 3);
}

TEST(JoinerWindow, UpDownRemoveAndClearKeepTheRightClipSelected) {
    Window w(threeClips());
    JoinnerWindowController& c = w.controller;
    w.add(3);
    const QStringList abc = w.names();
    w.selectRow(1);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.previewBar()->player() != nullptr; }, 5000));
    LQMoviePlayer* bound = c.previewBar()->player();
    w.click(c.upBtn());
    EXPECT_EQ(w.names(), (QStringList{abc[1], abc[0], abc[2]}));
    EXPECT_EQ(c.fileListTableView()->selectedRow(), 0);
    EXPECT_EQ(c.previewBar()->player(), bound) << "a move does not reload the preview";
    w.click(c.upBtn()); // at the top: nothing
    EXPECT_EQ(w.names(), (QStringList{abc[1], abc[0], abc[2]}));
    w.click(c.downBtn());
    EXPECT_EQ(w.names(), abc);
    EXPECT_EQ(c.fileListTableView()->selectedRow(), 1);
    EXPECT_EQ(c.previewBar()->player(), bound);

    w.click(c.removeBtn());
    EXPECT_EQ(w.names(), (QStringList{abc[0], abc[2]}));
    EXPECT_EQ(c.fileListTableView()->selectedRow(), 0);

    w.click(c.clearBtn());
    EXPECT_TRUE(c.fileList()->isEmpty());
    EXPECT_EQ(c.previewBar()->player(), nullptr);
    EXPECT_TRUE(c.emailIconView()->isVisible());
    EXPECT_TRUE(c.cutProgressView()->disable());
    EXPECT_FLOAT_EQ(c.cutProgressView()->upperValue(), 1.0f);
    EXPECT_FLOAT_EQ(c.joinnerProgressView()->progress(), 0.0f);
}

TEST(JoinerWindow, TypedTimesAndSteppersWithinTheirRanges) {
    const QString longer = QString::fromStdString(colourClip("gray", 160, 120, 150));
    Window w({longer});
    JoinnerWindowController& c = w.controller;
    w.add(1);
    ClipTrimEditor* e = c.trimEditor();
    // Start 00:01:30.00, end 00:02:00.00, typed.
    w.type(e->stopFields()[1], "2");
    w.type(e->stopFields()[2], "0");
    w.type(e->startFields()[1], "1");
    w.type(e->startFields()[2], "30");
    EXPECT_EQ(w.selected()->cutTimeRange_start(), 90000000);
    EXPECT_EQ(w.selected()->cutTimeRange_stop(), 120000000);
    EXPECT_EQ(e->startFields()[1]->stringValue(), "01");

    // The start minutes stepper: 02, past the end; a second press changes no field.
    QTest::mouseClick(e->startFields()[1], Qt::LeftButton);
    EXPECT_EQ(e->startStepper()->maxValue(), 59);
    e->startStepper()->step(true);
    EXPECT_EQ(e->startFields()[1]->stringValue(), "02");
    EXPECT_EQ(w.selected()->cutTimeRange_start(), 150000000);
    e->startStepper()->step(true);
    EXPECT_EQ(e->startFields()[1]->stringValue(), "02");
    w.type(e->startFields()[1], "1");

    // Typed text is rewritten with two digits; no digits count 0.
    w.type(e->startFields()[2], "7");
    EXPECT_EQ(e->startFields()[2]->stringValue(), "07");
    EXPECT_EQ(w.selected()->cutTimeRange_start(), 67000000);
    w.type(e->startFields()[2], "abc");
    EXPECT_EQ(e->startFields()[2]->stringValue(), "00");
    EXPECT_EQ(w.selected()->cutTimeRange_start(), 60000000);

    // Stepper ranges: minutes and seconds 0-59, hundredths 0-99, wrapping at both ends.
    QTest::mouseClick(e->stopFields()[2], Qt::LeftButton);
    EXPECT_EQ(e->stopStepper()->maxValue(), 59);
    e->stopStepper()->step(false);
    EXPECT_EQ(e->stopFields()[2]->stringValue(), "59");
    QTest::mouseClick(e->stopFields()[3], Qt::LeftButton);
    EXPECT_EQ(e->stopStepper()->maxValue(), 99);
    e->stopStepper()->step(false);
    EXPECT_EQ(e->stopFields()[3]->stringValue(), "99");
    EXPECT_EQ(w.selected()->cutTimeRange_stop(), 179990000); // 00:02:59.99
    e->stopStepper()->step(true);
    EXPECT_EQ(e->stopFields()[3]->stringValue(), "00");
    // The row shows the new length.
    EXPECT_EQ(c.fileListTableView()->cells().at(0)->cuttedTimeLabel()->text(), "00:01:59.00");

    // The length shown is the difference of the two ends shown: 3.07 in single precision lies just below it.
    w.type(e->startFields()[1], "0");
    w.type(e->startFields()[2], "15");
    w.type(e->stopFields()[1], "0");
    w.type(e->stopFields()[2], "18");
    w.type(e->stopFields()[3], "7");
    EXPECT_EQ(w.selected()->cutTimeRange_stop() - w.selected()->cutTimeRange_start(), 3070000);
    EXPECT_EQ(e->cutDurationValueLabel()->text(), "00:00:03.07");
}

TEST(JoinerWindow, KeepRemoveResetApplyToAllAndVolume) {
    const QStringList chosen = {QString::fromStdString(colourClip("red", 160, 120, 6)),
                                QString::fromStdString(colourClip("green", 160, 120, 2)),
                                QString::fromStdString(colourClip("blue", 160, 120, 4))};
    Window w(chosen);
    JoinnerWindowController& c = w.controller;
    w.add(3);
    ClipTrimActions* a = c.trimActions();
    // Handles at a third and two thirds of the 6 s clip: 2 s to 4 s, removed.
    c.cutProgressView()->setLowerValueUpperValue(1.0f / 3, 2.0f / 3);
    w.click(a->unSelectTimeBtn());
    EXPECT_TRUE(w.clip(0)->isTrimFanxuan());
    EXPECT_TRUE(c.cutProgressView()->isFanxuan());
    w.click(a->applytoallBtn());
    EXPECT_EQ(w.clip(1)->cutTimeRange_start(), 0); // the range is as long as the clip: all of it
    EXPECT_EQ(w.clip(1)->cutTimeRange_stop(), 2000000);
    EXPECT_NEAR(double(w.clip(2)->cutTimeRange_start()), 2e6, 2);
    EXPECT_NEAR(double(w.clip(2)->cutTimeRange_stop()), 4e6, 2);
    EXPECT_TRUE(w.clip(1)->isTrimFanxuan());
    EXPECT_TRUE(w.clip(2)->isTrimFanxuan());

    w.click(a->resetCutterBtn());
    EXPECT_FALSE(w.clip(0)->isTrimFanxuan());
    EXPECT_EQ(w.clip(0)->cutTimeRange_start(), 0);
    EXPECT_EQ(w.clip(0)->cutTimeRange_stop(), 6000000);
    EXPECT_TRUE(a->selectTimeBtn()->isChecked());
    EXPECT_EQ(c.trimEditor()->stopFields()[2]->stringValue(), "06");
    EXPECT_FLOAT_EQ(c.cutProgressView()->lowerValue(), 0.0f);

    // A click on the volume slider at three quarters: volume 1.5, kept below 1 too.
    LQProgressSlider* slider = c.previewBar()->volumeSlider();
    auto clickAt = [&](double fraction) {
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(int(fraction * slider->width()), slider->height() / 2));
        w.settle();
    };
    clickAt(0.75);
    EXPECT_DOUBLE_EQ(w.clip(0)->volume(), double(slider->progress()) * 2);
    EXPECT_NEAR(w.clip(0)->volume(), 1.5, 0.12); // the thumb's width takes a little of the track
    clickAt(0.25);
    EXPECT_DOUBLE_EQ(w.clip(0)->volume(), double(slider->progress()) * 2);
    EXPECT_NEAR(w.clip(0)->volume(), 0.5, 0.12);
    const double volume = w.clip(0)->volume();
    // Mute keeps the clip's volume; unmute gives it back.
    w.click(c.previewBar()->volumeBtn());
    EXPECT_TRUE(c.previewBar()->muted());
    EXPECT_FLOAT_EQ(slider->progress(), 0.0f);
    EXPECT_DOUBLE_EQ(w.clip(0)->volume(), volume);
    w.click(c.previewBar()->volumeBtn());
    EXPECT_FALSE(c.previewBar()->muted());
    EXPECT_NEAR(slider->progress(), w.clip(0)->volume() / 2, 1e-6);
}

TEST(JoinerWindow, EndToEndTenClipsTrimmedInvertedWithTransitions) {
    const std::array<const char*, 10> colours = {"red",     "green", "blue",   "yellow", "cyan",
                                                 "magenta", "white", "orange", "purple", "gray"};
    QStringList chosen;
    for (size_t i = 0; i < colours.size(); ++i)
        chosen << QString::fromStdString(
            colourClip(colours[i], i == 0 ? 320 : 160 + 32 * int(i % 3), 120 + 24 * int(i % 2), 2));
    Window w(chosen);
    JoinnerWindowController& c = w.controller;
    WindowShots::save(w.window, "joiner-00-empty");
    w.add(10);
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_EQ(c.fileListTableView()->cells().size(), 10);
    w.waitForPreview();
    WindowShots::save(w.window, "joiner-01-ten-clips");

    // The first clip fades into the second, chosen in its row.
    QComboBox* transition = c.fileListTableView()->cells().at(0)->effectBtn();
    ASSERT_TRUE(transition->isVisible());
    transition->setCurrentIndex(3);
    emit transition->activated(3);
    w.settle();
    EXPECT_EQ(w.clip(0)->transitionEffect(), 3);

    // The third clip starts half a second in, a little louder.
    ClipTrimEditor* e = c.trimEditor();
    w.selectRow(2);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.previewBar()->player() != nullptr; }, 5000));
    w.type(e->startFields()[3], "50");
    EXPECT_EQ(w.clip(2)->cutTimeRange_start(), 500000);
    LQProgressSlider* slider = c.previewBar()->volumeSlider();
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() * 3 / 4, slider->height() / 2));
    w.settle();
    EXPECT_GT(w.clip(2)->volume(), 1.2);

    // The fifth clip loses 0.5 s to 1.5 s.
    w.selectRow(4);
    w.type(e->startFields()[3], "50");
    w.type(e->stopFields()[2], "1");
    w.type(e->stopFields()[3], "50");
    w.click(c.trimActions()->unSelectTimeBtn());
    EXPECT_TRUE(w.clip(4)->isTrimFanxuan());
    EXPECT_EQ(w.clip(4)->cutTimeRange_start(), 500000);
    EXPECT_EQ(w.clip(4)->cutTimeRange_stop(), 1500000);
    EXPECT_EQ(c.fileListTableView()->cells().at(4)->cuttedTimeLabel()->text(), "00:00:01.00");
    w.waitForPreview();
    WindowShots::save(w.window, "joiner-02-trimmed");

    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Cancel");
    EXPECT_FALSE(c.removeBtn()->isEnabled());
    EXPECT_FALSE(c.trimEditor()->startFields()[0]->isEnabled());
    EXPECT_FALSE(c.addfileBtn()->isEnabled()) << "a clip added now would not be in the file written";
    WindowShots::waitUntil([&] { return c.joinnerProgressView()->progress() > 0.2f || w.idle(); }, 60000);
    WindowShots::save(w.window, "joiner-03-joining");
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 120000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");
    EXPECT_TRUE(c.removeBtn()->isEnabled());
    WindowShots::save(w.window, "joiner-04-joined");

    const QString folder = c.outputPath();
    const QStringList written = QDir(folder).entryList(QDir::Files);
    ASSERT_EQ(written.size(), 1) << written.join(",").toStdString();
    EXPECT_TRUE(written.first().endsWith(".mp4"));
    const std::string out = (folder + "/" + written.first()).toStdString();
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.ok);
    ASSERT_NE(probe.firstVideo(), nullptr);
    EXPECT_EQ(probe.count("audio"), 1);
    EXPECT_EQ(probe.firstVideo()->width, 320);
    EXPECT_EQ(probe.firstVideo()->height, 120);
    // 2 + 2 + 1.5 + 2 + 1 + 5 x 2 seconds, less the two thirds of a second the fade overlaps.
    const double fade = 2.0 / 3.0;
    EXPECT_NEAR(probe.duration, 18.5 - fade, 0.15);
    int width = 0, height = 0;
    std::vector<unsigned char> middle = ffmpegFrameRgb(out, 2.0 - fade / 2, &width, &height);
    ASSERT_EQ(middle.size(), size_t(width * height * 3));
    const size_t centre = size_t((height / 2 * width + width / 2) * 3);
    EXPECT_GT(middle[centre], 50) << "red fading out";
    EXPECT_LT(middle[centre], 200);
    EXPECT_GT(middle[centre + 1], 20) << "green fading in";

    // A second join, cancelled: nothing more is left in the folder and nothing is said.
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    WindowShots::waitUntil([&] { return c.joinnerProgressView()->progress() > 0.05f || w.idle(); }, 60000);
    ASSERT_TRUE(c.isRunning()) << "the join ended before it could be cancelled";
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 5000));
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    EXPECT_FLOAT_EQ(c.joinnerProgressView()->progress(), 0.0f);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), written);
}

TEST(JoinerWindow, PreviewBarStopStillFramesAndTheirFormat) {
    Window w({QString::fromStdString(colourClip("red", 320, 240, 2))});
    JoinnerWindowController& c = w.controller;
    ClipPreviewBar* bar = c.previewBar();
    // The format chooser's button does nothing before a clip is bound.
    w.click(bar->cutcoverStyleBtn());
    EXPECT_TRUE(bar->coverStylePopBtn()->isHidden());
    w.add(1);

    w.click(bar->playBtn());
    EXPECT_TRUE(bar->isPlaying());
    EXPECT_TRUE(bar->playBtn()->selected());
    EXPECT_TRUE(bar->hasTimer());
    QTest::qWait(300);
    w.click(bar->stopBtn());
    EXPECT_FALSE(bar->isPlaying());
    EXPECT_FALSE(bar->playBtn()->selected());
    EXPECT_FALSE(bar->hasTimer());
    EXPECT_DOUBLE_EQ(bar->currentTime(), 0.0) << "stop rewinds to the start";

    // Before a format is chosen a still frame is a PNG; then the chosen format, never replacing a file.
    const QString png = bar->actionCarameraBtn();
    EXPECT_TRUE(png.endsWith(".png")) << png.toStdString();
    EXPECT_EQ(QFileInfo(png).absolutePath(), QFileInfo(c.outputPath()).absoluteFilePath());
    int width = 0, height = 0;
    const std::vector<unsigned char> rgb = ffmpegFrameRgb(png.toStdString(), 0, &width, &height);
    EXPECT_EQ(width, 320);
    ASSERT_FALSE(rgb.empty());
    EXPECT_GT(rgb[size_t((height / 2 * width + width / 2) * 3)], 200) << "the red clip's frame";
    w.click(bar->cutcoverStyleBtn());
    EXPECT_TRUE(bar->coverStylePopBtn()->isVisible());
    const int jpg = bar->coverStylePopBtn()->findText("jpg");
    ASSERT_GE(jpg, 0);
    emit bar->coverStylePopBtn()->activated(jpg);
    EXPECT_TRUE(bar->coverStylePopBtn()->isHidden());
    const QString first = bar->actionCarameraBtn();
    const QString second = bar->actionCarameraBtn();
    EXPECT_TRUE(first.endsWith(".jpg"));
    EXPECT_NE(first, second);
    EXPECT_TRUE(QFileInfo::exists(first) && QFileInfo::exists(second));
}

TEST(JoinerWindow, ClosingDuringAJoinOrAnUnwritableFolderLeavesNothing) {
    const QString longer = QString::fromStdString(colourClip("yellow", 640, 360, 12));
    const QString blocked = QString::fromStdString(MediaFixtures::freshDir("joiner-blocked"));
    {
        Window w({longer, longer});
        JoinnerWindowController& c = w.controller;
        w.add(2);
        // The output folder is a file: the join cannot be written, which is said once, never as a success.
        QFile file(blocked + "/not-a-folder");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        c.setOutputPath(file.fileName());
        w.click(c.startJoinnerBtn());
        ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle() && !w.alerts.isEmpty(); }, 60000));
        EXPECT_TRUE(w.alerts.first().startsWith("error:")) << w.alerts.join("|").toStdString();
        EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");
        EXPECT_TRUE(c.removeBtn()->isEnabled());
        EXPECT_EQ(QDir(blocked).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{"not-a-folder"});
    }
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("joiner-closed"));
    {
        Window w({longer, longer});
        JoinnerWindowController& c = w.controller;
        w.add(2);
        w.clip(0)->setTransitionEffect(3);
        c.setOutputPath(folder);
        w.click(c.startJoinnerBtn());
        ASSERT_TRUE(WindowShots::waitUntil([&] { return c.joinnerProgressView()->progress() > 0.02f; }, 60000));
        ASSERT_TRUE(c.isRunning());
        c.close();
        ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.jobRunner().isBusy(); }, 5000));
        EXPECT_EQ(c.previewBar()->player(), nullptr);
        // The question before closing, answered with its first button; no error after the stop.
        EXPECT_EQ(w.alerts.join("|"), ResourceBundle::localizedStringForKey("StopJobAndCloseMessage"));
    }
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

TEST(JoinerWindow, ClipsThatLookAlikeButCannotBeCopiedAreJoinedEncoded) {
    // The same size, frame rate, codecs and sound, but H.264 profiles the probe does not tell apart.
    auto clip = [](const std::string& profile) {
        return QString::fromStdString(
            MediaFixtures::make("join_profile_" + profile + "_veryfast.mp4",
                                "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -f lavfi -i "
                                "sine=frequency=440:sample_rate=44100:duration=2 -ac 2 -c:v libx264 -profile:v " +
                                    profile + " -preset veryfast -pix_fmt yuv420p -g 25 -c:a aac -b:a 96k -shortest"));
    };
    Window w({clip("main"), clip("high")});
    JoinnerWindowController& c = w.controller;
    w.add(2);
    const JoinPlan plan = JoinPlan::make(*c.fileList(), c.outputSelection(), {}, QString());
    ASSERT_TRUE(plan.copy) << "the probe sees two matching files";
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    ASSERT_TRUE(WindowShots::waitUntil(
        [&] { return w.idle() && !QDir(c.outputPath()).entryList(QDir::Files).isEmpty(); }, 60000));
    WindowShots::waitUntil([&] { return false; }, 300); // a late second run would show here
    EXPECT_TRUE(w.idle());
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();
    const QStringList written = QDir(c.outputPath()).entryList(QDir::Files);
    ASSERT_EQ(written.size(), 1);
    const FfprobeResult probe = ffprobe((c.outputPath() + "/" + written.first()).toStdString());
    EXPECT_NEAR(probe.duration, 4.0, 0.1);
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");
}

TEST(JoinerWindow, HandlesPlayheadButtonsAndTheEndOfPlay) {
    Window w({QString::fromStdString(colourClip("red", 160, 120, 2)),
              QString::fromStdString(colourClip("green", 160, 120, 2))});
    JoinnerWindowController& c = w.controller;
    w.add(2);
    ClipTrimEditor* e = c.trimEditor();
    ClipPreviewBar* bar = c.previewBar();
    LQCutProgressView* range = c.cutProgressView();
    const double d = bar->duration();
    ASSERT_NEAR(d, 2.0, 0.05);

    // Dragging the right handle writes both ends and only the end's fields, and seeks to the new end.
    range->setLowerValueUpperValue(0.25f, 0.75f);
    e->actionMouseMovedForCutProgressViewBlock(range, 0.25f, 0.75f, 2);
    EXPECT_NEAR(double(w.selected()->cutTimeRange_start()), 0.25 * d * 1e6, 2);
    EXPECT_NEAR(double(w.selected()->cutTimeRange_stop()), 0.75 * d * 1e6, 2);
    EXPECT_EQ(e->startFields()[3]->stringValue(), "00");
    EXPECT_EQ(e->stopFields()[2]->stringValue(), "01");
    EXPECT_NEAR(bar->currentTime(), 0.75 * d, 0.05);
    e->actionMouseUpForCutProgressViewBlock(range, 0.75f);
    EXPECT_EQ(c.fileListTableView()->cells().at(0)->cuttedTimeLabel()->text(),
              HelpClass::returnTimeToStr(float(0.5 * d)));

    // The end from a playhead before the start: the start goes to 0.
    bar->seekTo(0.2);
    e->setStopTrimBtnTouchUp();
    EXPECT_EQ(w.selected()->cutTimeRange_start(), 0);
    EXPECT_FLOAT_EQ(range->lowerValue(), 0.0f);
    EXPECT_NEAR(double(w.selected()->cutTimeRange_stop()), 0.2e6, 0.02e6);
    // The start from a playhead after the end: the end becomes the clip's end.
    bar->seekTo(1.0);
    e->setStartTrimBtnTouchUp();
    EXPECT_NEAR(double(w.selected()->cutTimeRange_start()), 1e6, 0.02e6);
    EXPECT_NEAR(double(w.selected()->cutTimeRange_stop()), d * 1e6, 2);
    EXPECT_FLOAT_EQ(range->upperValue(), 1.0f);
    EXPECT_EQ(e->stopFields()[2]->stringValue(), "02");

    // Played to the end: paused, the playhead back on the trim start.
    w.click(bar->playBtn());
    ASSERT_TRUE(bar->isPlaying());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !bar->isPlaying(); }, 6000));
    EXPECT_FALSE(bar->playBtn()->selected());
    EXPECT_NEAR(range->progress(), 1.0 / d, 0.02);

    // Choosing another clip while playing: paused at its start with the play look.
    w.click(bar->playBtn());
    ASSERT_TRUE(bar->isPlaying());
    w.selectRow(1);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return bar->player() && !bar->isPlaying(); }, 3000));
    EXPECT_FALSE(bar->playBtn()->selected());
    EXPECT_NEAR(bar->currentTime(), 0.0, 0.05);
    EXPECT_EQ(e->stopFields()[2]->stringValue(), "02");
}

TEST(JoinerWindow, EveryControlFitsTheWindowAtItsDefaultSize) {
    Window w(threeClips());
    EXPECT_EQ(LayoutCheck::expectFits(w.window), 0) << "empty";
    w.add(3);
    w.selectRow(1);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.controller.previewBar()->player() != nullptr; }, 5000));
    EXPECT_EQ(LayoutCheck::expectFits(w.window), 0) << "with clips";
    w.click(w.controller.previewBar()->cutcoverStyleBtn());
    ASSERT_TRUE(
        WindowShots::waitUntil([&] { return w.controller.previewBar()->coverStylePopBtn()->isVisible(); }, 5000));
    EXPECT_EQ(LayoutCheck::expectFits(w.window), 0) << "with the still-frame format chooser";
}

TEST(JoinerWindow, TheStillFrameFormatChooserAndTheVolumeSliderAreNeverSqueezed) {
    for (const char* language : {"en", "zh-Hans"}) {
        SCOPED_TRACE(language);
        ResourceBundle::setLanguage(language);
        Window w({QString::fromStdString(colourClip("red", 320, 240, 2))});
        if (!w.window->minimumSize().isEmpty())
            w.window->resize(w.window->minimumSize());
        w.add(1);
        ClipPreviewBar* bar = w.controller.previewBar();
        ASSERT_TRUE(WindowShots::waitUntil([&] { return bar->player() != nullptr; }, 5000));
        QWidget* slider = bar->volumeSlider();
        const QRect sliderBefore = slider->geometry();
        // The total time's text, right-aligned in its label.
        QLabel* total = bar->rightTimeLabel();
        const int textWidth = total->fontMetrics().horizontalAdvance(total->text());
        const QRect totalText(total->geometry().right() - textWidth, total->y(), textWidth, total->height());
        EXPECT_FALSE(sliderBefore.intersects(totalText));

        w.click(bar->cutcoverStyleBtn());
        QComboBox* chooser = bar->coverStylePopBtn();
        ASSERT_TRUE(WindowShots::waitUntil([&] { return chooser->isVisible(); }, 5000));
        EXPECT_GE(chooser->width(), chooser->sizeHint().width()) << "the chooser shows its text whole";
        EXPECT_FALSE(chooser->geometry().intersects(totalText));
        EXPECT_FALSE(chooser->geometry().intersects(bar->cutcoverStyleBtn()->geometry()));
        for (QWidget* volume : {static_cast<QWidget*>(bar->volumeBtn()), slider})
            EXPECT_TRUE(volume->isHidden() || !volume->geometry().intersects(chooser->geometry()))
                << volume->metaObject()->className();
        EXPECT_TRUE(slider->isHidden() || slider->width() >= sliderBefore.width()) << "the slider keeps its width";
        EXPECT_EQ(LayoutCheck::expectFits(w.window), 0);

        emit chooser->activated(chooser->findText("jpg"));
        EXPECT_TRUE(chooser->isHidden());
        EXPECT_TRUE(slider->isVisible() && bar->volumeBtn()->isVisible());
        EXPECT_EQ(slider->geometry(), sliderBefore);
        ResourceBundle::setLanguage("");
    }
}
