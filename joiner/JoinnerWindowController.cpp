#include "JoinnerWindowController.h"

#include "ClipIntake.h"
#include "ClipPreviewBar.h"
#include "ClipSelection.h"
#include "ClipTrimActions.h"
#include "ClipTrimEditor.h"
#include "ControlFont.h"
#include "Dispatch.h"
#include "HelpClass.h"
#include "InputFilePanel.h"
#include "JoinError.h"
#include "JoinPlan.h"
#include "LQCutProgressView.h"
#include "LQProgressSlider.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MOQView.h"
#include "NSProgressView.h"
#include "OutputCustomValues.h"
#include "OutputFormatBrowser.h"
#include "OutputProfile.h"
#include "ProfileRoot.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "SimpleData.h"
#include "ViewFrame.h"
#include "Workspace.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

namespace {

constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 720;

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

QImage image(const char* name) {
    return ResourceBundle::imageWithfileName(QString::fromLatin1(name));
}

QLabel* makeLabel(QWidget* parent, const ViewRect& frame, const QString& text, double fontSize,
                  const QString& colour = QStringLiteral("black")) {
    auto* label = new QLabel(parent);
    ViewFrame::setFrame(label, frame);
    label->setFont(ControlFont::system(fontSize));
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(colour));
    label->setText(text);
    return label;
}

} // namespace

JoinnerWindowController::JoinnerWindowController(QObject* parent)
    : FeatureWindowController(parent), _fileList(std::make_shared<SimpleDataList>()),
      _selection(OutputSelection::Family::Joiner) {}

JoinnerWindowController::JoinnerWindowController(MediaJobFactory& factory, QObject* parent)
    : FeatureWindowController(factory, parent), _fileList(std::make_shared<SimpleDataList>()),
      _selection(OutputSelection::Family::Joiner) {}

JoinnerWindowController::~JoinnerWindowController() = default;

QString JoinnerWindowController::finishedMessageKey() const {
    return QStringLiteral("Joinnerfinishedstring");
}

QWidget* JoinnerWindowController::formatHostView() {
    return _formatBottomView;
}

QWidget* JoinnerWindowController::contentBackgroundView() {
    return _contentBackgroundView;
}

void JoinnerWindowController::outputClipsChanged() {
    if (!_fileList->isEmpty())
        ClipSelection(_fileList, _fileListTableView).refeed();
}

// ---- Set-up ----

void JoinnerWindowController::windowDidLoad() {
    setUpFrame();
    jobRunner().failed = [this](int code) { joinFailed(code); };
    QWidget* content = window();
    content->resize(kWindowWidth, kWindowHeight);
    content->setAutoFillBackground(true);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, QColor(33, 176, 235));
    content->setPalette(palette);

    buildContent(content);
    initContentNoFileView();
    buildListButtons();

    const ClipSelection clips(_fileList, _fileListTableView);
    _bar = new ClipPreviewBar(ClipPreviewBar::Variant::Joiner, clips, *this, _playerView, _barHost, _cutProgressView);
    _editor =
        new ClipTrimEditor(ClipTrimEditor::Variant::Joiner, clips, *_bar, _cutProgressView, _timeSelectBackView, this);
    _actions = new ClipTrimActions(clips, *_bar, *_editor, _cutProgressView, _actionsHost, this);
    _bar->clipBound = [this](const std::shared_ptr<SimpleData>& clip, float start, float stop) {
        _actions->showInverted(clip->isTrimFanxuan());
        _editor->showRange(start, stop);
    };
    _bar->startTrimPressed = [this] { _editor->setStartTrimBtnTouchUp(); };
    _bar->stopTrimPressed = [this] { _editor->setStopTrimBtnTouchUp(); };

    buildBottom(content);
    _outputFolderBtn = installOutputPopUp(content, ViewRect{120, 11, 223, 32});

    _browser = new OutputFormatBrowser(OutputFormatBrowser::Variant::Joiner, this, ProfileRoot::forWindow(true), this);
    _browser->loadFunctionList();
    _browser->initTabbarView();
    _browser->initfunctionView();
    _browser->actionFunctionItem(nullptr);

    fileListViewHidden(true);
}

