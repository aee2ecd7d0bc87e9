#include "BatchCutterWindowController.h"

#include "BatchCutPlan.h"
#include "ClipEditArea.h"
#include "ClipExportBar.h"
#include "ClipIntake.h"
#include "ClipListPanel.h"
#include "ClipPreviewBar.h"
#include "ClipSelection.h"
#include "ClipTrimActions.h"
#include "ClipTrimEditor.h"
#include "Dispatch.h"
#include "JoinnerCell.h"
#include "LQCutProgressView.h"
#include "LQProgressSlider.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "NSProgressView.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "SimpleData.h"
#include "ViewFrame.h"

#include <QRadioButton>
#include <QScrollArea>

namespace {

constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 540;

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

} // namespace

BatchCutterWindowController::BatchCutterWindowController(QObject* parent)
    : FeatureWindowController(parent), _fileList(std::make_shared<SimpleDataList>()) {}

BatchCutterWindowController::BatchCutterWindowController(MediaJobFactory& factory, QObject* parent)
    : FeatureWindowController(factory, parent), _fileList(std::make_shared<SimpleDataList>()) {}

BatchCutterWindowController::~BatchCutterWindowController() = default;

QString BatchCutterWindowController::finishedMessageKey() const {
    return QStringLiteral("Cutterfinishedstring");
}

// ---- Set-up ----

void BatchCutterWindowController::windowDidLoad() {
    setUpFrame();
    jobRunner().stepFailed = [this](int step, int code) { fileFailed(step, code); };
    QWidget* content = window();
    content->resize(kWindowWidth, kWindowHeight);
    content->setAutoFillBackground(true);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, QColor(33, 176, 235));
    content->setPalette(palette);

    _exportBar = new ClipExportBar(content, *this, [this] { startBachCutterAction(); });
    buildContent(content);

    _area = new ClipEditArea(ClipPreviewBar::Variant::BatchCutter, ClipSelection(_fileList, fileListTableView()), *this,
                             _contentBackgroundView);

    startJoinnerBtn()->setImage(ResourceBundle::imageWithfileName(QStringLiteral("SubFun/btnStart_Normal.bmp")));
    _outputFolderBtn = installOutputPopUp(content, ViewRect{120, 11, 223, 32});
    fileListViewHidden(true);
}

void BatchCutterWindowController::buildContent(QWidget* content) {
    _contentBackgroundView = new MOQImageView(ViewRect{10, 54, kWindowWidth - 20.0, 470}, content);
    _contentBackgroundView->setBackGroundColor(QColor(245, 245, 245));
    _contentBackgroundView->setBordColor(QColor(245, 245, 245));
    _contentBackgroundView->setCornerRadius(5);
    _contentBackgroundView->setBorderWidth(2);

    QWidget* panel = _contentBackgroundView;
    ClipListPanel::Hint hint = ClipListPanel::Hint::numbered(QStringLiteral("batch_desc"), 3);
    hint.tipPitch = 60;
    hint.tipHeight = 54;
    _list = new ClipListPanel(_fileList, panel, hint, this);
    _list->probed = [this](const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected) {
        filesProbed(added, rejected);
    };
    _list->removePressed = [this] { removeAction(); };
    _list->clearPressed = [this] { clearAction(); };
}

// ---- The two states and the edit lock ----

void BatchCutterWindowController::fileListViewHidden(bool hidden) {
    _list->showHint(hidden);
    _area->actions()->selectTimeBtn()->setEnabled(!hidden);
    _area->actions()->unSelectTimeBtn()->setEnabled(!hidden);
    _area->showEmpty(hidden);
    // Files added during a batch wait for the next one; the list and the editing stay locked meanwhile.
    if (isRunning())
        enableEdit(false);
}

void BatchCutterWindowController::enableEdit(bool enabled) {
    _list->setListEnabled(enabled);
    _area->setEditEnabled(enabled);
}

// ---- Adding files ----

bool BatchCutterWindowController::isAdding() const {
    return _list->isAdding();
}

void BatchCutterWindowController::filesProbed(const QList<std::shared_ptr<SimpleData>>& added,
                                              const QStringList& rejected) {
    for (const std::shared_ptr<SimpleData>& file : added)
        _fileList->append(file);
    if (!rejected.isEmpty())
        showSimpleAlert(ClipIntake::rejectedText(rejected), 2);
    // The alert gives the start button its Start title back; a batch that still runs keeps offering Cancel.
    if (isRunning())
        startJoinnerBtn()->setContentTitle(localized(QStringLiteral("CancelexportTitle")));
    if (_fileList->isEmpty())
        return;
    if (!isRunning()) {
        refeedWithClosure();
        return;
    }
    // Files added while a batch runs wait for the next one; the list keeps showing the file being written (the
    // re-feed keeps it locked).
    refeedWithClosure();
    if (_exportCurrentIndex >= 0)
        fileStarting(int(_exportCurrentIndex));
}

void BatchCutterWindowController::refeedWithClosure() {
    QPointer<BatchCutterWindowController> self(this);
    fileListTableView()->setItems(_fileList);
    fileListTableView()->setRowHeight(60);
    fileListTableView()->setSelectItemBlock([self](const std::shared_ptr<SimpleData>&) {
        Dispatch::main([self] {
            if (self)
                self->_area->bar()->initPlayer();
        });
    });
    fileListTableView()->reloadData();
    fileListViewHidden(false);
}

// ---- The list buttons ----

