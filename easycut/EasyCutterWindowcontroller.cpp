#include "EasyCutterWindowcontroller.h"

#include "ControlFont.h"
#include "CutItemView.h"
#include "Dispatch.h"
#include "EngineJobFactory.h"
#include "EngineSnapshot.h"
#include "FileData.h"
#include "HelpClass.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "Later.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MOQScrollView.h"
#include "MOQView.h"
#include "MakeLabel.h"
#include "NSProgressView.h"
#include "PreviewPlayer.h"
#include "ResourceBundle.h"
#include "SegmentExportPlan.h"
#include "SegmentListGeometry.h"
#include "ShellLog.h"
#include "ShownTime.h"
#include "TimeStepper.h"
#include "ViewFrame.h"
#include "WorkerSetUpJobFactory.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 620;

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

QImage image(const QString& name) {
    return ResourceBundle::imageWithfileName(name);
}

// The five looks of an icon button (normal, on, down, selected, disabled); an empty name leaves a look unset.
void setImages(MOQButton* button, const QString& normal, const QString& on, const QString& down,
               const QString& selected, const QString& disabled) {
    button->setNormalImage(image(normal));
    button->setOnImage(image(on));
    button->setDownImage(image(down));
    if (!selected.isEmpty())
        button->setSelectedImage(image(selected));
    if (!disabled.isEmpty())
        button->setDisAbleImage(image(disabled));
    button->setBordered(false);
}

// The same for a button drawn on background images under its title.
void setBackgrounds(MOQButton* button, const QString& normal, const QString& on, const QString& down,
                    const QString& disabled) {
    button->setNormalBackgroundImage(image(normal));
    button->setOnBackgroundImage(image(on));
    button->setDownBackgroundImage(image(down));
    button->setSelectedBackgroundImage(image(down));
    button->setDisAbleBackgroundImage(image(disabled));
    button->setBordered(false);
}

} // namespace

// The engine's jobs, set up where a step asks for it on the worker thread (the merge's clips).
EasyCutterWindowcontroller::EasyCutterWindowcontroller(QObject* parent)
    : FeatureWindowController(WorkerSetUpJobFactory::engine(), parent) {}

EasyCutterWindowcontroller::EasyCutterWindowcontroller(MediaJobFactory& factory, QObject* parent)
    : FeatureWindowController(factory, parent) {}

EasyCutterWindowcontroller::~EasyCutterWindowcontroller() {
    if (_cutprogressView)
        _cutprogressView->setDelegate(nullptr);
    if (_volumeSlider)
        _volumeSlider->setDelegate(nullptr);
    takeDownPlayer();
}

QString EasyCutterWindowcontroller::finishedMessageKey() const {
    return QStringLiteral("Cutterfinishedstring");
}

// ---- Set-up ----

void EasyCutterWindowcontroller::windowDidLoad() {
    setUpFrame();
    QWidget* content = window();
    content->resize(kWindowWidth, kWindowHeight);
    buildFrame(content);
    buildPreview();
    buildNoFilePanel();
    initPlayerBottom();
    buildList();
    initSelectItemTimeChangeView();
    buildBottom(content);
    _outputPopBtn = installOutputPopUp(content, ViewRect{120, 16, 220, 28});
    enableEditItemShow(false);
}

void EasyCutterWindowcontroller::buildFrame(QWidget* content) {
    _contentBackgroundView = new MOQImageView(ViewRect{10, 60, 880, 550}, content);
    _contentBackgroundView->setBackGroundColor(QColor(245, 245, 245));
    _contentBackgroundView->setBordColor(QColor(245, 245, 245));
    _contentBackgroundView->setBorderWidth(1);
    _contentBackgroundView->setCornerRadius(5);
}

