#include "EngineJobFactory.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "MOQButton.h"
#include "MusicInfo.h"
#include "MusicPanel.h"
#include "MusicTestSupport.h"
#include "support/Ffprobe.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Types a time into one of the four field groups and ends its editing, as a person would.
bool typeTime(MusicEditor& editor, MusicPanel::TimeRow& row, int hundredths) {
    const int values[4] = {hundredths / 360000, hundredths / 6000 % 60, hundredths / 100 % 60, hundredths % 100};
    for (int i = 0; i < 4; ++i)
        row.fields[static_cast<size_t>(i)]->setStringValue(QString::asprintf("%02i", values[i]));
    return editor.controlTextShouldEndEditing(row.fields[3]);
}

// Runs the editor's export part on a conversion of the source into `out`, on a worker thread as the editor does.
void exportWith(const std::string& source, const std::function<int(MediaJob&)>& contribution, const std::string& out) {
    std::shared_ptr<MediaJob> job = EngineJobFactory::shared().create(MediaJob::Kind::Conversion);
    ASSERT_TRUE(job);
    ASSERT_GT(job->setInputMedia(QString::fromStdString(source)), 0);
    ASSERT_GT(contribution(*job), 0);
    ASSERT_GT(job->setOutputPath(QString::fromStdString(out)), 0);
    int started = 0;
    std::thread worker([&] { started = job->start(); });
    worker.join();
    job->close();
    ASSERT_TRUE(job->startSucceeded(started));
}

// The peak level of a file's sound in dB, as the ffmpeg program's volumedetect reports it.
double maxVolume(const std::string& path) {
    const std::string log = path + ".volume.txt";
    MediaFixtures::run("ffmpeg -v info -i " + MediaFixtures::quote(path) + " -af volumedetect -f null - 2> " +
                       MediaFixtures::quote(log));
    std::ifstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        const auto at = line.find("max_volume:");
        if (at != std::string::npos)
            return std::stod(line.substr(at + 11));
    }
    return 0;
}

constexpr double kTone = 0.125; // the amplitude of the ffmpeg program's sine source

} // namespace

TEST(MusicExport, TwoOverlappingItemsOneRepeatingWithFades) {
    MusicStandIn scene;
    MusicEditor& editor = *scene.editor;
    MusicPanel& panel = *editor.panel();
    ASSERT_EQ(editor.addMusicFiles(
                  {QString::fromStdString(MusicClips::tone440()), QString::fromStdString(MusicClips::tone2000())}),
              2);

    // 440 Hz, 1.5 s long, fills [0.5, 3.5] repeating, fading in and out, at full volume.
    editor.selectRow(0);
    ASSERT_TRUE(typeTime(editor, panel.poen, 350));
    ASSERT_TRUE(typeTime(editor, panel.post, 50));
    editor.repeatAction();
    editor.fadeInAction();
    editor.fadeOutAction();
    editor.actionProgressForProgressSliderBlock(panel.musicItemVolueSlider, 1.0f);
    // 2000 Hz at half volume over [2, 3].
    editor.selectRow(1);
    ASSERT_TRUE(typeTime(editor, panel.post, 200));
    ASSERT_TRUE(typeTime(editor, panel.poen, 300));
    editor.actionProgressForProgressSliderBlock(panel.musicItemVolueSlider, 0.5f);
    editor.removeOriginalAction();

    const MusicInfo& a = *editor.musicList()[0];
    EXPECT_TRUE(a.repeat() && a.fadeIn() && a.fadeOut());
    EXPECT_FLOAT_EQ(a.positionStart(), 0.5f);
    EXPECT_FLOAT_EQ(a.positionEnd(), 3.5f);

    const std::string out = MediaFixtures::freshDir("music_export") + "/two.mp4";
    exportWith(scene.source, editor.exportContribution(), out);
    const DecodedSound sound = DecodedSound::of(out);
    ASSERT_GT(sound.seconds(), 3.8);

    // The repeating item: silent before its place, at full level after its file's first pass ended (2.0 s), and
    // silent after its place.
    const double full = sound.level(440, 1.6, 2.4);
    // (A mono tone mixed into stereo and decoded back to mono keeps 1/sqrt(2) of its amplitude.)
    EXPECT_NEAR(full, kTone * M_SQRT1_2, 0.02);
    EXPECT_LT(sound.level(440, 0.1, 0.45), 0.01);
    EXPECT_GT(sound.level(440, 2.05, 2.45), 0.8 * full);
    EXPECT_LT(sound.level(440, 3.6, 3.95), 0.01);
    // Its fades rise and fall over one second each, linearly: a quarter, half and three quarters of the way in.
    const double quarter = sound.level(440, 0.7, 0.8), half = sound.level(440, 0.95, 1.05),
                 threeQuarters = sound.level(440, 1.2, 1.3);
    EXPECT_NEAR(quarter / full, 0.25, 0.1);
    EXPECT_NEAR(half / full, 0.5, 0.1);
    EXPECT_NEAR(threeQuarters / full, 0.75, 0.1);
    EXPECT_NEAR(sound.level(440, 2.7, 2.8) / full, 0.75, 0.1);
    EXPECT_NEAR(sound.level(440, 3.2, 3.3) / full, 0.25, 0.1);

    // The second item, mixed over the first at half its level, only in its place.
    EXPECT_NEAR(sound.level(2000, 2.2, 2.8) / full, 0.5, 0.1);
    EXPECT_LT(sound.level(2000, 1.2, 1.8), 0.01);
    EXPECT_LT(sound.level(2000, 3.2, 3.8), 0.01);

    // The file's own 1000 Hz is gone.
    EXPECT_LT(sound.level(1000, 0.1, 3.9), 0.005);
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.firstAudio());
    EXPECT_GT(probe.firstAudio()->duration, 3.5);
}