void JoinnerWindowController::buildContent(QWidget* content) {
    // The format panel sits above the clips; when it collapses it slides down behind its container's edge and the
    // content grows into its place.
    _contentBackgroundView = new MOQView(ViewRect{10, 54, kWindowWidth - 20.0, 470}, content);
    _contentBackgroundView->setBackGroundColor(Qt::white);
    _contentBackgroundView->setBordColor(Qt::white);
    _contentBackgroundView->setCornerRadius(5);
    _contentBackgroundView->setBorderWidth(2);
    _formatContainer = new QWidget(content);
    ViewFrame::setFrame(_formatContainer, ViewRect{0, 530, double(kWindowWidth), 186});
    _formatBottomView = new MOQImageView(ViewRect{0, 6, double(kWindowWidth), 180}, _formatContainer);

    QWidget* panel = _contentBackgroundView;
    _contentNofileTishiView = new MOQImageView(ViewRect{10, 50, 600, 410}, panel);
    _fileListTableView = new JoinnerTableView(ViewRect{10, 50, 600, 410}, panel);

    _playerView = new MOQImageView(ViewRect{620, 210, 550, 250}, panel);
    _playerView->setBackGroundColor(Qt::black);
    _cutProgressView = new LQCutProgressView(ViewRect{620, 178, 550, 26}, panel);
    _cutProgressView->setTickMark(true);
    _barHost = new QWidget(panel);
    ViewFrame::setFrame(_barHost, ViewRect{620, 138, 550, 36});
    _timeSelectBackView = new QWidget(panel);
    ViewFrame::setFrame(_timeSelectBackView, ViewRect{620, 96, 550, 34});
    _actionsHost = new QWidget(panel);
    ViewFrame::setFrame(_actionsHost, ViewRect{624, 56, 546, 30});

    _addfileBtn = new MOQButton(ViewRect{10, 10, 120, 30}, panel);
    _addfileBtn->setBackGroundColor(QColor(90, 216, 238));
    // Our button pictures are light: a white title would hardly be read on them.
    _addfileBtn->setContentColor(QColor(20, 110, 160));
    _addfileBtn->setNormalBackgroundImage(image("About/btnAddFile_Normal.bmp"));
    _addfileBtn->setOnBackgroundImage(image("About/btnAddFile_On.bmp"));
    _addfileBtn->setDownBackgroundImage(image("About/btnAddFile_Down.bmp"));
    _addfileBtn->setDisAbleBackgroundImage(image("About/btnAddFile_Disable.bmp"));
    _addfileBtn->setContentTitle(localized(QStringLiteral("AddFileBtnTitle")));
    _addfileBtn->setFont(ControlFont::system(13));
    _addfileBtn->setCornerRadius(3);
    _addfileBtn->setBorderWidth(0);
    _addfileBtn->setBordered(false);
    QPointer<JoinnerWindowController> self(this);
    _addfileBtn->setMouseDownAction([self](MOQButton*) {
        Dispatch::main([self] {
            if (self)
                self->addFileAction();
        });
    });
}

void JoinnerWindowController::initContentNoFileView() {
    _contentNofileTishiView->setBordColor(QColor(214, 212, 212));
    _contentNofileTishiView->setCornerRadius(5);
    _contentNofileTishiView->setBorderWidth(2);
    QWidget* hint = _contentNofileTishiView;
    _emailIconView = new MOQButton(ViewRect{30, 30, 32, 32}, hint);
    _emailIconView->setNormalImage(image("Join/imgEmail.png"));
    _emailIconView->setBordered(false);
    QPointer<JoinnerWindowController> self(this);
    _emailIconView->setMouseDownAction([self](MOQButton*) {
        Dispatch::main([self] {
            if (self)
                self->emailAction();
        });
    });
    _email_addressLabel = makeLabel(hint, {70, 36, 500, 20}, localized(QStringLiteral("email_address")), 13);
    _gettingstatedlabel = makeLabel(hint, {30, 330, 540, 40}, localized(QStringLiteral("joinner_desc")), 22);
    for (int i = 0; i < 4; ++i) {
        QLabel* label =
            makeLabel(hint, {30, 270 - i * 50.0, 540, 44},
                      QStringLiteral("%1.").arg(i + 1) + localized(QStringLiteral("joinner_desc%1").arg(i + 1)), 16);
        label->setWordWrap(true);
        _joinner_descLabels[size_t(i)] = label;
    }
}

