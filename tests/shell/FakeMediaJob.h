#pragma once

#include "MediaJob.h"

#include <QString>

#include <atomic>
#include <memory>
#include <vector>

// An engine job without the engine, for timing cases the real engine cannot produce on demand (a worker that is
// slow to return after a stop). Its start() counts up to 100 % over workMs unless stopped.
class FakeMediaJob : public MediaJob {
public:
    struct Script {
        int inputResult = 1;
        int outputResult = 1;
        int startResult = 1;
        int stoppedResult = 1; // what start() returns after a stop
        int workMs = 200;
        int lingerAfterStopMs = 0; // how long start() keeps blocking after stop()
    };

    FakeMediaJob(Kind kind, Script script) : _kind(kind), _script(script) {}

    Kind kind() const override { return _kind; }
    void* handle() const override { return _closed ? nullptr : const_cast<FakeMediaJob*>(this); }
    int setInputMedia(const QString& path) override;
    int setOutputPath(const QString& path) override;
    int start() override;
    bool startSucceeded(int result) const override { return _kind == Kind::Join ? result >= 0 : result > 0; }
    double progress() override { return _progress.load(); }
    int stop() override;
    int close() override;

    QString inputPath;
    QString outputPath;
    std::atomic<int> closeCount{0};
    std::atomic<bool> started{false};
    std::atomic<bool> returned{false};
    // While set, start() keeps blocking after a stop (after its linger), so a test decides when the worker returns
    // however slowly the machine runs.
    std::atomic<bool> holdAfterStop{false};

private:
    Kind _kind;
    Script _script;
    std::atomic<double> _progress{0};
    std::atomic<bool> _stopped{false};
    bool _closed = false;
};

class FakeJobFactory : public MediaJobFactory {
public:
    std::shared_ptr<MediaJob> create(MediaJob::Kind kind) override;

    FakeMediaJob::Script script;
    bool giveNoHandle = false;
    std::vector<std::shared_ptr<FakeMediaJob>> made;
};