void EasyCutterWindowcontroller::buildNoFilePanel() {
    QWidget* panel = _contentBackgroundView;
    _nofileBordView = new MOQImageView(ViewRect{10, 10, 640, 530}, panel);
    _nofileBordView->setBordColor(QColor(214, 212, 212));
    _nofileBordView->setBorderWidth(2);
    _nofileBordView->setCornerRadius(5);
    _gettingStartedLabel = makeLabel(_nofileBordView, ViewRect{40, 440, 560, 36},
                                     localized(QStringLiteral("gettingStartedLabelstringValue")), 22);
    for (int i = 0; i < 4; ++i) {
        const QString text =
            QStringLiteral("%1. ").arg(i + 1) + localized(QStringLiteral("easydesclabelTitle%1").arg(i + 1));
        _descLabels[size_t(i)] = makeLabel(_nofileBordView, ViewRect{60, 380 - i * 44.0, 540, 28}, text, 16);
    }
    _addfileBtn = new MOQButton(ViewRect{240, 110, 160, 40}, _nofileBordView);
    _addfileBtn->setBackGroundColor(QColor(90, 216, 238));
    setBackgrounds(_addfileBtn, "About/btnAddFile_Normal.bmp", "About/btnAddFile_On.bmp", "About/btnAddFile_Down.bmp",
                   "About/btnAddFile_Disable.bmp");
    _addfileBtn->setContentTitle(localized(QStringLiteral("AddFileBtnTitle")));
    _addfileBtn->setContentColor(Qt::white);
    _addfileBtn->setFont(ControlFont::system(13));
    _addfileBtn->setCornerRadius(3);
    _addfileBtn->setBorderWidth(0);
    _addfileBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::addFileAction));
}

