#include "WorkerRetirement.h"

#include "PlaybackWorker.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

struct Retiring {
    std::mutex mutex;
    std::condition_variable done;
    int pending = 0;
};

// Never destroyed: a thread still retiring a worker while the process ends must find it there.
Retiring& retiring() {
    static Retiring* state = [] {
        auto* made = new Retiring;
        // The process does not end in the middle of freeing a decoder.
        std::atexit([] { WorkerRetirement::waitForAll(2000); });
        return made;
    }();
    return *state;
}

} // namespace

void WorkerRetirement::retire(std::unique_ptr<PlaybackWorker> worker, std::shared_ptr<void> keepAlive) {
    if (!worker)
        return;
    worker->requestStop();
    Retiring& state = retiring();
    {
        std::lock_guard lock(state.mutex);
        ++state.pending;
    }
    std::thread([worker = std::move(worker), keepAlive = std::move(keepAlive), &state]() mutable {
        worker.reset();
        keepAlive.reset();
        std::lock_guard lock(state.mutex);
        --state.pending;
        state.done.notify_all();
    }).detach();
}

int WorkerRetirement::pending() {
    Retiring& state = retiring();
    std::lock_guard lock(state.mutex);
    return state.pending;
}

bool WorkerRetirement::waitForAll(int timeoutMs) {
    Retiring& state = retiring();
    std::unique_lock lock(state.mutex);
    return state.done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return state.pending == 0; });
}
