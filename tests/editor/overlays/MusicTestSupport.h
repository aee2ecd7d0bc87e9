#pragma once

#include "LQMoviePlayer.h"
#include "MusicEditor.h"
#include "MusicHost.h"
#include "ViewFrame.h"
#include "support/MediaFixtures.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// Clips of the music tests, made once with the ffmpeg program.
namespace MusicClips {
// 4 s, 64 x 48 grey picture with a 1000 Hz tone as its own sound.
inline std::string source() {
    return MediaFixtures::make("music_src_4s.mp4", "-f lavfi -i color=c=gray:s=64x48:r=10:d=4 "
                                                   "-f lavfi -i sine=f=1000:d=4 -c:v libx264 -pix_fmt yuv420p "
                                                   "-c:a aac -shortest");
}
// 1.5 s of 440 Hz.
inline std::string tone440() {
    return MediaFixtures::make("music_440_1500ms.wav", "-f lavfi -i sine=f=440:d=1.5");
}
// 3 s of 2000 Hz.
inline std::string tone2000() {
    return MediaFixtures::make("music_2000_3s.flac", "-f lavfi -i sine=f=2000:d=3 -c:a flac");
}
// 6 s of 660 Hz: longer than the source.
inline std::string tone660Long() {
    return MediaFixtures::make("music_660_6s.wav", "-f lavfi -i sine=f=660:d=6");
}
} // namespace MusicClips

// The editor's music mode with a real main player on the source clip; the panels fill two hosts of a plain window.
class MusicStandIn : public MusicHost {
public:
    MusicStandIn() : source(MusicClips::source()) {
        window = std::make_unique<QWidget>();
        window->setWindowTitle("Music");
        window->resize(900, 560);
        left = new QWidget(window.get());
        ViewFrame::setFrame(left, {8, 60, 240, 480});
        right = new QWidget(window.get());
        ViewFrame::setFrame(right, {253, 60, 636, 480});
        playerView = new QWidget(right);
        ViewFrame::setFrame(playerView, {14, 90, 610, 390});
        bottomView = new QWidget(right);
        ViewFrame::setFrame(bottomView, {0, 0, 636, 91});
        noFileView = new QWidget(right);
        ViewFrame::setFrame(noFileView, {0, 0, 636, 480});
        player = std::make_unique<LQMoviePlayer>(QString::fromStdString(source), ViewRect{0, 0, 610, 390});
        editor = std::make_unique<MusicEditor>(*this);
        editor->initMusicView(left, playerView, bottomView, noFileView);
        player->view()->setParent(playerView);
        ViewFrame::setFrame(player->view(), ViewFrame::bounds(playerView));
        editor->sourceFileAdded();
        editor->enableEdit(true);
    }
    ~MusicStandIn() override {
        editor.reset();
        player.reset();
    }
    LQMoviePlayer* musicMainPlayer() const override { return player.get(); }
    bool musicPreviewPlaying() const override { return playing; }
    void musicPlayPreview() override {
        playing = true;
        editor->stopMusicPreviewForPlay();
        editor->addDubbingWithPlayer();
        player->play();
    }
    void musicPausePreview() override {
        playing = false;
        player->pause();
    }
    void musicStopPreview() override {
        playing = false;
        player->stop();
    }
    void musicSaveStillFrame() override { ++stills; }
    void musicAlert(const QString& key) override { alerts.append(key); }
    QWidget* musicWindow() const override { return window.get(); }

    std::string source;
    std::unique_ptr<QWidget> window;
    QWidget* left;
    QWidget* right;
    QWidget* playerView;
    QWidget* bottomView;
    QWidget* noFileView;
    std::unique_ptr<LQMoviePlayer> player;
    std::unique_ptr<MusicEditor> editor;
    bool playing = false;
    int stills = 0;
    QStringList alerts;
};

// The sound of a file as the ffmpeg program decodes it: mono, 16 kHz, 16-bit.
struct DecodedSound {
    static constexpr int kRate = 16000;
    std::vector<int16_t> samples;

    static DecodedSound of(const std::string& path) {
        DecodedSound sound;
        const std::string pcm = path + ".pcm";
        if (MediaFixtures::run("ffmpeg -v error -y -i " + MediaFixtures::quote(path) +
                               " -vn -ac 1 -ar 16000 -f s16le " + MediaFixtures::quote(pcm)) != 0)
            return sound;
        std::ifstream in(pcm, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        sound.samples.resize(bytes.size() / 2);
        std::memcpy(sound.samples.data(), bytes.data(), sound.samples.size() * 2);
        return sound;
    }

    double seconds() const { return static_cast<double>(samples.size()) / kRate; }

    // The amplitude (0..1 of full scale) of one frequency over [from, to) seconds (Goertzel).
    double level(double frequency, double from, double to) const {
        const size_t a = static_cast<size_t>(std::max(0.0, from) * kRate);
        const size_t b = std::min(samples.size(), static_cast<size_t>(to * kRate));
        if (b <= a)
            return 0;
        const double w = 2 * M_PI * frequency / kRate;
        const double coefficient = 2 * std::cos(w);
        double s1 = 0, s2 = 0;
        for (size_t i = a; i < b; ++i) {
            const double s = samples[i] / 32768.0 + coefficient * s1 - s2;
            s2 = s1;
            s1 = s;
        }
        const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        return 2 * std::sqrt(std::max(0.0, power)) / static_cast<double>(b - a);
    }
};
