#pragma once

#include "MediaJob.h"

// A join job of the media engine (apiMediaJoin...). The handle is released by close() or, at the latest, by the
// destructor.
class EngineJoinJob : public MediaJob {
public:
    // Null when the engine gives no handle.
    static std::shared_ptr<EngineJoinJob> create();
    ~EngineJoinJob() override;

    Kind kind() const override { return Kind::Join; }
    void* handle() const override { return _handle; }
    int setInputMedia(const QString& path) override; // a join has no single input: refused with 0
    int setOutputPath(const QString& path) override;
    int start() override;
    bool startSucceeded(int result) const override { return result >= 0; }
    double progress() override;
    int stop() override;
    int close() override;

private:
    explicit EngineJoinJob(void* handle) : _handle(handle) {}
    void* _handle;
};
