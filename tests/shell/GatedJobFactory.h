#pragma once

#include "MediaJob.h"

#include <atomic>
#include <memory>
#include <vector>

// Real engine jobs whose work waits behind a gate the test opens, so a test can act while a run is surely on
// however quickly the engine would have finished (a copy cut of a small clip ends within a few milliseconds).
class GatedJobFactory : public MediaJobFactory {
public:
    explicit GatedJobFactory(MediaJobFactory& inner) : _inner(inner) {}

    std::shared_ptr<MediaJob> create(MediaJob::Kind kind) override;

    // While closed, every job's start() waits; a stop there ends it without starting the engine. letThrough(n)
    // lets the next n pass.
    void close() { _open->store(0); }
    void open() { _open->store(-1); }
    void letThrough(int jobs) { _open->store(jobs); }
    // How many jobs have reached their gate.
    int waiting() const { return _waiting->load(); }

private:
    MediaJobFactory& _inner;
    std::shared_ptr<std::atomic<int>> _open = std::make_shared<std::atomic<int>>(-1); // passes left; -1 unlimited
    std::shared_ptr<std::atomic<int>> _waiting = std::make_shared<std::atomic<int>>(0);
};
