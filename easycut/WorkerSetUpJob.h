#pragma once

#include "MediaJob.h"

#include <atomic>
#include <functional>
#include <memory>

// An engine job whose slow set-up runs on the worker thread, just before the job itself starts there, instead of
// on the main thread where the job runner sets a job up. The engine opens the source for a conversion's input and
// for each clip of a join: a merge of ten segments held the window for some 40 ms, each separate piece for 5 to
// 25 ms.
//
// The input and output paths are kept and given to the engine job in start(), the input first. A step's configure
// calls setUpOnWorker(job, work): with a WorkerSetUpJob the work is kept for start(), between the input and the
// output, with any other job it runs at once. A set-up call that fails (<= 0) fails the start with that code (0
// reported as -1, which no job reports as success); a job stopped meanwhile is a cancel as ever, whatever the
// calls returned. Until the set-up has run, progress() is 0 and leaves the engine job alone.
class WorkerSetUpJob : public MediaJob {
public:
    using SetUp = std::function<int(MediaJob& job)>;

    explicit WorkerSetUpJob(std::shared_ptr<MediaJob> inner);

    static int setUpOnWorker(MediaJob& job, SetUp work);

    Kind kind() const override { return _inner->kind(); }
    void* handle() const override { return _inner->handle(); }
    int setInputMedia(const QString& path) override;
    int setOutputPath(const QString& path) override;
    int start() override;
    bool startSucceeded(int result) const override { return _inner->startSucceeded(result); }
    double progress() override;
    int stop() override;
    int close() override { return _inner->close(); }

private:
    // The set-up calls in order; the first code <= 0, or 1.
    int setUp();

    std::shared_ptr<MediaJob> _inner;
    QString _inputPath;
    QString _outputPath;
    SetUp _setUp;
    std::atomic<bool> _setUpDone{false};
    std::atomic<bool> _stopped{false};
};
