#include "EditVideoWindowController.h"

#include "ControlFont.h"
#include "CropGeometry.h"
#include "CropRotateEditor.h"
#include "Dispatch.h"
#include "EditExportRun.h"
#include "EffectEditor.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MOQPosition.h"
#include "MakeLabel.h"
#include "MusicEditor.h"
#include "NSProgressView.h"
#include "OutputFormatBrowser.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "SubtitleEditor.h"
#include "TrimPanel.h"
#include "ViewFrame.h"
#include "WatermarkEditor.h"
#include "WatermarkPanel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWindowStateChangeEvent>

namespace {

constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 780;
const QColor kBlue(33, 176, 235);

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

QImage image(const QString& name) {
    return ResourceBundle::imageWithfileName(name);
}

// The tool strip, in strip order: mode, normal image, title key, the title's right inset.
struct ToolButtonDef {
    qint64 type;
    const char* image;
    const char* titleKey;
    float rightInset;
};
constexpr std::array<ToolButtonDef, 7> kToolButtons{{
    {ToolItemTypeTrim, "SubFun/btnCut_Normal.bmp", "tool_trimItemTitle", 20},
    {ToolItemTypeCrop, "SubFun/btnCrop_Normal.bmp", "tool_cropItemTitle", 20},
    {ToolItemTypeEffect, "SubFun/btnEffect_Normal.bmp", "tool_effectItemTitle", 20},
    {ToolItemTypeWatermark, "SubFun/btnWaterMark_Normal.bmp", "tool_watermarkItemTitle", 1},
    {ToolItemTypeSubtitle, "SubFun/btnSubtitle_Normal.bmp", "tool_subtitleItemTitle", 8},
    {ToolItemTypeRotate, "SubFun/btnRotation_Normal.bmp", "tool_rotateItemTitle", 25},
    {ToolItemTypeMusic, "SubFun/btnMusic_Normal.bmp", "tool_musicItemTitle", 1},
}};

bool isToolType(qint64 type) {
    for (const ToolButtonDef& def : kToolButtons)
        if (def.type == type)
            return true;
    return false;
}

} // namespace

EditVideoWindowController::EditVideoWindowController(QObject* parent) : FeatureWindowController(parent) {}

EditVideoWindowController::EditVideoWindowController(MediaJobFactory& factory, QObject* parent)
    : FeatureWindowController(factory, parent) {}

EditVideoWindowController::~EditVideoWindowController() {
    if (_progressSlider)
        _progressSlider->setDelegate(nullptr);
    if (_cutProgressView)
        _cutProgressView->setDelegate(nullptr);
    takeDownPlayer();
}

QString EditVideoWindowController::finishedMessageKey() const {
    return QStringLiteral("Editfinishedstring");
}

QString EditVideoWindowController::executableDirectory() {
    return QCoreApplication::applicationDirPath();
}

// ---- Loading the window ----

void EditVideoWindowController::windowDidLoad() {
    setUpFrame();
    QPointer<EditVideoWindowController> failedSelf(this);
    jobRunner().failed = [failedSelf](int code) {
        if (failedSelf)
            failedSelf->exportFailed(code);
    };
    QWidget* content = window();
    // The window keeps its minimum where the screen has room for it; on a smaller screen it fits the screen and
    // its content scrolls.
    const ViewSize room = screenRoom();
    const ViewSize opening = EditorLayout::fittedSize({double(kWindowWidth), double(kWindowHeight)}, room);
    content->resize(int(opening.width), int(opening.height));
    const ViewSize minimum = EditorLayout::fittedSize(EditorLayout::compute({}).minimumSize, room);
    content->setMinimumSize(int(minimum.width), int(minimum.height));

    _volume = 1.0;
    _brightness = _contrast = _saturation = 0;

    buildFrame();
    buildSourceRow();
    buildPlayerArea();

    // The format strip (its category bar and profile row) and the preview's play button.
    _browser = new OutputFormatBrowser(OutputFormatBrowser::Variant::Editor, this, ProfileRoot::forWindow(false), this);
    _browser->loadFunctionList();
    _browser->initTabbarView();
    _browser->initfunctionView();
    _browser->actionFunctionItem(nullptr);
    if (MOQButton* play = playOrpauseBtn())
        play->setToolTip(localized(QStringLiteral("playPauseToolTip")));
    initPlayer();

    buildToolStrip();
    buildPanels();
    buildOutputRow();
    enableEdit(false);
    changesize(SizeChange::None);
    enterMode(_toolItemType);
}

