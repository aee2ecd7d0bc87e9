#pragma once

#include "MediaJob.h"

// Makes the jobs of another factory as WorkerSetUpJobs, so that their steps may set them up on the worker thread.
class WorkerSetUpJobFactory : public MediaJobFactory {
public:
    explicit WorkerSetUpJobFactory(MediaJobFactory& inner) : _inner(inner) {}
    // Around the engine's own jobs; lives as long as the program.
    static WorkerSetUpJobFactory& engine();

    std::shared_ptr<MediaJob> create(MediaJob::Kind kind) override;

private:
    MediaJobFactory& _inner;
};
