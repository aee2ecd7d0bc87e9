#include "ClipPreviewBar.h"

#include "ClipTimes.h"
#include "ControlFont.h"
#include "Dispatch.h"
#include "EngineSnapshot.h"
#include "FeatureWindowController.h"
#include "HelpClass.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "Later.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "PreviewButtons.h"
#include "PreviewPlayer.h"
#include "RepeatingTimer.h"
#include "ResourceBundle.h"
#include "SimpleData.h"
#include "ViewFrame.h"

#include <QComboBox>
#include <QLabel>

#include <algorithm>

namespace {

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

void setFourImages(MOQButton* b, const QString& base) {
    b->setOnImage(ResourceBundle::imageWithfileName(base + QStringLiteral("_On.png")));
    b->setDownImage(ResourceBundle::imageWithfileName(base + QStringLiteral("_Down.png")));
    b->setNormalImage(ResourceBundle::imageWithfileName(base + QStringLiteral("_Normal.png")));
    b->setDisAbleImage(ResourceBundle::imageWithfileName(base + QStringLiteral("_Disable.png")));
    b->setBordered(false);
    b->update();
}

QString timeText(double seconds) {
    const ClipTimes::Fields f = ClipTimes::split(float(seconds));
    return HelpClass::retrnTimeToStr(f.hours, f.minutes, f.seconds, f.hundredths);
}

constexpr double kVolumeX = 304; // the mute button, the volume slider after it
constexpr double kChooserX = 302;
constexpr double kChooserMinWidth = 62;

} // namespace

ClipPreviewBar::ClipPreviewBar(Variant variant, ClipSelection clips, FeatureWindowController& window,
                               MOQImageView* playerView, QWidget* barHost, LQCutProgressView* cutProgressView)
    : QObject(&window), _variant(variant), _clips(std::move(clips)), _window(window), _playerView(playerView),
      _cutProgressView(cutProgressView) {
    _leftTimeLabel = new QLabel(barHost);
    ViewFrame::setFrame(_leftTimeLabel, ViewRect{0, 8, 80, 20});
    _rightTimeLabel = new QLabel(barHost);
    ViewFrame::setFrame(_rightTimeLabel, ViewRect{460, 8, 80, 20});
    _rightTimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* label : {_leftTimeLabel, _rightTimeLabel}) {
        label->setFont(ControlFont::system(12));
        label->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    }

    _playBtn = PreviewButtons::playPause(ViewRect{84, 2, 32, 32}, barHost);
    _playBtn->setMouseDownAction(later(this, &ClipPreviewBar::playPauseAction));

    _stopBtn = PreviewButtons::stop(ViewRect{120, 2, 32, 32}, barHost);
    _stopBtn->setMouseDownAction(later(this, &ClipPreviewBar::stop));

    _startCutTimeBtn = new MOQButton(ViewRect{164, 4, 30, 28}, barHost);
    _stopCutTimeBtn = new MOQButton(ViewRect{198, 4, 30, 28}, barHost);
    for (auto [button, key] : {std::pair{_startCutTimeBtn, "["}, std::pair{_stopCutTimeBtn, "]"}}) {
        button->setContentColor(QColor(0, 0, 0));
        button->setContentTitle(localized(QString::fromLatin1(key)));
        button->setFont(ControlFont::system(15));
        button->setBackGroundColor(QColor(231, 231, 231));
        button->setBordColor(QColor(188, 189, 189));
        button->setBorderWidth(1);
        button->setCornerRadius(4);
        button->setBordered(false);
    }
    QPointer<ClipPreviewBar> self(this);
    _startCutTimeBtn->setMouseDownAction([self](MOQButton*) {
        Dispatch::main([self] {
            if (self && self->startTrimPressed)
                self->startTrimPressed();
        });
    });
    _stopCutTimeBtn->setMouseDownAction([self](MOQButton*) {
        Dispatch::main([self] {
            if (self && self->stopTrimPressed)
                self->stopTrimPressed();
        });
    });

    _cutCoverBtn = new MOQButton(ViewRect{236, 2, 32, 32}, barHost);
    setFourImages(_cutCoverBtn, QStringLiteral("Join/btnCapture"));
    _cutCoverBtn->setMouseDownAction([self](MOQButton*) {
        Dispatch::main([self] {
            if (self)
                self->actionCarameraBtn();
        });
    });
    _cutcoverStyleBtn = new MOQButton(ViewRect{268, 2, 32, 32}, barHost); // as wide as its round picture
    setFourImages(_cutcoverStyleBtn, QStringLiteral("Join/btnCaptureSet"));
    _cutcoverStyleBtn->setMouseDownAction(later(this, &ClipPreviewBar::coverStyleButtonAction));

    _coverStylePopBtn = new QComboBox(barHost);
    ViewFrame::setFrame(_coverStylePopBtn, ViewRect{kChooserX, 7, kChooserMinWidth, 22});
    _coverStylePopBtn->setFont(ControlFont::system(12));
    for (const char* key : {"png", "jpg", "bmp"}) {
        const QString title = localized(QString::fromLatin1(key)).remove(QLatin1Char('"'));
        if (!title.isEmpty())
            _coverStylePopBtn->addItem(title);
    }
    _coverStylePopBtn->hide();
    connect(_coverStylePopBtn, &QComboBox::activated, this, [this](int index) { coverstyleAction(index); });

    _volumeBtn = new MOQButton(ViewRect{kVolumeX, 2, 32, 32}, barHost);
    setMuteImages(false);
    _volumeBtn->setState(0);
    // The mute button acts at once.
    _volumeBtn->setMouseDownAction([self](MOQButton*) {
        if (self)
            self->muteAction();
    });
    _volumeSlider = new LQProgressSlider(ViewRect{kVolumeX + 36, 10, 100, 16}, barHost);
    _volumeSlider->setProgress(0.5f);
    setToolTips();
    resetLabels();
}