void EditVideoWindowController::buildFrame() {
    QWidget* content = window();
    // Everything lies on the background view, which scrolls inside the window when the window is smaller than the
    // layout's minimum.
    _scroller = new QScrollArea(content);
    _scroller->setFrameShape(QFrame::NoFrame);
    _scroller->setWidgetResizable(false);
    _scroller->setStyleSheet(QStringLiteral("QScrollArea { background: rgb(33, 176, 235); }"));
    _scroller->setGeometry(content->rect());
    _backGroundView = new MOQImageView(ViewRect{0, 0, double(kWindowWidth), double(kWindowHeight)}, nullptr);
    _scroller->setWidget(_backGroundView);
    auto* back = static_cast<MOQImageView*>(_backGroundView);
    back->setBackGroundColor(kBlue);
    back->setBordColor(kBlue);
    back->setCornerRadius(5);
    back->setBorderWidth(2);

    _contentBackGroundView = new MOQImageView(ViewRect{4, 236, kWindowWidth - 8.0, 512}, _backGroundView);
    _contentBackGroundView->setBackGroundColor(Qt::white);
    _contentBackGroundView->setBordColor(Qt::white);
    _contentBackGroundView->setCornerRadius(5);
    _contentBackGroundView->setBorderWidth(2);

    _contentLeftView = new MOQImageView(ViewRect{8, 240, 240, 421}, _backGroundView);
    _contentLeftView->setBackGroundColor(QColor(245, 245, 245));
    _contentRightView = new MOQImageView(ViewRect{248, 240, kWindowWidth - 252.0, 421}, _backGroundView);
    _contentRightView->setBackGroundColor(Qt::white);

    // The tool strip runs along the top of the white content area, the source row under it.
    _funItemBackView = new MOQImageView(ViewRect{8, kWindowHeight - 90.0, kWindowWidth - 16.0, 54}, _backGroundView);
    _funItemBackView->setBackGroundColor(kBlue);
    _funItemBackView->setCornerRadius(0);
    _funItemBackView->setBorderWidth(0);
    _funItemContentView = new MOQImageView(ViewRect{0, 0, 667, 54}, _funItemBackView);
    // Our tab pictures are white glyphs: the strip stays blue so that they and their white titles can be read.
    _funItemContentView->setBackGroundColor(kBlue);
    _funItemContentView->setCornerRadius(0);
    _funItemContentView->setBorderWidth(0);
}

void EditVideoWindowController::buildToolStrip() {
    const double stripHeight = ViewFrame::frame(_funItemContentView).height;
    QPointer<EditVideoWindowController> self(this);
    for (size_t i = 0; i < kToolButtons.size(); ++i) {
        const ToolButtonDef& def = kToolButtons[i];
        auto* button = new MOQButton(EditorLayout::toolButtonFrame(int(i), stripHeight), _funItemContentView);
        const QString normal = QString::fromLatin1(def.image);
        button->setNormalImage(image(normal));
        button->setOnImage(image(QString(normal).replace("_Normal", "_On")));
        button->setDownImage(image(QString(normal).replace("_Normal", "_Down")));
        button->setDisAbleImage(image(QString(normal).replace("_Normal", "_Disable")));
        button->setSelectedImage(image(QString(normal).replace("_Normal", "_Down")));
        button->setContentColor(Qt::white);
        button->setContentTitle(localized(QString::fromLatin1(def.titleKey)));
        button->setTitlePosition(std::make_shared<MOQPosition>(0, 0, 0, def.rightInset));
        button->setFont(ControlFont::system(12));
        button->setCornerRadius(1);
        button->setBorderWidth(0);
        button->setBordered(false);
        button->setEnabled(false);
        const qint64 type = def.type;
        button->setMouseDownAction([self, type](MOQButton*) {
            Dispatch::main([self, type] {
                if (self)
                    self->enterMode(type);
            });
        });
        _toolButtons[i] = button;
    }
}

