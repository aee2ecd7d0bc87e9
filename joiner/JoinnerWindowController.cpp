#include "JoinnerWindowController.h"

#include "ClipEditArea.h"
#include "ClipExportBar.h"
#include "ClipIntake.h"
#include "ClipListPanel.h"
#include "ClipPreviewBar.h"
#include "ClipSelection.h"
#include "ClipTrimActions.h"
#include "ClipTrimEditor.h"
#include "Dispatch.h"
#include "EngineJobFactory.h"
#include "HelpClass.h"
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

namespace {

constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 720;

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

} // namespace

JoinnerWindowController::JoinnerWindowController(QObject* parent)
    : JoinnerWindowController(EngineJobFactory::shared(), parent) {}

JoinnerWindowController::JoinnerWindowController(MediaJobFactory& factory, QObject* parent)
    : FeatureWindowController(_jobs, parent), _jobs(factory), _fileList(std::make_shared<SimpleDataList>()),
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
        ClipSelection(_fileList, fileListTableView()).refeed();
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

    _area = new ClipEditArea(ClipPreviewBar::Variant::Joiner, ClipSelection(_fileList, fileListTableView()), *this,
                             _contentBackgroundView);

    _exportBar = new ClipExportBar(content, *this, [this] { startJoinnerAction(); });
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
    const ClipListPanel::Hint hint = ClipListPanel::Hint::numbered(QStringLiteral("joinner_desc"), 4);
    _list = new ClipListPanel(_fileList, panel, hint, this);
    _list->probed = [this](const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected) {
        clipsProbed(added, rejected);
    };
    _list->removePressed = [this] { removeAction(); };
    _list->clearPressed = [this] { clearAction(); };
}

// ---- The two states and the edit lock ----

void JoinnerWindowController::fileListViewHidden(bool hidden) {
    _list->showHint(hidden);
    _area->showEmpty(hidden);
    // Clips probed before a join began may arrive while it runs: they are listed, and everything stays locked.
    if (joinUnderWay())
        enableEdit(false);
}

void JoinnerWindowController::enableEdit(bool enabled) {
    if (_browser)
        _browser->enableEdit(enabled);
    // A clip added during a join would not be in the file it writes.
    _list->addfileBtn()->setEnabled(enabled);
    _list->setListEnabled(enabled);
    _area->setEditEnabled(enabled);
}

// ---- Adding clips ----

void JoinnerWindowController::addFileAction() {
    _list->addFileAction();
}

void JoinnerWindowController::addFiles(const QStringList& paths) {
    _list->addFiles(paths);
}

bool JoinnerWindowController::isAdding() const {
    return _list->isAdding();
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
    // The alert gives the start button its Start title back; a join that still runs keeps offering Cancel.
    if (isRunning())
        startJoinnerBtn()->setContentTitle(localized(QStringLiteral("CancelexportTitle")));
    if (!_fileList->isEmpty())
        refeedWithClosures();
}

void JoinnerWindowController::refeedWithClosures() {
    QPointer<JoinnerWindowController> self(this);
    fileListTableView()->setItems(_fileList);
    fileListTableView()->setRowHeight(60);
    fileListTableView()->setSelectDefaultOutputFormatBlock([self](const std::shared_ptr<SimpleData>& clip) {
        Dispatch::main([self, clip] {
            if (self && self->_browser)
                self->_browser->setdefaultFormat(*clip);
        });
    });
    fileListTableView()->setSelectItemBlock([self](const std::shared_ptr<SimpleData>&) {
        Dispatch::main([self] {
            if (self)
                self->_area->bar()->initPlayer();
        });
    });
    fileListTableView()->setSelectTranstionEffectBlock([self](long long row, long long effect) {
        Dispatch::main([self, row, effect] {
            if (self && row >= 0 && row < self->_fileList->size())
                self->_fileList->at(row)->setTransitionEffect(int(effect));
        });
    });
    fileListTableView()->reloadData();
    fileListViewHidden(false);
}

// ---- The list buttons ----

void JoinnerWindowController::removeAction() {
    if (!_list->removeSelected())
        return;
    const bool empty = _fileList->isEmpty();
    fileListViewHidden(empty);
    if (empty) {
        joinnerProgressView()->setProgress(0);
        _area->bar()->initPlayer(); // the removed clip's preview goes with it
    }
}

