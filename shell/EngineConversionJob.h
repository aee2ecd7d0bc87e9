#pragma once

#include "MediaJob.h"

// A conversion job of the media engine (apiMediaConvert...). The handle is released by close() or, at the latest,
// by the destructor.
class EngineConversionJob : public MediaJob {
public:
    // Null when the engine gives no handle.
    static std::shared_ptr<EngineConversionJob> create();
    ~EngineConversionJob() override;

    Kind kind() const override { return Kind::Conversion; }
    void* handle() const override { return _handle; }
    int setInputMedia(const QString& path) override;
    int setOutputPath(const QString& path) override;
    int start() override;
    bool startSucceeded(int result) const override { return result > 0; }
    double progress() override;
    int stop() override;
    int close() override;

private:
    explicit EngineConversionJob(void* handle) : _handle(handle) {}
    void* _handle;
};