void JoinnerWindowController::buildListButtons() {
    QWidget* panel = _contentBackgroundView;
    QPointer<JoinnerWindowController> self(this);
    auto button = [&](double x, const char* key, const char* word, void (JoinnerWindowController::*action)()) {
        auto* b = new MOQButton(ViewRect{x, 11, 74, 28}, panel);
        b->setCornerRadius(4);
        b->setBordered(false);
        b->setBordColor(QColor(188, 189, 189));
        b->setBorderWidth(1);
        b->setBackGroundColor(QColor(231, 231, 231));
        b->setContentColor(Qt::black);
        b->setFont(ControlFont::system(13));
        b->setContentTitle(localized(QString::fromLatin1(key)));
        b->setMouseDownAction([self, word, action](MOQButton*) {
            qCInfo(lcShell).noquote() << word;
            Dispatch::main([self, action] {
                if (self)
                    (self.data()->*action)();
            });
        });
        return b;
    };
    _removeBtn = button(150, "RemoveBtnTitle", "selectRemove", &JoinnerWindowController::removeAction);
    _clearBtn = button(232, "ClearBtnTitle", "selectClear", &JoinnerWindowController::clearAction);
    _upBtn = button(314, "UpBtnTitle", "selectUp", &JoinnerWindowController::upAction);
    _downBtn = button(396, "DownBtnTitle", "selectDown", &JoinnerWindowController::downAction);
}

void JoinnerWindowController::buildBottom(QWidget* content) {
    _openOutputFolderBtn = new MOQButton(ViewRect{352, 15, 24, 24}, content);
    _openOutputFolderBtn->setNormalImage(image("SubFun/btnBrowse_Down.png"));
    _openOutputFolderBtn->setBordered(false);
    QPointer<JoinnerWindowController> self(this);
    // Acts at once.
    _openOutputFolderBtn->setMouseDownAction([self](MOQButton*) {
        if (self)
            self->revealOutputFolder();
    });

    _joinnerLabel = makeLabel(content, {750, 17, 80, 20}, localized(QStringLiteral("progressLabelStringValue")), 13,
                              QStringLiteral("white"));
    _joinnerProgressView = new NSProgressView(ViewRect{832, 23, 190, 8}, content);

    _startJoinnerBtn = new MOQButton(ViewRect{1040, 7, 150, 40}, content);
    _startJoinnerBtn->setNormalBackgroundImage(image("SubFun/btnStart_Normal.bmp"));
    _startJoinnerBtn->setOnBackgroundImage(image("SubFun/btnStart_On.bmp"));
    _startJoinnerBtn->setDownBackgroundImage(image("SubFun/btnStart_Down.bmp"));
    _startJoinnerBtn->setSelectedBackgroundImage(image("SubFun/btnStart_Down.bmp"));
    _startJoinnerBtn->setDisAbleBackgroundImage(image("SubFun/btnStart_Disable.bmp"));
    _startJoinnerBtn->setFont(ControlFont::system(18));
    _startJoinnerBtn->setContentColor(Qt::white);
    _startJoinnerBtn->setBordered(false);
    _startJoinnerBtn->setContentTitle(localized(QStringLiteral("StartExportTitle")));
    _startJoinnerBtn->setMouseDownAction([self](MOQButton*) {
        Dispatch::main([self] {
            if (self)
                self->startJoinnerAction();
        });
    });
}

// ---- The two states and the edit lock ----

void JoinnerWindowController::fileListViewHidden(bool hidden) {
    for (QWidget* w : std::initializer_list<QWidget*>{_emailIconView, _email_addressLabel, _gettingstatedlabel})
        w->setVisible(hidden);
    for (QLabel* label : _joinner_descLabels)
        label->setVisible(hidden);
    for (QWidget* w : std::initializer_list<QWidget*>{_fileListTableView, _removeBtn, _clearBtn, _upBtn, _downBtn})
        w->setVisible(!hidden);
    _bar->volumeSlider()->setDisable(hidden);
    _cutProgressView->setDisable(hidden);
    _editor->setFieldsEnabled(!hidden);
    for (QWidget* w :
         std::initializer_list<QWidget*>{_bar->startCutTimeBtn(), _bar->stopCutTimeBtn(), _actions->resetCutterBtn(),
                                         _actions->applytoallBtn(), _bar->cutCoverBtn(), _bar->cutcoverStyleBtn()})
        w->setEnabled(!hidden);
    if (hidden) {
        _cutProgressView->setProgress(0);
        _cutProgressView->setLowerValueUpperValue(0, 1);
        _bar->resetLabels();
        _editor->resetDisplay();
    }
}

