#include "FeatureWindowController.h"

#include "Alert.h"
#include "ControlFont.h"
#include "Dispatch.h"
#include "EngineJobFactory.h"
#include "HeapRelease.h"
#include "InputFilePanel.h"
#include "MOQButton.h"
#include "MOQOpenAlert.h"
#include "MediaProbe.h"
#include "Modal.h"
#include "Notification.h"
#include "NotificationCenter.h"
#include "OutputFolderPopUp.h"
#include "RepeatingTimer.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "StillFrame.h"
#include "ViewFrame.h"
#include "WindowKeys.h"
#include "WindowStyle.h"
#include "Workspace.h"

#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <new>
#include <vector>

namespace {

constexpr double kPreviewInterval = 0.1; // seconds
constexpr char kControllerProperty[] = "clipwright.featureWindowController";
constexpr double kOutputLabelWidth = 96;
constexpr int kGiveBackDelayMs = 1000; // a stopped player's decoding thread ends on a thread of its own
constexpr int kMaxStillFrameSide = 16384;

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

} // namespace

FeatureWindowController::FeatureWindowController(QObject* parent)
    : FeatureWindowController(EngineJobFactory::shared(), parent) {}

FeatureWindowController::FeatureWindowController(MediaJobFactory& factory, QObject* parent)
    : WindowController(parent), _runner(std::make_unique<JobRunner>(factory)) {
    HeapRelease::configure();
    _runner->failed = [this](int code) { showSimpleAlert(QStringLiteral("error:%1").arg(code), 2); };
    _runner->progressChanged = [this](int step, double percent) { jobProgress(step, percent); };
    _runner->becameIdle = [this] {
        // The engine's buffers of the finished job go back to the system rather than staying in the heap's pools.
        HeapRelease::giveBack();
        if (MOQButton* start = startButton())
            start->setEnabled(true);
        releaseWhenDone();
    };
}

FeatureWindowController::~FeatureWindowController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    // A closed window gives back what its players and jobs took, once their threads have ended.
    QTimer::singleShot(kGiveBackDelayMs, [] { HeapRelease::giveBack(); });
}

FeatureWindowController* FeatureWindowController::forWindow(QWidget* window) {
    if (window == nullptr)
        return nullptr;
    return qobject_cast<FeatureWindowController*>(window->property(kControllerProperty).value<QObject*>());
}

void FeatureWindowController::setUpFrame() {
    window()->setProperty(kControllerProperty, QVariant::fromValue<QObject*>(this));
    NotificationCenter::defaultCenter().addObserver(this, kWindowWillCloseNotification,
                                                    [this](const Notification& n) { closewindow(n); });
    WindowStyle::apply(window());
    WindowKeys::closeWith(window(), [this] { close(); });
}

OutputFolderPopUp* FeatureWindowController::installOutputPopUp(QWidget* parent, const ViewRect& popUpFrame) {
    _outputLabel = new QLabel(parent);
    ViewFrame::setFrame(_outputLabel, ViewRect{popUpFrame.x - kOutputLabelWidth - 6, popUpFrame.y, kOutputLabelWidth,
                                               popUpFrame.height});
    _outputLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    _outputLabel->setFont(ControlFont::system(13));
    _outputLabel->setStyleSheet(QStringLiteral("color: white;"));
    _outputLabel->setText(localized(QStringLiteral("outputFolderLabelstringValue")));

    _outputPopUp = new OutputFolderPopUp(parent);
    _outputPopUp->setFont(ControlFont::system(13));
    ViewFrame::setFrame(_outputPopUp, popUpFrame);
    _outputPopUp->outputPopUpBtnAction(nullptr);
    return _outputPopUp;
}

QString FeatureWindowController::outputPath() const {
    return _outputPopUp ? _outputPopUp->outputPath() : QString();
}

void FeatureWindowController::setOutputPath(const QString& path) {
    if (_outputPopUp)
        _outputPopUp->setOutputPath(path);
}

QStringList FeatureWindowController::outputPathTitles() const {
    return _outputPopUp ? _outputPopUp->outputPathTitles() : QStringList();
}

void FeatureWindowController::outputPopUpBtnAction(QObject* sender) {
    if (_outputPopUp)
        _outputPopUp->outputPopUpBtnAction(sender);
}

QString FeatureWindowController::saveStillFrame(const QImage& frame) {
    return StillFrame::write(frame, outputPath(), _coverStyle);
}

QString FeatureWindowController::saveSnapshot(int width, int height, const SnapshotCall& snapshot) {
    if (width <= 0 || height <= 0 || !snapshot)
        return {};
    // A picture larger than any the engine writes, or a buffer the system cannot give, is refused with a message
    // rather than ending the application.
    std::vector<unsigned char> buffer;
    if (width <= kMaxStillFrameSide && height <= kMaxStillFrameSide) {
        try {
            buffer.resize(size_t(width) * size_t(height) * 4);
        } catch (const std::bad_alloc&) {
            buffer.clear();
        }
    }
    if (buffer.empty()) {
        showSimpleAlert(localized(QStringLiteral("StillFrameTooLarge")).arg(width).arg(height), 2);
        return {};
    }
    int shownWidth = width;
    int shownHeight = height;
    snapshot(&shownWidth, &shownHeight, buffer.data());
    // The buffer was made for the size asked; a larger size read back would describe bytes that are not there.
    if (shownWidth <= 0 || shownHeight <= 0 || qint64(shownWidth) * shownHeight > qint64(width) * height)
        return {};
    const QString written = saveStillFrame(StillFrame::fromPremultipliedBgra(buffer.data(), shownWidth, shownHeight));
    tellWhereTheStillFrameWent(written);
    return written;
}

