#include "BatchCutterWindowController.h"

#include "BatchCutPlan.h"
#include "ClipPreviewBar.h"
#include "ClipTrimActions.h"
#include "Dispatch.h"
#include "JoinnerCell.h"
#include "LQCutProgressView.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "NSProgressView.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "SimpleData.h"

#include <QRadioButton>
#include <QScrollArea>

namespace {

constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 540;

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

} // namespace

BatchCutterWindowController::BatchCutterWindowController(QObject* parent) : ClipListWindowController(parent) {}

BatchCutterWindowController::BatchCutterWindowController(MediaJobFactory& factory, QObject* parent)
    : ClipListWindowController(factory, parent) {}

BatchCutterWindowController::~BatchCutterWindowController() = default;

QString BatchCutterWindowController::finishedMessageKey() const {
    return QStringLiteral("Cutterfinishedstring");
}

// ---- Set-up ----

void BatchCutterWindowController::windowDidLoad() {
    setUpFrame();
    jobRunner().stepFailed = [this](int step, int code) { fileFailed(step, code); };
    QWidget* content = window();
    setUpContent(content, kWindowWidth, kWindowHeight);

    installExportBar(content, [this] { startBachCutterAction(); });
    buildContent(content);
    installEditArea(ClipPreviewBar::Variant::BatchCutter, _contentBackgroundView);

    startJoinnerBtn()->setImage(ResourceBundle::imageWithfileName(QStringLiteral("SubFun/btnStart_Normal.bmp")));
    installOutputFolder(content);
    fileListViewHidden(true);
}

void BatchCutterWindowController::buildContent(QWidget* content) {
    _contentBackgroundView = new MOQImageView(ViewRect{10, 54, kWindowWidth - 20.0, 470}, content);
    _contentBackgroundView->setBackGroundColor(QColor(245, 245, 245));
    _contentBackgroundView->setBordColor(QColor(245, 245, 245));
    _contentBackgroundView->setCornerRadius(5);
    _contentBackgroundView->setBorderWidth(2);

    ClipListPanel::Hint hint = ClipListPanel::Hint::numbered(QStringLiteral("batch_desc"), 3);
    hint.tipPitch = 60;
    hint.tipHeight = 54;
    installList(_contentBackgroundView, hint);
}

// ---- The two states, adding and removing files ----

void BatchCutterWindowController::emptyStateChanged(bool empty) {
    editArea()->actions()->selectTimeBtn()->setEnabled(!empty);
    editArea()->actions()->unSelectTimeBtn()->setEnabled(!empty);
}

void BatchCutterWindowController::listRefed() {
    // Files added while a batch runs wait for the next one; the list keeps showing the file being written (the
    // re-feed keeps it locked).
    if (isRunning() && _exportCurrentIndex >= 0)
        fileStarting(int(_exportCurrentIndex));
}

void BatchCutterWindowController::clipRemoved(bool empty) {
    editArea()->cutProgressView()->setDisable(empty);
}

// ---- The batch ----

void BatchCutterWindowController::startBachCutterAction() {
    previewBar()->pause();
    if (fileList()->isEmpty()) {
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

    _batchFiles = *fileList();
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
    const qsizetype row = fileList()->indexOf(_batchFiles[index]);
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
    fileListTableView()->hiddenProgress(fileList()->indexOf(_batchFiles[index]));
}

void BatchCutterWindowController::fileFailed(int index, int code) {
    if (index < 0 || index >= _batchFiles.size())
        return;
    const std::shared_ptr<SimpleData>& file = _batchFiles[index];
    const QString line = BatchCutPlan::failureLine(file->name(), code);
    qCInfo(lcShell).noquote() << QStringLiteral("not written: %1").arg(line);
    _failedFiles << line;
    fileListTableView()->hiddenProgress(fileList()->indexOf(file));
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
