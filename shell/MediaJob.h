#pragma once

#include <QString>

#include <memory>

// One job of the media engine: a conversion (one input, one output) or a join (several clips, one output), seen
// through the few calls the job runner makes itself. A window's own setters reach the engine through handle().
//
// Everything but start(), progress() and stop() is called on the main thread. start() blocks on a worker thread
// until the job has ended or has been stopped; progress() and stop() may be called from the main thread meanwhile.
class MediaJob {
public:
    enum class Kind { Conversion, Join };

    virtual ~MediaJob() = default;

    virtual Kind kind() const = 0;
    // The engine's handle (CONVERT_HANDLE or JOIN_HANDLE); null once closed.
    virtual void* handle() const = 0;

    virtual int setInputMedia(const QString& path) = 0; // conversions only; <= 0 fails
    virtual int setOutputPath(const QString& path) = 0; // <= 0 fails
    virtual int start() = 0;
    // Conversions succeed above 0, joins at 0 or above.
    virtual bool startSucceeded(int result) const = 0;
    virtual double progress() = 0; // percent, 0..100
    virtual int stop() = 0;
    // Releases the handle; a second call does nothing and returns 1. <= 0 is only logged.
    virtual int close() = 0;
};

// Makes engine jobs; tests may substitute their own.
class MediaJobFactory {
public:
    virtual ~MediaJobFactory() = default;
    // A new job, or null when the engine gives no handle.
    virtual std::shared_ptr<MediaJob> create(MediaJob::Kind kind) = 0;
};
