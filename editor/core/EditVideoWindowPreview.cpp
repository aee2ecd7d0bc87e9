// The editor window's preview player (set-up, play and pause, the follow timer, the seek slider), its still
// frames, closing and the Start action.
#include "EditVideoWindowController.h"

#include "CropRotateEditor.h"
#include "Dispatch.h"
#include "EditExportRun.h"
#include "EffectEditor.h"
#include "HelpClass.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MusicEditor.h"
#include "NSProgressView.h"
#include "PreviewPlayer.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "SubtitleEditor.h"
#include "TrimPanel.h"
#include "ViewFrame.h"
#include "WatermarkEditor.h"
#include "WatermarkJobSink.h"
#include "WatermarkRecordBuilder.h"

#include <QLabel>

#include <utility>

namespace {

QImage image(const QString& name) {
    return ResourceBundle::imageWithfileName(name);
}

} // namespace

const QStringList& EditVideoWindowController::coverStyleCodes() {
    static const QStringList codes{QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("bmp")};
    return codes;
}

void EditVideoWindowController::chooseCoverStyle(int row) {
    // The pop-up shows translated titles; the format is taken from the row, never from the title's text.
    if (row >= 0 && row < coverStyleCodes().size())
        setCoverStyle(coverStyleCodes().at(row));
}

double EditVideoWindowController::duration() const {
    return PreviewPlayer::duration(_lqPlayer.get());
}

double EditVideoWindowController::currentTime() const {
    return PreviewPlayer::currentTime(_lqPlayer.get());
}

void EditVideoWindowController::seekTo(double seconds) {
    if (_lqPlayer)
        _lqPlayer->seekTime(MediaTime::withSeconds(seconds, 1000000000));
}

void EditVideoWindowController::takeDownPlayer() {
    removeTimer();
    _isPlaying = false;
    PreviewPlayer::takeDown(_lqPlayer);
}

void EditVideoWindowController::initPlayer() {
    // The overlays ride on the old player's view: take them off before it goes.
    if (_watermarks && _watermarks->watermarkView() && _lqPlayer &&
        _watermarks->watermarkView()->parentWidget() == _lqPlayer->view())
        _watermarks->watermarkView()->setParent(nullptr);
    takeDownPlayer();
    setPlayButtonLook(false);
    if (!_filePath.isEmpty()) {
        QWidget* host = _toolItemType == ToolItemTypeMusic ? static_cast<QWidget*>(_musicRightPlayerView)
                                                           : static_cast<QWidget*>(_playerView);
        _lqPlayer = std::make_unique<LQMoviePlayer>(_filePath, ViewFrame::bounds(host));
        _lqPlayer->seekTime(MediaTime::make(1, 30));
        QPointer<EditVideoWindowController> self(this);
        _lqPlayer->setPlayerDidEndBlock([self] {
            if (self)
                self->playerDidEnd();
        });
        WatermarkEditor::preparePlayer(*_lqPlayer);
        QWidget* view = _lqPlayer->view();
        view->setParent(host);
        ViewFrame::setFrame(view, ViewFrame::bounds(host));
        view->show();
    }
    // The bar under the player starts again: the seek slider at 0, the trim bar over the whole file, kept.
    if (!_progressSlider) {
        _progressSlider = new LQProgressSlider(ViewRect{120, (36 - 17) / 2.0, 100, 17}, _playerBottomView);
        _progressSlider->setDelegate(this);
        _cutProgressView = new LQCutProgressView(ViewRect{120, (36 - 30) / 2.0, 100, 30}, _playerBottomView);
        _cutProgressView->setDelegate(_trimPanel);
    }
    _progressSlider->setProgress(0);
    _cutProgressView->setIsFanxuan(false);
    _cutProgressView->setLowerValueUpperValue(0, 1);
    _cutProgressView->setProgress(0);
    const bool trim = _trimView && !_trimView->isHidden();
    _progressSlider->setVisible(!trim);
    _cutProgressView->setVisible(trim);
    _currentTimeLabel->setText(HelpClass::returnTimeToStr(0));
    _totalTimeLabel->setText(HelpClass::returnTimeToStr(float(duration())));
}

