#include "EffectTableCellView.h"
#include "LQCutProgressView.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MusicInfo.h"
#include "MusicPanel.h"
#include "MusicRangeSlider.h"
#include "MusicTestSupport.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

QString path(const std::string& p) {
    return QString::fromStdString(p);
}

// A press, a drag step and a release on a view, in its own Qt coordinates.
void drag(QWidget* view, QPoint from, QPoint to) {
    QMouseEvent press(QEvent::MouseButtonPress, from, view->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, view->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(view, &release);
}

} // namespace

TEST(MusicEditor, LoadingKeepsTheMusicsOwnLengthAndRefusesFilesWithoutSound) {
    MusicStandIn scene;
    MusicEditor& editor = *scene.editor;
    EXPECT_EQ(editor.addMusicFiles({path(MusicClips::tone660Long()), path(MusicClips::tone440())}), 2);
    ASSERT_EQ(editor.musicList().size(), 2u);
    const MusicInfo& longer = *editor.musicList()[0];
    EXPECT_NEAR(longer.duration(), 6.0, 0.05); // not cut to the video's 4 s
    EXPECT_NEAR(longer.pruneDiration(), 4.0, 0.05);
    EXPECT_NEAR(longer.positionEnd(), 4.0, 0.05);
    const MusicInfo& shorter = *editor.musicList()[1];
    EXPECT_NEAR(shorter.duration(), 1.5, 0.05);
    EXPECT_NEAR(shorter.pruneDiration(), 1.5, 0.05);
    EXPECT_FLOAT_EQ(shorter.volume(), 0.5f);
    EXPECT_TRUE(shorter.selected());
    EXPECT_EQ(editor.musicSelecteds().size(), 2u);
    // The selected row stays where it was and is loaded into the music preview.
    EXPECT_EQ(editor.selectedMusicIndex(), 0);
    ASSERT_NE(editor.lqmusicPlayer(), nullptr);
    EXPECT_NEAR(editor.lqmusicPlayer()->duration().seconds(), 6.0, 0.05);
    EXPECT_TRUE(scene.alerts.isEmpty());

    // A picture, a video without sound and a file that is not media at all are refused with one message.
    const std::string text = MediaFixtures::freshDir("music_text") + "/notes.mp3";
    std::ofstream(text) << "not music";
    EXPECT_EQ(editor.addMusicFiles({path(MediaFixtures::png()), path(MediaFixtures::noAudio()), path(text)}), 0);
    EXPECT_EQ(editor.musicList().size(), 2u);
    EXPECT_EQ(scene.alerts, QStringList{"musicFileUnplayable"});
}

TEST(MusicEditor, MutesGiveBackTheLevelTheyHad) {
    MusicStandIn scene;
    MusicEditor& editor = *scene.editor;
    MusicPanel& panel = *editor.panel();
    ASSERT_EQ(editor.addMusicFiles({path(MusicClips::tone440())}), 1);
    MusicInfo& item = *editor.musicList()[0];

    editor.actionProgressForProgressSliderBlock(panel.musicItemVolueSlider, 0.8f);
    EXPECT_FLOAT_EQ(item.volume(), 0.8f);
    editor.itemMuteAction();
    EXPECT_EQ(item.volume(), 0);
    EXPECT_TRUE(panel.musicItemVolueBtn->selected());
    EXPECT_EQ(panel.musicItemVoluelabel->text(), "0%");
    editor.itemMuteAction();
    EXPECT_FLOAT_EQ(item.volume(), 0.8f);
    EXPECT_EQ(panel.musicItemVoluelabel->text(), "80%");

    // The preview's volume button mutes the player and gives back the slider's level (twice the slider).
    editor.actionProgressForProgressSliderBlock(panel.music_volumeSlider, 0.3f);
    panel.music_volumeSlider->setProgress(0.3f);
    EXPECT_NEAR(scene.player->volume(), 0.6, 1e-6);
    editor.mainVolumeMuteAction();
    EXPECT_EQ(scene.player->volume(), 0);
    editor.actionProgressForProgressSliderBlock(panel.music_volumeSlider, 0.4f); // muted: stays silent
    EXPECT_EQ(scene.player->volume(), 0);
    panel.music_volumeSlider->setProgress(0.4f);
    editor.mainVolumeMuteAction();
    EXPECT_NEAR(scene.player->volume(), 0.8, 1e-6);
}