void ClipPreviewBar::setToolTips() {
    // The buttons show only a picture (or a bracket): each says what it does.
    const char* stop = _variant == Variant::Joiner ? "clipStopTooltip" : "clipPauseTooltip";
    for (auto [button, key] :
         {std::pair{_playBtn, "clipPlayTooltip"}, std::pair{_stopBtn, stop},
          std::pair{_cutCoverBtn, "clipStillFrameTooltip"}, std::pair{_cutcoverStyleBtn, "clipStillFormatTooltip"},
          std::pair{_volumeBtn, "clipMuteTooltip"}, std::pair{_startCutTimeBtn, "clipStartAtPlayheadTooltip"},
          std::pair{_stopCutTimeBtn, "clipEndAtPlayheadTooltip"}})
        button->setToolTip(localized(QString::fromLatin1(key)));
}

ClipPreviewBar::~ClipPreviewBar() {
    // The window (and with it the bar's controls) may be gone already: only the tick and the player go here.
    removeTimer();
    if (_lqPlayer)
        _lqPlayer->stop();
    _lqPlayer.reset();
}

// ---- Binding a clip ----

void ClipPreviewBar::takeDownPlayer() {
    _isPlaying = false;
    removeTimer();
    if (_playBtn)
        _playBtn->setSelected(false);
    PreviewPlayer::takeDown(_lqPlayer);
}

