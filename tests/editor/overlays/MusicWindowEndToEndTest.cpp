#include "EffectTableCellView.h"
#include "LQMoviePlayer.h"
#include "LQTextField.h"
#include "MOQButton.h"
#include "MusicInfo.h"
#include "MusicPanel.h"
#include "MusicRangeSlider.h"
#include "MusicTestSupport.h"
#include "ResourceBundle.h"
#include "core/EditorWindowTestSupport.h"
#include "support/Ffprobe.h"

#include <QDir>
#include <QFile>
#include <QScrollArea>

namespace {

// Types a time into a field group (hours, minutes, seconds, hundredths) and ends the editing with Return.
void typeTime(EditorWindow& w, MusicPanel::TimeRow& row, int seconds, int hundredths) {
    const int values[4] = {seconds / 3600, seconds / 60 % 60, seconds % 60, hundredths};
    for (int i = 0; i < 4; ++i) {
        LQTextField* field = row.fields[static_cast<size_t>(i)];
        w.click(field);
        field->selectAll();
        QTest::keyClicks(field, QString::asprintf("%02i", values[i]));
        QTest::keyClick(field, Qt::Key_Return);
    }
    QCoreApplication::processEvents();
}

void loadMusic(EditorWindow& w, MusicEditor& music, const std::string& file) {
    const size_t before = music.musicList().size();
    w.nextFile = file;
    w.click(music.panel()->loadmusicBtn);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return music.musicList().size() == before + 1; }, 10000));
}

} // namespace

TEST(MusicWindow, EndToEndTwoMusicItemsPlacedPreviewedAndExported) {
    EditorWindow w(ToolItemTypeMusic);
    EditVideoWindowController& c = *w.controller;
    MusicEditor& music = *c.music();
    MusicPanel& panel = *music.panel();
    // Without a file the hint stands in the player's place and nothing can be loaded.
    EXPECT_TRUE(panel.toolMusicNofileView->isVisible());
    EXPECT_FALSE(panel.loadmusicBtn->isEnabled());

    w.add(MusicClips::source());
    ASSERT_TRUE(c.lqPlayer());
    EXPECT_FALSE(panel.toolMusicNofileView->isVisible());
    EXPECT_TRUE(panel.musicRightBottomView->isVisible());
    EXPECT_EQ(c.lqPlayer()->view()->parentWidget(), panel.musicRightPlayerView);
    ASSERT_TRUE(panel.loadmusicBtn->isEnabled());

    // A file without sound is refused with its message; two tones are loaded.
    w.nextFile = MediaFixtures::png();
    w.click(panel.loadmusicBtn);
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !w.alerts.isEmpty(); }, 5000));
    EXPECT_TRUE(music.musicList().empty());
    loadMusic(w, music, MusicClips::tone440());
    loadMusic(w, music, MusicClips::tone2000());
    ASSERT_EQ(music.musicList().size(), 2u);

    // The 440 Hz tone repeats over [0.5, 3.5] with its fades.
    w.click(music.panel()->musicListScrollView->widget()->findChildren<EffectTableCellView*>().at(0));
    ASSERT_EQ(music.selectedMusicIndex(), 0);
    typeTime(w, panel.poen, 3, 50);
    typeTime(w, panel.post, 0, 50);
    w.click(panel.repeatMusicBtn);
    w.click(panel.fadeInBtn);
    w.click(panel.fadeOutBtn);
    const MusicInfo& a = *music.musicList()[0];
    EXPECT_FLOAT_EQ(a.positionStart(), 0.5f);
    EXPECT_FLOAT_EQ(a.positionEnd(), 3.5f);
    EXPECT_TRUE(a.repeat() && a.fadeIn() && a.fadeOut());
    EXPECT_TRUE(panel.musicRangSlider->isRepeat());
    EXPECT_FLOAT_EQ(panel.musicRangSlider->positionLeftValue(), 0.125f);

    // The 2000 Hz tone over [2, 3].
    w.click(music.panel()->musicListScrollView->widget()->findChildren<EffectTableCellView*>().at(1));
    ASSERT_EQ(music.selectedMusicIndex(), 1);
    typeTime(w, panel.post, 2, 0);
    typeTime(w, panel.poen, 3, 0);
    EXPECT_FLOAT_EQ(music.musicList()[1]->positionStart(), 2.0f);
    EXPECT_FLOAT_EQ(music.musicList()[1]->positionEnd(), 3.0f);
    // Its used part is the music's first second, shown on the prune slider.
    w.click(panel.pruneMusicBtn);
    EXPECT_TRUE(music.musicList()[1]->prune());
    EXPECT_TRUE(panel.pruneContentView->isVisible());
    EXPECT_NEAR(music.musicList()[1]->pruneDiration(), 1.0, 1e-4);
    w.click(panel.removeOriginalmusicBtn);
    ASSERT_TRUE(music.removesOriginalSound());

    // The preview plays both tracks without the file's own sound; editing waits until it stops.
    w.click(panel.mplayer_playOrPauseBtn);
    ASSERT_TRUE(c.isPlaying());
    EXPECT_EQ(c.lqPlayer()->edits().settings().music.size(), 2u);
    EXPECT_TRUE(c.lqPlayer()->edits().settings().mainAudioDisabled);
    EXPECT_FALSE(panel.repeatMusicBtn->isEnabled());
    QTest::qWait(300);
    w.click(panel.mplayer_playOrPauseBtn);
    EXPECT_FALSE(c.isPlaying());
    EXPECT_FALSE(panel.repeatMusicBtn->isEnabled()); // pausing keeps editing off
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.lqPlayer()->isSeeking(); }, 5000));
    WindowShots::save(w.window, QStringLiteral("editor_music"));
    w.click(panel.mplayer_stopBtn);
    EXPECT_TRUE(panel.repeatMusicBtn->isEnabled());

    // Start writes the music into the output.
    const QString folder = c.outputPath();
    const QStringList before = QDir(folder).entryList(QDir::Files);
    w.click(c.startExportBtn());
    if (c.isRunning())
        WindowShots::save(w.window, QStringLiteral("editor_music_exporting"));
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.jobRunner().isBusy() && !c.isRunning(); }, 60000));
    WindowShots::save(w.window, QStringLiteral("editor_music_exported"));
    QStringList made = QDir(folder).entryList(QDir::Files);
    for (const QString& f : before)
        made.removeAll(f);
    ASSERT_EQ(made.size(), 1) << made.join(", ").toStdString();
    const std::string out = QDir(folder).filePath(made.first()).toStdString();
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.firstAudio());
    EXPECT_NEAR(probe.duration, 4.0, 0.2);
    const DecodedSound sound = DecodedSound::of(out);
    const double full = sound.level(440, 1.6, 2.4);
    // Both items keep the volume they were loaded with, 0.5 (a mono tone in stereo decoded back to mono keeps
    // 1/sqrt(2) of its 0.125).
    EXPECT_NEAR(full, 0.125 * M_SQRT1_2 * 0.5, 0.012);
    EXPECT_LT(sound.level(440, 0.1, 0.45), 0.01);
    EXPECT_NEAR(sound.level(2000, 2.2, 2.8) / full, 1.0, 0.2);
    EXPECT_LT(sound.level(2000, 1.2, 1.8), 0.01);
    EXPECT_LT(sound.level(1000, 0.1, 3.9), 0.005);
}

