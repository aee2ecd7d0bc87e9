#include "JoinnerWindowController.h"

#include "AviClips.h"
#include "ClipWindowDriver.h"
#include "JoinClips.h"
#include "OpenPanel.h"
#include "WindowShots.h"
#include "support/Ffprobe.h"

#include "ArrowStepper.h"
#include "ClipPreviewBar.h"
#include "ClipTrimActions.h"
#include "ClipTrimEditor.h"
#include "EngineJobFactory.h"
#include "HelpClass.h"
#include "JoinnerCell.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MediaProbe.h"
#include "ResourceBundle.h"
#include "SimpleData.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using Window = ClipWindowDriver<JoinnerWindowController>;

// Every control of the joiner that changes the list or a clip, with whether it is usable now.
std::vector<std::pair<std::string, bool>> editingControls(JoinnerWindowController& c) {
    std::vector<std::pair<std::string, bool>> controls = {
        {"add", c.addfileBtn()->isEnabled()},
        {"remove", c.removeBtn()->isEnabled()},
        {"clear", c.clearBtn()->isEnabled()},
        {"up", c.upBtn()->isEnabled()},
        {"down", c.downBtn()->isEnabled()},
        {"rows", c.fileListTableView()->enabele()},
        {"trim slider", !c.cutProgressView()->disable()},
        {"volume", !c.previewBar()->volumeSlider()->disable()},
        {"keep", c.trimActions()->selectTimeBtn()->isEnabled()},
        {"remove range", c.trimActions()->unSelectTimeBtn()->isEnabled()},
        {"reset", c.trimActions()->resetCutterBtn()->isEnabled()},
        {"apply to all", c.trimActions()->applytoallBtn()->isEnabled()},
        {"start field", c.trimEditor()->startFields()[2]->isEnabled()},
        {"start stepper", c.trimEditor()->startStepper()->isEnabled()},
        {"stop stepper", c.trimEditor()->stopStepper()->isEnabled()},
        {"[", c.previewBar()->startCutTimeBtn()->isEnabled()},
    };
    for (JoinnerCell* cell : c.fileListTableView()->cells()) {
        const std::string row = "row " + std::to_string(cell->index());
        controls.emplace_back(row + " click", cell->enabele());
        controls.emplace_back(row + " default format", cell->defaultoutputformat()->isEnabled());
        controls.emplace_back(row + " transition", cell->effectBtn()->isEnabled());
    }
    return controls;
}

std::vector<std::string> usable(JoinnerWindowController& c) {
    std::vector<std::string> names;
    for (const auto& [name, enabled] : editingControls(c))
        if (enabled)
            names.push_back(name);
    return names;
}

} // namespace

TEST(JoinerWindowHabits, EverythingThatChangesTheClipsStaysLockedWhileAJoinRuns) {
    const QString longer = QString::fromStdString(colourClip("yellow", 640, 360, 12));
    Window w({longer, longer});
    JoinnerWindowController& c = w.controller;
    w.add(2);
    w.clip(0)->setTransitionEffect(3); // encoded: the join takes a while
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return c.isRunning(); }, 5000));
    EXPECT_EQ(usable(c), std::vector<std::string>{});

    // The add button is locked: a click opens no panel and adds nothing.
    int panels = 0;
    OpenPanel::setProvider([&](const OpenPanelOptions&, QWidget*) {
        ++panels;
        return QStringList{longer};
    });
    QTest::mouseClick(c.addfileBtn(), Qt::LeftButton);
    w.settle();
    EXPECT_EQ(panels, 0);

    // Clips whose probe began before the join arrive while it runs, with a file that cannot be read: they are
    // listed, the alert is shown, and nothing unlocks; the start button still offers Cancel.
    const QString broken = QString::fromStdString(MediaFixtures::dir()) + "/joiner-locked-broken.mp4";
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a media file");
    file.close();
    c.addFiles({QString::fromStdString(colourClip("red", 160, 120, 2)), broken});
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.isAdding() && c.fileList()->size() == 3; }, 10000));
    w.settle();
    ASSERT_TRUE(c.isRunning()) << "the join ended before the lock could be seen";
    EXPECT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Cancel");
    EXPECT_EQ(usable(c), std::vector<std::string>{});
    // A re-feed of the rows (their format followed a change) keeps them locked too.
    c.outputClipsChanged();
    EXPECT_EQ(usable(c), std::vector<std::string>{});

    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle(); }, 10000));
    const std::vector<std::string> unlocked = usable(c);
    EXPECT_EQ(unlocked.size(), editingControls(c).size()) << "every control comes back after the cancel";
}

