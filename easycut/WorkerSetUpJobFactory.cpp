#include "WorkerSetUpJobFactory.h"

#include "EngineJobFactory.h"
#include "WorkerSetUpJob.h"

WorkerSetUpJobFactory& WorkerSetUpJobFactory::engine() {
    static WorkerSetUpJobFactory factory(EngineJobFactory::shared());
    return factory;
}

std::shared_ptr<MediaJob> WorkerSetUpJobFactory::create(MediaJob::Kind kind) {
    std::shared_ptr<MediaJob> job = _inner.create(kind);
    return job ? std::make_shared<WorkerSetUpJob>(std::move(job)) : nullptr;
}