void EditVideoWindowController::buildSourceRow() {
    const double y = kWindowHeight - 120.0;
    _addfileButton = new MOQButton(ViewRect{8, y, 120, 28}, _backGroundView);
    _addfileButton->setBackGroundColor(QColor(90, 216, 238));
    _addfileButton->setContentColor(Qt::white);
    _addfileButton->setNormalBackgroundImage(image("About/btnAddFile_Normal.bmp"));
    _addfileButton->setOnBackgroundImage(image("About/btnAddFile_On.bmp"));
    _addfileButton->setDownBackgroundImage(image("About/btnAddFile_Down.bmp"));
    _addfileButton->setDisAbleBackgroundImage(image("About/btnAddFile_Disable.bmp"));
    _addfileButton->setContentTitle(localized(QStringLiteral("AddFileBtnTitle")));
    _addfileButton->setFont(ControlFont::system(13));
    _addfileButton->setCornerRadius(3);
    _addfileButton->setBorderWidth(2);
    _addfileButton->setBordered(false);
    QPointer<EditVideoWindowController> self(this);
    _addfileButton->setMouseDownAction([self](MOQButton* button) {
        QPointer<MOQButton> sender(button);
        Dispatch::main([self, sender] {
            if (self)
                self->addfileAction(sender);
        });
    });

    _scrLabel = makeLabel(_backGroundView, ViewRect{136, y, 500, 28}, QString(), 12, kBlue.name());
    _scrLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    _scrLabel->setProperty("placeholder", localized(QStringLiteral("scrlabelplaceholderString")));
    _scrLabel->setText(localized(QStringLiteral("scrlabelplaceholderString")));
    _scrLabel->setStyleSheet(QStringLiteral("color: rgb(150, 150, 150); background: transparent;"));

    _audioLabel = makeLabel(_backGroundView, ViewRect{kWindowWidth - 300.0, y, 60, 28},
                            localized(QStringLiteral("AudioLabelTitle")));
    _audioLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    _audiochanelPopBtn = new QComboBox(_backGroundView);
    ViewFrame::setFrame(_audiochanelPopBtn, ViewRect{kWindowWidth - 232.0, y + 1, 220, 26});
    _audiochanelPopBtn->setFont(ControlFont::system(12));
    // The chosen track is read when the preview plays and when the export starts.
    connect(_audiochanelPopBtn, &QComboBox::activated, this,
            [](int) { qCInfo(lcShell, "%s", "-[EditVideoWindowController audioChanelPopAction:]"); });
}

void EditVideoWindowController::buildPlayerArea() {
    _playerBackView = new MOQImageView(ViewRect{253, 240, kWindowWidth - 264.0, 415}, _backGroundView);
    _playerBackView->setBackGroundColor(Qt::white);
    const ViewRect back = ViewFrame::bounds(_playerBackView);
    _playerView = new MOQImageView(ViewRect{0, 80, back.width, back.height - 112}, _playerBackView);
    _playerView->setBackGroundColor(Qt::black);
    _playerBottomView = new MOQImageView(ViewRect{10, 20, back.width - 20, 36}, _playerBackView);
    const ViewRect bar = ViewFrame::bounds(_playerBottomView);
    const double labelY = (bar.height - 26) * 0.5 - 4;
    _currentTimeLabel = makeLabel(_playerBottomView, ViewRect{40, labelY, 80, 26}, QStringLiteral("00:00:00"), 13);
    _currentTimeLabel->setAlignment(Qt::AlignCenter);
    _totalTimeLabel =
        makeLabel(_playerBottomView, ViewRect{bar.width - 80, labelY, 80, 26}, QStringLiteral("00:00:00"), 13);
    _totalTimeLabel->setAlignment(Qt::AlignCenter);
}

MOQImageView* EditVideoWindowController::makePanelHost() {
    const ViewRect left = ViewFrame::bounds(_contentLeftView);
    auto* host = new MOQImageView(ViewRect{5, 5, left.width - 10, left.height - 10}, _contentLeftView);
    host->setBackGroundColor(QColor(245, 245, 245));
    host->hide();
    return host;
}

void EditVideoWindowController::buildPanels() {
    // In the order the panels are set up: crop, trim, effect, watermark, subtitle, rotate, music.
    _cropView = makePanelHost();
    _crop = new CropRotateEditor(*this, this);
    _crop->initCropView(_cropView);
    _trimView = makePanelHost();
    _trimPanel = new TrimPanel(*this, this);
    _trimPanel->initTrimView(_trimView);
    _cutProgressView->setDelegate(_trimPanel);
    QPointer<EditVideoWindowController> self(this);
    _exportRun = std::make_unique<EditExportRun>(
        [self](std::vector<JobStep> steps, JobRunner::FinishBlock finish) {
            return self && self->startRun(std::move(steps), std::move(finish));
        },
        [self](const QString& key) {
            if (self)
                self->showSimpleAlert(ResourceBundle::localizedStringForKey(key), 2);
        });
    _kxfxView = makePanelHost();
    _effects = new EffectEditor(*this, this);
    _effects->initEffectView(_kxfxView);
    _watermarks = new WatermarkEditor(*this, this);
    _watermarks->initWaterView(_contentLeftView);
    _captionView = makePanelHost();
    _subtitles = new SubtitleEditor(*this, this);
    _subtitles->initSubtitleView(_captionView);
    _adjustView = makePanelHost();
    _crop->initAdjustView(_adjustView);
    initMusicHosts();
    _music = new MusicEditor(*this, this);
    _music->initMusicView(_musicContentView, _musicRightPlayerView, _musicRightBottomView, _toolMusicNofileView,
                          _audiochanelPopBtn);
    _music->hiddenMusicViewPlay(true);
    _music->enableMusicEdit(false);
}

