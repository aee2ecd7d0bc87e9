#pragma once

#include "CropRotateEditor.h"
#include "CropRotateHost.h"
#include "LQMoviePlayer.h"
#include "ViewFrame.h"
#include "libMediaCore.h"
#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <QImage>
#include <QTransform>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

// Clips of the crop and rotation tests, made once with the ffmpeg program.
namespace CropClips {
// 2 s, stored 320 x 240 in four plain quarters (red top-left, green top-right, blue bottom-left, white
// bottom-right), turned by its display matrix as a phone stores a portrait recording.
inline std::string phone() {
    const std::string flat = MediaFixtures::make(
        "crop_quarters.mp4",
        "-f lavfi -i color=c=red:s=160x120:r=25:d=2 -f lavfi -i color=c=0x00ff00:s=160x120:r=25:d=2 "
        "-f lavfi -i color=c=blue:s=160x120:r=25:d=2 -f lavfi -i color=c=white:s=160x120:r=25:d=2 "
        "-filter_complex \"[0][1]hstack[t];[2][3]hstack[b];[t][b]vstack\" -c:v libx264 -preset ultrafast "
        "-pix_fmt yuv420p -g 10");
    return MediaFixtures::make("crop_quarters_phone.mp4",
                               "-i " + MediaFixtures::quote(flat) + " -map 0 -c copy -metadata:s:v:0 rotate=90");
}

// The engine's view of a file's picture: its stored size and its own clockwise rotation.
struct StreamPicture {
    int width = 0, height = 0, angle = 0;
};
inline StreamPicture streamPicture(const std::string& path) {
    StreamPicture p;
    CONVERT_HANDLE probe = apiMediaConvertCreate();
    if (apiMediaConvertSetInputMedia(probe, path.c_str()) > 0) {
        int count = 1;
        VIDEO_STREAM_INFO info{};
        if (apiMediaConvertGetVideoStreamInfo(probe, &count, &info) > 0 && count > 0) {
            p.width = info.width;
            p.height = info.height;
            p.angle = info.angle;
        }
    }
    apiMediaConvertClose(probe);
    return p;
}

// A frame decoded by the ffmpeg program (upright) as a picture.
inline QImage ffmpegFrame(const std::string& path, double seconds) {
    int w = 0, h = 0;
    const std::vector<unsigned char> rgb = ffmpegFrameRgb(path, seconds, &w, &h);
    if (rgb.empty())
        return {};
    return QImage(rgb.data(), w, h, w * 3, QImage::Format_RGB888).copy();
}

// What the editor's picture edits make of an upright picture: mirrored first, then turned clockwise, then cut by
// the margins (left, top, right, bottom).
inline QImage edited(const QImage& upright, int hFlip, int vFlip, int angle, const RECT& m) {
    QImage turned = upright.mirrored(hFlip != 0, vFlip != 0).transformed(QTransform().rotate(angle));
    return turned.copy(m.left, m.top, turned.width() - m.left - m.right, turned.height() - m.top - m.bottom);
}

// Mean absolute difference of the colour channels of two pictures of the same size (255 when they differ).
inline double meanDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull())
        return 255;
    const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(p[i] - q[i]);
    }
    return sum / (x.width() * x.height() * 3.0);
}
} // namespace CropClips

// The editor's crop and rotate modes as a person sees them: the panels' host at the left and a real preview player
// on a clip in a 480 x 360 view at the right.
class CropStandIn : public CropRotateHost {
public:
    explicit CropStandIn(const std::string& clip = CropClips::phone()) : source(clip) {
        window = std::make_unique<QWidget>();
        window->setWindowTitle("Crop");
        window->resize(820, 560);
        left = new QWidget(window.get());
        ViewFrame::setFrame(left, {0, 0, 310, 560});
        playerHost = new QWidget(window.get());
        playerHost->setStyleSheet("background: black");
        ViewFrame::setFrame(playerHost, {320, 100, 480, 360});
        open(clip);
        editor = std::make_unique<CropRotateEditor>(*this);
        cropHost = new QWidget(left);
        ViewFrame::setFrame(cropHost, {5, 5, 300, 550});
        adjustHost = new QWidget(left);
        ViewFrame::setFrame(adjustHost, {5, 5, 300, 550});
        adjustHost->hide();
        editor->initCropView(cropHost);
        editor->initAdjustView(adjustHost);
    }
    void open(const std::string& clip) {
        source = clip;
        const CropClips::StreamPicture p = CropClips::streamPicture(clip);
        const QImage upright = CropClips::ffmpegFrame(clip, 0);
        uprightSize = {double(upright.width()), double(upright.height())};
        angle = p.angle;
        player = std::make_unique<LQMoviePlayer>(QString::fromStdString(clip), ViewRect{0, 0, 480, 360});
        player->view()->setParent(playerHost);
        ViewFrame::setFrame(player->view(), {0, 0, 480, 360});
        player->view()->show();
    }
    LQMoviePlayer* cropPlayer() const override { return player.get(); }
    QWidget* cropPlayerView() const override { return player ? player->view() : nullptr; }
    ViewSize cropSourceSize() const override { return uprightSize; }
    int cropSourceAngle() const override { return angle; }
    bool cropPreviewPlaying() const override { return false; }
    void cropPictureChanged(PictureChange change, const ViewRect& rect, const ViewSize& size) override {
        changes.push_back(change);
        lastRect = rect;
        lastSize = size;
    }

    std::string source;
    std::unique_ptr<QWidget> window;
    QWidget* left;
    QWidget* cropHost;
    QWidget* adjustHost;
    QWidget* playerHost;
    std::unique_ptr<LQMoviePlayer> player;
    ViewSize uprightSize;
    int angle = 0;
    std::vector<PictureChange> changes;
    ViewRect lastRect;
    ViewSize lastSize;
    std::unique_ptr<CropRotateEditor> editor; // last: goes first, with its overlay in the player's view
};
