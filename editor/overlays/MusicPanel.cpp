#include "MusicPanel.h"

#include "ControlFont.h"
#include "LQCutProgressView.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MOQView.h"
#include "MusicRangeSlider.h"
#include "ResourceBundle.h"
#include "TimeStepper.h"
#include "ViewFrame.h"

#include <QComboBox>
#include <QEvent>
#include <QScrollArea>
#include <QSpinBox>

namespace {

const QColor kFrameColour(214, 212, 212);

LabelField* label(QWidget* parent, const ViewRect& frame, const QString& text, double size = 12) {
    auto* l = new LabelField(parent);
    l->setStringValue(text);
    l->setFont(ControlFont::system(size));
    l->setTextColor(Qt::black);
    ViewFrame::setFrame(l, frame);
    return l;
}

QString localized(const char* key) {
    return ResourceBundle::localizedStringForKey(QString::fromUtf8(key));
}

QImage image(const QString& name) {
    return ResourceBundle::imageWithfileName(name);
}

// A button with the four images base + "_Normal.png", "_On.png", "_Down.png", "_Disable.png".
MOQButton* fourImageButton(QWidget* parent, const ViewRect& frame, const QString& base) {
    auto* b = new MOQButton(frame, parent);
    b->setNormalImage(image(base + "_Normal.png"));
    b->setOnImage(image(base + "_On.png"));
    b->setDownImage(image(base + "_Down.png"));
    b->setDisAbleImage(image(base + "_Disable.png"));
    b->setBordered(false);
    return b;
}

// A toggle with a normal and a selected image (and a disabled one when given).
MOQButton* toggleButton(QWidget* parent, const ViewRect& frame, const QString& normal, const QString& selected,
                        const QString& disabled = {}) {
    auto* b = new MOQButton(frame, parent);
    b->setNormalImage(image(normal));
    b->setSelectedImage(image(selected));
    if (!disabled.isEmpty())
        b->setDisAbleImage(image(disabled));
    b->setBordered(false);
    return b;
}

MOQButton* checkBox(QWidget* parent, const ViewRect& frame, const char* key) {
    MOQButton* b = toggleButton(parent, frame, "Join/CheckBox_NoCheck.bmp", "Join/CheckBox_Checked.bmp");
    b->setContentImagePosition(1);
    b->setContentColor(Qt::black);
    b->setFont(ControlFont::system(12));
    b->setContentTitle("  " + localized(key));
    return b;
}

MOQButton* volumeButton(QWidget* parent, const ViewRect& frame) {
    return toggleButton(parent, frame, "Cut/btnOpenVolume_Normal.png", "Cut/btnCloseVolume_Normal.png",
                        "Cut/btnOpenVolume_Disable.png");
}

MOQButton* markButton(QWidget* parent, const ViewRect& frame, const char* key) {
    auto* b = new MOQButton(frame, parent);
    b->setBordered(false);
    b->setBackGroundColor(Qt::white);
    b->setBordColor(kFrameColour);
    b->setBorderWidth(1);
    b->setCornerRadius(5);
    b->setContentColor(Qt::black);
    b->setFont(ControlFont::system(12));
    b->setContentTitle(localized(key));
    return b;
}

LQTextField* field(QWidget* parent, const ViewRect& frame) {
    auto* f = new LQTextField(frame, parent);
    f->setFrame(false);
    f->setAlignment(Qt::AlignCenter);
    f->setFont(ControlFont::system(11));
    f->setStringValue("00");
    return f;
}

MusicPanel::TimeRow timeRow(QWidget* parent, double y, const QString& title) {
    label(parent, {5, y + 1, 72, 17}, title, 11);
    auto* back = new MOQView({78, y, 130, 19}, parent);
    back->setBordColor(kFrameColour);
    back->setBorderWidth(1);
    back->setCornerRadius(2);
    back->setBackGroundColor(Qt::white);
    MusicPanel::TimeRow row;
    for (int i = 0; i < 4; ++i) {
        row.fields[static_cast<size_t>(i)] = field(parent, {80 + i * 32.0, y + 1, 22, 17});
        if (i < 3)
            label(parent, {102 + i * 32.0, y + 1, 8, 17}, i < 2 ? ":" : ".", 11);
    }
    // As tall as the field frame: the rows lie 20 points apart, and a taller stepper would reach into the next.
    row.stepper = TimeStepper::make(parent, {210, y, 18, 19});
    return row;
}

// Re-lays the right column whenever its host is resized.
class ResizeFollower : public QObject {
public:
    ResizeFollower(QObject* parent, std::function<void()> follow) : QObject(parent), _follow(std::move(follow)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            _follow();
        return false;
    }

private:
    std::function<void()> _follow;
};

} // namespace