TEST(MusicWindow, TheFilesOwnSoundMutedInTheMusicPanelIsSilentInTheOutput) {
    EditorWindow w(ToolItemTypeMusic);
    EditVideoWindowController& c = *w.controller;
    MusicPanel& panel = *c.music()->panel();
    w.add(MusicClips::source());
    ASSERT_TRUE(c.lqPlayer());
    w.click(panel.originalVolumeBtn);
    ASSERT_TRUE(panel.originalVolumeBtn->selected());
    EXPECT_EQ(c.lqPlayer()->edits().settings().mainAudioVolume, 0.0);

    const QString folder = c.outputPath();
    const QStringList before = QDir(folder).entryList(QDir::Files);
    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !c.jobRunner().isBusy() && !c.isRunning(); }, 60000));
    QStringList made = QDir(folder).entryList(QDir::Files);
    for (const QString& f : before)
        made.removeAll(f);
    ASSERT_EQ(made.size(), 1);
    const std::string out = QDir(folder).filePath(made.first()).toStdString();
    const DecodedSound sound = DecodedSound::of(out);
    ASSERT_GT(sound.seconds(), 3.5);
    EXPECT_LT(sound.level(1000, 0.2, 3.8), 0.005);

    // Un-muted, the next export has it back at its level.
    w.click(panel.originalVolumeBtn);
    EXPECT_EQ(c.lqPlayer()->edits().settings().mainAudioVolume, 1.0);
}

TEST(MusicWindow, MusicThatCanNoLongerBeReadIsSaidInWordsNotAsACode) {
    // A copy of a tone, loaded, then taken away before Start.
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("music_gone"));
    const QString tone = folder + "/tone.wav";
    ASSERT_TRUE(QFile::copy(QString::fromStdString(MusicClips::tone440()), tone));
    EditorWindow w(ToolItemTypeMusic);
    EditVideoWindowController& c = *w.controller;
    MusicEditor& music = *c.music();
    w.add(MusicClips::source());
    ASSERT_NO_FATAL_FAILURE(loadMusic(w, music, tone.toStdString()));
    ASSERT_TRUE(QFile::remove(tone));
    c.setOutputPath(folder);

    w.click(c.startExportBtn());
    ASSERT_TRUE(WindowShots::waitUntil([&] { return !w.alerts.isEmpty() && !c.jobRunner().isBusy(); }, 30000));
    EXPECT_EQ(w.alerts, QStringList{ResourceBundle::localizedStringForKey("showmessageTime7")});
    EXPECT_FALSE(c.isRunning());
    EXPECT_TRUE(c.startExportBtn()->isEnabled());
    EXPECT_TRUE(QDir(folder).entryList({"*.mp4"}, QDir::Files).isEmpty()) << "nothing written";
}
