#include "PlaybackClock.h"

int64_t PlaybackClock::positionUs() const {
    if (!_running)
        return _baseUs;
    const Clock::time_point now = Clock::now();
    if (_master) {
        if (std::optional<int64_t> heard = _master()) {
            // Re-based on every reading, so losing the sound carries on from here without a jump.
            _baseUs = *heard;
            _baseWall = now;
            return *heard;
        }
    }
    return _baseUs + std::chrono::duration_cast<std::chrono::microseconds>(now - _baseWall).count();
}

void PlaybackClock::setPosition(int64_t us) {
    _baseUs = us;
    _baseWall = Clock::now();
}

void PlaybackClock::start() {
    if (_running)
        return;
    _baseWall = Clock::now();
    _running = true;
}

void PlaybackClock::pause() {
    if (!_running)
        return;
    _baseUs = positionUs();
    _running = false;
}