void EditVideoWindowController::initMusicHosts() {
    // The music panel lies beside the left column; its right column takes the player's place in the music mode.
    const ViewRect left = ViewFrame::frame(_contentLeftView);
    _musicContentView = new MOQImageView(ViewRect{13, left.y + 5, left.width - 10, left.height - 10}, _backGroundView);
    _musicContentView->setBackGroundColor(QColor(245, 245, 245));
    _musicContentView->hide();
    _musicRightView = new MOQImageView(ViewFrame::frame(_playerBackView), _backGroundView);
    _musicRightView->setBackGroundColor(QColor(245, 245, 245));
    _musicRightView->hide();
    const ViewRect right = ViewFrame::bounds(_musicRightView);
    _musicRightPlayerView = new MOQImageView(ViewRect{14, 90, right.width - 26, right.height - 90}, _musicRightView);
    _musicRightPlayerView->setBackGroundColor(Qt::black);
    _musicRightBottomView = new MOQImageView(ViewRect{0, 0, right.width, 91}, _musicRightView);
    _toolMusicNofileView = new MOQImageView(ViewRect{0, 0, right.width, right.height}, _musicRightView);
    _toolMusicNofileView->hide();
}

void EditVideoWindowController::buildOutputRow() {
    QWidget* back = _backGroundView;
    _outputPathPopUpBtn = installOutputPopUp(back, ViewRect{130, 14, 220, 26});
    // Beside the pop-up: shows the output folder in the file manager at once.
    _scrFolderBtn = new MOQButton(ViewRect{356, 15, 24, 24}, back);
    _scrFolderBtn->setNormalImage(image("SubFun/btnBrowse_Down.png"));
    _scrFolderBtn->setBordered(false);
    _scrFolderBtn->setToolTip(localized(QStringLiteral("OpenfileTitle")));
    QPointer<EditVideoWindowController> folderSelf(this);
    _scrFolderBtn->setMouseDownAction([folderSelf](MOQButton*) {
        if (folderSelf)
            folderSelf->openScrFolderAction();
    });
    _exprogressLabel = makeLabel(back, ViewRect{388, 14, 80, 26}, localized(QStringLiteral("progressLabelStringValue")),
                                 13, QStringLiteral("white"));
    _exportProgressView = new NSProgressView(ViewRect{470, 23, kWindowWidth - 158.0 - 470, 8}, back);
    _startExportBtn = new MOQButton(ViewRect{kWindowWidth - 150.0, 6, 140, 40}, back);
    _startExportBtn->setNormalBackgroundImage(image("SubFun/btnStart_Normal.bmp"));
    _startExportBtn->setOnBackgroundImage(image("SubFun/btnStart_On.bmp"));
    _startExportBtn->setDownBackgroundImage(image("SubFun/btnStart_Down.bmp"));
    _startExportBtn->setSelectedBackgroundImage(image("SubFun/btnStart_Down.bmp"));
    _startExportBtn->setDisAbleBackgroundImage(image("SubFun/btnStart_Disable.bmp"));
    _startExportBtn->setFont(ControlFont::system(18));
    _startExportBtn->setContentColor(Qt::white);
    _startExportBtn->setBordered(false);
    _startExportBtn->setContentTitle(localized(QStringLiteral("StartExportTitle")));
    QPointer<EditVideoWindowController> self(this);
    _startExportBtn->setMouseDownAction([self](MOQButton* button) {
        QPointer<MOQButton> sender(button);
        Dispatch::main([self, sender] {
            if (self)
                self->startExportAction(sender);
        });
    });
}

void EditVideoWindowController::openScrFolderAction() {
    qCInfo(lcShell, "%s", "-[EditVideoWindowController openScrFolderAction:]");
    revealOutputFolder();
}

// ---- Modes ----

MOQButton* EditVideoWindowController::toolButton(qint64 type) const {
    for (size_t i = 0; i < kToolButtons.size(); ++i)
        if (kToolButtons[i].type == type)
            return _toolButtons[i];
    return nullptr;
}

QWidget* EditVideoWindowController::waterView() const {
    return _watermarks ? static_cast<QWidget*>(_watermarks->waterView()) : nullptr;
}

