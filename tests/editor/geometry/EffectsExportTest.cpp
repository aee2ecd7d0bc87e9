#include "EffectEditor.h"
#include "EffectPanel.h"
#include "EffectTableCellView.h"
#include "EffectsTestSupport.h"
#include "EngineConversionJob.h"
#include "LQMoviePlayer.h"
#include "PlayerTestSupport.h"
#include "ShellTestEnvironment.h"
#include "SubtitleEditor.h"
#include "SubtitleFontList.h"
#include "SubtitleParam.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QSlider>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <thread>

namespace {

struct Pixels {
    const std::vector<unsigned char>& rgb;
    int width;
    const unsigned char* at(int x, int y) const { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
    double luma(int x, int y) const { return 0.299 * at(x, y)[0] + 0.587 * at(x, y)[1] + 0.114 * at(x, y)[2]; }
    bool grey(int x, int y) const {
        const unsigned char* p = at(x, y);
        return std::abs(p[0] - p[1]) < 8 && std::abs(p[1] - p[2]) < 8;
    }
    // Pixels inside [x0, x1) x [y0, y1) that differ from (bx, by) by more than 60 in some channel.
    int differing(int x0, int y0, int x1, int y1, int bx, int by) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                for (int c = 0; c < 3; ++c)
                    if (std::abs(at(x, y)[c] - at(bx, by)[c]) > 60) {
                        ++n;
                        break;
                    }
        return n;
    }
};

int runJob(const std::string& source, const std::string& out, const std::vector<std::function<int(MediaJob&)>>& parts) {
    auto job = EngineConversionJob::create();
    if (!job || job->setInputMedia(QString::fromStdString(source)) <= 0)
        return -1;
    for (const auto& part : parts)
        if (int rc = part(*job); rc <= 0)
            return rc;
    if (apiMediaConvertSetVideoBitrate(job->handle(), 4000) <= 0 || job->setOutputPath(QString::fromStdString(out)) <= 0)
        return -1;
    int started = 0;
    std::thread worker([&] { started = job->start(); });
    worker.join();
    job->close();
    return started;
}

} // namespace

TEST(EffectsExport, AnEffectBrightnessASubtitleAndTheVolumeAreWrittenAsThePreviewShowsThem) {
    ShellTestEnvironment environment;
    EffectsStandIn host;
    EffectEditor effects(host);
    SubtitleEditor subtitles(host);
    effects.setEffectTypes({{"Gray", 1}});
    effects.initEffectView(host.left);
    effects.enableEdit(true);
    subtitles.fontFiles = [] { return QStringList{SubtitleFontList::fallbackFontFile()}; };
    subtitles.initSubtitleView(host.left);
    subtitles.resetForNewFile();
    subtitles.enableEdit(true);

    effects.chooseEffect(0);
    effects.effectView()->_brightnessSlider->setValue(60);
    effects.effectView()->_volueSlider->setValue(500); // half the gain: about 6 dB quieter
    ASSERT_TRUE(subtitles.loadSubtitleFile(QString::fromStdString(EffectClips::srt())));
    subtitles.changeSubtitleColor(QColor(255, 255, 0));
    host.mainLevel = 1.0;

    // Start: the parts are taken now; later edits do not reach the running export.
    const std::vector<std::function<int(MediaJob&)>> parts = {effects.exportContribution(),
                                                               subtitles.exportContribution(),
                                                               effects.volumeContribution()};
    const SubtitleSettings exported = subtitles.settings();
    effects.chooseEffect(0);
    effects.effectView()->_brightnessSlider->setValue(-60);
    effects.effectView()->_volueSlider->setValue(2000);
    subtitles.changeSubtitleColor(QColor(0, 0, 255));

    const std::string out = MediaFixtures::freshDir("fx_export") + "/effects.mp4";
    ASSERT_GT(runJob(host.source, out, parts), 0);
    ASSERT_TRUE(ffmpegDecodesCleanly(out));

    int w = 0, h = 0;
    const std::vector<unsigned char> frame = ffmpegFrameRgb(out, 1.0, &w, &h);
    ASSERT_EQ(w, 320);
    ASSERT_EQ(h, 240);
    const std::vector<unsigned char> plainFrame = ffmpegFrameRgb(host.source, 1.0, &w, &h);
    const Pixels written{frame, 320}, plain{plainFrame, 320};
    // Gray: no colour left; brightness: lighter than the source.
    EXPECT_TRUE(written.grey(20, 20));
    EXPECT_FALSE(plain.grey(20, 20));
    EXPECT_GT(written.luma(20, 20), plain.luma(20, 20) + 25);
    // The subtitle: yellow letters at the bottom centre, nothing above them.
    const int inText = written.differing(40, 170, 280, 236, 20, 20);
    EXPECT_GT(inText, 150);
    EXPECT_EQ(written.differing(40, 40, 280, 140, 20, 20), 0);
    int yellow = 0;
    for (int y = 170; y < 236; ++y)
        for (int x = 40; x < 280; ++x)
            yellow += written.at(x, y)[0] > 180 && written.at(x, y)[1] > 180 && written.at(x, y)[2] < 100;
    EXPECT_GT(yellow, 50);

    // The volume: half the gain of the file's own sound.
    const double sourceVolume = ffmpegMeanVolume(host.source), writtenVolume = ffmpegMeanVolume(out);
    ASSERT_TRUE(std::isfinite(sourceVolume));
    EXPECT_NEAR(writtenVolume, sourceVolume - 6.02, 1.0);

    // The paused preview with the same settings shows the same picture.
    effects.actionEffectReset();
    effects.chooseEffect(0);
    effects.effectView()->_brightnessSlider->setValue(60);
    host.player->SetSubtitle(*exported.record());
    host.player->seekTime(MediaTime::withSeconds(1.0, 1000));
    ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*host.player));
    const std::vector<uint8_t> shown = PlayerTestSupport::snapshot(*host.player, 320, 240);
    ASSERT_FALSE(shown.empty());
    EXPECT_LT(PlayerTestSupport::meanDifferenceToRgb(shown, frame), 4.0);
    std::vector<unsigned char> shownRgb;
    for (size_t i = 0; i + 3 < shown.size(); i += 4)
        shownRgb.insert(shownRgb.end(), {shown[i + 2], shown[i + 1], shown[i]});
    const Pixels preview{shownRgb, 320};
    EXPECT_NEAR(preview.differing(40, 170, 280, 236, 20, 20), inText, inText / 5);
    EXPECT_EQ(preview.differing(40, 40, 280, 140, 20, 20), 0);
}

TEST(EffectsExport, TheVolumeMultipliesTheMainLevel) {
    struct Case {
        double gain;
        double level;
    };
    const std::string source = EffectClips::tinted();
    const double sourceVolume = ffmpegMeanVolume(source);
    for (const Case& c : {Case{2.0, 0.5}, Case{0.5, 0.5}}) {
        SCOPED_TRACE(c.gain);
        EffectSettings settings;
        settings.volume = c.gain;
        const std::string out = MediaFixtures::freshDir("fx_volume") + "/v.mp4";
        // The music's part sets the main level first; the panel's volume multiplies it afterwards.
        const auto music = [](MediaJob& job) { return apiMediaConvertSetMaineAudioVolume(job.handle(), 1.0); };
        const auto level = [&](MediaJob& job) { return settings.applyLevelTo(job.handle(), c.level); };
        ASSERT_GT(runJob(source, out, {music, level}), 0);
        EXPECT_NEAR(ffmpegMeanVolume(out), sourceVolume + 20 * std::log10(c.gain * c.level), 1.0);
    }
}
