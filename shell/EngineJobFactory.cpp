#include "EngineJobFactory.h"

#include "EngineConversionJob.h"
#include "EngineJoinJob.h"

EngineJobFactory& EngineJobFactory::shared() {
    static EngineJobFactory factory;
    return factory;
}

std::shared_ptr<MediaJob> EngineJobFactory::create(MediaJob::Kind kind) {
    if (kind == MediaJob::Kind::Join)
        return EngineJoinJob::create();
    return EngineConversionJob::create();
}
