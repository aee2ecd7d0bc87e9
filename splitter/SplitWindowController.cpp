#include "SplitWindowController.h"

#include "ControlFont.h"
#include "CountStepper.h"
#include "Dispatch.h"
#include "HelpClass.h"
#include "ImageLayerView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "Later.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MakeLabel.h"
#include "NSProgressView.h"
#include "PreviewButtons.h"
#include "PreviewPlayer.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "SplitPlan.h"
#include "SplitProgressView.h"
#include "ViewFrame.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

constexpr int kWindowWidth = 880;
constexpr int kWindowHeight = 600;

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

QImage image(const QString& name) {
    return ResourceBundle::imageWithfileName(name);
}

// The point buttons' scheme: one picture for normal and hover, one for pressed and selected, one disabled.
MOQButton* pointButton(QWidget* parent, const ViewRect& frame, const QString& name) {
    auto* button = new MOQButton(frame, parent);
    const QImage normal = image(QStringLiteral("Split/%1_1.bmp").arg(name));
    const QImage down = image(QStringLiteral("Split/%1_3.bmp").arg(name));
    button->setNormalImage(normal);
    button->setOnImage(normal);
    button->setDownImage(down);
    button->setSelectedImage(down);
    button->setDisAbleImage(image(QStringLiteral("Split/%1_4.bmp").arg(name)));
    button->setBordered(false);
    button->setHidden(true);
    return button;
}

} // namespace

SplitWindowController::SplitWindowController(QObject* parent) : FeatureWindowController(parent) {}

SplitWindowController::SplitWindowController(MediaJobFactory& factory, QObject* parent)
    : FeatureWindowController(factory, parent) {}

SplitWindowController::~SplitWindowController() {
    if (_volumeSlider)
        _volumeSlider->setDelegate(nullptr);
    takeDownPlayer();
}

QString SplitWindowController::finishedMessageKey() const {
    return QStringLiteral("Splitfinishedstring");
}

QWidget* SplitWindowController::nofileBackView() const {
    return _nofileBackView;
}

// ---- Set-up ----

void SplitWindowController::windowDidLoad() {
    setUpFrame();
    QWidget* content = window();
    content->resize(kWindowWidth, kWindowHeight);
    _contentBackGroundView = new MOQImageView(ViewRect{10, 60, 860, 530}, content);
    _contentBackGroundView->setBackGroundColor(QColor(245, 245, 245));
    _contentBackGroundView->setBordColor(QColor(245, 245, 245));
    _contentBackGroundView->setCornerRadius(5);
    _contentBackGroundView->setBorderWidth(2);
    buildSource(_contentBackGroundView);
    buildPreview(_contentBackGroundView);
    buildModes(_contentBackGroundView);
    buildBottom(content);
    _outputPopBtn = installOutputPopUp(content, ViewRect{110, 16, 230, 28});
    hiddenPlayerView(true);
    enableEdit(false);
}

