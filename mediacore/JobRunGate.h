#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>

namespace mediacore {

// The run state a job shares between the worker thread that starts it and the threads that set it up or close
// it: a job runs once, its setters are refused while it runs, and closing it waits until the run has returned.
class JobRunGate {
public:
    // False when the job runs or has run already; otherwise it runs from now until leave().
    bool enter();
    void leave();
    bool running() const;
    // Blocks until no run is in progress.
    void waitUntilIdle();
    // Runs `work` unless a run is in progress, keeping a run from starting meanwhile (so a setter never writes
    // what a running job reads); nullopt when a run is in progress.
    template <typename Work> std::optional<int> whileIdle(Work work) {
        std::lock_guard lock(_mutex);
        if (_running)
            return std::nullopt;
        return work();
    }

private:
    mutable std::mutex _mutex;
    std::condition_variable _ended;
    bool _running = false;
    bool _ran = false;
};

} // namespace mediacore