void JoinnerWindowController::enableEdit(bool enabled) {
    if (_browser)
        _browser->enableEdit(enabled);
    _fileListTableView->setEnabele(enabled);
    for (MOQButton* b : {_removeBtn, _clearBtn, _upBtn, _downBtn, _bar->playBtn(), _bar->stopBtn()})
        b->setEnabled(enabled);
    _cutProgressView->setDisable(!enabled);
    _editor->setFieldsEnabled(enabled);
    for (QWidget* w :
         std::initializer_list<QWidget*>{_bar->startCutTimeBtn(), _bar->stopCutTimeBtn(), _actions->resetCutterBtn(),
                                         _actions->applytoallBtn(), _bar->cutCoverBtn(), _bar->cutcoverStyleBtn()})
        w->setEnabled(enabled);
}

// ---- Adding clips ----

void JoinnerWindowController::addFileAction() {
    const QStringList paths = InputFilePanel::run(window());
    if (paths.isEmpty())
        return;
    qCInfo(lcShell).noquote() << QStringLiteral("urls:%1").arg(paths.join(QLatin1Char(',')));
    addFiles(paths);
}

void JoinnerWindowController::addFiles(const QStringList& paths) {
    ++_pendingAdds;
    QPointer<JoinnerWindowController> self(this);
    ClipIntake::probe(paths, this,
                      [self](const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected) {
                          if (!self)
                              return;
                          --self->_pendingAdds;
                          self->clipsProbed(added, rejected);
                      });
}

void JoinnerWindowController::clipsProbed(const QList<std::shared_ptr<SimpleData>>& added,
                                          const QStringList& rejected) {
    for (const std::shared_ptr<SimpleData>& clip : added) {
        // A new clip's target follows the output format chosen so far.
        _selection.refreshTarget(*clip, OutputSelection::TargetAllFields);
        _fileList->append(clip);
    }
    if (!rejected.isEmpty())
        showSimpleAlert(ClipIntake::rejectedText(rejected), 2);
    if (!_fileList->isEmpty())
        refeedWithClosures();
}

void JoinnerWindowController::refeedWithClosures() {
    QPointer<JoinnerWindowController> self(this);
    _fileListTableView->setItems(_fileList);
    _fileListTableView->setRowHeight(60);
    _fileListTableView->setSelectDefaultOutputFormatBlock([self](const std::shared_ptr<SimpleData>& clip) {
        Dispatch::main([self, clip] {
            if (self && self->_browser)
                self->_browser->setdefaultFormat(*clip);
        });
    });
    _fileListTableView->setSelectItemBlock([self](const std::shared_ptr<SimpleData>&) {
        Dispatch::main([self] {
            if (self)
                self->_bar->initPlayer();
        });
    });
    _fileListTableView->setSelectTranstionEffectBlock([self](long long row, long long effect) {
        Dispatch::main([self, row, effect] {
            if (self && row >= 0 && row < self->_fileList->size())
                self->_fileList->at(row)->setTransitionEffect(int(effect));
        });
    });
    _fileListTableView->reloadData();
    fileListViewHidden(false);
}

// ---- The list buttons ----

void JoinnerWindowController::removeAction() {
    const qint64 row = _fileListTableView->selectedRow();
    if (row < 0 || row >= _fileList->size())
        return;
    _fileList->removeAt(row);
    _fileListTableView->setItems(_fileList);
    _fileListTableView->reloadData();
    const bool empty = _fileList->isEmpty();
    fileListViewHidden(empty);
    if (empty) {
        _joinnerProgressView->setProgress(0);
        _bar->initPlayer(); // the removed clip's preview goes with it
    }
}

void JoinnerWindowController::clearAction() {
    _fileList->clear();
    _fileListTableView->setItems(_fileList);
    _fileListTableView->reloadData();
    fileListViewHidden(true);
    _bar->volumeSlider()->setDisable(true);
    _cutProgressView->setProgress(0);
    _joinnerProgressView->setProgress(0);
    _cutProgressView->setLowerValueUpperValue(0, 1);
    _cutProgressView->setDisable(true);
    _bar->initPlayer();
}