void SplitWindowController::buildSource(QWidget* panel) {
    _contentLeftView = new MOQImageView(ViewRect{8, 8, 574, 514}, panel);
    _contentRightView = new MOQImageView(ViewRect{590, 8, 262, 514}, panel);
    _contentRightView->setBackGroundColor(QColor(235, 238, 241));
    _contentRightView->setCornerRadius(5);

    _scrLabel = makeLabel(panel, ViewRect{12, 494, 440, 20}, QString());
    _scrLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The placeholder stands in while no file is loaded.
    _scrLabel->setProperty("placeholder", localized(QStringLiteral("scrlabelplaceholderString")));
    _scrLabel->setText(localized(QStringLiteral("scrlabelplaceholderString")));
    _scrLabel->setStyleSheet(QStringLiteral("color: gray; background: transparent;"));
    _addfileBtn = new MOQButton(ViewRect{462, 490, 110, 28}, panel);
    _addfileBtn->setBackGroundColor(QColor(90, 216, 238));
    _addfileBtn->setBordColor(QColor(90, 216, 238));
    _addfileBtn->setNormalBackgroundImage(image("About/btnAddFile_Normal.bmp"));
    _addfileBtn->setOnBackgroundImage(image("About/btnAddFile_On.bmp"));
    _addfileBtn->setDownBackgroundImage(image("About/btnAddFile_Down.bmp"));
    _addfileBtn->setDisAbleBackgroundImage(image("About/btnAddFile_Disable.bmp"));
    _addfileBtn->setContentTitle(localized(QStringLiteral("AddFileBtnTitle")));
    _addfileBtn->setContentColor(Qt::white);
    _addfileBtn->setFont(ControlFont::system(13));
    _addfileBtn->setCornerRadius(3);
    _addfileBtn->setBorderWidth(0);
    _addfileBtn->setBordered(false);
    _addfileBtn->setMouseDownAction(later(this, &SplitWindowController::addFileAction));

    _sourceInformationLabel = makeLabel(panel, ViewRect{604, 490, 240, 22},
                                        localized(QStringLiteral("sourceInformationLabelStringVlaue")), 15);
    QFont heading = ControlFont::system(15);
    heading.setBold(true);
    _sourceInformationLabel->setFont(heading);
    _resolutionLabel =
        makeLabel(panel, ViewRect{604, 464, 90, 18}, localized(QStringLiteral("resolutionLabelStringValue")));
    _resolutionValueLabel = makeLabel(panel, ViewRect{696, 464, 150, 18}, QString());
    _resoucefilesizeLabel =
        makeLabel(panel, ViewRect{604, 442, 90, 18}, localized(QStringLiteral("FileSizeLabelStringValue")));
    _resoucefilesizeValueLabel = makeLabel(panel, ViewRect{696, 442, 150, 18},
                                           QStringLiteral("0.0 ") + localized(QStringLiteral("MBValue")).trimmed());
    _resouceTotaltimeLabel =
        makeLabel(panel, ViewRect{604, 420, 90, 18}, localized(QStringLiteral("TotalTimeLabelStringValue")));
    _resouceTotaltimeValueLabel = makeLabel(panel, ViewRect{696, 420, 150, 18}, QStringLiteral("00:00:00.000"));
}

void SplitWindowController::buildPreview(QWidget* panel) {
    _playerView = new MOQImageView(ViewRect{12, 160, 566, 324}, panel);
    _playerView->setBackGroundColor(Qt::black);

    _nofileBackView = new MOQImageView(ViewRect{12, 160, 566, 324}, panel);
    _nofileBackView->setBordColor(QColor(214, 212, 212));
    _nofileBackView->setCornerRadius(5);
    _nofileBackView->setBorderWidth(2);
    _gettingstartedLabel = makeLabel(_nofileBackView, ViewRect{30, 250, 500, 34},
                                     localized(QStringLiteral("splitdescLabelstringValue")), 22);
    for (int i = 0; i < 4; ++i) {
        _descLabels[size_t(i)] = makeLabel(_nofileBackView, ViewRect{40, 196 - i * 44.0, 516, 40},
                                           localized(QStringLiteral("splitdescLabel%1stringValue").arg(i + 1)), 15);
        _descLabels[size_t(i)]->setWordWrap(true);
    }

    _playerSlider = new SplitProgressView(ViewRect{12, 112, 566, 44}, panel);
    _playerSlider->setDisable(true);
    _playerSlider->setHiddenTick(true);
    _playerSlider->setProgress(0);
    wireTimeline();

    _playBtn = PreviewButtons::playPause(ViewRect{12, 76, 31, 31}, panel);
    QPointer<SplitWindowController> self(this);
    _playBtn->setMouseDownAction([self](MOQButton* b) {
        b->setSelected(!b->selected());
        Dispatch::main([self] {
            if (self)
                self->playButtonAction();
        });
    });
    _pauseBtn = PreviewButtons::stop(ViewRect{50, 76, 31, 31}, panel);
    _pauseBtn->setMouseDownAction(later(this, &SplitWindowController::stopAction));
    _playBtn->setToolTip(localized(QStringLiteral("SplitTipPlay")));
    _pauseBtn->setToolTip(localized(QStringLiteral("SplitTipStop")));
    _playerCurrentTimeLabel = makeLabel(panel, ViewRect{92, 82, 84, 18}, HelpClass::returnTimeToStr(0));
    _totalTimeLabel = makeLabel(panel, ViewRect{176, 82, 120, 18}, QString());

    _volumeBtn = new MOQButton(ViewRect{420, 76, 31, 31}, panel);
    _volumeBtn->setNormalImage(image("Cut/btnOpenVolume_Normal.png"));
    _volumeBtn->setOnImage(image("Cut/btnOpenVolume_On.png"));
    _volumeBtn->setDownImage(image("Cut/btnOpenVolume_Down.png"));
    _volumeBtn->setSelectedImage(image("Cut/btnCloseVolume_Down.png"));
    _volumeBtn->setDisAbleImage(image("Cut/btnOpenVolume_Disable.png"));
    _volumeBtn->setBordered(false);
    _volumeBtn->setMouseDownAction(later(this, &SplitWindowController::muteAction));
    _volumeBtn->setToolTip(localized(QStringLiteral("SplitTipMute")));
    _volumeSlider = new LQProgressSlider(ViewRect{456, 82, 118, 20}, panel);
    _volumeSlider->setDelegate(&_volumeDelegate);
    _volumeSlider->setProgress(0);
    _volumeSlider->setDisable(true);

    _splitItemBtn = pointButton(panel, ViewRect{12, 30, 31, 31}, QStringLiteral("btnHandSplit"));
    _splitItemBtn->setMouseDownAction(later(this, &SplitWindowController::addSplitPointAction));
    _leftMoveBtn = pointButton(panel, ViewRect{50, 30, 31, 31}, QStringLiteral("btnLastPoint"));
    _leftMoveBtn->setMouseDownAction(later(this, &SplitWindowController::previousPointAction));
    _rightMoveBtn = pointButton(panel, ViewRect{88, 30, 31, 31}, QStringLiteral("btnNextPoint"));
    _rightMoveBtn->setMouseDownAction(later(this, &SplitWindowController::nextPointAction));
    _deletedItemBtn = pointButton(panel, ViewRect{126, 30, 31, 31}, QStringLiteral("btnRemovePoint"));
    _deletedItemBtn->setMouseDownAction(later(this, &SplitWindowController::deletePointAction));
    _splitItemBtn->setToolTip(localized(QStringLiteral("SplitTipAddPoint")));
    _leftMoveBtn->setToolTip(localized(QStringLiteral("SplitTipPreviousPoint")));
    _rightMoveBtn->setToolTip(localized(QStringLiteral("SplitTipNextPoint")));
    _deletedItemBtn->setToolTip(localized(QStringLiteral("SplitTipDeletePoint")));
    _splitTimeCaption = makeLabel(panel, ViewRect{176, 36, 70, 18}, localized(QStringLiteral("splitPointLabelTitle")));
    _splitTimeLabel = makeLabel(panel, ViewRect{248, 36, 100, 18}, HelpClass::returnTimeToStr(0));
}

