#include "JoinnerWindowController.h"

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
    : ClipListWindowController(_jobs, parent), _jobs(factory), _selection(OutputSelection::Family::Joiner) {}

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
    if (!fileList()->isEmpty())
        ClipSelection(fileList(), fileListTableView()).refeed();
}

// ---- Set-up ----

void JoinnerWindowController::windowDidLoad() {
    setUpFrame();
    jobRunner().failed = [this](int code) { joinFailed(code); };
    QWidget* content = window();
    setUpContent(content, kWindowWidth, kWindowHeight);

    buildContent(content);
    installEditArea(ClipPreviewBar::Variant::Joiner, _contentBackgroundView);
    installExportBar(content, [this] { startJoinnerAction(); });
    installOutputFolder(content);

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

    installList(_contentBackgroundView, ClipListPanel::Hint::numbered(QStringLiteral("joinner_desc"), 4));
}

// ---- The edit lock ----

void JoinnerWindowController::enableEdit(bool enabled) {
    if (_browser)
        _browser->enableEdit(enabled);
    // A clip added during a join would not be in the file it writes.
    addfileBtn()->setEnabled(enabled);
    ClipListWindowController::enableEdit(enabled);
}

// ---- Adding clips ----

void JoinnerWindowController::addFileAction() {
    listPanel()->addFileAction();
}

void JoinnerWindowController::addFiles(const QStringList& paths) {
    listPanel()->addFiles(paths);
}

void JoinnerWindowController::admitClip(SimpleData& clip) {
    // A new clip's target follows the output format chosen so far.
    _selection.refreshTarget(clip, OutputSelection::TargetAllFields);
}

void JoinnerWindowController::addListBlocks(JoinnerTableView* view) {
    QPointer<JoinnerWindowController> self(this);
    view->setSelectDefaultOutputFormatBlock([self](const std::shared_ptr<SimpleData>& clip) {
        Dispatch::main([self, clip] {
            if (self && self->_browser)
                self->_browser->setdefaultFormat(*clip);
        });
    });
    view->setSelectTranstionEffectBlock([self](long long row, long long effect) {
        Dispatch::main([self, row, effect] {
            if (self && row >= 0 && row < self->fileList()->size())
                self->fileList()->at(row)->setTransitionEffect(int(effect));
        });
    });
}

// ---- The list buttons ----

void JoinnerWindowController::clipRemoved(bool empty) {
    if (empty)
        joinnerProgressView()->setProgress(0);
}

void JoinnerWindowController::listCleared() {
    previewBar()->volumeSlider()->setDisable(true);
    cutProgressView()->setProgress(0);
    joinnerProgressView()->setProgress(0);
    cutProgressView()->setLowerValueUpperValue(0, 1);
}

void JoinnerWindowController::upAction() {
    listPanel()->upAction();
}

void JoinnerWindowController::downAction() {
    listPanel()->downAction();
}

void JoinnerWindowController::emailAction() {
    listPanel()->emailAction();
}

MOQButton* JoinnerWindowController::removeBtn() const {
    return listPanel()->removeBtn();
}
MOQButton* JoinnerWindowController::clearBtn() const {
    return listPanel()->clearBtn();
}
MOQButton* JoinnerWindowController::upBtn() const {
    return listPanel()->upBtn();
}
MOQButton* JoinnerWindowController::downBtn() const {
    return listPanel()->downBtn();
}
MOQButton* JoinnerWindowController::emailIconView() const {
    return listPanel()->emailIconView();
}
MOQImageView* JoinnerWindowController::contentNofileTishiView() const {
    return listPanel()->contentNofileTishiView();
}

// ---- The join ----

QString JoinnerWindowController::fallbackExtension() const {
    const ProfileRoot root = ProfileRoot::forWindow(true);
    const QString path = root.defaultProfilePath();
    return path.isEmpty() ? QString() : OutputProfile::read(path, false).extName;
}

void JoinnerWindowController::startJoinnerAction() {
    if (fileList()->isEmpty()) {
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
    previewBar()->pause();
    const JoinPlan plan =
        JoinPlan::make(*fileList(), _selection,
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