void EasyCutterWindowcontroller::buildPreview() {
    QWidget* panel = _contentBackgroundView;
    _playerView = new MOQImageView(ViewRect{10, 240, 640, 300}, panel);
    _playerView->setBackGroundColor(Qt::black);

    _scrLabel = makeLabel(panel, ViewRect{10, 212, 590, 20}, QString(), 12);
    _scrLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    _updateFileAddBtn = new MOQButton(ViewRect{612, 206, 32, 32}, panel);
    _updateFileAddBtn->setBackGroundColor(QColor(90, 216, 238));
    setBackgrounds(_updateFileAddBtn, "About/btnAddFile_Small_Normal.bmp", "About/btnAddFile_Small_On.bmp",
                   "About/btnAddFile_Small_Down.bmp", "About/btnAddFile_Small_Disable.bmp");
    _updateFileAddBtn->setCornerRadius(3);
    _updateFileAddBtn->setBorderWidth(0);
    _updateFileAddBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::addFileAction));
    _updateFileAddBtn->setToolTip(localized(QStringLiteral("EasyCutTipChangeFile")));

    _cutprogressView = new LQCutProgressView(ViewRect{10, 176, 640, 28}, panel);
    _cutprogressView->setDelegate(this);
    _cutprogressView->setType(1);
    _cutprogressView->setIsFanxuan(false);
    _cutprogressView->setTickMark(false);

    _currentTimeLabel = makeLabel(panel, ViewRect{12, 154, 80, 18}, ShownTime::text(0));
    _totalDurationLabel = makeLabel(panel, ViewRect{92, 154, 120, 18}, QString());
    _volumeBtn = new MOQButton(ViewRect{486, 148, 31, 31}, panel);
    setImages(_volumeBtn, "Cut/btnOpenVolume_Normal.png", "Cut/btnOpenVolume_On.png", "Cut/btnOpenVolume_Down.png",
              "Cut/btnCloseVolume_Normal.png", "Cut/btnOpenVolume_Disable.png");
    _volumeBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::muteAction));
    _volumeBtn->setToolTip(localized(QStringLiteral("EasyCutTipMute")));
    _volumeSlider = new LQProgressSlider(ViewRect{522, 154, 124, 20}, panel);
    _volumeSlider->setDelegate(&_volumeDelegate);
    _volumeSlider->setToolTip(localized(QStringLiteral("EasyCutTipVolume")));

    _playOrpauseBtn = new MOQButton(ViewRect{12, 108, 31, 31}, panel);
    setImages(_playOrpauseBtn, "Cut/btnPlay_Normal.png", "Cut/btnPlay_On.png", "Cut/btnPlay_Down.png",
              "Cut/btnPause_Normal.png", "Cut/btnPlay_Disable.png");
    _playOrpauseBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::playOrPauseAction));
    _playOrpauseBtn->setToolTip(localized(QStringLiteral("EasyCutTipPlay")));
    _playOrpauseSelectBtn = new MOQButton(ViewRect{52, 108, 31, 31}, panel);
    setImages(_playOrpauseSelectBtn, "Cut/btnPreview_Normal.png", "Cut/btnPreview_Normal.png",
              "Cut/btnPreview_Down.png", "Cut/btnStop_Normal.png", "Cut/btnPlay_Disable.png");
    _playOrpauseSelectBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::rangePreviewAction));
    _playOrpauseSelectBtn->setToolTip(localized(QStringLiteral("EasyCutTipPreview")));
    _selectedLeftBtn = new MOQButton(ViewRect{104, 108, 31, 31}, panel);
    setImages(_selectedLeftBtn, "Cut/btnSetStartTime_Normal.png", "Cut/btnSetStartTime_On.png",
              "Cut/btnSetStartTime_Down.png", "Cut/btnSetStartTime_Down.png", "Cut/btnSetStartTime_Disable.png");
    _selectedLeftBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::setStartAction));
    _selectedLeftBtn->setToolTip(localized(QStringLiteral("EasyCutTipSetStart")));
    _selectedRightBtn = new MOQButton(ViewRect{144, 108, 31, 31}, panel);
    setImages(_selectedRightBtn, "Cut/btnSetEndTime_Normal.png", "Cut/btnSetEndTime_On.png",
              "Cut/btnSetEndTime_Down.png", "Cut/btnSetEndTime_Down.png", "Cut/btnSetEndTime_Disable.png");
    _selectedRightBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::setEndAction));
    _selectedRightBtn->setToolTip(localized(QStringLiteral("EasyCutTipSetEnd")));
    _cutStartBtn = new MOQButton(ViewRect{556, 108, 90, 30}, panel);
    setBackgrounds(_cutStartBtn, "Cut/btnCut_Normal.bmp", "Cut/btnCut_On.bmp", "Cut/btnCut_Down.bmp",
                   "Cut/btnCut_Disable.bmp");
    _cutStartBtn->setContentTitle(localized(QStringLiteral("Cut")));
    // Our button pictures are light: a white title would not be read on them.
    _cutStartBtn->setContentColor(QColor(20, 110, 160));
    _cutStartBtn->setFont(ControlFont::system(13));
    _cutStartBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::cutAction));

    _itemContentView = new MOQView(ViewRect{10, 60, 640, 40}, panel);
    _startTimeLabel =
        makeLabel(_itemContentView, ViewRect{4, 11, 50, 18}, localized(QStringLiteral("startTimeLabelstringValue")));
    _endTimeLabel =
        makeLabel(_itemContentView, ViewRect{222, 11, 40, 18}, localized(QStringLiteral("endTimeLabelstringValue")));
    _durationLabel =
        makeLabel(_itemContentView, ViewRect{438, 11, 70, 18}, localized(QStringLiteral("durationLabelstringValue")));
    _durationValueLabel = makeLabel(_itemContentView, ViewRect{508, 11, 100, 18}, ShownTime::text(0));

    _keybordTishiView = new MOQView(ViewRect{10, 10, 640, 40}, panel);
    _keybordTishiView->setBackGroundColor(QColor(210, 208, 208));
    _controlkeybordLabel = makeLabel(_keybordTishiView, ViewRect{8, 11, 80, 18},
                                     localized(QStringLiteral("controlkeybordLabelstringValue")));
    auto keyButton = [this](const ViewRect& frame, const QString& text) {
        auto* b = new QPushButton(text, _keybordTishiView);
        ViewFrame::setFrame(b, frame);
        b->setFont(ControlFont::system(11));
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    _playpauseBtn = keyButton(ViewRect{90, 8, 60, 24}, localized(QStringLiteral("playpauseBtnstringValue")));
    _playpauseLabel = makeLabel(_keybordTishiView, ViewRect{156, 11, 110, 18},
                                localized(QStringLiteral("playpauseLabelstringValue")));
    _kuaituiBtn = keyButton(ViewRect{272, 8, 32, 24}, QStringLiteral("\u2190"));
    _kuaijinBtn = keyButton(ViewRect{308, 8, 32, 24}, QStringLiteral("\u2192"));
    _kuaituiBtn->setToolTip(localized(QStringLiteral("EasyCutTipBack")));
    _kuaijinBtn->setToolTip(localized(QStringLiteral("EasyCutTipForward")));
    _controlmarksLabel = makeLabel(_keybordTishiView, ViewRect{346, 11, 290, 18},
                                   localized(QStringLiteral("controlmarksLabelstringValue")));
    connect(_playpauseBtn, &QPushButton::clicked, this, [this] { playOrPauseVideo(); });
    connect(_kuaituiBtn, &QPushButton::clicked, this, [this] { kuaituiAction(); });
    connect(_kuaijinBtn, &QPushButton::clicked, this, [this] { kuaijinAction(); });
    // The keys the hint strip names; they act only while the buttons they stand for are enabled.
    auto shortcut = [this](Qt::Key key, QPushButton* button) {
        auto* s = new QShortcut(QKeySequence(key), window());
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, button, [button] {
            if (button->isEnabled() && button->isVisible())
                button->click();
        });
    };
    shortcut(Qt::Key_Space, _playpauseBtn);
    shortcut(Qt::Key_Left, _kuaituiBtn);
    shortcut(Qt::Key_Right, _kuaijinBtn);
}

