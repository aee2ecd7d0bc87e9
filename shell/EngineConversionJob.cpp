#include "EngineConversionJob.h"

#include "libMediaCore.h"

std::shared_ptr<EngineConversionJob> EngineConversionJob::create() {
    CONVERT_HANDLE handle = apiMediaConvertCreate();
    if (handle == nullptr)
        return nullptr;
    return std::shared_ptr<EngineConversionJob>(new EngineConversionJob(handle));
}

EngineConversionJob::~EngineConversionJob() {
    close();
}

int EngineConversionJob::setInputMedia(const QString& path) {
    return apiMediaConvertSetInputMedia(_handle, path.toUtf8().constData());
}

int EngineConversionJob::setOutputPath(const QString& path) {
    return apiMediaConvertSetOutputPath(_handle, path.toUtf8().constData());
}

int EngineConversionJob::start() {
    return apiMediaConvertStart(_handle);
}

double EngineConversionJob::progress() {
    return apiMediaConvertGetProgress(_handle);
}

int EngineConversionJob::stop() {
    return apiMediaConvertStop(_handle);
}

int EngineConversionJob::close() {
    if (_handle == nullptr)
        return 1;
    const int result = apiMediaConvertClose(_handle);
    _handle = nullptr;
    return result;
}