void FeatureWindowController::tellWhereTheStillFrameWent(const QString& path) {
    AlertRequest request;
    request.messageText = window()->windowTitle();
    if (path.isEmpty()) {
        request.style = AlertRequest::Style::Warning;
        request.informativeText = localized(QStringLiteral("StillFrameNotSavedString")).arg(outputPath());
        request.buttons = {localized(QStringLiteral("OKBtnTitle"))};
        Alert::run(request, window());
        return;
    }
    request.style = AlertRequest::Style::Informational;
    request.informativeText = localized(QStringLiteral("StillFrameSavedString")).arg(path);
    request.buttons = {localized(QStringLiteral("OKBtnTitle")), localized(QStringLiteral("StillFrameShowBtn"))};
    if (Alert::run(request, window()) == 1)
        Workspace::revealFile(path);
}

void FeatureWindowController::revealOutputFolder() {
    const QString path = outputPath();
    if (!path.isEmpty())
        Workspace::revealFile(path);
}

QString FeatureWindowController::chooseSourceFile() {
    return InputFilePanel::runForOne(window());
}

void FeatureWindowController::probeSourceFile(const QString& path, ProbeDone done) {
    const int request = ++_probeSerial;
    QPointer<FeatureWindowController> self(this);
    Dispatch::background([self, path, request, done = std::move(done)] {
        std::shared_ptr<SimpleData> record = MediaProbe::getVideoInfomation(path, MediaProbe::Variant::Plain);
        Dispatch::main([self, path, request, record, done] {
            if (!self || request != self->_probeSerial)
                return;
            if (!record) {
                self->showSimpleAlert(
                    localized(QStringLiteral("nonsupportfilesstringValue")) + QFileInfo(path).fileName(), 2);
                return;
            }
            done(path, record);
        });
    });
}

void FeatureWindowController::showSimpleAlert(const QString& text, qint64 tag) {
    setStartButtonTitle(QStringLiteral("StartExportTitle"));
    QWidget* w = window();
    if (tag == 1) {
        MOQOpenAlert alert;
        alert.setWindowTitle(w->windowTitle());
        alert.setInfomation(finishedMessageKey());
        QPointer<FeatureWindowController> self(this);
        alert.setSelectedOkBlock([self](bool openFolder) {
            if (openFolder && self)
                self->revealOutputFolder();
        });
        const ViewRect owner = ViewFrame::frame(w);
        ViewFrame::setFrame(alert.window(),
                            ViewRect{double(float(owner.x + (owner.width - MOQOpenAlert::kWidth) / 2)),
                                     double(float(owner.y + (owner.height - MOQOpenAlert::kHeight) / 2)),
                                     MOQOpenAlert::kWidth, MOQOpenAlert::kHeight});
        Modal::runModalForWindow(alert.window());
        return;
    }
    AlertRequest request;
    request.style = AlertRequest::Style::Warning;
    request.messageText = w->windowTitle();
    request.informativeText = text;
    request.buttons = {localized(QStringLiteral("OKBtnTitle"))};
    Alert::run(request, w);
}

void FeatureWindowController::closewindow(const Notification& notification) {
    if (!isWindowLoaded() || notification.object != window())
        return;
    if (_runner->isRunning())
        cancelRunningJob();
    stopPlayers();
    removeTimer();
    NotificationCenter::defaultCenter().post(kWillCloseNotification);
    _closed = true;
    releaseWhenDone();
}

bool FeatureWindowController::windowShouldClose() {
    if (_closed || !hasRunningJob())
        return true;
    AlertRequest request;
    request.style = AlertRequest::Style::Warning;
    request.messageText = window()->windowTitle();
    request.informativeText = localized(QStringLiteral("StopJobAndCloseMessage"));
    request.buttons = {localized(QStringLiteral("StopJobAndCloseBtn")), localized(QStringLiteral("CancelBtn"))};
    // The job may have ended while the question was shown; closing then stops nothing.
    return Alert::run(request, window()) == 0;
}

bool FeatureWindowController::startRun(std::vector<JobStep> steps, JobRunner::FinishBlock finishBlock) {
    if (_runner->isBusy() || steps.empty())
        return false;
    enableEdit(false);
    setStartButtonTitle(QStringLiteral("CancelexportTitle"));
    return _runner->run(std::move(steps), [this, finishBlock](bool success) { runEnded(success, finishBlock); });
}

void FeatureWindowController::cancelRun() {
    if (!_runner->isRunning())
        return;
    _runner->cancel();
    setStartButtonTitle(startButtonTitleKey());
    enableEdit(true);
    // A new run cannot begin before the cancelled job's worker has returned (becameIdle enables it again).
    if (MOQButton* start = startButton())
        start->setEnabled(!_runner->isBusy());
}

void FeatureWindowController::runEnded(bool success, const JobRunner::FinishBlock& finishBlock) {
    enableEdit(true);
    setStartButtonTitle(startButtonTitleKey());
    if (finishBlock)
        finishBlock(success);
    if (success && !_closed)
        showSimpleAlert(QStringLiteral("OpenfileTitle"), 1);
}

void FeatureWindowController::setStartButtonTitle(const QString& key) {
    if (MOQButton* start = startButton())
        start->setContentTitle(localized(key));
}

void FeatureWindowController::addTimer() {
    removeTimer();
    _previewTimer = RepeatingTimer::schedule(kPreviewInterval, [this] { changePlayerSlider(); });
}

void FeatureWindowController::removeTimer() {
    if (_previewTimer) {
        _previewTimer->invalidate();
        _previewTimer.reset();
    }
}

void FeatureWindowController::releaseWhenDone() {
    if (_releasedWhenDone && _closed && !_runner->isBusy())
        deleteLater();
}
