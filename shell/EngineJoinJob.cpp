#include "EngineJoinJob.h"

#include "libMediaCore.h"

std::shared_ptr<EngineJoinJob> EngineJoinJob::create() {
    JOIN_HANDLE handle = apiMediaJoinCreate();
    if (handle == nullptr)
        return nullptr;
    return std::shared_ptr<EngineJoinJob>(new EngineJoinJob(handle));
}

EngineJoinJob::~EngineJoinJob() {
    close();
}

int EngineJoinJob::setInputMedia(const QString&) {
    return 0;
}

int EngineJoinJob::setOutputPath(const QString& path) {
    return apiMediaJoinSetOutputPath(_handle, path.toUtf8().constData());
}

int EngineJoinJob::start() {
    return apiMediaJoinStart(_handle);
}

double EngineJoinJob::progress() {
    return apiMediaJoinGetProgress(_handle);
}

int EngineJoinJob::stop() {
    return apiMediaJoinStop(_handle);
}

int EngineJoinJob::close() {
    if (_handle == nullptr)
        return 1;
    const int result = apiMediaJoinClose(_handle);
    _handle = nullptr;
    return result;
}