void EditVideoWindowController::setPlayButtonLook(bool playing) {
    // The trim panel's play button shows pause while the preview plays, whatever started it.
    if (_trimPanel && _trimPanel->playTrimBtn())
        _trimPanel->playTrimBtn()->setSelected(playing);
    MOQButton* button = playOrpauseBtn();
    if (!button)
        return;
    const QString name = playing ? QStringLiteral("Cut/btnPause") : QStringLiteral("Cut/btnPlay");
    button->setOnBackgroundImage(image(name + "_On.png"));
    button->setDownBackgroundImage(image(name + "_Down.png"));
    button->setNormalBackgroundImage(image(name + "_Normal.png"));
    button->setContentTitle(QString());
    button->update();
}

void EditVideoWindowController::play() {
    if (!_lqPlayer)
        return;
    _isPlaying = true;
    const int stream = selectedAudioStreamIndex();
    if (stream >= 0)
        _lqPlayer->SetAudioIndex(stream);
    if (_music) {
        _music->stopMusicPreviewForPlay();
        _music->addDubbingWithPlayer();
    }
    if (_watermarks) {
        _watermarks->refreshPlayerWaterMark(false);
        if (_watermarks->watermarkView())
            _watermarks->watermarkView()->hide();
    }
    addTimer();
    _lqPlayer->DisableMainAudio(_music && _music->removesOriginalSound());
    _lqPlayer->play();
    if (_music)
        _music->mainPreviewPlaying(true);
    setPlayButtonLook(true);
    if (_watermarks) {
        _watermarks->enableWaterChildView(false);
        _watermarks->waterEnAbeld(false);
        _watermarks->enableTransparencySlider(!isRunning());
    }
}

void EditVideoWindowController::pause() {
    if (!_lqPlayer)
        return;
    _isPlaying = false;
    _lqPlayer->pause();
    if (_music)
        _music->mainPreviewPlaying(false);
    if (_watermarks) {
        const bool editable = !isRunning();
        if (_toolItemType == ToolItemTypeWatermark) {
            _watermarks->refreshPlayerWaterMark(true);
            if (_watermarks->watermarkView())
                _watermarks->watermarkView()->show();
        }
        _watermarks->enableWaterChildView(editable && !_watermarks->waterMarkList().isEmpty());
        _watermarks->waterEnAbeld(editable);
    }
    setPlayButtonLook(false);
    removeTimer();
}

void EditVideoWindowController::action_playPauseBtn(MOQButton*) {
    if (_isPlaying)
        pause();
    else
        play();
}

void EditVideoWindowController::changePlayerSlider() {
    if (!_lqPlayer)
        return;
    const double c = currentTime();
    const double d = duration();
    if (d <= c && c > 0)
        removeTimer();
    const float p = d > 0 ? float(c / d) : 0.0f;
    if (_trimView && _trimView->isHidden())
        _progressSlider->setProgress(p);
    else
        _cutProgressView->setProgress(p);
    if (_music && _toolItemType == ToolItemTypeMusic)
        _music->mainPreviewProgress(p);
    _currentTimeLabel->setText(HelpClass::returnTimeToStr(float(c)));
    _totalTimeLabel->setText(HelpClass::returnTimeToStr(float(d)));
}

void EditVideoWindowController::playerDidEnd() {
    pause();
    if (_lqPlayer)
        _lqPlayer->stop();
    applyZeroStopRule();
    const double start = cutTimeRange_start() / 1e6;
    seekTo(start);
    const double d = duration();
    if (d > 0)
        _progressSlider->setProgress(float(start / d));
    if (_music)
        _music->mainPreviewEnded();
}

// ---- The seek slider and the trim bar's playhead ----

void EditVideoWindowController::actionMouseDownForProgressSliderBlock(LQProgressSlider*, float) {
    // A press holds the picture still; _isPlaying remembers whether to go on at the release.
    if (_lqPlayer)
        _lqPlayer->pause();
    removeTimer();
}