TEST(MusicExport, TheOriginalSoundRemovedIsSilent) {
    MusicStandIn scene;
    scene.editor->removeOriginalAction();
    const std::string out = MediaFixtures::freshDir("music_removed") + "/silent.mp4";
    exportWith(scene.source, scene.editor->exportContribution(), out);
    // Without music there is no sound left to write: no audio stream, or only silence.
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.firstVideo());
    EXPECT_TRUE(!probe.firstAudio() || maxVolume(out) < -60.0);

    // The same source with its sound kept is loud: the measure can tell.
    MusicStandIn kept;
    const std::string loud = MediaFixtures::freshDir("music_kept") + "/loud.mp4";
    exportWith(kept.source, kept.editor->exportContribution(), loud);
    EXPECT_GT(maxVolume(loud), -30.0);
}

TEST(MusicExport, TheExportHonoursTheMuteOfTheFilesOwnSoundAndItsLevel) {
    MusicStandIn scene;
    MusicEditor& editor = *scene.editor;
    MusicPanel& panel = *editor.panel();
    // The export's parts as the window chains them: the file's own level (through the effect panel's part, here
    // without an effect gain), then the music.
    auto parts = [&editor] {
        const double level = editor.originalSoundLevel();
        const auto music = editor.exportContribution();
        return [level, music](MediaJob& job) {
            const int rc = apiMediaConvertSetMaineAudioVolume(job.handle(), level);
            return rc <= 0 ? rc : music(job);
        };
    };
    editor.actionProgressForProgressSliderBlock(panel.originalVolumeSlider, 0.5f);
    panel.originalVolumeSlider->setProgress(0.5f);
    const std::string dir = MediaFixtures::freshDir("music_mute");
    exportWith(scene.source, parts(), dir + "/half.mp4");
    editor.originalMuteAction();
    EXPECT_EQ(editor.originalSoundLevel(), 0);
    EXPECT_DOUBLE_EQ(scene.player->edits().settings().mainAudioVolume, 0.0);
    exportWith(scene.source, parts(), dir + "/muted.mp4");
    editor.originalMuteAction();
    EXPECT_FLOAT_EQ(editor.originalSoundLevel(), 0.5f);
    // Un-muted, the preview is back at the slider's level.
    EXPECT_DOUBLE_EQ(scene.player->edits().settings().mainAudioVolume, 0.5);

    const DecodedSound half = DecodedSound::of(dir + "/half.mp4");
    const DecodedSound muted = DecodedSound::of(dir + "/muted.mp4");
    EXPECT_NEAR(half.level(1000, 0.5, 3.5) / kTone, 0.5, 0.12);
    EXPECT_LT(muted.level(1000, 0.5, 3.5), 0.005);
}
