#pragma once

#include "JobRunner.h"
#include "OutputFolderPopUp.h"
#include "ViewRect.h"
#include "WindowController.h"

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class MOQButton;
class RepeatingTimer;
class SimpleData;
struct Notification;

// The frame every feature window (editor, joiner, easy cutter, splitter, batch cutter) stands on: closing, the
// output folder, the open panel, the job run with its progress poll and cancel, result reporting, the preview
// timer and still frames. A window builds its own controls in windowDidLoad() between setUpFrame() and
// installOutputPopUp(), and overrides the hooks it needs.
//
// Lifetime: the launcher keeps no reference. With setReleasedWhenDone(true) the controller deletes itself once
// its window has closed and the worker of its last job has returned, so a completion always finds its window's
// controller alive.
class FeatureWindowController : public WindowController {
    Q_OBJECT
public:
    explicit FeatureWindowController(QObject* parent = nullptr);
    // factory: the engine's unless a test gives its own (it must outlive the controller).
    explicit FeatureWindowController(MediaJobFactory& factory, QObject* parent = nullptr);
    ~FeatureWindowController() override;

    void setReleasedWhenDone(bool released) { _releasedWhenDone = released; }
    // The controller of a feature window (whose frame is set up), or null.
    static FeatureWindowController* forWindow(QWidget* window);

    // The output folder in use; empty until the pop-up is installed.
    QString outputPath() const;
    void setOutputPath(const QString& path);
    QStringList outputPathTitles() const;
    OutputFolderPopUp* outputPopUp() const { return _outputPopUp; }
    void outputPopUpBtnAction(QObject* sender);

    // The still-frame format: "png", "jpg" or "bmp"; empty means PNG.
    QString coverStyle() const { return _coverStyle; }
    void setCoverStyle(const QString& style) { _coverStyle = style; }
    // Writes a frame of the preview into the output folder; the path written, or empty.
    QString saveStillFrame(const QImage& frame);
    // The still-frame button's work (actionCarameraBtn): a width x height buffer filled by `snapshot` (the
    // preview player's Snapshot, which may read the size back) and written as a still frame. An alert then says
    // where it went (and can show it in the file manager), or that it could not be written.
    using SnapshotCall = std::function<void(int* width, int* height, unsigned char* buffer)>;
    QString saveSnapshot(int width, int height, const SnapshotCall& snapshot);

    // Shows the output folder in the file manager (when set).
    void revealOutputFolder();

    // The open panel over the window; the first file chosen (logged with all of them), or empty. Further files
    // chosen are named as not opened.
    QString chooseSourceFile();
    // Probes a source file off the main thread, so that the window never waits on a slow or large file, and hands
    // the record to `done` on the main thread. A file that cannot be used is said in an alert instead; the result
    // of a request that a newer one has overtaken goes unused.
    using ProbeDone = std::function<void(const QString& path, const std::shared_ptr<SimpleData>& record)>;
    void probeSourceFile(const QString& path, ProbeDone done);

    // Tag 1: the result alert over the window; any other tag: a warning with the window's title and the text.
    void showSimpleAlert(const QString& text, qint64 tag);

    // Observer of every window's closing; acts on its own window only.
    void closewindow(const Notification& notification);

    // The job road. startRun begins a run of the steps (editing off, the start button offering cancel); the run's
    // end turns them back, calls finishBlock and, after success, shows the result alert. cancelRun stops it: no
    // alert, and the start button stays disabled until the cancelled job's worker has returned.
    bool startRun(std::vector<JobStep> steps, JobRunner::FinishBlock finishBlock = nullptr);
    void cancelRun();
    bool isRunning() const { return _runner->isRunning(); }
    // Whether closing the window would stop work of the user's: a job run (a window that prepares a job before
    // the run begins says so too).
    virtual bool hasRunningJob() const { return isRunning(); }
    JobRunner& jobRunner() { return *_runner; }

    // The preview timer: a 0.1 s repeating timer calling changePlayerSlider().
    void addTimer();
    void removeTimer();
    bool hasPreviewTimer() const { return _previewTimer != nullptr; }

    // The window's editing controls: off while a job runs, on after it.
    virtual void enableEdit(bool enabled) {}

protected:
    // Observes closing and gives the window the application's look.
    void setUpFrame();
    // Adds the output label and pop-up to parent (the label to the left of popUpFrame) and runs the pop-up's
    // action once, so the output folder starts as the default folder.
    OutputFolderPopUp* installOutputPopUp(QWidget* parent, const ViewRect& popUpFrame);

    // The window's own parts of the frame.
    virtual QString finishedMessageKey() const = 0;
    virtual MOQButton* startButton() const { return nullptr; }
    virtual QString startButtonTitleKey() const { return QStringLiteral("StartExportTitle"); }
    virtual void cancelRunningJob() { cancelRun(); } // closing a window while a job runs
    virtual void stopPlayers() {}                    // closing: stop and drop players and their timers
    virtual void jobProgress(int step, double percent) {}
    virtual void changePlayerSlider() {}

    // The close button, Ctrl+W and quitting ask first while a job runs; the job stops when the user agrees.
    bool windowShouldClose() override;

private:
    void tellWhereTheStillFrameWent(const QString& path);
    void runEnded(bool success, const JobRunner::FinishBlock& finishBlock);
    void setStartButtonTitle(const QString& key);
    void releaseWhenDone();

    std::unique_ptr<JobRunner> _runner;
    QPointer<OutputFolderPopUp> _outputPopUp;
    QPointer<QLabel> _outputLabel;
    QString _coverStyle;
    std::unique_ptr<RepeatingTimer> _previewTimer;
    bool _releasedWhenDone = false;
    bool _closed = false;
    int _probeSerial = 0;
};