void EditVideoWindowController::actionProgressForProgressSliderBlock(LQProgressSlider*, float progress) {
    seekWhileDragging(progress);
}

void EditVideoWindowController::actionMouseUpForProgressSliderBlock(LQProgressSlider*, float) {
    if (_isPlaying && _lqPlayer) {
        // The same rule as play: the file's own sound stays off while "Remove Original music" is ticked.
        _lqPlayer->DisableMainAudio(_music && _music->removesOriginalSound());
        _lqPlayer->play();
        addTimer();
    }
}

void EditVideoWindowController::seekWhileDragging(float progress) {
    if (!_lqPlayer)
        return;
    const float t = float(progress * duration());
    _lqPlayer->seekTime(MediaTime::withSeconds(t, 600));
    _currentTimeLabel->setText(HelpClass::returnTimeToStr(t));
}

void EditVideoWindowController::watermarkHoldPreview() {
    actionMouseDownForProgressSliderBlock(nullptr, 0);
}

void EditVideoWindowController::watermarkResumePreview() {
    actionMouseUpForProgressSliderBlock(nullptr, 0);
}

// ---- What the trim panel asks of the preview ----

void EditVideoWindowController::trimSeek(double seconds) {
    seekTo(seconds);
    _currentTimeLabel->setText(HelpClass::returnTimeToStr(float(seconds)));
    const double d = duration();
    if (d > 0)
        _progressSlider->setProgress(float(seconds / d));
}

void EditVideoWindowController::trimPlay() {
    _isPlaying = false;
    play();
}

void EditVideoWindowController::trimHoldPlayer() {
    if (_lqPlayer)
        _lqPlayer->pause();
    removeTimer();
}

void EditVideoWindowController::trimPlayPause() {
    if (_lqPlayer)
        _lqPlayer->pause();
    action_playPauseBtn(playOrpauseBtn());
}

LQCutProgressView* EditVideoWindowController::trimBar() const {
    return _fileData ? _cutProgressView : nullptr;
}

void EditVideoWindowController::trimAlert(const QString& key) {
    showSimpleAlert(ResourceBundle::localizedStringForKey(key), 2);
}

// ---- Still frames, closing, export ----

QString EditVideoWindowController::actionCarameraBtn() {
    if (!_fileData || !_lqPlayer)
        return {};
    const int w = int(_videoSize.width);
    const int h = int(_videoSize.height);
    LQMoviePlayer* player = _lqPlayer.get();
    return saveSnapshot(w, h, [player](int* width, int* height, unsigned char* buffer) {
        if (player->Snapshot(width, height, buffer) != 1)
            *width = *height = 0; // nothing shown: nothing is written
    });
}

void EditVideoWindowController::stopPlayers() {
    // Closing stops and lets go of the preview whether it plays or not, and of the music preview.
    takeDownPlayer();
    if (_music)
        _music->stopPlayers();
}

void EditVideoWindowController::musicStopPreview() {
    pause();
    if (_lqPlayer)
        _lqPlayer->stop();
}

double EditVideoWindowController::effectMainAudioLevel() const {
    return _music ? _music->dubbing().originalSoundLevel : 1.0;
}

void EditVideoWindowController::musicSaveStillFrame() {
    const qsizetype row = coverStyleCodes().indexOf(_music->coverStyle());
    chooseCoverStyle(row >= 0 ? int(row) : 0);
    actionCarameraBtn();
}

EditExportSettings EditVideoWindowController::exportSettings() {
    EditExportSettings settings;
    settings.takeFile(*_fileData, _audiochanelPopBtn->currentIndex());
    settings.readStoredOutputChoices();
    settings.outputFolder = outputPath();
    settings.keepAspectRatio = _keepAspectratio;
    settings.totalRotation = _crop->playerRotateAngle() + _fileData->sourceData()->angle();
    _trimPanel->takeTrim(settings);
    return settings;
}