void EasyCutterWindowcontroller::buildList() {
    QWidget* panel = _contentBackgroundView;
    _fileItemListView = new QWidget(panel);
    ViewFrame::setFrame(_fileItemListView, ViewRect{668, 50, 200, 490});
    _itemsScrollview = new MOQScrollView(_fileItemListView);
    _itemsScrollview->setGeometry(0, 0, 200, 490);
    _itemsScrollview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _itemsScrollview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _itemsScrollview->setFrameShape(QFrame::NoFrame);
    _itemsScrollview->setWidgetResizable(false);
    QPalette palette = _itemsScrollview->palette();
    palette.setColor(QPalette::Window, QColor(245, 245, 245));
    _itemsScrollview->setPalette(palette);
    _itemsScrollview->viewport()->setAutoFillBackground(true);
    _itemsScrollview->viewport()->setPalette(palette);

    _filesContentView = new MOQView(ViewRect{0, 0, 200, 490}, nullptr);
    _filesContentView->setBackGroundColor(QColor(245, 245, 245));
    _itemsScrollview->setWidget(_filesContentView);

    _itemSelectView = new QWidget(_filesContentView);
    ViewFrame::setFrame(_itemSelectView,
                        ViewRect{0, 0, SegmentListGeometry::kTileWidth, SegmentListGeometry::kTileHeight});
    // Only the strip of buttons takes the pointer; the rest of the tile stays clickable.
    _itemSelectView->setMask(
        QRegion(0, int(SegmentListGeometry::kTileHeight) - 20, int(SegmentListGeometry::kTileWidth), 20));
    _itemSelectView->hide();
    auto overlayButton = [this](const ViewRect& frame, const QString& name, const QString& key) {
        auto* b = new MOQButton(frame, _itemSelectView);
        setBackgrounds(b, QStringLiteral("Cut/btn%1_Normal.bmp").arg(name),
                       QStringLiteral("Cut/btn%1_On.bmp").arg(name), QStringLiteral("Cut/btn%1_Down.bmp").arg(name),
                       QStringLiteral("Cut/btn%1_Disable.bmp").arg(name));
        b->setContentTitle(localized(key));
        b->setContentColor(Qt::black);
        b->setFont(ControlFont::system(11));
        return b;
    };
    _itemCopyBtn = overlayButton(SegmentListGeometry::copyButtonFrame(), "Copy", "Copy");
    _itemModifyBtn = overlayButton(SegmentListGeometry::modifyButtonFrame(), "Modify", "Modify");
    _itemDeletedBtn = overlayButton(SegmentListGeometry::deletedButtonFrame(), "Deleted", "Deleted");
    _itemCopyBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::copyAction));
    _itemModifyBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::modifyAction));
    _itemDeletedBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::deletedAction));

    _upMoveItemBtn = new MOQButton(ViewRect{700, 12, 31, 31}, panel);
    setImages(_upMoveItemBtn, "Cut/btnMoveUp_Normal.png", "Cut/btnMoveUp_On.png", "Cut/btnMoveUp_Down.png",
              "Cut/btnMoveUp_Down.png", "Cut/btnMoveUp_Disable.png");
    _upMoveItemBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::moveUpAction));
    _upMoveItemBtn->setToolTip(localized(QStringLiteral("EasyCutTipMoveUp")));
    _downMoveItemBtn = new MOQButton(ViewRect{752, 12, 31, 31}, panel);
    setImages(_downMoveItemBtn, "Cut/btnMoveDown_Normal.png", "Cut/btnMoveDown_On.png", "Cut/btnMoveDown_Down.png",
              "Cut/btnMoveDown_Down.png", "Cut/btnMoveDown_Disable.png");
    _downMoveItemBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::moveDownAction));
    _downMoveItemBtn->setToolTip(localized(QStringLiteral("EasyCutTipMoveDown")));
    _deletedItemBtn = new MOQButton(ViewRect{804, 12, 31, 31}, panel);
    setImages(_deletedItemBtn, "Cut/btnClear_Normal.png", "Cut/btnClear_On.png", "Cut/btnClear_Down.png",
              "Cut/btnClear_Down.png", "Cut/btnClear_Disable.png");
    _deletedItemBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::clearAction));
    _deletedItemBtn->setToolTip(localized(QStringLiteral("EasyCutTipClear")));
    applyMoveButtons();
}