TEST(JoinerWindowHabits, TheWheelScrollsTheListAndLeavesTheTransitionsAlone) {
    QStringList chosen;
    for (int i = 0; i < 9; ++i)
        chosen << QString::fromStdString(colourClip("red", 160, 120, 1));
    Window w(chosen);
    JoinnerWindowController& c = w.controller;
    w.add(9);
    QScrollBar* bar = c.fileListTableView()->itemScrollview()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "nine rows do not fit";
    ASSERT_EQ(bar->value(), 0);
    const QList<JoinnerCell*>& cells = c.fileListTableView()->cells();
    // Over a row, a row's picture, and a row's transition choice: the list moves, no transition changes.
    for (QWidget* target :
         std::vector<QWidget*>{cells.at(3), cells.at(4)->thumbImageView(), cells.at(5)->effectBtn()}) {
        const int before = bar->value();
        Window::wheel(target, 1);
        EXPECT_GT(bar->value(), before) << target->metaObject()->className();
    }
    for (const auto& clip : *c.fileList())
        EXPECT_EQ(clip->transitionEffect(), 0);
    // Enough turns reach the last row and its neighbour's transition choice.
    Window::wheel(c.fileListTableView()->cells().at(3), 20);
    EXPECT_EQ(bar->value(), bar->maximum());
    Window::wheel(c.fileListTableView()->cells().at(8), -40);
    EXPECT_EQ(bar->value(), 0);
}

TEST(JoinerWindowHabits, StartWithNothingSaysWhyAndIconButtonsSayWhatTheyDo) {
    Window w({QString::fromStdString(colourClip("red", 320, 240, 2))});
    JoinnerWindowController& c = w.controller;
    w.click(c.startJoinnerBtn());
    ASSERT_EQ(w.alerts.size(), 1);
    EXPECT_EQ(w.alerts.first(), ResourceBundle::localizedStringForKey("joinNoClipsstringValue"));
    EXPECT_FALSE(w.alerts.first().isEmpty());
    EXPECT_FALSE(c.isRunning());
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");

    EXPECT_EQ(w.iconButtonsWithoutToolTip(), QStringList{}) << "empty";
    w.add(1);
    EXPECT_EQ(w.iconButtonsWithoutToolTip(), QStringList{}) << "with a clip";
}

TEST(JoinerWindowHabits, ThePlayButtonAndTheTimeLabelFollowThePreview) {
    Window w({QString::fromStdString(colourClip("green", 160, 120, 4))});
    JoinnerWindowController& c = w.controller;
    w.add(1);
    ClipPreviewBar* bar = c.previewBar();
    // Paused, a seek moves the time label: the handles, the playhead buttons and typed times all seek.
    bar->seekTo(1.5);
    EXPECT_EQ(bar->leftTimeLabel()->text(), HelpClass::returnTimeToStr(1.5f));
    LQCutProgressView* range = c.cutProgressView();
    range->setLowerValueUpperValue(0.5f, 1.0f);
    c.trimEditor()->actionMouseMovedForCutProgressViewBlock(range, 0.5f, 1.0f, 1);
    EXPECT_EQ(bar->leftTimeLabel()->text(), HelpClass::returnTimeToStr(float(0.5 * bar->duration())));
    w.type(c.trimEditor()->startFields()[2], "3");
    EXPECT_EQ(bar->leftTimeLabel()->text(), HelpClass::returnTimeToStr(3.0f));

    // Space on the play button plays and shows pause; a press on the range while playing keeps the pause look.
    bar->playBtn()->setFocus();
    QTest::keyClick(bar->playBtn(), Qt::Key_Space);
    w.settle();
    ASSERT_TRUE(WindowShots::waitUntil([&] { return bar->isPlaying(); }, 2000));
    EXPECT_TRUE(bar->playBtn()->selected());
    c.trimEditor()->actionMouseUpForCutProgressViewBlock(range, 0.25f);
    EXPECT_TRUE(bar->isPlaying());
    EXPECT_TRUE(bar->playBtn()->selected());
    QTest::keyClick(bar->playBtn(), Qt::Key_Space);
    w.settle();
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !bar->isPlaying(); }, 2000));
    EXPECT_FALSE(bar->playBtn()->selected());
}

