// The editor window's source file: the Add action, the probe off the main thread and the binding of a new file.
#include "EditVideoWindowController.h"

#include "CropRotateEditor.h"
#include "Dispatch.h"
#include "EditExportSettings.h"
#include "EffectEditor.h"
#include "HelpClass.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "MOQButton.h"
#include "MediaProbe.h"
#include "MusicEditor.h"
#include "OutputFormatBrowser.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "SubtitleEditor.h"
#include "TrimPanel.h"
#include "WatermarkEditor.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>

#include <cmath>

namespace {

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

// The audio-track pop-up's title of one stream.
QString trackTitle(const AudioStreamInfo& track) {
    if (!track.title().isEmpty())
        return QStringLiteral("%1(%2 %3)").arg(track.title()).arg(track.channel()).arg(track.sample());
    if (!track.lang().isEmpty() || !track.psect().isEmpty())
        return QStringLiteral("%1 %2(%3 %4)").arg(track.lang(), track.psect()).arg(track.channel()).arg(track.sample());
    return QStringLiteral("%1(%2 %3)").arg(track.codec()).arg(track.channel()).arg(track.sample());
}

} // namespace

void EditVideoWindowController::addfileAction(MOQButton*) {
    if (isRunning())
        return;
    // One file is edited at a time: further files chosen are named as not opened.
    const QString path = chooseSourceFile();
    if (path.isEmpty())
        return;
    loadFile(path);
}

void EditVideoWindowController::loadFile(const QString& path) {
    // The probe opens the file, reads its streams and takes a thumbnail: off the main thread, so a slow or large
    // file never holds the window. It fills a record of its own; only the newest request is applied.
    const int request = ++_probeSerial;
    _probing = true;
    qCInfo(lcShell).noquote() << QStringLiteral("fileName:%1").arg(path);
    QPointer<EditVideoWindowController> self(this);
    Dispatch::background([self, path, request] {
        std::shared_ptr<SimpleData> record = MediaProbe::getVideoInfomation(path, MediaProbe::Variant::Editor);
        Dispatch::main([self, path, request, record] {
            if (!self || request != self->_probeSerial)
                return;
            self->_probing = false;
            self->fileProbed(path, record);
        });
    });
}

void EditVideoWindowController::fileProbed(const QString& path, const std::shared_ptr<SimpleData>& record) {
    // A file that cannot be used changes nothing: the window keeps its file and its settings and says why.
    if (!record) {
        showSimpleAlert(localized(QStringLiteral("nonsupportfilesstringValue")) + QFileInfo(path).fileName(), 2);
        return;
    }
    if (record->sourceData()->width() < 1 || record->sourceData()->height() < 1) {
        showSimpleAlert(localized(QStringLiteral("Pleaseselectedvideo'sfilestring")), 2);
        return;
    }
    if (isRunning())
        return; // an export started meanwhile works on the file it was started with

    _filePath = path;
    _scrLabel->setText(path);
    _scrLabel->setStyleSheet(QStringLiteral("color: rgb(33, 176, 235); background: transparent;"));
    _fileData = record;
    // The format strip starts again for the new file, and the record's target follows the stored choices.
    _browser->actionFunctionItem(nullptr);
    _outputSelection.readStoredTitles();
    _outputSelection.refreshTarget(*_fileData, OutputSelection::TargetAllFields);

    // A new file starts with the whole file kept; the panels start afresh.
    _trimPanel->resetFields();
    if (_watermarks)
        _watermarks->emptyList();
    refreshPlayerView();
    if (_effects)
        _effects->resetForNewFile();
    if (_subtitles)
        _subtitles->resetForNewFile();
    if (_music)
        _music->sourceFileAdded();

    for (MOQButton* button : _toolButtons)
        button->setEnabled(true);
    _progressSlider->setDisable(false);
    enableEdit(true);
    enterMode(_toolItemType);
}