void EasyCutterWindowcontroller::buildBottom(QWidget* content) {
    _openOutputFolderBtn = new MOQButton(ViewRect{346, 18, 24, 24}, content);
    _openOutputFolderBtn->setNormalImage(image("SubFun/btnBrowse_Down.png"));
    _openOutputFolderBtn->setBordered(false);
    _openOutputFolderBtn->setMouseDownAction([this](MOQButton*) { revealOutputFolder(); });
    _openOutputFolderBtn->setToolTip(localized(QStringLiteral("EasyCutTipReveal")));

    _merageBtn = new MOQButton(ViewRect{384, 18, 150, 24}, content);
    _merageBtn->setNormalImage(image("Join/CheckBox_NoCheck.bmp"));
    _merageBtn->setSelectedImage(image("Join/CheckBox_Checked.bmp"));
    _merageBtn->setContentImagePosition(1);
    _merageBtn->setBordered(false);
    _merageBtn->setContentTitle(localized(QStringLiteral("MerageBtnstringValue")));
    _merageBtn->setContentColor(Qt::white);
    _merageBtn->setFont(ControlFont::system(13));
    QPointer<EasyCutterWindowcontroller> self(this);
    _merageBtn->setMouseDownAction([self](MOQButton* b) {
        Dispatch::main([self, b] {
            if (self)
                b->setSelected(!b->selected());
        });
    });

    _progressLabel = makeLabel(content, ViewRect{540, 20, 70, 20},
                               localized(QStringLiteral("progressLabelStringValue")), 13, QStringLiteral("white"));
    _exportProgressView = new NSProgressView(ViewRect{612, 26, 130, 8}, content);

    _startExportBtn = new MOQButton(ViewRect{752, 10, 140, 40}, content);
    setBackgrounds(_startExportBtn, "SubFun/btnStart_Normal.bmp", "SubFun/btnStart_On.bmp", "SubFun/btnStart_Down.bmp",
                   "SubFun/btnStart_Disable.bmp");
    _startExportBtn->setFont(ControlFont::system(18));
    _startExportBtn->setContentColor(Qt::white);
    _startExportBtn->setContentTitle(localized(QStringLiteral("StartExportTitle")));
    _startExportBtn->setMouseDownAction(later(this, &EasyCutterWindowcontroller::startExportAction));
}

// ---- Source and preview ----

void EasyCutterWindowcontroller::addFileAction() {
    const QString path = chooseSourceFile();
    if (!path.isEmpty())
        loadFile(path);
}

void EasyCutterWindowcontroller::loadFile(const QString& path) {
    // The window keeps the file, the segments and the settings it had when the file cannot be used.
    probeSourceFile(path, [this](const QString&, const std::shared_ptr<SimpleData>& record) { fileProbed(record); });
}

void EasyCutterWindowcontroller::fileProbed(const std::shared_ptr<SimpleData>& record) {
    if (isRunning())
        return; // an export started meanwhile works on the file it was started with
    _fileData = record;
    _segments.clear();
    refresFileListView();
    initPlayer();
    _scrLabel->setText(_fileData->path());
    enableEditItemShow(true);
}