void JoinnerWindowController::clearAction() {
    _list->removeAll();
    fileListViewHidden(true);
    _area->bar()->volumeSlider()->setDisable(true);
    _area->cutProgressView()->setProgress(0);
    joinnerProgressView()->setProgress(0);
    _area->cutProgressView()->setLowerValueUpperValue(0, 1);
    _area->cutProgressView()->setDisable(true);
    _area->bar()->initPlayer();
}

void JoinnerWindowController::upAction() {
    _list->upAction();
}

void JoinnerWindowController::downAction() {
    _list->downAction();
}

void JoinnerWindowController::emailAction() {
    _list->emailAction();
}

JoinnerTableView* JoinnerWindowController::fileListTableView() const {
    return _list->fileListTableView();
}
NSProgressView* JoinnerWindowController::joinnerProgressView() const {
    return _exportBar->joinnerProgressView();
}
MOQButton* JoinnerWindowController::startJoinnerBtn() const {
    return _exportBar ? _exportBar->startJoinnerBtn() : nullptr;
}
MOQButton* JoinnerWindowController::addfileBtn() const {
    return _list->addfileBtn();
}
MOQButton* JoinnerWindowController::removeBtn() const {
    return _list->removeBtn();
}
MOQButton* JoinnerWindowController::clearBtn() const {
    return _list->clearBtn();
}
MOQButton* JoinnerWindowController::upBtn() const {
    return _list->upBtn();
}
MOQButton* JoinnerWindowController::downBtn() const {
    return _list->downBtn();
}
MOQButton* JoinnerWindowController::emailIconView() const {
    return _list->emailIconView();
}
MOQImageView* JoinnerWindowController::contentNofileTishiView() const {
    return _list->contentNofileTishiView();
}

// ---- The join ----

QString JoinnerWindowController::fallbackExtension() const {
    const ProfileRoot root = ProfileRoot::forWindow(true);
    const QString path = root.defaultProfilePath();
    return path.isEmpty() ? QString() : OutputProfile::read(path, false).extName;
}

void JoinnerWindowController::startJoinnerAction() {
    if (_fileList->isEmpty()) {
        // Nothing happens but a word of why.
        showSimpleAlert(localized(QStringLiteral("joinNoClipsstringValue")), 2);
        return;
    }
    if (isRunning()) {
        cancelRun();
        joinnerProgressView()->setProgress(0);
        return;
    }
    // A cancelled join's worker has not returned yet: the button is disabled until it has.
    if (jobRunner().isBusy() || _preparing)
        return;
    _area->bar()->pause();
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
    _preparing = true;
    enableEdit(false);
    startJoinnerBtn()->setEnabled(false);
    QPointer<JoinnerWindowController> self(this);
    MediaJobFactory* factory = &_jobs.inner();
    Dispatch::background([self, factory, plan] {
        // Nothing else knows of this job yet: it is only touched here until the main queue takes it.
        std::shared_ptr<MediaJob> job = factory->create(MediaJob::Kind::Join);
        const int configured = job ? plan.configure(job->handle()) : 1;
        Dispatch::main([self, plan, job, configured] {
            if (self)
                self->joinPrepared(plan, job, configured);
            else if (job)
                job->close();
        });
    });
}

void JoinnerWindowController::joinPrepared(const JoinPlan& plan, const std::shared_ptr<MediaJob>& job, int configured) {
    _preparing = false;
    startJoinnerBtn()->setEnabled(true);
    if (!window()->isVisible()) {
        // Closed meanwhile: the join never starts.
        if (job)
            job->close();
        enableEdit(true);
        return;
    }
    JobStep step = plan.jobStep(outputPath(), HelpClass::createFilename());
    if (job) {
        // The runner takes the prepared job; its set-up reports what adding the clips gave.
        step.configure = [configured](MediaJob&) { return configured; };
        _jobs.hand(job);
    }
    _encodingFallback.reset();
    if (plan.copy)
        _encodingFallback = plan.encoded();
    _copyRefused = false;
    joinnerProgressView()->setProgress(0);
    QPointer<JoinnerWindowController> self(this);
    startRun({std::move(step)}, [self](bool success) {
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
            self->joinnerProgressView()->setProgress(0);
    }); // A job the runner did not take (it refused the run) goes.
    _jobs.drop();
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
    joinnerProgressView()->setProgress(float(percent / 100.0));
}

void JoinnerWindowController::stopPlayers() {
    _area->bar()->takeDownPlayer();
}