void EditVideoWindowController::refreshPlayerView() {
    qCInfo(lcShell, "%s", "-[EditVideoWindowController refreshPlayerView]");
    SimpleData& data = *_fileData;
    // The edit state that carries over to a new file (rotation, mirroring, keep-aspect); colour and volume start
    // again. The crop starts over the whole picture.
    data.setConvertRateAngle(_crop->playerRotateAngle());
    data.setKeepAspectratio(_keepAspectratio);
    data.setHFlip(_crop->hFlip());
    data.setVFlip(_crop->vFlip());
    data.setBrightness(0);
    data.setContrast(0);
    data.setSaturation(0);
    data.setVolume(1.0);
    data.setIsTrimFanxuan(false);
    data.setCutTimeRange_start(qint64(cutTimeRange_start()));
    data.setCutTimeRange_stop(qint64(cutTimeRange_stop()));
    _brightness = _contrast = _saturation = 0;
    _volume = 1.0;

    const FileData& source = *data.sourceData();
    _videoSize = EditorLayout::videoSize(source.width(), source.height(), source.angle(), _crop->playerRotateAngle());

    initPlayer();
    // A fresh crop overlay over the whole picture, on the new player's view.
    _crop->initPlayerCliper();
    data.setClipRect(_crop->editVideoClipRect());
    data.setConvertCropSize(_crop->convertCropSize());
    if (_watermarks)
        _watermarks->initWatermarkView();
    _cutProgressView->setIsFanxuan(false);
    _cutProgressView->setDelegate(_trimPanel);
    _trimPanel->setCutTimeRange(data.cutTimeRange_start(), data.cutTimeRange_stop());
    _trimPanel->setTrimInverted(false);

    const double d = duration();
    if (d > 0)
        _cutProgressView->setLowerValueUpperValue(float((cutTimeRange_start() / 1e6) / d),
                                                  float((cutTimeRange_stop() / 1e6) / d));
    refreshTimeLabels();
    if (_watermarks)
        _watermarks->refreshWaterTime();

    _crop->applyToPlayer(*_lqPlayer);
    _lqPlayer->SetVolume(_volume);
    _lqPlayer->SetBCS(_brightness, _contrast, _saturation);
    seekTo(cutTimeRange_start() / 1e6);
    const float position = d > 0 ? float((cutTimeRange_start() / 1e6) / d) : 0.0f;
    if (_cutProgressView->isHidden())
        _progressSlider->setProgress(position);
    else
        _cutProgressView->setProgress(position);
    fillAudioTracks();
}

void EditVideoWindowController::fillAudioTracks() {
    _audiochanelPopBtn->clear();
    for (const std::shared_ptr<AudioStreamInfo>& track : *_fileData->audioStreamInfos())
        _audiochanelPopBtn->addItem(trackTitle(*track));
}

int EditVideoWindowController::selectedAudioStreamIndex() const {
    // Always a stream of the file: the pop-up's row names a track, never a stream number itself.
    if (!_fileData)
        return -1;
    return EditExportSettings::audioStreamIndexFor(*_fileData->audioStreamInfos(), _audiochanelPopBtn->currentIndex())
        .value_or(-1);
}

void EditVideoWindowController::refreshTimeLabels() {
    _currentTimeLabel->setText(HelpClass::returnTimeToStr(float(currentTime())));
    _totalTimeLabel->setText(HelpClass::returnTimeToStr(float(duration())));
}

void EditVideoWindowController::applyZeroStopRule() {
    if (cutTimeRange_stop() == 0)
        _trimPanel->setCutTimeRange(0, 0);
}

double EditVideoWindowController::cutTimeRange_start() const {
    return _trimPanel ? _trimPanel->cutTimeRange_start() : 0.0;
}

double EditVideoWindowController::cutTimeRange_stop() const {
    return _trimPanel ? _trimPanel->cutTimeRange_stop() : 0.0;
}