void EasyCutterWindowcontroller::initPlayer() {
    if (!_fileData || _fileData->path().isEmpty())
        return;
    // The old player stops and goes, with its tick and play state, so only one preview ever plays.
    takeDownPlayer();
    setPlayButtonsStopped();
    _lqPlayer = std::make_unique<LQMoviePlayer>(_fileData->path(), ViewFrame::bounds(_playerView));
    _lqPlayer->SetVolume(_fileData->volume());
    _lqPlayer->seekTime(MediaTime::make(1, 30));
    QPointer<EasyCutterWindowcontroller> self(this);
    _lqPlayer->setPlayerDidEndBlock([self] {
        Dispatch::main([self] {
            if (!self || !self->_lqPlayer)
                return;
            self->_lqPlayer->pause();
            self->setPlayButtonsStopped();
            self->seekTo(0);
        });
    });
    const float end = float(_fileData->sourceData()->duration());
    _durationValueLabel->setText(ShownTime::text(end));
    _currentTimeLabel->setText(ShownTime::text(0));
    _totalDurationLabel->setText(QStringLiteral("/  ") + ShownTime::text(duration()));
    _selectStartPlayTime = 0;
    _volumeBtn->setSelected(false);
    _volumeSlider->setProgress(0.5f);
    _cutprogressView->setLowerValueUpperValue(0, 1);
    _cutprogressView->setProgress(0);
    QWidget* view = _lqPlayer->view();
    view->setParent(_playerView);
    ViewFrame::setFrame(view, ViewFrame::bounds(_playerView));
    view->show();
    writeRow(_startRow, 0);
    writeRow(_stopRow, end);
    _selectedLeftBtn->setEnabled(false);
    _selectedRightBtn->setEnabled(false);
}

double EasyCutterWindowcontroller::duration() const {
    return PreviewPlayer::duration(_lqPlayer.get());
}

double EasyCutterWindowcontroller::currentTime() const {
    return PreviewPlayer::currentTime(_lqPlayer.get());
}

void EasyCutterWindowcontroller::seekTo(double seconds) {
    if (!_lqPlayer)
        return;
    _lqPlayer->seekTime(MediaTime::withSeconds(seconds, 1000000000));
    // The label follows the seek also while paused, when no tick comes to show it.
    _currentTimeLabel->setText(ShownTime::text(seconds));
}

void EasyCutterWindowcontroller::setPlayButtonsStopped() {
    _isPlaySelectedCut = false;
    showPlaying(false);
    _playOrpauseSelectBtn->setOnImage(image("Cut/btnPreview_Normal.png"));
    _playOrpauseSelectBtn->setDownImage(image("Cut/btnPreview_Down.png"));
    _playOrpauseSelectBtn->setSelected(false);
    if (!isRunning()) {
        _playOrpauseBtn->setEnabled(true);
        _playOrpauseSelectBtn->setEnabled(true);
    }
}

void EasyCutterWindowcontroller::changePlayerSlider() {
    if (!_lqPlayer)
        return;
    const double d = duration();
    const double now = currentTime();
    const float p = d > 0 ? float(now / d) : 0.0f;
    _cutprogressView->setProgress(p);
    _currentTimeLabel->setText(ShownTime::text(now));
    _cutprogressView->setTickMark(true);
    setHandleButtons(_cutprogressView->progress());
    // The range preview returns to the start handle once per tick when the end handle is reached; the next tick
    // looks again, so a seek that has not landed yet can never hold the window in a loop.
    if (_isPlaySelectedCut && _cutprogressView->progress() >= _cutprogressView->upperValue())
        seekTo(double(_cutprogressView->lowerValue()) * d);
}

void EasyCutterWindowcontroller::setHandleButtons(float progress) {
    const float lower = _cutprogressView->lowerValue();
    const float upper = _cutprogressView->upperValue();
    if (lower >= progress) {
        _selectedLeftBtn->setEnabled(true);
        _selectedRightBtn->setEnabled(false);
    } else {
        _selectedLeftBtn->setEnabled(progress < upper);
        _selectedRightBtn->setEnabled(true);
    }
}