void SplitWindowController::buildModes(QWidget* panel) {
    auto radio = [panel](const ViewRect& frame, const QString& key) {
        auto* button = new QRadioButton(localized(key), panel);
        ViewFrame::setFrame(button, frame);
        button->setAutoExclusive(false);
        button->setFont(ControlFont::system(13));
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    auto popUp = [panel](const ViewRect& frame, const QStringList& values, const QString& unitKey) {
        auto* box = new QComboBox(panel);
        ViewFrame::setFrame(box, frame);
        box->setFont(ControlFont::system(13));
        for (const QString& value : values)
            box->addItem(value + localized(unitKey));
        box->addItem(localized(QStringLiteral("CustomStringValue")));
        box->setEnabled(false);
        return box;
    };
    QPointer<SplitWindowController> self(this);
    auto onMain = [self](void (SplitWindowController::*action)()) {
        return [self, action] {
            Dispatch::main([self, action] {
                if (self)
                    (self.data()->*action)();
            });
        };
    };

    _split_timeBtn = radio(ViewRect{604, 376, 244, 22}, QStringLiteral("splitByTimeTitle"));
    _split_timepopBtn = popUp(ViewRect{626, 348, 152, 25}, {"5", "10", "20", "30", "60"}, QStringLiteral("SecsValue"));
    _split_sizeBtn = radio(ViewRect{604, 310, 244, 22}, QStringLiteral("splitBySizeTitle"));
    _split_sizepopBtn =
        popUp(ViewRect{626, 282, 152, 25}, {"1", "2", "3", "5", "8", "10", "20"}, QStringLiteral("MBValue"));
    _split_averageBtn = radio(ViewRect{604, 244, 244, 22}, QStringLiteral("splitByAverageTitle"));
    _averageTextField = new QLineEdit(panel);
    ViewFrame::setFrame(_averageTextField, ViewRect{626, 214, 70, 26});
    _averageTextField->setFont(ControlFont::system(13));
    _averagestepper = new CountStepper(ViewRect{698, 214, 18, 26}, 1, SplitPlan::kMaxPieces, panel);
    _averagestepper->setIntegerValue(2);
    _averageTextField->setText(QString::number(_averagestepper->integerValue()));
    _averageTextField->setEnabled(false);
    _averagestepper->setEnabled(false);
    _split_manuallyBtn = radio(ViewRect{604, 176, 244, 22}, QStringLiteral("splitManuallyTitle"));
    _manualHintLabel = makeLabel(panel, ViewRect{626, 132, 220, 40}, localized(QStringLiteral("splitManuallyHint")), 11,
                                 QStringLiteral("dimgray"));
    _manualHintLabel->setWordWrap(true);
    _sizeHintLabel = makeLabel(panel, ViewRect{626, 132, 220, 40}, localized(QStringLiteral("splitBySizeHint")), 11,
                               QStringLiteral("dimgray"));
    _sizeHintLabel->setWordWrap(true);
    _sizeHintLabel->setHidden(true);

    connect(_split_timeBtn, &QRadioButton::clicked, this, onMain(&SplitWindowController::limiteachTimeSegmentAction));
    connect(_split_sizeBtn, &QRadioButton::clicked, this,
            onMain(&SplitWindowController::limiteachFilesizeSegmentAction));
    connect(_split_averageBtn, &QRadioButton::clicked, this,
            onMain(&SplitWindowController::limiteachAverageSegmentAction));
    connect(_split_manuallyBtn, &QRadioButton::clicked, this,
            onMain(&SplitWindowController::limiteachManuallySegmentAction));
    connect(_split_timepopBtn, QOverload<int>::of(&QComboBox::activated), this, [this](int) { split_timepopAction(); });
    connect(_split_sizepopBtn, QOverload<int>::of(&QComboBox::activated), this, [this](int) { split_sizepopAction(); });
    connect(_averageTextField, &QLineEdit::textEdited, this, [this](const QString&) { controlTextDidChange(); });
    _averagestepper->setAction([this](CountStepper*) { averagesplitStepperAction(); });
    _averagestepper->setToolTip(localized(QStringLiteral("SplitTipCount")));

    _splitBtn = new MOQButton(ViewRect{626, 30, 152, 34}, panel);
    _splitBtn->setBordered(false);
    _splitBtn->setBackGroundColor(QColor(33, 176, 235));
    _splitBtn->setDisAblebackGroundColor(QColor(221, 221, 221));
    _splitBtn->setCornerRadius(4);
    _splitBtn->setContentColor(Qt::white);
    _splitBtn->setFont(ControlFont::system(15));
    _splitBtn->setContentTitle(localized(QStringLiteral("SplitBtnstringValue")));
    _splitBtn->setEnabled(false);
    _splitBtn->setMouseDownAction(later(this, &SplitWindowController::splitAction));
}

void SplitWindowController::buildBottom(QWidget* content) {
    _openOutputBtn = new MOQButton(ViewRect{348, 18, 24, 24}, content);
    const QImage browse = image("SubFun/btnBrowse_Down.png");
    for (auto setter : {&MOQButton::setNormalImage, &MOQButton::setDownImage, &MOQButton::setOnImage,
                        &MOQButton::setSelectedImage, &MOQButton::setDisAbleImage})
        (_openOutputBtn->*setter)(browse);
    _openOutputBtn->setBordered(false);
    _openOutputBtn->setMouseDownAction([this](MOQButton*) { revealOutputFolder(); });
    _openOutputBtn->setToolTip(localized(QStringLiteral("SplitTipReveal")));

    _exportProgresslabel =
        makeLabel(content, ViewRect{392, 20, 80, 20}, localized(QStringLiteral("progressLabelStringValue")), 13,
                  QStringLiteral("white"));
    _exportProgresslabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    _exportProgressView = new NSProgressView(ViewRect{478, 26, 230, 8}, content);

    _startExportBtn = new MOQButton(ViewRect{730, 10, 140, 40}, content);
    _startExportBtn->setNormalBackgroundImage(image("SubFun/btnStart_Normal.bmp"));
    _startExportBtn->setOnBackgroundImage(image("SubFun/btnStart_On.bmp"));
    _startExportBtn->setDownBackgroundImage(image("SubFun/btnStart_Down.bmp"));
    _startExportBtn->setSelectedBackgroundImage(image("SubFun/btnStart_Down.bmp"));
    _startExportBtn->setDisAbleBackgroundImage(image("SubFun/btnStart_Disable.bmp"));
    _startExportBtn->setBordered(false);
    _startExportBtn->setFont(ControlFont::system(18));
    _startExportBtn->setContentColor(Qt::white);
    _startExportBtn->setContentTitle(localized(QStringLiteral("StartExportTitle")));
    _startExportBtn->setMouseDownAction(later(this, &SplitWindowController::startExportAction));
}

void SplitWindowController::wireTimeline() {
    QPointer<SplitWindowController> self(this);
    auto onMain = [self](std::function<void(SplitWindowController&, float)> work) {
        return [self, work](float p) {
            Dispatch::main([self, work, p] {
                if (self)
                    work(*self, p);
            });
        };
    };
    _playerSlider->MouseDownForSliderBlock = onMain([](SplitWindowController& w, float p) {
        // Pressing on the track pauses; the release resumes what was playing.
        if (!w._resumeAfterSeek)
            w._resumeAfterSeek = w._isPlaying;
        w.seekToFraction(p);
        w.pauseAction();
    });
    _playerSlider->ProgressForSliderBlock = onMain([](SplitWindowController& w, float p) {
        if (!w._lqPlayer)
            return;
        w.seekToFraction(p);
    });
    _playerSlider->MouseUpForSliderBlock = onMain([](SplitWindowController& w, float p) {
        w.seekToFraction(p);
        const bool resume = w._resumeAfterSeek;
        w._resumeAfterSeek = false;
        if (resume)
            w.playAction();
    });
    _playerSlider->SplitBtnMouseMoveForSliderBlock = onMain([](SplitWindowController& w, float p) {
        if (!w._lqPlayer)
            return;
        w.seekToFraction(p);
        w._splitTimeLabel->setText(w._playerCurrentTimeLabel->text());
    });
}

// ---- Source and preview ----

void SplitWindowController::addFileAction() {
    const QString path = chooseSourceFile();
    if (!path.isEmpty())
        loadFile(path);
}

void SplitWindowController::loadFile(const QString& path) {
    // An unreadable file is said in an alert; the window keeps the file and the plan it had.
    probeSourceFile(path, [this](const QString&, const std::shared_ptr<SimpleData>& record) { fileProbed(record); });
}

void SplitWindowController::fileProbed(const std::shared_ptr<SimpleData>& record) {
    if (isRunning())
        return; // a split started meanwhile works on the file it was started with
    _fileData = record;
    _scrLabel->setText(_fileData->path());
    _scrLabel->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    enableEdit(true);
    hiddenPlayerView(false);
    const FileData& source = *_fileData->sourceData();
    _resolutionValueLabel->setText(QStringLiteral("%1x%2").arg(source.width()).arg(source.height()));
    _resoucefilesizeValueLabel->setText(QString::asprintf("%.2f MB", double(source.fileSize())));
    _resouceTotaltimeValueLabel->setText(HelpClass::returnTimeToStr(source.duration()));
    _volumeSlider->setProgress(float(_fileData->volume() * 0.5));
    initPlayer();
    _split_timeBtn->setChecked(true);
    limiteachTimeSegmentAction();
}

void SplitWindowController::initPlayer() {
    if (!_fileData || _fileData->path().isEmpty())
        return;
    // The old player stops and goes, with its tick and play state, so only one preview ever plays.
    takeDownPlayer();
    _playBtn->setSelected(false);
    _volumeBtn->setSelected(false);
    _lqPlayer = std::make_unique<LQMoviePlayer>(_fileData->path(), ViewFrame::bounds(_playerView));
    _lqPlayer->SetVolume(_fileData->volume());
    _lqPlayer->seekTime(MediaTime::make(1, 30));
    QPointer<SplitWindowController> self(this);
    _lqPlayer->setPlayerDidEndBlock([self] {
        Dispatch::main([self] {
            if (!self || !self->_lqPlayer)
                return;
            self->_lqPlayer->pause();
            self->removeTimer();
            self->_lqPlayer->seekTime(MediaTime::withSeconds(0, 1000000000));
            // Back at the start and stopped: the play button offers play again.
            self->_isPlaying = false;
            self->_playBtn->setSelected(false);
            self->_playerSlider->setHiddenTick(true);
            self->_playerSlider->setProgress(0);
            self->_playerCurrentTimeLabel->setText(HelpClass::returnTimeToStr(0));
        });
    });
    _totalTimeLabel->setText(QStringLiteral("/ ") + HelpClass::returnTimeToStr(float(duration())));
    _playerCurrentTimeLabel->setText(HelpClass::returnTimeToStr(0));
    // The split point shown belonged to the previous file's plan.
    _splitTimeLabel->setText(HelpClass::returnTimeToStr(0));
    _playerSlider->setProgress(0);
    QWidget* view = _lqPlayer->view();
    view->setParent(_playerView);
    ViewFrame::setFrame(view, ViewFrame::bounds(_playerView));
    view->show();
}

double SplitWindowController::duration() const {
    return PreviewPlayer::duration(_lqPlayer.get());
}

void SplitWindowController::hiddenPlayerView(bool hidden) {
    _playerView->setHidden(hidden);
    for (QLabel* label : _descLabels)
        label->setHidden(!hidden);
    _gettingstartedLabel->setHidden(!hidden);
    _nofileBackView->setHidden(!hidden);
}

void SplitWindowController::playButtonAction() {
    if (_playBtn->selected())
        playAction();
    else
        pauseAction();
}

void SplitWindowController::playAction() {
    if (!_lqPlayer)
        return;
    _isPlaying = true;
    _playBtn->setSelected(true);
    _lqPlayer->play();
    _playerSlider->setHiddenTick(false);
    addTimer();
}

void SplitWindowController::pauseAction() {
    if (!_lqPlayer)
        return;
    _isPlaying = false;
    // Paused, whatever paused it: the button offers play again.
    _playBtn->setSelected(false);
    if (_lqPlayer->playerStatus() == LQMoviePlayer::Playing) {
        _lqPlayer->pause();
        _playerSlider->setHiddenTick(true);
        removeTimer();
    }
}

void SplitWindowController::stopAction() {
    _playBtn->setSelected(false);
    pauseAction();
    if (_lqPlayer)
        _lqPlayer->seekTime(MediaTime::zero());
    _playerSlider->setProgress(0);
    _playerCurrentTimeLabel->setText(HelpClass::returnTimeToStr(0));
}

void SplitWindowController::muteAction() {
    _volumeBtn->setSelected(!_volumeBtn->selected());
    if (!_lqPlayer || _lqPlayer->playerStatus() == LQMoviePlayer::NoMedia)
        return;
    if (_volumeBtn->selected()) {
        _lqPlayer->SetVolume(0);
        _volumeSlider->setProgress(0);
    } else {
        _fileData->setVolume(1.0);
        _lqPlayer->SetVolume(_fileData->volume());
        _volumeSlider->setProgress(float(_fileData->volume() * 0.5));
    }
}

void SplitWindowController::setVolumeFromSlider(float progress) {
    if (_fileData)
        _fileData->setVolume(double(progress) * 2.0);
    if (_lqPlayer && _fileData)
        _lqPlayer->SetVolume(_fileData->volume());
}

void SplitWindowController::seekToFraction(float p) {
    if (!_lqPlayer)
        return;
    const double seconds = duration() * double(p);
    _lqPlayer->seekTime(MediaTime::withSeconds(seconds, 600));
    // The label follows the seek also while paused, when no tick comes to show it (the player reports the new
    // place only once the seek has landed).
    _playerCurrentTimeLabel->setText(HelpClass::returnTimeToStr(float(seconds)));
}

void SplitWindowController::changePlayerSlider() {
    if (!_lqPlayer)
        return;
    const double d = duration();
    const double now = _lqPlayer->currentTime().seconds();
    _playerSlider->setProgress(d > 0 ? float(now / d) : 0.0f);
    _playerCurrentTimeLabel->setText(HelpClass::returnTimeToStr(float(now)));
}

void SplitWindowController::takeDownPlayer() {
    removeTimer();
    _isPlaying = false;
    _resumeAfterSeek = false;
    PreviewPlayer::takeDown(_lqPlayer);
}

void SplitWindowController::stopPlayers() {
    takeDownPlayer();
    if (_playBtn)
        _playBtn->setSelected(false);
}

void SplitWindowController::enableEdit(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{_split_timeBtn, _split_sizeBtn, _split_averageBtn,
                                                      _split_manuallyBtn, _split_timepopBtn, _split_sizepopBtn,
                                                      _averageTextField, _averagestepper, _splitBtn})
        w->setEnabled(enabled);
    _playerSlider->setDisable(!enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{_playBtn, _pauseBtn, _volumeBtn})
        w->setEnabled(enabled);
    _volumeSlider->setDisable(!enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{_splitItemBtn, _leftMoveBtn, _rightMoveBtn, _deletedItemBtn,
                                                      _outputPopBtn, _openOutputBtn})
        if (w)
            w->setEnabled(enabled);
    // Loading another file during a split would change what the split was started from.
    _addfileBtn->setEnabled(enabled || !_fileData);
    // Back from a split: only the chosen mode's own controls take input.
    if (enabled && _fileData) {
        _split_timepopBtn->setEnabled(_split_timeBtn->isChecked());
        _split_sizepopBtn->setEnabled(_split_sizeBtn->isChecked());
        _averageTextField->setEnabled(_split_averageBtn->isChecked());
        _averagestepper->setEnabled(_split_averageBtn->isChecked());
        _splitBtn->setEnabled(!_split_manuallyBtn->isChecked());
    }
}