QWidget* EditVideoWindowController::panelForMode(qint64 type) const {
    switch (type) {
    case ToolItemTypeTrim:
        return _trimView;
    case ToolItemTypeRotate:
        return _adjustView;
    case ToolItemTypeCrop:
        return _cropView;
    case ToolItemTypeEffect:
        return _kxfxView;
    case ToolItemTypeWatermark:
        return waterView();
    case ToolItemTypeSubtitle:
        return _captionView;
    case ToolItemTypeMusic:
        return _musicContentView;
    default:
        return nullptr;
    }
}

void EditVideoWindowController::enterMode(qint64 type) {
    switch (isToolType(type) ? type : ToolItemTypeTrim) {
    case ToolItemTypeRotate:
        rotateAction(toolButton(ToolItemTypeRotate));
        break;
    case ToolItemTypeCrop:
        cropAction(toolButton(ToolItemTypeCrop));
        break;
    case ToolItemTypeEffect:
        effectAction(toolButton(ToolItemTypeEffect));
        break;
    case ToolItemTypeWatermark:
        watermarkAction(toolButton(ToolItemTypeWatermark));
        break;
    case ToolItemTypeSubtitle:
        subtitleAction(toolButton(ToolItemTypeSubtitle));
        break;
    case ToolItemTypeMusic:
        addmusicAction(toolButton(ToolItemTypeMusic));
        break;
    default:
        cutAction(toolButton(ToolItemTypeTrim));
        break;
    }
}

void EditVideoWindowController::switchMode(qint64 type) {
    _toolItemType = type;
    const bool toMusic = type == ToolItemTypeMusic && _oldToolItemType != ToolItemTypeMusic;
    const bool fromMusic = type != ToolItemTypeMusic && _oldToolItemType == ToolItemTypeMusic;
    if (toMusic || fromMusic) {
        movePlayerView();
        changesize(SizeChange::None);
    }
    _oldToolItemType = type;

    QWidget* shown = panelForMode(type);
    if (_trimPanel && _trimPanel->trimView())
        _trimPanel->trimView()->setVisible(type == ToolItemTypeTrim);
    for (qint64 mode : {ToolItemTypeTrim, ToolItemTypeRotate, ToolItemTypeCrop, ToolItemTypeEffect,
                        ToolItemTypeWatermark, ToolItemTypeSubtitle, ToolItemTypeMusic})
        if (QWidget* panel = panelForMode(mode))
            panel->setVisible(panel == shown);
    _musicRightView->setVisible(type == ToolItemTypeMusic);
    if (_watermarks && _watermarks->watermarkView())
        _watermarks->watermarkView()->setVisible(type == ToolItemTypeWatermark);
    if (_crop)
        _crop->hideOverlay(); // the crop mode shows it again
    for (size_t i = 0; i < kToolButtons.size(); ++i)
        _toolButtons[i]->setSelected(kToolButtons[i].type == type);

    if (type == ToolItemTypeMusic) {
        _playerBackView->hide();
    } else {
        _playerBackView->show();
        const bool trim = type == ToolItemTypeTrim;
        _progressSlider->setVisible(!trim);
        _cutProgressView->setVisible(trim);
        if (MOQButton* play = playOrpauseBtn())
            play->setVisible(!trim);
    }
    if (type == ToolItemTypeMusic)
        if (MOQButton* play = playOrpauseBtn())
            play->show();
}

void EditVideoWindowController::movePlayerView() {
    if (!_lqPlayer || !_lqPlayer->view())
        return;
    QWidget* host = _toolItemType == ToolItemTypeMusic ? static_cast<QWidget*>(_musicRightPlayerView)
                                                       : static_cast<QWidget*>(_playerView);
    QWidget* view = _lqPlayer->view();
    view->setParent(host);
    _lqPlayer->setFrame(ViewFrame::bounds(host));
    ViewFrame::setFrame(view, ViewFrame::bounds(host));
    view->show();
}

void EditVideoWindowController::cutAction(MOQButton*) {
    switchMode(ToolItemTypeTrim);
    qCInfo(lcShell, "%s", "-[EditVideoWindowController cutAction:]");
}

void EditVideoWindowController::rotateAction(MOQButton*) {
    switchMode(ToolItemTypeRotate);
    // Leaving the crop for the rotation fixes the crop the box shows.
    _crop->commitCropFromOverlay();
    if (!_isPlaying) {
        if (_watermarks)
            _watermarks->refreshPlayerWaterMark(false);
        if (_lqPlayer)
            _lqPlayer->Refresh();
    }
}

void EditVideoWindowController::cropAction(MOQButton*) {
    switchMode(ToolItemTypeCrop);
    qCInfo(lcShell, "%s", "-[EditVideoWindowController cropAction:]");
    _crop->cropReadOut();
}

