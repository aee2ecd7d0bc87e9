#include "WorkerSetUpJob.h"

WorkerSetUpJob::WorkerSetUpJob(std::shared_ptr<MediaJob> inner) : _inner(std::move(inner)) {}

int WorkerSetUpJob::setUpOnWorker(MediaJob& job, SetUp work) {
    auto* deferred = dynamic_cast<WorkerSetUpJob*>(&job);
    if (deferred == nullptr)
        return work ? work(job) : 1;
    deferred->_setUp = std::move(work);
    deferred->_setUpDone.store(!deferred->_setUp);
    return 1;
}

int WorkerSetUpJob::start() {
    if (_setUp) {
        const int code = _setUp(*_inner);
        _setUp = nullptr;
        if (code <= 0 && !_stopped.load())
            return code < 0 ? code : -1;
    }
    _setUpDone.store(true);
    return _inner->start();
}

double WorkerSetUpJob::progress() {
    return _setUpDone.load() ? _inner->progress() : 0.0;
}

int WorkerSetUpJob::stop() {
    _stopped.store(true);
    return _inner->stop();
}