void EasyCutterWindowcontroller::getCurrentThumbImage(const SegmentList::Item& item) {
    if (!_fileData || !item)
        return;
    const FileData& video = *_fileData->sourceData();
    if (video.width() == 0 || video.height() == 0) {
        item->setThumbImage(image("Cut/musicIconB.png"));
        return;
    }
    // A small picture is enough for a tile, in the shape the probe found (upright, as the player shows it). It is
    // taken from the file off the main thread: waiting here for the preview's seek to land and scaling its
    // picture held the window for a frame or two at every Cut.
    const bool quarterTurn = video.angle() % 180 != 0;
    const int w = int(SegmentListGeometry::kTileWidth - 20) * 2;
    const int h = std::max(1, int(double(w) * std::abs(quarterTurn ? video.width() : video.height()) /
                                  std::abs(quarterTurn ? video.height() : video.width())));
    const QString path = _fileData->path();
    const qint64 at = SegmentExportPlan::microseconds(item->startTime());
    QPointer<EasyCutterWindowcontroller> self(this);
    std::weak_ptr<CutItem> weak = item;
    Dispatch::background([self, weak, path, at, w, h] {
        const QImage picture = EngineSnapshot::frameAt(path, at, w, h);
        Dispatch::main([self, weak, picture] {
            const SegmentList::Item shown = weak.lock();
            if (!self || !shown || picture.isNull())
                return;
            shown->setThumbImage(picture);
            for (CutItemView* tile : self->_cutItemViews)
                if (tile->item() == shown)
                    tile->setItem(shown);
        });
    });
}

void EasyCutterWindowcontroller::enableEditItemShow(bool show) {
    for (QWidget* w : std::initializer_list<QWidget*>{_gettingStartedLabel, _nofileBordView, _addfileBtn})
        w->setVisible(!show);
    for (QLabel* label : _descLabels)
        label->setVisible(!show);
    for (QWidget* w : std::initializer_list<QWidget*>{_playerView,         _updateFileAddBtn,   _scrLabel,
                                                      _startTimeLabel,     _endTimeLabel,       _durationLabel,
                                                      _durationValueLabel, _volumeBtn,          _volumeSlider,
                                                      _cutprogressView,    _keybordTishiView,   _playOrpauseBtn,
                                                      _selectedLeftBtn,    _selectedRightBtn,   _cutStartBtn,
                                                      _startRow.back,      _stopRow.back,       _playOrpauseSelectBtn,
                                                      _currentTimeLabel,   _totalDurationLabel, _itemContentView})
        w->setVisible(show);
    for (const TimeRow* row : {&_startRow, &_stopRow, &_startItemRow, &_stopItemRow})
        for (LQTextField* field : row->fields)
            field->setEnabled(show);
}

void EasyCutterWindowcontroller::enableEdit(bool enabled) {
    _merageBtn->setEnabled(enabled);
    for (const TimeRow* row : {&_startRow, &_stopRow, &_startItemRow, &_stopItemRow}) {
        for (LQTextField* field : row->fields)
            field->setEnabled(enabled);
        row->stepper->setEnabled(enabled);
    }
    _volumeSlider->setDisable(!enabled);
    _cutprogressView->setDisable(!enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{_playpauseBtn, _kuaituiBtn, _kuaijinBtn, _playOrpauseBtn,
                                                      _playOrpauseSelectBtn, _cutStartBtn, _itemCopyBtn, _itemModifyBtn,
                                                      _itemDeletedBtn, _upMoveItemBtn, _downMoveItemBtn,
                                                      _deletedItemBtn, _volumeBtn})
        w->setEnabled(enabled);
    // Set start and set end write the open segment: locked too, and back by the playhead's place.
    if (enabled) {
        setHandleButtons(_cutprogressView->progress());
    } else {
        _selectedLeftBtn->setEnabled(false);
        _selectedRightBtn->setEnabled(false);
    }
    // Loading another file during an export would change the list the export was started from.
    _addfileBtn->setEnabled(enabled);
    _updateFileAddBtn->setEnabled(enabled);
    for (CutItemView* tile : _cutItemViews)
        tile->setEnabled(enabled);
    if (enabled)
        applyMoveButtons();
}

void EasyCutterWindowcontroller::muteAction() {
    _volumeBtn->setSelected(!_volumeBtn->selected());
    const bool muted = _volumeBtn->selected();
    _volumeSlider->setProgress(muted ? 0.0f : 0.5f);
    if (_lqPlayer)
        _lqPlayer->SetVolume(muted ? 0.0 : 1.0);
}