TEST(MusicEditor, ThePreviewIsGivenWhatTheExportIsGiven) {
    MusicStandIn scene;
    MusicEditor& editor = *scene.editor;
    ASSERT_EQ(editor.addMusicFiles({path(MusicClips::tone2000()), path(MusicClips::tone440())}), 2);
    editor.selectRow(1);
    editor.repeatAction();
    editor.fadeOutAction();
    editor.checkRow(0); // untick the first
    editor.removeOriginalAction();
    scene.musicPlayPreview();
    const auto& settings = scene.player->edits().settings();
    ASSERT_EQ(settings.music.size(), 1u);
    const MusicDubbing dubbing = editor.dubbing();
    ASSERT_EQ(dubbing.tracks.size(), 1u);
    const MusicSlice& s = dubbing.tracks[0].slice;
    // The player keeps microseconds: the same numbers the export passes, whatever the music's own end.
    EXPECT_EQ(settings.music[0].path, MusicClips::tone440());
    EXPECT_NEAR(settings.music[0].musicEndUs, MusicTiming::microseconds(s.musicOut), 1);
    EXPECT_NEAR(settings.music[0].timelineStartUs, MusicTiming::microseconds(s.timelineIn), 1);
    EXPECT_NEAR(settings.music[0].timelineEndUs, MusicTiming::microseconds(s.timelineOut), 1);
    EXPECT_EQ(settings.music[0].fadeOutUs, 1000000);
    EXPECT_EQ(settings.music[0].fadeInUs, 0);
    EXPECT_NEAR(s.timelineOut, 4.0, 0.05); // repeating: the whole place
    EXPECT_NEAR(s.musicOut, 1.5, 0.05);
    EXPECT_TRUE(settings.mainAudioDisabled);
    scene.musicPausePreview();
}

TEST(MusicEditor, DeletingAnItemStopsItsPreviewAndTheLastOneClearsThePanel) {
    MusicStandIn scene;
    MusicEditor& editor = *scene.editor;
    MusicPanel& panel = *editor.panel();
    ASSERT_EQ(editor.addMusicFiles({path(MusicClips::tone440()), path(MusicClips::tone2000())}), 2);
    editor.selectRow(0);
    ASSERT_NE(editor.lqmusicPlayer(), nullptr);
    editor.playOrPauseAudio();
    EXPECT_TRUE(editor.isAudioPlaying());
    EXPECT_TRUE(panel.musicItemPlayPauseBtn->selected());

    editor.deleteAction();
    EXPECT_FALSE(editor.isAudioPlaying());
    EXPECT_FALSE(panel.musicItemPlayPauseBtn->selected());
    ASSERT_EQ(editor.musicList().size(), 1u);
    EXPECT_EQ(editor.musicList()[0]->path(), path(MusicClips::tone2000()));
    // The remaining row is selected and loaded.
    ASSERT_NE(editor.lqmusicPlayer(), nullptr);
    EXPECT_NEAR(editor.lqmusicPlayer()->duration().seconds(), 3.0, 0.05);

    editor.deleteAction();
    EXPECT_TRUE(editor.musicList().empty());
    EXPECT_EQ(editor.lqmusicPlayer(), nullptr);
    for (MusicPanel::TimeRow* row : panel.timeRows())
        for (LQTextField* f : row->fields)
            EXPECT_EQ(f->stringValue(), "00");
    EXPECT_EQ(panel.musicRangSlider->positionLeftValue(), 0);
    EXPECT_EQ(panel.musicRangSlider->positionRightValue(), 0);
    EXPECT_FALSE(panel.deletedMusicBtn->isEnabled());
}

TEST(MusicEditor, TheTimelineBarMovesThePlaceWithoutAJumpAndItsHandlesNeverCross) {
    MusicStandIn scene;
    MusicEditor& editor = *scene.editor;
    MusicPanel& panel = *editor.panel();
    ASSERT_EQ(editor.addMusicFiles({path(MusicClips::tone440())}), 1);
    scene.window->show();
    MusicRangeSlider* bar = panel.musicRangSlider;
    ASSERT_TRUE(bar->enable());
    MusicInfo& item = *editor.musicList()[0];

    // The place [1, 3] of the 4-second video.
    item.setPositionStart(1);
    item.setPositionEnd(3);
    editor.selectRow(0);
    EXPECT_FLOAT_EQ(bar->positionLeftValue(), 0.25f);

    // A press and a drag step that does not move the pointer leave the place where it is.
    QWidget* range = bar->videoPositionView();
    drag(range, {10, 5}, {10, 5});
    EXPECT_FLOAT_EQ(bar->positionLeftValue(), 0.25f);
    EXPECT_FLOAT_EQ(item.positionStart(), 1.0f);
    // A quarter of the track to the right moves the place by a second.
    const int quarter = static_cast<int>(bar->model().trackWidth() / 4);
    drag(range, {10, 5}, {10 + quarter, 5});
    EXPECT_NEAR(item.positionStart(), 2.0, 0.05);
    EXPECT_NEAR(item.positionEnd(), 4.0, 0.05);
    EXPECT_EQ(panel.post.fields[2]->stringValue(),
              QString::asprintf("%02i", static_cast<int>(std::floor(item.positionStart()))));

    // The left handle dragged far past the right one stops on it.
    drag(bar->leftMoveView(), {5, 5}, {5 + 3 * quarter, 5});
    EXPECT_LE(bar->positionLeftValue(), bar->positionRightValue());
    EXPECT_LE(item.positionStart(), item.positionEnd());
    EXPECT_GE(bar->model().rangeFrame().width, 0);
}