void EditVideoWindowController::effectAction(MOQButton*) {
    switchMode(ToolItemTypeEffect);
    qCInfo(lcShell, "%s", "-[EditVideoWindowController effectAction:]");
}

void EditVideoWindowController::watermarkAction(MOQButton*) {
    switchMode(ToolItemTypeWatermark);
    qCInfo(lcShell, "%s", "-[EditVideoWindowController watermarkAction:]");
    if (_watermarks && _watermarks->watermarkView()) {
        LQWaterView* overlay = _watermarks->watermarkView();
        if (!overlay->parentWidget() && _lqPlayer && _lqPlayer->view())
            overlay->setParent(_lqPlayer->view());
        overlay->show();
        overlay->raise();
        // The crop made in the crop mode is drawn over the picture here.
        _watermarks->showCropOutline();
    }
}

void EditVideoWindowController::subtitleAction(MOQButton*) {
    switchMode(ToolItemTypeSubtitle);
    qCInfo(lcShell, "%s", "-[EditVideoWindowController subtitleAction:]");
}

void EditVideoWindowController::addmusicAction(MOQButton*) {
    switchMode(ToolItemTypeMusic);
    if (_music && _fileData && !isRunning())
        _music->enableMusicEdit(!_music->musicList().empty());
    qCInfo(lcShell, "%s", "-[EditVideoWindowController addmusicAction:]");
    // While an export runs the controls stay locked, whatever the mode.
    enableEdit(!isRunning());
}

// ---- Enabling the controls ----

void EditVideoWindowController::enableEdit(bool enabled) {
    // Nothing that changes the file or the edit may be used while an export works on them.
    const bool busy = isRunning() || _exportStarting;
    const bool e = enabled && !busy;
    if (_watermarks) {
        // In this order: the child views' switch turns the add and delete buttons on with any player.
        _watermarks->enableWaterChildView(e && !_watermarks->waterMarkList().isEmpty());
        _watermarks->waterEnAbeld(e);
    }
    _progressSlider->setDisable(!e);
    _cutProgressView->setDisable(!e);
    if (_trimPanel)
        _trimPanel->enableEdit(e);
    if (MOQButton* play = playOrpauseBtn())
        play->setEnabled(e);
    _audiochanelPopBtn->setEnabled(e);
    if (_crop)
        _crop->enableEdit(e);
    if (_music) {
        _music->enableEdit(e);
        _music->enableMusicEdit(e && !_music->musicList().empty());
    }
    if (_effects)
        _effects->enableEdit(e);
    if (_subtitles)
        _subtitles->enableEdit(e);
    _addfileButton->setEnabled(!busy);
    for (MOQButton* button : _toolButtons)
        button->setEnabled(_fileData != nullptr && !busy);
    // Start can be pressed when idle (without a file it says why); while an export runs it is the Cancel and stays
    // as the run left it, and after a cancel it waits for the stopped job's worker to return.
    if (!busy)
        _startExportBtn->setEnabled(!jobRunner().isBusy());
    if (_fileData) {
        _progressSlider->setProgress(0);
        _cutProgressView->setProgress(0);
        // The trim fields and the bar show the range again (a stop of 0 is the whole file).
        _trimPanel->setCutTimeRange(cutTimeRange_start(), cutTimeRange_stop());
        const double d = duration();
        if (d > 0)
            _cutProgressView->setLowerValueUpperValue(float((cutTimeRange_start() / 1e6) / d),
                                                      float((cutTimeRange_stop() / 1e6) / d));
    }
}

// ---- Layout ----

