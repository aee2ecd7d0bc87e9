#pragma once

#include "JobStep.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class RepeatingTimer;

// Runs a window's engine jobs one at a time: each job is created and set up on the main thread, started on a
// background thread (the engine's start blocks until the job ends), polled every 0.2 s on the main thread, and
// completed on the main thread, where its handle is closed and the next step begins. A run ends exactly once, with
// true after its last step or false after a failure or a cancel, through the closure given to run().
//
// A completion belongs to its job: it closes that job's handle and nothing else, so a late completion can never
// close a newer job. The runner stays busy until the worker of a cancelled job has returned; a new run cannot
// start before that. A cancelled job never reports an error, whatever the engine's start returned.
//
// If the runner is destroyed while a worker runs, the job is stopped and its completion only closes its handle.
class JobRunner : public QObject {
    Q_OBJECT
public:
    using FinishBlock = std::function<void(bool success)>;

    // The factory makes the jobs (EngineJobFactory::shared() in the windows) and must outlive the runner.
    explicit JobRunner(MediaJobFactory& factory, QObject* parent = nullptr);
    ~JobRunner() override;

    // Starts a run of the steps in order. Refused (false, nothing happens) while busy or without steps.
    // The finish block may run before run() returns when the first step cannot be set up.
    bool run(std::vector<JobStep> steps, FinishBlock finishBlock);
    // Stops the running job; the run then ends with false once its worker has returned. No alert, no error.
    void cancel();
    // Adds a step at the end of the running run (from a step's `completed`, for work whose length only the jobs
    // tell). Ignored when no run is going on.
    void appendStep(JobStep step);

    bool isRunning() const { return _running; } // a run is going on and was not cancelled
    bool isBusy() const { return _busy; }       // a run or its cancelled worker has not ended yet
    int currentStep() const { return _stepIndex; }
    int stepCount() const { return int(_steps.size()); }
    MediaJob* currentJob() const;
    // The output path of each step of the current (or last) run that has been named, by step index.
    QStringList outputs() const { return _outputs; }
    // The independent steps of the current (or last) run that failed, with their codes, in the order they failed.
    struct StepFailure {
        int step = 0;
        int code = 0;
    };
    const std::vector<StepFailure>& failedSteps() const { return _failedSteps; }

    // The window's hooks, all called on the main thread.
    // Every 0.2 s while a job works, and once more when it has finished successfully.
    std::function<void(int step, double percent)> progressChanged;
    std::function<void(int code)> failed; // a setter or a start failed: show "error:%d" with the code
    std::function<void()> becameIdle;     // the run has ended and its worker has returned
    std::function<void(int step, int code)> stepFailed; // an independent step failed; the run goes on

private:
    struct ActiveJob;

    void startStep();
    bool setUp(const std::shared_ptr<ActiveJob>& active, const JobStep& step);
    QString chooseOutputPath(const JobStep::Output& output) const;
    void dispatch(const std::shared_ptr<ActiveJob>& active);
    void jobReturned(const std::shared_ptr<ActiveJob>& active, int result);
    void fail(int code);
    void nextStep();
    void endRun(bool success);
    void startTimer();
    void stopTimer();
    void poll();

    MediaJobFactory& _factory;
    std::vector<JobStep> _steps;
    FinishBlock _finishBlock;
    QStringList _outputs;
    std::vector<StepFailure> _failedSteps;
    int _stepIndex = 0;
    int _runSerial = 0;
    bool _running = false;
    bool _busy = false;
    std::shared_ptr<ActiveJob> _current;
    std::unique_ptr<RepeatingTimer> _timer;
};
