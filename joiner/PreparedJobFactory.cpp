#include "PreparedJobFactory.h"

#include <utility>

PreparedJobFactory::~PreparedJobFactory() {
    drop();
}

void PreparedJobFactory::drop() {
    if (std::shared_ptr<MediaJob> job = std::exchange(_handed, nullptr))
        job->close();
}

std::shared_ptr<MediaJob> PreparedJobFactory::create(MediaJob::Kind kind) {
    if (_handed && _handed->kind() == kind)
        return std::exchange(_handed, nullptr);
    return _inner.create(kind);
}