EditExportContributions EditVideoWindowController::exportContributions() const {
    EditExportContributions parts;
    parts.geometry = _crop->exportContribution();
    if (_watermarks && !_watermarks->waterMarkList().isEmpty()) {
        // The watermarks as they are now, whole (times and ticks included): later edits reach the next export.
        WaterMarkList list;
        for (const std::shared_ptr<WaterParam>& mark : _watermarks->waterMarkList()) {
            std::shared_ptr<WaterParam> copy = mark->copy();
            copy->setSelected(mark->selected());
            copy->setIsVideo(mark->isVideo());
            copy->setKeepaspectRatio(mark->keepaspectRatio());
            copy->setFileDuration(mark->fileDuration());
            copy->setFileStartTime(mark->fileStartTime());
            copy->setFileEndTime(mark->fileEndTime());
            copy->setStartTime(mark->startTime());
            copy->setDuration(mark->duration());
            list.append(copy);
        }
        const WatermarkGeometry geometry = _watermarks->geometry();
        QPointer<EditVideoWindowController> self(const_cast<EditVideoWindowController*>(this));
        parts.watermarks = [list, geometry, self](MediaJob& job) {
            WatermarkJobSink sink(static_cast<CONVERT_HANDLE>(job.handle()));
            const WatermarkRecordBuilder::Sent sent = WatermarkRecordBuilder::send(list, -1, false, geometry, sink);
            if (sent.refusalKeys.isEmpty())
                return 1;
            if (self)
                self->_failureKey = sent.refusalKeys.first();
            return -1;
        };
    }
    if (_effects)
        parts.effects = _effects->exportContribution();
    if (_subtitles)
        parts.subtitles = _subtitles->exportContribution();
    if (_music) {
        // Music that cannot be added has its own message rather than the engine's code.
        QPointer<EditVideoWindowController> self(const_cast<EditVideoWindowController*>(this));
        parts.music = [music = _music->exportContribution(), self](MediaJob& job) {
            const int code = music(job);
            if (code <= 0 && self)
                self->_failureKey = QStringLiteral("showmessageTime7");
            return code;
        };
    }
    return parts;
}

void EditVideoWindowController::exportFailed(int code) {
    // A part of the export that knows what went wrong says so; anything else shows the engine's code.
    const QString key = std::exchange(_failureKey, QString());
    showSimpleAlert(key.isEmpty() ? QStringLiteral("error:%1").arg(code) : ResourceBundle::localizedStringForKey(key),
                    2);
}

void EditVideoWindowController::startExportAction(MOQButton*) {
    if (isRunning()) {
        cancelRun();
        _exportProgressView->setProgress(0);
        return;
    }
    if (!_fileData) {
        showSimpleAlert(ResourceBundle::localizedStringForKey(QStringLiteral("StartWithoutFileMessage")), 2);
        return;
    }
    if (_isPlaying)
        pause();
    _exportProgressView->setProgress(0);
    _failureKey.clear();
    QPointer<EditVideoWindowController> self(this);
    auto finish = [self](bool) {
        if (self)
            self->_exportProgressView->setProgress(0);
    };
    _exportStarting = true;
    bool started = false;
    if (buildExportSteps) {
        std::vector<JobStep> steps = buildExportSteps();
        started = !steps.empty() && startRun(std::move(steps), finish);
    } else {
        std::vector<ExportContribution> parts = exportContributions().ordered();
        // The effect panel's volume multiplies the level of the file's own sound that the music's part sets.
        if (_effects)
            parts.push_back(_effects->volumeContribution());
        started = _exportRun->start(exportSettings(), parts, finish);
    }
    _exportStarting = false;
    if (!started || !isRunning())
        enableEdit(true); // a run that did not start, or ended while it was set up, leaves the window usable
}

void EditVideoWindowController::jobProgress(int step, double percent) {
    _exportProgressView->setProgress(_exportRun && _exportRun->isRunning() ? _exportRun->progress(step, percent)
                                                                           : float(percent / 100.0));
}