MusicPanel::MusicPanel(QWidget* contentHost, const RightColumn& right) : QObject(contentHost) {
    // ---- Left content, laid from the top down.
    const ViewRect hostBounds = ViewFrame::bounds(contentHost);
    musicContentView = new QWidget(contentHost);
    ViewFrame::setFrame(musicContentView, hostBounds);
    QWidget* c = musicContentView;
    const double W = hostBounds.width;
    double top = hostBounds.height;

    loadmusicBtn = new MOQButton({5, top - 31, 120, 26}, c);
    loadmusicBtn->setNormalBackgroundImage(image("About/btnOK_Normal.bmp"));
    loadmusicBtn->setOnBackgroundImage(image("About/btnOK_On.bmp"));
    loadmusicBtn->setDownBackgroundImage(image("About/btnOK_Down.bmp"));
    loadmusicBtn->setDisAbleBackgroundImage(image("About/btnOK_Disable.bmp"));
    loadmusicBtn->setBordered(false);
    loadmusicBtn->setCornerRadius(5);
    loadmusicBtn->setContentColor(Qt::black);
    loadmusicBtn->setFont(ControlFont::system(12));
    loadmusicBtn->setContentTitle(localized("loadmusicBtnTitle"));
    deletedMusicBtn = fourImageButton(c, {130, top - 34, 31, 31}, "SubFun/btnDeleteWaterMark");
    top -= 38;

    const double listHeight = 68;
    musicListBackView = new MOQView({5, top - listHeight, W - 10, listHeight}, c);
    musicListBackView->setBordColor(kFrameColour);
    musicListBackView->setBackGroundColor(Qt::white);
    musicListBackView->setBorderWidth(1);
    musicListBackView->setCornerRadius(4);
    musicListScrollView = new QScrollArea(musicListBackView);
    musicListScrollView->setFrameShape(QFrame::NoFrame);
    musicListScrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    musicListScrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    musicListScrollView->setWidgetResizable(false);
    musicListScrollView->setBackgroundRole(QPalette::Base); // a plain white list, not the window's colour
    ViewFrame::setFrame(musicListScrollView, {0, 0, W - 10, listHeight});
    top -= listHeight + 28;

    musicItemPlayPauseBtn = toggleButton(c, {5, top, 24, 24}, "Join/btnPlay_Normal.png", "Join/btnPause_Normal.png",
                                         "Join/btnPlay_Disable.png");
    musicItemVolueBtn = volumeButton(c, {34, top, 24, 24});
    musicItemVolueSlider = new LQProgressSlider({62, top + 4, W - 110, 17}, c);
    musicItemVoluelabel = label(c, {W - 44, top + 3, 40, 18}, "100%");
    top -= 25;

    repeatMusicBtn = checkBox(c, {5, top, 108, 22}, "Repeat music");
    pruneMusicBtn = checkBox(c, {115, top, W - 118, 22}, "Prune music");
    top -= 4;

    // The selected item's part and times: the prune area above the fade box, which moves up when it is hidden.
    auto* item = new QWidget(c);
    ViewFrame::setFrame(item, {0, top - 170, 233, 170});
    pruneContentView = new QWidget(item);
    ViewFrame::setFrame(pruneContentView, {0, 100, 233, 70});
    pruneRangSlider = new LQCutProgressView({5, 36, 223, 30}, pruneContentView);
    playPruneMusicBtn =
        toggleButton(pruneContentView, {5, 6, 24, 24}, "Join/btnPlay_Normal.png", "Join/btnPause_Normal.png");
    pruneMusicLeftBtn = markButton(pruneContentView, {36, 7, 30, 22}, "【");
    pruneMusicRightBtn = markButton(pruneContentView, {70, 7, 30, 22}, "】");
    pruneRangeMusicLabel = label(pruneContentView, {106, 9, 122, 18}, localized("pruneRangeMusicLabelstringValue"), 11);

    fadeContentView = new QWidget(item);
    ViewFrame::setFrame(fadeContentView, {0, 70, 233, 100});
    fadeInBtn = checkBox(fadeContentView, {5, 80, 108, 20}, "Fade In");
    fadeOutBtn = checkBox(fadeContentView, {115, 80, 113, 20}, "Fade Out");
    post = timeRow(fadeContentView, 60, localized("musicPositionStartLabel"));
    poen = timeRow(fadeContentView, 40, localized("musicPositionEndLabel"));
    prst = timeRow(fadeContentView, 20, localized("musicPruneStartLabel"));
    pren = timeRow(fadeContentView, 0, localized("musicPruneEndLabel"));

    // The file's own sound, along the bottom edge.
    removeOriginalmusicBtn = checkBox(c, {5, 2, W - 10, 22}, "Remove Original music");
    originalVolumeBtn = volumeButton(c, {5, 26, 24, 24});
    originalVolumeSlider = new LQProgressSlider({34, 30, W - 82, 17}, c);
    originalMusicVolumeLabel = label(c, {W - 44, 29, 40, 18}, "100%");
    videooriginalsoundLabel = label(c, {5, 51, W - 10, 18}, localized("videooriginalsoundLabelstringValue"));

    for (MOQButton* b : {pruneMusicLeftBtn, pruneMusicRightBtn, repeatMusicBtn, pruneMusicBtn, fadeInBtn, fadeOutBtn,
                         removeOriginalmusicBtn})
        b->setContentColor(Qt::black);

    // ---- Right column.
    musicRightPlayerView = right.playerView;
    musicRightBottomView = right.bottomView;
    QWidget* bar = musicRightBottomView;
    musicPositionLabel = label(bar, {14, 41, 100, 18}, localized("musicPositionLabelstringValue"));
    musicRangSlider = new MusicRangeSlider({118, 35, 300, 30}, bar);
    mplayer_playOrPauseBtn = toggleButton(bar, {14, 4, 31, 31}, "Join/btnPlay_Normal.png", "Join/btnPause_Normal.png");
    mplayer_stopBtn = fourImageButton(bar, {50, 4, 31, 31}, "Join/btnStop");
    mplayer_coverBtn = fourImageButton(bar, {86, 4, 31, 31}, "Join/btnCapture");
    coverStyleBtn = fourImageButton(bar, {122, 4, 31, 31}, "Join/btnCaptureSet");
    coverStylePopBtn = new QComboBox(bar);
    ViewFrame::setFrame(coverStylePopBtn, {153, 4, 80, 20});
    coverStylePopBtn->setFont(ControlFont::system(14));
    coverStylePopBtn->hide();
    music_voumeBtn =
        toggleButton(bar, {153, 4, 31, 31}, "Cut/btnOpenVolume_Normal.png", "Cut/btnCloseVolume_Normal.png");
    music_volumeSlider = new LQProgressSlider({184, 11, 100, 17}, bar);
    // The picture buttons say what they do.
    const std::pair<MOQButton*, const char*> tips[] = {
        {deletedMusicBtn, "deleteMusicToolTip"},    {musicItemPlayPauseBtn, "playMusicToolTip"},
        {musicItemVolueBtn, "muteMusicToolTip"},    {playPruneMusicBtn, "playMusicToolTip"},
        {pruneMusicLeftBtn, "pruneStartToolTip"},   {pruneMusicRightBtn, "pruneEndToolTip"},
        {originalVolumeBtn, "muteOriginalToolTip"}, {mplayer_playOrPauseBtn, "playPauseToolTip"},
        {mplayer_stopBtn, "stopPreviewToolTip"},    {mplayer_coverBtn, "saveStillToolTip"},
        {coverStyleBtn, "stillFormatToolTip"},      {music_voumeBtn, "previewVolumeToolTip"}};
    for (const auto& [button, key] : tips)
        button->setToolTip(localized(key));
    toolMusicNofileView = right.noFileView;
    toolMusicNofileDescBack = new MOQView({}, toolMusicNofileView);
    toolMusicNofileDescBack->setBackGroundColor(Qt::white);
    for (size_t i = 0; i < toolMusicNofileDescLabels.size(); ++i) {
        toolMusicNofileDescLabels[i] = label(toolMusicNofileDescBack, {}, {}, i == 0 ? 18 : 16);
        toolMusicNofileDescLabels[i]->setWordWrap(true);
    }

    auto* follower = new ResizeFollower(this, [this] { layOutRightView(); });
    musicRightBottomView->installEventFilter(follower);
    toolMusicNofileView->installEventFilter(follower);
    layOutRightView();
    layOutPruneArea(false);
}