void JoinnerWindowController::selectRowAfterMove(qint64 row) {
    _fileListTableView->setSelectedRow(row);
    _fileListTableView->setDisabelSelectBlock(true);
    _fileListTableView->reloadData();
}

void JoinnerWindowController::upAction() {
    const qint64 row = _fileListTableView->selectedRow();
    if (row <= 0 || row >= _fileList->size())
        return;
    _fileList->swapItemsAt(row, row - 1);
    selectRowAfterMove(row - 1);
}

void JoinnerWindowController::downAction() {
    const qint64 row = _fileListTableView->selectedRow();
    if (row < 0 || row >= _fileList->size() - 1)
        return;
    _fileList->swapItemsAt(row, row + 1);
    selectRowAfterMove(row + 1);
}

void JoinnerWindowController::emailAction() {
    qCInfo(lcShell) << "email Selected";
    const QString address = localized(QStringLiteral("email_address"));
    QString url = QStringLiteral("mailto:%1?Subject=%2&body=%3").arg(address, QStringLiteral(" "), QStringLiteral(" "));
    url.replace(QLatin1Char(' '), QStringLiteral("%20"));
    Workspace::openURL(QUrl(url));
}

// ---- The join ----

QString JoinnerWindowController::fallbackExtension() const {
    const ProfileRoot root = ProfileRoot::forWindow(true);
    const QString path = root.defaultProfilePath();
    return path.isEmpty() ? QString() : OutputProfile::read(path, false).extName;
}

void JoinnerWindowController::startJoinnerAction() {
    if (_fileList->isEmpty())
        return;
    if (isRunning()) {
        cancelRun();
        _joinnerProgressView->setProgress(0);
        return;
    }
    // A cancelled join's worker has not returned yet: the button is disabled until it has.
    if (jobRunner().isBusy())
        return;
    _bar->pause();
    const JoinPlan plan =
        JoinPlan::make(*_fileList, _selection,
                       {OutputCustomValues::width(), OutputCustomValues::height(), OutputCustomValues::bitRate()},
                       fallbackExtension());
    if (plan.parts.empty()) {
        showSimpleAlert(localized(QStringLiteral("joinNothingLeftstringValue")), 2);
        return;
    }
    runJoin(plan);
}

void JoinnerWindowController::runJoin(const JoinPlan& plan) {
    _encodingFallback.reset();
    if (plan.copy)
        _encodingFallback = plan.encoded();
    _copyRefused = false;
    _joinnerProgressView->setProgress(0);
    QPointer<JoinnerWindowController> self(this);
    startRun({plan.jobStep(outputPath(), HelpClass::createFilename())}, [self](bool success) {
        if (!self)
            return;
        if (!success && self->_copyRefused && self->_encodingFallback) {
            const JoinPlan encoded = *self->_encodingFallback;
            Dispatch::main([self, encoded] {
                if (self)
                    self->runJoinWhenIdle(encoded);
            });
            return;
        }
        if (!success)
            self->_joinnerProgressView->setProgress(0);
    });
}

void JoinnerWindowController::runJoinWhenIdle(const JoinPlan& plan) {
    if (!window()->isVisible())
        return;
    // The refused run's worker has returned; the runner takes a new run once it is idle.
    if (jobRunner().isBusy()) {
        QPointer<JoinnerWindowController> self(this);
        Dispatch::main([self, plan] {
            if (self)
                self->runJoinWhenIdle(plan);
        });
        return;
    }
    runJoin(plan);
}

void JoinnerWindowController::joinFailed(int code) {
    if (code == mediacore::kJoinCopyParametersDiffer && _encodingFallback) {
        qCInfo(lcShell) << "the clips cannot be copied into one stream: the join is encoded";
        _copyRefused = true;
        return;
    }
    showSimpleAlert(QStringLiteral("error:%1").arg(code), 2);
}

void JoinnerWindowController::jobProgress(int, double percent) {
    _joinnerProgressView->setProgress(float(percent / 100.0));
}

void JoinnerWindowController::stopPlayers() {
    _bar->takeDownPlayer();
}