void ClipPreviewBar::initPlayer() {
    takeDownPlayer();
    ++_bindSerial;
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    if (_clips.isEmpty() || !clip)
        return;
    if (!clip->path().isEmpty()) {
        _lqPlayer = std::make_unique<LQMoviePlayer>(clip->path(), ViewFrame::bounds(_playerView));
        _lqPlayer->SetVolume(clip->volume());
        _lqPlayer->seekTime(MediaTime::make(1, 30));
        QPointer<ClipPreviewBar> self(this);
        const int serial = _bindSerial;
        _lqPlayer->setPlayerDidEndBlock([self, serial, clip] {
            // Only the player of the clip bound now may move the controls.
            if (self && self->_bindSerial == serial)
                self->playerDidEnd(clip);
        });
        QWidget* view = _lqPlayer->view();
        view->setParent(_playerView);
        ViewFrame::setFrame(view, ViewFrame::bounds(_playerView));
        view->show();
    }
    const double d = duration();
    if (clip->cutTimeRange_stop() == 0) {
        clip->setCutTimeRange_stop(ClipTimes::microseconds(d));
        clip->setCutTimeRange_start(0);
    }
    _leftTimeLabel->setText(HelpClass::returnTimeToStr(0));
    _rightTimeLabel->setText(HelpClass::returnTimeToStr(float(d)));

    const double probed = double(clip->sourceData()->duration()) * 1000000.0;
    const float lower = probed > 0 ? float(double(clip->cutTimeRange_start()) / probed) : 0.0f;
    const float upper = probed > 0 ? float(double(clip->cutTimeRange_stop()) / probed) : 1.0f;
    const float startSec = float(double(clip->cutTimeRange_start()) / 1000000.0);
    const float stopSec = float(double(clip->cutTimeRange_stop()) / 1000000.0);
    _cutProgressView->setProgress(d > 0 ? float(startSec / d) : 0.0f);
    _cutProgressView->setLowerValueUpperValue(lower, upper);
    // The clip keeps its range fitted to the player's duration (a probe may see a file a little longer or shorter).
    // Rounded, in double: binding the same clip again leaves its range exactly as it was.
    if (d > 0 && probed > 0) {
        const double scale = d * 1000000.0 / probed;
        clip->setCutTimeRange_start(qRound64(double(clip->cutTimeRange_start()) * scale));
        clip->setCutTimeRange_stop(qRound64(double(clip->cutTimeRange_stop()) * scale));
    } else if (d > 0) {
        clip->setCutTimeRange_start(0);
        clip->setCutTimeRange_stop(qRound64(d * 1000000.0));
    }
    seekTo(startSec);
    if (clipBound)
        clipBound(clip, startSec, stopSec);
}

void ClipPreviewBar::playerDidEnd(const std::shared_ptr<SimpleData>& clip) {
    pause();
    const double d = duration();
    if (clip->cutTimeRange_stop() == 0) {
        clip->setCutTimeRange_stop(ClipTimes::microseconds(d));
        clip->setCutTimeRange_start(0);
    }
    const float start = float(double(clip->cutTimeRange_start()) / 1000000.0);
    seekTo(start);
    _cutProgressView->setProgress(d > 0 ? float(start / d) : 0.0f);
}

// ---- Play, pause, stop and the tick ----

void ClipPreviewBar::play() {
    if (!_lqPlayer)
        return;
    _isPlaying = true;
    _lqPlayer->play();
    addTimer();
    _playBtn->setSelected(true);
}

void ClipPreviewBar::pause() {
    if (!_lqPlayer)
        return;
    _isPlaying = false;
    _lqPlayer->pause();
    removeTimer();
    _playBtn->setSelected(false);
}

void ClipPreviewBar::stop() {
    if (_variant == Variant::BatchCutter) {
        pause();
        return;
    }
    if (!_lqPlayer)
        return;
    _isPlaying = false;
    _lqPlayer->stop();
    _lqPlayer->seekTime(MediaTime::zero());
    removeTimer();
    _playBtn->setSelected(false);
}

void ClipPreviewBar::playPauseAction() {
    if (!_lqPlayer)
        return;
    if (!_isPlaying)
        play();
    else
        pause();
}

void ClipPreviewBar::addTimer() {
    removeTimer();
    QPointer<ClipPreviewBar> self(this);
    _timer = RepeatingTimer::schedule(0.1, [self] {
        if (self)
            self->changePlayerSlider();
    });
}

void ClipPreviewBar::removeTimer() {
    _timer.reset();
}

void ClipPreviewBar::changePlayerSlider() {
    const double now = currentTime();
    const double d = duration();
    if (now >= d && now > 0)
        removeTimer();
    _cutProgressView->setProgress(d > 0 ? float(now / d) : 0.0f);
    _leftTimeLabel->setText(timeText(now));
    _rightTimeLabel->setText(timeText(d));
}

double ClipPreviewBar::duration() const {
    return PreviewPlayer::duration(_lqPlayer.get());
}

double ClipPreviewBar::currentTime() const {
    return PreviewPlayer::currentTime(_lqPlayer.get());
}