void BatchCutterWindowController::removeAction() {
    if (!_list->removeSelected())
        return;
    const bool empty = _fileList->isEmpty();
    fileListViewHidden(empty);
    _area->cutProgressView()->setDisable(empty);
    if (empty)
        _area->bar()->initPlayer(); // the removed file's preview goes with it
}

void BatchCutterWindowController::clearAction() {
    _list->removeAll();
    fileListViewHidden(true);
    _area->bar()->initPlayer();
    _area->cutProgressView()->setDisable(true);
}

MOQButton* BatchCutterWindowController::addfileBtn() const {
    return _list->addfileBtn();
}

JoinnerTableView* BatchCutterWindowController::fileListTableView() const {
    return _list->fileListTableView();
}

NSProgressView* BatchCutterWindowController::joinnerProgressView() const {
    return _exportBar->joinnerProgressView();
}

MOQButton* BatchCutterWindowController::startJoinnerBtn() const {
    return _exportBar ? _exportBar->startJoinnerBtn() : nullptr;
}

// ---- The batch ----

void BatchCutterWindowController::startBachCutterAction() {
    _area->bar()->pause();
    if (_fileList->isEmpty()) {
        // Nothing happens but a word of why.
        showSimpleAlert(localized(QStringLiteral("batchNoFilesstringValue")), 2);
        return;
    }
    if (isRunning()) {
        cancelBatch();
        return;
    }
    // A cancelled file's worker has not returned yet: the button is disabled until it has.
    if (jobRunner().isBusy())
        return;

    _batchFiles = *_fileList;
    _failedFiles.clear();
    _cancelled = false;
    _exportCurrentIndex = -1;
    std::vector<JobStep> steps;
    QPointer<BatchCutterWindowController> self(this);
    for (int i = 0; i < int(_batchFiles.size()); ++i) {
        JobStep step = BatchCutPlan::jobStep(*_batchFiles[i], outputPath());
        const std::function<int(MediaJob&)> configure = step.configure;
        step.configure = [self, i, configure](MediaJob& job) {
            if (self)
                self->fileStarting(i);
            return configure ? configure(job) : 1;
        };
        step.completed = [self, i](MediaJob&) {
            if (self)
                self->fileWritten(i);
            return 1;
        };
        steps.push_back(std::move(step));
    }
    joinnerProgressView()->setProgress(0);
    startRun(std::move(steps), [self](bool success) {
        if (self)
            self->batchEnded(success);
    });
}

void BatchCutterWindowController::cancelBatch() {
    _cancelled = true;
    const long long current = _exportCurrentIndex;
    cancelRun();
    joinnerProgressView()->setProgress(0);
    fileListTableView()->hiddenProgress(current);
}

void BatchCutterWindowController::cancelRunningJob() {
    cancelBatch();
}

void BatchCutterWindowController::fileStarting(int index) {
    if (index < 0 || index >= _batchFiles.size())
        return;
    _exportCurrentIndex = index;
    // The row of the file being written, found again in case files were added since the start.
    const qsizetype row = _fileList->indexOf(_batchFiles[index]);
    if (row < 0)
        return;
    // Only this row is marked (the reload, which reports no selection), then it shows its own progress and the
    // preview shows the file being written.
    fileListTableView()->setSelectedRow(row);
    fileListTableView()->setSelectedItem(_batchFiles[index]);
    fileListTableView()->setDisabelSelectBlock(true);
    fileListTableView()->reloadData();
    fileListTableView()->setDisabelSelectBlock(false);
    fileListTableView()->setEnabele(false); // a reload enables the rows; the batch keeps them locked
    fileListTableView()->showProgress(row);
    const QList<JoinnerCell*>& cells = fileListTableView()->cells();
    if (row < cells.size())
        fileListTableView()->itemScrollview()->ensureWidgetVisible(cells.at(row), 0, 0);
}

void BatchCutterWindowController::fileWritten(int index) {
    if (index < 0 || index >= _batchFiles.size())
        return;
    const QStringList outputs = jobRunner().outputs();
    if (index < outputs.size())
        _batchFiles[index]->setExportPath(outputs[index]);
    fileListTableView()->hiddenProgress(_fileList->indexOf(_batchFiles[index]));
}

void BatchCutterWindowController::fileFailed(int index, int code) {
    if (index < 0 || index >= _batchFiles.size())
        return;
    const std::shared_ptr<SimpleData>& file = _batchFiles[index];
    const QString line = BatchCutPlan::failureLine(file->name(), code);
    qCInfo(lcShell).noquote() << QStringLiteral("not written: %1").arg(line);
    _failedFiles << line;
    fileListTableView()->hiddenProgress(_fileList->indexOf(file));
}

void BatchCutterWindowController::batchEnded(bool success) {
    joinnerProgressView()->setProgress(success ? 1.0f : 0.0f);
    _exportCurrentIndex = -1;
    _batchFiles.clear();
    if (_cancelled || _failedFiles.isEmpty())
        return;
    showSimpleAlert(localized(QStringLiteral("batchFailedFilesstringValue")) + QLatin1Char('\n') +
                        _failedFiles.join(QLatin1Char('\n')),
                    2);
}

void BatchCutterWindowController::jobProgress(int step, double percent) {
    joinnerProgressView()->setProgress(BatchCutPlan::overallProgress(step, jobRunner().stepCount(), percent));
    fileListTableView()->setExportProgress(float(percent / 100.0));
}

void BatchCutterWindowController::stopPlayers() {
    _area->bar()->takeDownPlayer();
}
