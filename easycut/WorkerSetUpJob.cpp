#include "WorkerSetUpJob.h"

WorkerSetUpJob::WorkerSetUpJob(std::shared_ptr<MediaJob> inner) : _inner(std::move(inner)) {}

int WorkerSetUpJob::setUpOnWorker(MediaJob& job, SetUp work) {
    auto* deferred = dynamic_cast<WorkerSetUpJob*>(&job);
    if (deferred == nullptr)
        return work ? work(job) : 1;
    deferred->_setUp = std::move(work);
    return 1;
}

int WorkerSetUpJob::setInputMedia(const QString& path) {
    _inputPath = path;
    return 1;
}

int WorkerSetUpJob::setOutputPath(const QString& path) {
    _outputPath = path;
    return 1;
}

int WorkerSetUpJob::setUp() {
    int code = 1;
    if (!_inputPath.isEmpty())
        code = _inner->setInputMedia(_inputPath);
    if (code > 0 && _setUp)
        code = _setUp(*_inner);
    if (code > 0 && !_outputPath.isEmpty())
        code = _inner->setOutputPath(_outputPath);
    _setUp = nullptr;
    return code;
}

int WorkerSetUpJob::start() {
    const int code = setUp();
    _setUpDone.store(true);
    if (code <= 0 && !_stopped.load())
        return code < 0 ? code : -1;
    return _inner->start();
}

double WorkerSetUpJob::progress() {
    return _setUpDone.load() ? _inner->progress() : 0.0;
}

int WorkerSetUpJob::stop() {
    _stopped.store(true);
    return _inner->stop();
}
