#pragma once

#include "EditorPreviewStandIn.h"
#include "EffectHost.h"
#include "LQMoviePlayer.h"
#include "SubtitleHost.h"
#include "ViewFrame.h"
#include "support/MediaFixtures.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>

// Clips and subtitle files of the effect and subtitle tests, made once.
namespace EffectClips {
// 4 s, 320 x 240, a plain blue-grey picture (R 48, G 96, B 160) with a 440 Hz tone.
inline std::string tinted() {
    return MediaFixtures::make("fx_tinted_4s.mp4", "-f lavfi -i color=c=0x3060A0:s=320x240:r=25:d=4 "
                                                   "-f lavfi -i sine=f=440:d=4 -c:v libx264 -pix_fmt yuv420p "
                                                   "-c:a aac -shortest");
}

// Writes a text file into the fixture folder (once per name) and gives its path.
// Written whole under a temporary name and then renamed: test programs running side by side write the same
// files, and none of them may read one half written.
inline std::string textFile(const std::string& name, const QByteArray& contents) {
    const std::string path = MediaFixtures::dir() + "/" + name;
    QSaveFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(contents);
        file.commit();
    }
    return path;
}

// One cue over the whole clip, big capitals.
inline std::string srt() {
    return textFile("fx_whole.srt", "1\n00:00:00,000 --> 00:00:04,000\nHELLO WORLD\n\n");
}
inline std::string ass() {
    return textFile("fx_whole.ass", "[Script Info]\nScriptType: v4.00+\nPlayResX: 320\nPlayResY: 240\n\n"
                                    "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, Alignment\n"
                                    "Style: Default,DejaVu Sans,30,&H0000FFFF,2\n\n"
                                    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, "
                                    "Effect, Text\n"
                                    "Dialogue: 0,0:00:00.00,0:00:04.00,Default,,0,0,0,,HELLO, SCRIPT\n");
}
inline std::string broken() {
    return textFile("fx_broken.srt", "this is no subtitle\nat all\n");
}
} // namespace EffectClips

// The editor as the two panels see it, on the tinted clip (picture 320 x 240).
class EffectsStandIn : public EditorPreviewStandIn, public EffectHost, public SubtitleHost {
public:
    explicit EffectsStandIn(bool withPlayer = true) : EditorPreviewStandIn(EffectClips::tinted(), withPlayer) {}
    LQMoviePlayer* effectPlayer() const override { return player.get(); }
    bool effectPreviewPlaying() const override { return playing; }
    double effectMainAudioLevel() const override { return mainLevel; }
    LQMoviePlayer* subtitlePlayer() const override { return player.get(); }
    bool subtitlePreviewPlaying() const override { return playing; }
    ViewSize subtitleVideoSize() const override { return videoSize; }
    bool subtitleFileOpen() const override { return player != nullptr; }
    void subtitleAlert(const QString& key) override { alerts.append(key); }
    QWidget* subtitleWindow() const override { return window.get(); }

    bool playing = false;
    double mainLevel = 1.0;
    ViewSize videoSize{320, 240};
};
