#include "FakeMediaJob.h"

#include <chrono>
#include <thread>

int FakeMediaJob::setInputMedia(const QString& path) {
    inputPath = path;
    return _script.inputResult;
}

int FakeMediaJob::setOutputPath(const QString& path) {
    outputPath = path;
    return _script.outputResult;
}

int FakeMediaJob::start() {
    using namespace std::chrono;
    started = true;
    const auto begin = steady_clock::now();
    while (!_stopped) {
        const double elapsed = double(duration_cast<milliseconds>(steady_clock::now() - begin).count());
        if (elapsed >= _script.workMs)
            break;
        _progress = 100.0 * elapsed / _script.workMs;
        std::this_thread::sleep_for(milliseconds(5));
    }
    if (_stopped) {
        std::this_thread::sleep_for(milliseconds(_script.lingerAfterStopMs));
        while (holdAfterStop)
            std::this_thread::sleep_for(milliseconds(5));
        returned = true;
        return _script.stoppedResult;
    }
    _progress = 100;
    returned = true;
    return _script.startResult;
}

int FakeMediaJob::stop() {
    _stopped = true;
    return 1;
}

int FakeMediaJob::close() {
    if (_closed)
        return 1;
    _closed = true;
    ++closeCount;
    return 1;
}

std::shared_ptr<MediaJob> FakeJobFactory::create(MediaJob::Kind kind) {
    if (giveNoHandle)
        return nullptr;
    auto job = std::make_shared<FakeMediaJob>(kind, script);
    made.push_back(job);
    return job;
}