void ClipPreviewBar::seekTo(double seconds) {
    if (!_lqPlayer)
        return;
    _lqPlayer->seekTime(MediaTime::withSeconds(seconds, 1000000000));
    // While playing the tick moves the label; paused, it shows where the seek went.
    if (!_isPlaying)
        _leftTimeLabel->setText(timeText(std::clamp(seconds, 0.0, std::max(0.0, duration()))));
}

void ClipPreviewBar::setPlayerVolume(double gain) {
    if (_lqPlayer)
        _lqPlayer->SetVolume(gain);
}

// ---- Mute, still frames ----

bool ClipPreviewBar::muted() const {
    return _volumeBtn->state() == 1;
}

void ClipPreviewBar::setMuteImages(bool muted) {
    setFourImages(_volumeBtn, muted ? QStringLiteral("Cut/btnCloseVolume") : QStringLiteral("Cut/btnOpenVolume"));
}

void ClipPreviewBar::muteAction() {
    if (_variant == Variant::BatchCutter && _clips.isEmpty())
        return;
    if (muted()) {
        // Sound comes back at the clip's own volume, which mute never changed.
        const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
        const double volume = clip ? clip->volume() : 1.0;
        setMuteImages(false);
        setPlayerVolume(volume);
        _volumeSlider->setProgress(float(volume / 2.0));
        _volumeBtn->setState(0);
    } else {
        setMuteImages(true);
        setPlayerVolume(0);
        _volumeSlider->setProgress(0);
        _volumeBtn->setState(1);
    }
}

void ClipPreviewBar::placeVolume(bool chooserShown) {
    // The row has no room for the chooser beside the volume controls without squeezing the slider or covering the
    // total time: while the chooser is open it stands in their place, as wide as its texts need.
    _volumeBtn->setVisible(!chooserShown);
    _volumeSlider->setVisible(!chooserShown);
    if (!chooserShown)
        return;
    const ViewRect chooser = ViewFrame::frame(_coverStylePopBtn);
    const double room = ViewFrame::frame(_rightTimeLabel).x - 4 - kChooserX;
    const double width = std::min(room, std::max(kChooserMinWidth, double(_coverStylePopBtn->sizeHint().width())));
    ViewFrame::setFrame(_coverStylePopBtn, {kChooserX, chooser.y, width, chooser.height});
}

void ClipPreviewBar::coverStyleButtonAction() {
    if (!_lqPlayer)
        return;
    const bool show = _coverStylePopBtn->isHidden();
    _coverStylePopBtn->setVisible(show);
    placeVolume(show);
}

void ClipPreviewBar::coverstyleAction(int index) {
    _window.setCoverStyle(_coverStylePopBtn->itemText(index));
    _coverStylePopBtn->hide();
    placeVolume(false);
    _coverStylePopBtn->setCurrentIndex(index);
}

QString ClipPreviewBar::actionCarameraBtn() {
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    if (_clips.isEmpty() || !clip || !_lqPlayer)
        return {};
    const ViewSize size = EngineSnapshot::getVideoSizeForTrack(clip->path());
    // A clip without a picture has no frame to save.
    if (int(size.width) <= 0 || int(size.height) <= 0)
        return {};
    LQMoviePlayer* player = _lqPlayer.get();
    return _window.saveSnapshot(int(size.width), int(size.height),
                                [player](int* w, int* h, unsigned char* buffer) { player->Snapshot(w, h, buffer); });
}

// ---- Enabling ----

void ClipPreviewBar::setControlsEnabled(bool enabled) {
    for (MOQButton* b : {_playBtn, _stopBtn, _cutCoverBtn, _cutcoverStyleBtn, _startCutTimeBtn, _stopCutTimeBtn})
        b->setEnabled(enabled);
}

void ClipPreviewBar::setVolumeEnabled(bool enabled) {
    _volumeSlider->setDisable(!enabled);
}

void ClipPreviewBar::resetLabels() {
    _leftTimeLabel->setText(HelpClass::returnTimeToStr(0));
    _rightTimeLabel->setText(HelpClass::returnTimeToStr(0));
}
