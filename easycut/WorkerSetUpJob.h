#pragma once

#include "MediaJob.h"

#include <atomic>
#include <functional>
#include <memory>

// An engine job whose slow set-up runs on the worker thread, just before the job itself starts there, instead of
// on the main thread where the job runner sets a job up. A merge adds one clip per segment, and the engine opens
// the source for each clip: ten segments held the window for some 40 ms.
//
// A step's configure calls setUpOnWorker(job, work): with a WorkerSetUpJob the work is kept for start(), with any
// other job it runs at once. A set-up that fails (<= 0) fails the start with that code (0 reported as -1, which
// no job reports as success) unless the job was stopped meanwhile, which is a cancel as ever. Until the set-up has
// run, progress() is 0 and leaves the engine job alone.
class WorkerSetUpJob : public MediaJob {
public:
    using SetUp = std::function<int(MediaJob& job)>;

    explicit WorkerSetUpJob(std::shared_ptr<MediaJob> inner);

    static int setUpOnWorker(MediaJob& job, SetUp work);

    Kind kind() const override { return _inner->kind(); }
    void* handle() const override { return _inner->handle(); }
    int setInputMedia(const QString& path) override { return _inner->setInputMedia(path); }
    int setOutputPath(const QString& path) override { return _inner->setOutputPath(path); }
    int start() override;
    bool startSucceeded(int result) const override { return _inner->startSucceeded(result); }
    double progress() override;
    int stop() override;
    int close() override { return _inner->close(); }

private:
    std::shared_ptr<MediaJob> _inner;
    SetUp _setUp;
    std::atomic<bool> _setUpDone{true};
    std::atomic<bool> _stopped{false};
};