void MusicPanel::layOutPruneArea(bool pruneShown) {
    pruneContentView->setVisible(pruneShown);
    pruneRangSlider->setVisible(pruneShown);
    pruneRangeMusicLabel->setVisible(pruneShown);
    ViewRect labelFrame = ViewFrame::frame(musicPositionLabel);
    labelFrame.y = pruneShown ? 54 : 41;
    ViewFrame::setFrame(musicPositionLabel, labelFrame);
    ViewRect sliderFrame = ViewFrame::frame(musicRangSlider);
    sliderFrame.y = pruneShown ? 50 : 35;
    musicRangSlider->setFrame(sliderFrame);
    ViewFrame::setFrame(fadeContentView, pruneShown ? ViewRect{0, 0, 233, 100} : ViewRect{0, 70, 233, 100});
}

void MusicPanel::layOutRightView() {
    const ViewRect bar = ViewFrame::bounds(musicRightBottomView);
    ViewRect slider = ViewFrame::frame(musicRangSlider);
    slider.width = std::max(40.0, bar.width - slider.x - 14);
    musicRangSlider->setFrame(slider);
    const ViewRect hint = ViewFrame::bounds(toolMusicNofileView);
    const double w = hint.width, h = hint.height;
    const double bw = std::min(460.0, std::max(0.0, w - 40));
    // Each step takes the lines its text needs at this width, so a step that wraps pushes the next one down.
    constexpr double kMargin = 12, kGap = 2, kLine = 32;
    std::array<double, std::tuple_size_v<decltype(toolMusicNofileDescLabels)>> heights{};
    double bh = 2 * kMargin;
    for (size_t i = 0; i < heights.size(); ++i) {
        heights[i] = std::max(kLine, double(toolMusicNofileDescLabels[i]->heightForWidth(int(bw - 30))) + 8);
        bh += heights[i] + (i ? kGap : 0);
    }
    ViewFrame::setFrame(toolMusicNofileDescBack, {(w - bw) / 2, (h - bh) / 2, bw, bh});
    double top = bh - kMargin; // y grows upwards: the first step at the top
    for (size_t i = 0; i < heights.size(); ++i) {
        top -= heights[i];
        ViewFrame::setFrame(toolMusicNofileDescLabels[i], {15, top, bw - 30, heights[i]});
        top -= kGap;
    }
}

void MusicPanel::layOutVolumeAfterCoverStyle() {
    const ViewRect style = ViewFrame::frame(coverStyleBtn);
    const double after = coverStylePopBtn->isHidden()
                             ? style.x + style.width
                             : ViewFrame::frame(coverStylePopBtn).x + ViewFrame::frame(coverStylePopBtn).width;
    ViewRect volume = ViewFrame::frame(music_voumeBtn);
    volume.x = after;
    ViewFrame::setFrame(music_voumeBtn, volume);
    ViewRect slider = ViewFrame::frame(music_volumeSlider);
    slider.x = volume.x + volume.width;
    ViewFrame::setFrame(music_volumeSlider, slider);
}