// ---- Export ----

void SplitWindowController::startExportAction() {
    if (isRunning()) {
        cancelRun();
        _exportProgressView->setProgress(0);
        return;
    }
    if (!_fileData) {
        showSimpleAlert(localized(QStringLiteral("scrlabelplaceholderString")), 2);
        return;
    }
    pauseAction();
    _playBtn->setSelected(false);
    const SplitExport::Source source{_fileData->path(), _fileData->name(),
                                     qint64(std::llround(duration() * 1000000.0))};
    std::vector<JobStep> steps;
    _sizeChain.reset();
    if (_split_sizeBtn->isChecked()) {
        const float step = SplitPlan::stepFromTitle(_split_sizepopBtn->currentText());
        // The same checks as the plan's: a step that cannot be used, or more pieces than a run may write.
        const SplitPlan::Result estimate = SplitPlan::byStep(step, sizeTotal());
        if (!estimate.ok()) {
            refuse(estimate.refusal);
            return;
        }
        _sizeChain = std::make_unique<SplitExport::SizeChain>(source, SplitPlan::sizeLimitBytes(step), outputPath(),
                                                              jobRunner());
        steps.push_back(_sizeChain->firstStep());
    } else {
        const std::vector<SplitPlan::Piece> pieces = SplitPlan::pieces(_playerSlider->getTimeProgresses(), duration());
        steps = SplitExport::pieceSteps(source, pieces, outputPath());
        _exportFileCount = qint64(steps.size());
    }
    _exportProgressView->setProgress(0);
    QPointer<SplitWindowController> self(this);
    const bool started = startRun(std::move(steps), [self](bool success) {
        if (!self)
            return;
        self->_exportProgressView->setProgress(success ? 1.0f : 0.0f);
        if (success)
            self->showWrittenSizePoints();
        qCInfo(lcShell).noquote() << (success ? QStringLiteral("split finished") : QStringLiteral("split failed"));
    });
    if (!started)
        _sizeChain.reset();
}

void SplitWindowController::showWrittenSizePoints() {
    if (!_sizeChain || !_split_sizeBtn->isChecked() || _sizeChain->durationUs() <= 0)
        return;
    _playerSlider->removeAllSplitItem();
    const std::vector<qint64>& starts = _sizeChain->starts();
    // The first piece starts at 0; every later start is a point where the file was cut.
    for (size_t i = 1; i < starts.size(); ++i)
        _playerSlider->addSplitItemTime(float(double(starts[i]) / double(_sizeChain->durationUs())));
}

void SplitWindowController::jobProgress(int step, double percent) {
    if (_sizeChain) {
        const std::vector<qint64>& starts = _sizeChain->starts();
        if (size_t(step) < starts.size())
            _exportProgressView->setProgress(
                SplitPlan::sizeModeProgress(starts[size_t(step)], _sizeChain->durationUs(), percent));
        return;
    }
    _exportProgressView->setProgress(SplitPlan::overallProgress(step, _exportFileCount, percent));
}
