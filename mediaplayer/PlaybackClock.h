#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

// The playhead's clock, in µs on the file's timeline. While sound plays, the audio output is the master (the
// picture follows what is heard); without sound (no device, no audio stream, a gap or the sound's end) it runs on
// the wall clock from where the sound left it. Main thread only.
class PlaybackClock {
public:
    // The time of the sample being heard, or nothing while no sound of the media plays.
    using Master = std::function<std::optional<int64_t>()>;

    void setMaster(Master master) { _master = std::move(master); }

    int64_t positionUs() const;
    void setPosition(int64_t us);
    void start();
    void pause();
    bool running() const { return _running; }

private:
    using Clock = std::chrono::steady_clock;

    Master _master;
    bool _running = false;
    mutable int64_t _baseUs = 0;
    mutable Clock::time_point _baseWall{};
};