TEST(JoinerWindowHabits, AviClipsShowTheirFirstPictureInTheRowAndThePreview) {
    for (const AviClip& avi : aviClips()) {
        SCOPED_TRACE(avi.name);
        ASSERT_EQ(ffmpegFirstPictureColour(avi.path), "red") << "ffmpeg's own first picture";
        Window w({QString::fromStdString(avi.path)});
        JoinnerWindowController& c = w.controller;
        w.add(1);
        w.waitForPreview();
        EXPECT_EQ(firstPictureColour(w.clip(0)->thumbImage()), "red") << "the row's picture";
        const QImage shown = c.fileListTableView()->cells().at(0)->thumbImageView()->grab().toImage();
        EXPECT_EQ(firstPictureColour(shown), "red") << "the row's picture as drawn";
        ASSERT_NE(c.previewBar()->player(), nullptr);
        ASSERT_TRUE(WindowShots::waitUntil(
            [&] { return firstPictureColour(c.previewBar()->player()->view()->grab().toImage()) == "red"; }, 5000))
            << "the preview before Play shows "
            << firstPictureColour(c.previewBar()->player()->view()->grab().toImage());
        EXPECT_FALSE(c.previewBar()->isPlaying());
    }
}

TEST(JoinerWindowHabits, AClipWhosePicturesCannotBeDecodedGetsNoPictureRatherThanABlackOne) {
    const std::string undecodable =
        rewrittenAvi(aviClips().front().path, "avi_undecodable_ac3.avi", AviRewrite::UndecodablePictures);
    ASSERT_NE(ffmpegFirstPictureColour(undecodable), "red") << "ffmpeg decodes no first picture either";
    const std::shared_ptr<SimpleData> clip =
        MediaProbe::getVideoInfomation(QString::fromStdString(undecodable), MediaProbe::Variant::TrimEndAndIcon);
    ASSERT_NE(clip, nullptr) << "the file itself is readable";
    EXPECT_GT(clip->sourceData()->width(), 0);
    EXPECT_TRUE(clip->thumbImage().isNull()) << firstPictureColour(clip->thumbImage());
}

namespace {

// The engine's jobs, noting whether each was made on the main thread.
struct ThreadNotingFactory : MediaJobFactory {
    std::shared_ptr<MediaJob> create(MediaJob::Kind kind) override {
        madeOnMainThread.push_back(QThread::currentThread() == QCoreApplication::instance()->thread());
        return EngineJobFactory::shared().create(kind);
    }
    std::vector<bool> madeOnMainThread;
};

} // namespace

TEST(JoinerWindowHabits, TheClipsAreGivenToTheJoinOffTheMainThread) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("joiner-prepared"));
    const QString gone = folder + "/gone.mp4";
    ASSERT_TRUE(QFile::copy(QString::fromStdString(patternClip("testsrc2", 2)), gone));
    ThreadNotingFactory factory;
    Window w({QString::fromStdString(patternClip("testsrc2", 2)), QString::fromStdString(patternClip("testsrc", 2))},
             factory);
    JoinnerWindowController& c = w.controller;
    w.add(2);
    c.setOutputPath(folder + "/out");
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle() && w.finishedDialogs == 1; }, 60000));
    EXPECT_EQ(factory.madeOnMainThread, std::vector<bool>{false}) << "opening each clip's file holds no window";
    const QStringList written = QDir(folder + "/out").entryList(QDir::Files);
    ASSERT_EQ(written.size(), 1);
    EXPECT_NEAR(ffprobe((folder + "/out/" + written.first()).toStdString()).duration, 4.0, 0.1);
    EXPECT_TRUE(w.alerts.isEmpty()) << w.alerts.join("|").toStdString();

    // A clip whose file went after it was added: the engine refuses it, which is said, and nothing is written.
    w.paths = {gone};
    w.add(3);
    ASSERT_TRUE(QFile::remove(gone));
    w.click(c.startJoinnerBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return w.idle() && !w.alerts.isEmpty(); }, 20000));
    EXPECT_TRUE(w.alerts.first().startsWith("error:")) << w.alerts.first().toStdString();
    EXPECT_EQ(w.finishedDialogs, 1);
    EXPECT_EQ(QDir(folder + "/out").entryList(QDir::Files), written);
    EXPECT_EQ(c.startJoinnerBtn()->contentTitle(), "Start");
    EXPECT_TRUE(c.startJoinnerBtn()->isEnabled());
    EXPECT_EQ(usable(c).size(), editingControls(c).size()) << "the window is ready again";
}

TEST(JoinerWindowHabits, RowTextKeepsItsUnderscoresAndDescenders) {
    Window w({QString::fromStdString(colourClip("gray", 160, 120, 1))});
    w.add(1);
    JoinnerCell* row = w.controller.fileListTableView()->cells().at(0);
    ASSERT_TRUE(row->scrLabel()->text().contains('_'));
    for (LabelField* label : row->findChildren<LabelField*>()) {
        if (!label->isVisible())
            continue;
        SCOPED_TRACE(label->text().toStdString());
        // The line is drawn from the label's top: it must be as tall as the font's line, and inside the row.
        EXPECT_GE(label->height(), QFontMetrics(label->font()).height());
        EXPECT_TRUE(row->rect().contains(label->geometry())) << label->y() << "+" << label->height();
    }
}
