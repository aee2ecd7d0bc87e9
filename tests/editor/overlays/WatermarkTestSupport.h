#pragma once

#include "EditorPreviewStandIn.h"
#include "LQMoviePlayer.h"
#include "ViewFrame.h"
#include "WatermarkEditor.h"
#include "WatermarkHost.h"
#include "libMediaCore.h"
#include "support/MediaFixtures.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// Clips and pictures of the watermark tests, made once with the ffmpeg program.
namespace WatermarkClips {
// 4 s, 320 x 240, plain grey, with sound.
inline std::string grey() {
    return MediaFixtures::make("wm_grey_4s.mp4", "-f lavfi -i color=c=gray:s=320x240:r=25:d=4 -f lavfi -i sine=d=4 "
                                                 "-c:v libx264 -pix_fmt yuv420p -c:a aac -shortest");
}
// 64 x 48 red picture.
inline std::string red() {
    return MediaFixtures::make("wm_red.png", "-f lavfi -i color=c=red:s=64x48 -frames:v 1");
}
// 2 s, 160 x 120, plain green.
inline std::string green() {
    return MediaFixtures::make("wm_green_2s.mp4",
                               "-f lavfi -i color=c=green:s=160x120:r=25:d=2 -c:v libx264 -pix_fmt yuv420p");
}
} // namespace WatermarkClips

// The editor's watermark mode as a person sees it: the panel's host at the left, a real preview player on the
// grey clip in a 480 x 360 view at the right (picture 320 x 240).
class EditorStandIn : public EditorPreviewStandIn, public WatermarkHost {
public:
    EditorStandIn() : EditorPreviewStandIn(WatermarkClips::grey()) {
        window->setWindowTitle("Watermark");
        WatermarkEditor::preparePlayer(*player);
    }
    LQMoviePlayer* watermarkPlayer() const override { return player.get(); }
    QWidget* watermarkPlayerView() const override { return player->view(); }
    ViewSize watermarkVideoSize() const override { return {320, 240}; }
    bool watermarkPreviewPlaying() const override { return false; }
    void watermarkAlert(const QString& key) override { alerts.append(key); }
    QWidget* watermarkWindow() const override { return window.get(); }
    ViewRect watermarkCropRect() const override { return crop; }

    ViewRect crop; // pixels of the picture; empty: no crop
};

// Colours of an R, G, B picture (top row first) near the plain colours of the clips.
struct Rgb {
    const std::vector<unsigned char>& bytes;
    int width;
    int height = 240;
    const unsigned char* at(int x, int y) const { return bytes.data() + (static_cast<size_t>(y) * width + x) * 3; }
    bool red(int x, int y) const { return at(x, y)[0] > 200 && at(x, y)[1] < 70 && at(x, y)[2] < 70; }
    bool green(int x, int y) const { return at(x, y)[1] > 100 && at(x, y)[0] < 50 && at(x, y)[2] < 50; }
    bool grey(int x, int y) const {
        return std::abs(at(x, y)[0] - 128) < 20 && std::abs(at(x, y)[1] - 128) < 20 && std::abs(at(x, y)[2] - 128) < 20;
    }
    // Yellow pixels inside a box (pixels, top-left origin).
    int yellowIn(const RECT& r) const {
        int n = 0;
        for (int y = std::max(0, r.top); y < std::min(height, r.bottom); ++y)
            for (int x = std::max(0, r.left); x < std::min(width, r.right); ++x)
                n += at(x, y)[0] > 180 && at(x, y)[1] > 180 && at(x, y)[2] < 90;
        return n;
    }
};