void EasyCutterWindowcontroller::playOrPauseAction() {
    if (!_lqPlayer)
        return;
    _isPlaySelectedCut = false;
    if (_isPlaying)
        _lqPlayer->pause();
    else
        _lqPlayer->play();
    showPlaying(!_isPlaying);
    _playOrpauseBtn->setEnabled(true);
    _playOrpauseSelectBtn->setEnabled(!_isPlaying);
}

void EasyCutterWindowcontroller::showPlaying(bool playing) {
    _isPlaying = playing;
    // The selected look is the pause picture.
    _playOrpauseBtn->setSelected(playing && !_isPlaySelectedCut);
    const QString look = playing && !_isPlaySelectedCut ? QStringLiteral("Pause") : QStringLiteral("Play");
    _playOrpauseBtn->setOnImage(image(QStringLiteral("Cut/btn%1_On.png").arg(look)));
    _playOrpauseBtn->setDownImage(image(QStringLiteral("Cut/btn%1_Down.png").arg(look)));
    _cutprogressView->setTickMark(playing);
    if (playing)
        addTimer();
    else
        removeTimer();
}

void EasyCutterWindowcontroller::setPreviewVolume(float sliderProgress) {
    if (sliderProgress > 0 && _volumeBtn->selected())
        _volumeBtn->setSelected(false); // sound on again
    if (_lqPlayer)
        _lqPlayer->SetVolume(SegmentExportPlan::mergeVolume(sliderProgress));
}

void EasyCutterWindowcontroller::takeDownPlayer() {
    removeTimer();
    if (!_lqPlayer)
        return;
    PreviewPlayer::takeDown(_lqPlayer);
    _isPlaying = false;
}

void EasyCutterWindowcontroller::stopPlayers() {
    takeDownPlayer();
}

// ---- Export ----

void EasyCutterWindowcontroller::startExportAction() {
    if (isRunning()) {
        cancelRun();
        _exportProgressView->setProgress(0);
        return;
    }
    if (_scrLabel->text().isEmpty()) {
        showSimpleAlert(localized(QStringLiteral("scrlabelplaceholderString")), 2);
        return;
    }
    if (_segments.count() == 0) {
        showSimpleAlert(localized(QStringLiteral("EasyCutNoSegments")), 2);
        return;
    }
    // The export works on the source and the segments as they are now.
    const QString source = _scrLabel->text();
    std::vector<SegmentExportPlan::Segment> taken;
    for (const SegmentList::Item& item : _segments.items())
        taken.push_back({item->startTime(), item->endTime()});
    _exportCount = int(taken.size());
    _mergeRun = _merageBtn->selected();
    std::vector<JobStep> steps;
    if (_mergeRun) {
        if (_lqPlayer)
            _lqPlayer->pause();
        setPlayButtonsStopped();
        steps = SegmentExportPlan::mergeSteps(source, taken, outputPath(),
                                              SegmentExportPlan::mergeVolume(_volumeSlider->progress()),
                                              HelpClass::createFilename());
    } else {
        steps = SegmentExportPlan::separateSteps(source, taken, outputPath());
        // Each segment is shown selected while it is written.
        for (size_t i = 0; i < steps.size(); ++i) {
            auto configure = steps[i].configure;
            QPointer<EasyCutterWindowcontroller> self(this);
            const qint64 index = qint64(i);
            steps[i].configure = [self, index, configure](MediaJob& job) {
                Dispatch::main([self, index] {
                    if (!self || !self->_segments.contains(index) || size_t(index) >= self->_cutItemViews.size())
                        return;
                    self->_segments.setSelectedCutIndex(index);
                    self->fileItemAction(self->_cutItemViews[size_t(index)]);
                    self->refresFileListView();
                });
                return configure ? configure(job) : 1;
            };
        }
    }
    _exportProgressView->setProgress(0);
    QPointer<EasyCutterWindowcontroller> self(this);
    startRun(std::move(steps), [self](bool) {
        if (self)
            self->_exportProgressView->setProgress(0);
    });
}

void EasyCutterWindowcontroller::jobProgress(int step, double percent) {
    if (_mergeRun)
        _exportProgressView->setProgress(float(percent / 100.0));
    else
        _exportProgressView->setProgress(SegmentExportPlan::separateProgress(step, _exportCount, percent));
}
