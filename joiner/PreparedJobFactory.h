#pragma once

#include "MediaJob.h"

#include <memory>

// The joiner's way to the engine's jobs: a join job made and given its clips off the main thread (the engine opens
// every clip's file as it is added, a few milliseconds each) is handed to the job runner, which asks this factory
// for its next job; anything else is made by `inner`.
class PreparedJobFactory : public MediaJobFactory {
public:
    explicit PreparedJobFactory(MediaJobFactory& inner) : _inner(inner) {}
    ~PreparedJobFactory() override;

    MediaJobFactory& inner() const { return _inner; }
    // The next job of its kind asked for is `job` (once).
    void hand(std::shared_ptr<MediaJob> job) { _handed = std::move(job); }
    // Closes a handed job that nobody asked for.
    void drop();

    std::shared_ptr<MediaJob> create(MediaJob::Kind kind) override;

private:
    MediaJobFactory& _inner;
    std::shared_ptr<MediaJob> _handed;
};