void EditVideoWindowController::changesize(SizeChange reason) {
    QWidget* w = window();
    if (reason == SizeChange::DidExitFullScreen)
        return; // the resize that follows lays the window out
    const bool collapsed = _browser && _browser->showFunctionBtn() && _browser->showFunctionBtn()->selected();
    const ViewRect window = ViewFrame::frame(w);
    EditorLayout::Input minimumInput;
    minimumInput.collapsed = collapsed;
    const ViewSize minimum = EditorLayout::compute(minimumInput).minimumSize;
    const ViewSize fitted = EditorLayout::fittedSize(minimum, screenRoom());
    w->setMinimumSize(int(fitted.width), int(fitted.height));
    // Laid out for the window's size, or for the minimum inside the scrolling window.
    const ViewSize laidOut =
        EditorLayout::contentSize(window.size(), minimum, _scroller->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    const ViewRect frame{0, 0, laidOut.width, laidOut.height};
    _scroller->setGeometry(0, 0, int(window.width), int(window.height));
    _backGroundView->resize(int(frame.width), int(frame.height));
    EditorLayout::Input input;
    input.width = frame.width;
    input.height = frame.height;
    input.collapsed = collapsed;
    input.enteringFullScreen = reason == SizeChange::DidEnterFullScreen;
    input.backGroundWidth = frame.width;
    const EditorLayout::Frames f = EditorLayout::compute(input);

    ViewFrame::setFrame(_contentBackGroundView, f.contentBackGroundView);
    ViewFrame::setFrame(_contentLeftView, f.contentLeftView);
    ViewFrame::setFrame(_contentRightView, f.contentRightView);
    ViewFrame::setFrame(_musicRightView, f.musicRightView);
    ViewFrame::setFrame(_playerBackView, f.playerBackView);
    ViewFrame::setFrame(_playerView, f.playerView);
    ViewFrame::setFrame(_playerBottomView, f.playerBottomView);
    ViewFrame::setFrame(_musicRightPlayerView, f.musicRightPlayerView);
    ViewFrame::setFrame(_musicRightBottomView, f.musicRightBottomView);
    ViewFrame::setFrame(_toolMusicNofileView, f.toolMusicNofileView);
    for (QWidget* panel :
         {static_cast<QWidget*>(_trimView), static_cast<QWidget*>(_cropView), static_cast<QWidget*>(_adjustView),
          static_cast<QWidget*>(_kxfxView), waterView(), static_cast<QWidget*>(_captionView)})
        if (panel)
            ViewFrame::setFrame(panel, EditorLayout::toolPanelFrame(ViewFrame::frame(panel), f.contentLeftView));
    ViewFrame::setFrame(_musicContentView,
                        EditorLayout::musicPanelFrame(ViewFrame::frame(_musicContentView), f.contentLeftView));
    if (_lqPlayer && _lqPlayer->view()) {
        const ViewRect host =
            ViewFrame::bounds(_toolItemType == ToolItemTypeMusic ? static_cast<QWidget*>(_musicRightPlayerView)
                                                                 : static_cast<QWidget*>(_playerView));
        _lqPlayer->setFrame(host);
        ViewFrame::setFrame(_lqPlayer->view(), host);
    }
    _progressSlider->setFrame(f.progressSlider);
    _cutProgressView->setFrame(f.cutProgressView);
    if (MOQButton* play = playOrpauseBtn())
        ViewFrame::setFrame(play, f.playOrpauseBtn);
    ViewFrame::setFrame(_currentTimeLabel, f.currentTimeLabel);
    ViewFrame::setFrame(_totalTimeLabel, f.totalTimeLabel);
    if (_browser && _browser->tabbarView()) {
        ViewFrame::setFrame(_browser->tabbarView(), f.tabbarView);
        ViewFrame::setFrame(_browser->tabbarbackView(), f.tabbarbackView);
        ViewFrame::setFrame(_browser->showFunctionBtn(), f.showFunctionBtn);
        if (_browser->functionView())
            ViewFrame::setFrame(_browser->functionView(), f.functionView);
        if (_browser->functionItemScrollview())
            ViewFrame::setFrame(_browser->functionItemScrollview(), f.functionItemScrollview);
        ViewFrame::setFrame(_browser->left_move_item_Btn(), f.leftMoveItemBtn);
        ViewFrame::setFrame(_browser->right_move_item_Btn(), f.rightMoveItemBtn);
        for (QWidget* view : {static_cast<QWidget*>(_browser->functionView()),
                              static_cast<QWidget*>(_browser->functionItemScrollview()),
                              static_cast<QWidget*>(_browser->left_move_item_Btn()),
                              static_cast<QWidget*>(_browser->right_move_item_Btn())})
            if (view)
                view->setVisible(!f.functionRowHidden);
    }
    if (_exportProgressView) {
        _exportProgressView->setFrame(
            EditorLayout::exportProgressFrame(ViewFrame::frame(_exportProgressView), frame.width));
        ViewFrame::setFrame(_startExportBtn, ViewRect{frame.width - 150, 6, 140, 40});
    }
    // The strip and the source row hang from the top of the content area.
    const double top = f.contentBackGroundView.maxY();
    ViewFrame::setFrame(_funItemBackView, ViewRect{8, top - 58, frame.width - 16, 54});
    // The file row fills the space between the left column and the tool strip without reaching into the strip.
    const double rowY = f.contentLeftView.maxY() + 1;
    ViewFrame::setFrame(_addfileButton, ViewRect{8, rowY, 120, 28});
    ViewFrame::setFrame(_scrLabel, ViewRect{136, rowY, frame.width - 460, 28});
    ViewFrame::setFrame(_audioLabel, ViewRect{frame.width - 300, rowY, 60, 28});
    ViewFrame::setFrame(_audiochanelPopBtn, ViewRect{frame.width - 232, rowY + 1, 220, 26});

    if (reason == SizeChange::None || reason == SizeChange::Resize || reason == SizeChange::DidEnterFullScreen)
        refitVideo();
}

ViewSize EditVideoWindowController::screenRoom() const {
    QWidget* w = const_cast<EditVideoWindowController*>(this)->window();
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize area = screen->availableGeometry().size();
    // The window manager's title bar and borders: as measured once the window has a frame, else a title bar's
    // usual height.
    QSize frame = w->frameGeometry().size() - w->geometry().size();
    if (frame.height() <= 0)
        frame = QSize(0, 32);
    return {double(area.width() - frame.width()), double(area.height() - frame.height())};
}

ViewRect EditVideoWindowController::videoRect() const {
    QWidget* host = _lqPlayer && _lqPlayer->view() ? _lqPlayer->view() : static_cast<QWidget*>(_playerView);
    return WatermarkEditor::videoRectInside(_videoSize, ViewFrame::bounds(host));
}

void EditVideoWindowController::refitVideo() {
    // The crop box keeps its place on the picture, and the export keeps the crop it shows.
    if (_crop)
        _crop->refitVideo();
    _videoSize = _fileData && _crop ? _crop->videoSize() : ViewSize{};
    if (_watermarks && _watermarks->watermarkView()) {
        _watermarks->setOverlayFrame(videoRect(), _videoSize);
        _watermarks->refreshPlayerWaterMark(false);
    }
}

bool EditVideoWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (isWindowLoaded() && watched == window() && _progressSlider && _exportProgressView) {
        if (event->type() == QEvent::Resize) {
            changesize(SizeChange::Resize);
        } else if (event->type() == QEvent::WindowStateChange) {
            auto* change = static_cast<QWindowStateChangeEvent*>(event);
            const bool was = change->oldState() & Qt::WindowFullScreen;
            const bool is = window()->windowState() & Qt::WindowFullScreen;
            if (is && !was)
                changesize(SizeChange::DidEnterFullScreen);
            else if (was && !is)
                changesize(SizeChange::DidExitFullScreen);
        }
    }
    return FeatureWindowController::eventFilter(watched, event);
}

