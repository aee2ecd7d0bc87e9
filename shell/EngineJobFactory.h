#pragma once

#include "MediaJob.h"

// Makes the media engine's own conversion and join jobs.
class EngineJobFactory : public MediaJobFactory {
public:
    static EngineJobFactory& shared();
    std::shared_ptr<MediaJob> create(MediaJob::Kind kind) override;
};
