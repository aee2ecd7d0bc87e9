#include "JobRunGate.h"

namespace mediacore {

bool JobRunGate::enter() {
    std::lock_guard lock(_mutex);
    if (_running || _ran)
        return false;
    _running = true;
    _ran = true;
    return true;
}

void JobRunGate::leave() {
    std::lock_guard lock(_mutex);
    _running = false;
    _ended.notify_all();
}

bool JobRunGate::running() const {
    std::lock_guard lock(_mutex);
    return _running;
}

void JobRunGate::waitUntilIdle() {
    std::unique_lock lock(_mutex);
    _ended.wait(lock, [this] { return !_running; });
}

} // namespace mediacore