// ---- Hosts ----

MOQButton* EditVideoWindowController::playOrpauseBtn() const {
    return _browser ? _browser->playOrpauseBtn() : nullptr;
}

ClipList EditVideoWindowController::outputClips() {
    return _fileData ? ClipList{_fileData} : ClipList{};
}

int EditVideoWindowController::playerRotateAngle() const {
    return _crop ? _crop->playerRotateAngle() : 0;
}

ViewSize EditVideoWindowController::cropSourceSize() const {
    if (!_fileData)
        return {};
    const FileData& source = *_fileData->sourceData();
    return EditorLayout::videoSize(source.width(), source.height(), source.angle(), 0);
}

int EditVideoWindowController::cropSourceAngle() const {
    return _fileData ? _fileData->sourceData()->angle() : 0;
}

void EditVideoWindowController::cropPictureChanged(PictureChange change, const ViewRect& rect, const ViewSize& size) {
    _videoSize = size;
    // A turn drops the subtitle, whose position is measured on the picture.
    if (_subtitles && (change == PictureChange::Rotation || change == PictureChange::RotationReset))
        _subtitles->clearForRotation();
    if (!_watermarks)
        return;
    if (change == PictureChange::RotationReset)
        _watermarks->emptyList();
    if (LQWaterView* overlay = _watermarks->watermarkView()) {
        _watermarks->setOverlayFrame(rect, size);
        overlay->setWaterMark(QImage());
        overlay->setWaterMarkString(QString());
    }
    // The watermarks are measured on the picture: lay them again on the new one.
    _watermarks->refreshPlayerWaterMark(false);
}

QWidget* EditVideoWindowController::watermarkPlayerView() const {
    return _lqPlayer ? _lqPlayer->view() : nullptr;
}

void EditVideoWindowController::watermarkAlert(const QString& key) {
    showSimpleAlert(localized(key), 2);
}

ViewRect EditVideoWindowController::watermarkCropRect() const {
    if (!_crop || !_fileData)
        return {};
    const RECT m = _crop->convertCropSize();
    if (!CropGeometry::hasMargins(m))
        return {};
    const ViewSize picture = _crop->videoSize();
    return {double(m.left), double(m.bottom), picture.width - m.left - m.right, picture.height - m.top - m.bottom};
}

QWidget* EditVideoWindowController::watermarkWindow() const {
    return const_cast<EditVideoWindowController*>(this)->window();
}

QWidget* EditVideoWindowController::playerBottomView() {
    return _playerBottomView;
}
