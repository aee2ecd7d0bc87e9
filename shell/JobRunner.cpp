#include "JobRunner.h"

#include "Dispatch.h"
#include "OutputNamer.h"
#include "RepeatingTimer.h"
#include "ShellLog.h"

#include <QFileInfo>
#include <QPointer>

// A job of the run together with what the runner knows about it. The worker and the completion hold it as well,
// so the job (and its handle) lives until its own completion has closed it.
struct JobRunner::ActiveJob {
    std::shared_ptr<MediaJob> job;
    int step = 0;
    bool cancelled = false;
};

namespace {

constexpr double kProgressInterval = 0.2; // seconds

void closeJob(MediaJob& job) {
    const bool conversion = job.kind() == MediaJob::Kind::Conversion;
    const int result = job.close();
    if (result <= 0)
        qCInfo(lcShell).noquote() << (conversion ? QStringLiteral("apiMediaConvertClose:%1")
                                                 : QStringLiteral("apiMediaJoinClose:%1"))
                                         .arg(result);
}

} // namespace

JobRunner::JobRunner(MediaJobFactory& factory, QObject* parent) : QObject(parent), _factory(factory) {}

JobRunner::~JobRunner() {
    stopTimer();
    if (_current) {
        // The completion finds the runner gone and only closes the job's handle.
        _current->cancelled = true;
        _current->job->stop();
    }
}

MediaJob* JobRunner::currentJob() const {
    return _current ? _current->job.get() : nullptr;
}

bool JobRunner::run(std::vector<JobStep> steps, FinishBlock finishBlock) {
    if (_busy || steps.empty())
        return false;
    _steps = std::move(steps);
    _finishBlock = std::move(finishBlock);
    _outputs.clear();
    _failedSteps.clear();
    ++_runSerial;
    _stepIndex = 0;
    _running = true;
    _busy = true;
    startStep();
    return true;
}

void JobRunner::cancel() {
    if (!_running)
        return;
    stopTimer();
    _running = false;
    if (!_current) {
        endRun(false);
        return;
    }
    _current->cancelled = true;
    _current->job->stop();
}

void JobRunner::appendStep(JobStep step) {
    if (_running)
        _steps.push_back(std::move(step));
}

void JobRunner::startStep() {
    const JobStep& step = _steps[size_t(_stepIndex)];
    std::shared_ptr<MediaJob> job = _factory.create(step.kind);
    if (!job) {
        qCInfo(lcShell) << "the media engine gave no job handle";
        if (step.independent) {
            fail(0);
            return;
        }
        endRun(false);
        return;
    }
    auto active = std::make_shared<ActiveJob>();
    active->job = std::move(job);
    active->step = _stepIndex;
    if (!setUp(active, step))
        return;
    _current = active;
    startTimer();
    dispatch(active);
}

bool JobRunner::setUp(const std::shared_ptr<ActiveJob>& active, const JobStep& step) {
    MediaJob& job = *active->job;
    int code = 1;
    if (step.kind == MediaJob::Kind::Conversion)
        code = job.setInputMedia(step.inputPath);
    if (code > 0 && step.configure)
        code = step.configure(job);
    if (code > 0) {
        const QString path = chooseOutputPath(step.output);
        while (_outputs.size() <= _stepIndex)
            _outputs.append(QString());
        _outputs[_stepIndex] = path;
        qCInfo(lcShell).noquote() << QStringLiteral("outputFileurl:%1").arg(path);
        code = job.setOutputPath(path);
    }
    if (code > 0)
        return true;
    closeJob(job);
    fail(code);
    return false;
}

QString JobRunner::chooseOutputPath(const JobStep::Output& output) const {
    using Naming = JobStep::Output::Naming;
    if (output.naming == Naming::Exact) {
        OutputNamer::ensureFolder(QFileInfo(output.exactPath).absolutePath());
        return output.exactPath;
    }
    OutputNamer::ensureFolder(output.folder);
    if (output.naming == Naming::Numbered)
        return OutputNamer::numberedPath(output.folder, output.baseName, output.extension);
    return OutputNamer::uniquePath(output.folder, output.baseName, output.extension);
}

void JobRunner::dispatch(const std::shared_ptr<ActiveJob>& active) {
    QPointer<JobRunner> self(this);
    Dispatch::background([self, active] {
        const int result = active->job->start();
        Dispatch::main([self, active, result] {
            if (self)
                self->jobReturned(active, result);
            else
                closeJob(*active->job);
        });
    });
}

void JobRunner::jobReturned(const std::shared_ptr<ActiveJob>& active, int result) {
    const bool current = _current == active;
    // The last poll of a finished job, so that its window sees where it ended (100 % after success).
    int completion = 1;
    if (current && !active->cancelled && active->job->startSucceeded(result)) {
        if (progressChanged)
            progressChanged(active->step, active->job->progress());
        // A copy: the closure may add steps, which moves the step list.
        const std::function<int(MediaJob&)> completed = _steps[size_t(active->step)].completed;
        if (completed)
            completion = completed(*active->job);
    }
    closeJob(*active->job);
    if (!current)
        return; // nothing of the runner belongs to an older job
    _current.reset();
    stopTimer();

    if (active->cancelled) {
        endRun(false);
        return;
    }
    if (!active->job->startSucceeded(result)) {
        if (active->job->kind() == MediaJob::Kind::Join)
            qCInfo(lcShell).noquote() << QStringLiteral("errorcode:%1").arg(result);
        fail(result);
        return;
    }
    if (completion <= 0) {
        fail(completion);
        return;
    }
    nextStep();
}

void JobRunner::nextStep() {
    if (_running && _stepIndex + 1 < stepCount()) {
        ++_stepIndex;
        startStep();
        return;
    }
    endRun(_running && _failedSteps.empty());
}

void JobRunner::fail(int code) {
    stopTimer();
    if (_running && _steps[size_t(_stepIndex)].independent) {
        _failedSteps.push_back({_stepIndex, code});
        if (stepFailed)
            stepFailed(_stepIndex, code);
        // The next item starts from the event loop, so a run of failing set-ups never nests.
        QPointer<JobRunner> self(this);
        const int failedStep = _stepIndex;
        const int serial = _runSerial;
        Dispatch::main([self, failedStep, serial] {
            if (self && self->_running && self->_runSerial == serial && self->_stepIndex == failedStep)
                self->nextStep();
        });
        return;
    }
    if (failed)
        failed(code);
    endRun(false);
}

void JobRunner::endRun(bool success) {
    stopTimer();
    _running = false;
    _busy = false;
    FinishBlock finish = std::move(_finishBlock);
    _finishBlock = nullptr;
    if (finish)
        finish(success);
    if (!_busy && becameIdle)
        becameIdle();
}

void JobRunner::startTimer() {
    stopTimer();
    _timer = RepeatingTimer::schedule(kProgressInterval, [this] { poll(); });
}

void JobRunner::stopTimer() {
    if (_timer) {
        _timer->invalidate();
        _timer.reset();
    }
}

void JobRunner::poll() {
    if (_current && !_current->cancelled && progressChanged)
        progressChanged(_current->step, _current->job->progress());
}
