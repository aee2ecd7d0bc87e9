#pragma once

#include <pulse/def.h>
#include <pulse/sample.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

struct pa_context;
struct pa_mainloop_api;
struct pa_threaded_mainloop;
struct pa_time_event;

// A connection to the sound server through its client library (PulseAudio's protocol; PipeWire serves it too): a
// threaded main loop of its own and one context on it. Every call into the library's objects, and every member its
// callbacks touch, is made with the loop's lock held (Lock); the callbacks run on the loop's thread, already
// holding it. The loop's thread is stopped before anything is released, so no callback outlives its owner.
class SoundServerConnection {
public:
    // Connects (without starting a server) and waits for the server's answer; nothing when there is no server or
    // it does not answer within `timeout`.
    static std::unique_ptr<SoundServerConnection> connect(std::chrono::milliseconds timeout);
    ~SoundServerConnection();
    // Ends the loop's thread (lock not held): no callback runs from then on, and the library's objects may be
    // released without the lock. Also done by the destructor.
    void stop();
    SoundServerConnection(const SoundServerConnection&) = delete;
    SoundServerConnection& operator=(const SoundServerConnection&) = delete;

    class Lock {
    public:
        explicit Lock(const SoundServerConnection& connection);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* _loop;
    };

    pa_context* context() const { return _context; }
    pa_mainloop_api* api() const;
    // The default sink's sample format, rate and channels; nothing when the server does not tell. Lock not held.
    std::optional<pa_sample_spec> defaultSinkSpec();

    // With the lock held: waits until `done` holds (it is checked after every wake-up of waitable callbacks, see
    // wake) or `timeout` passed; false on the timeout.
    bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // From a callback: wakes waitUntil.
    void wake();

    // Runs on the loop's thread, lock held, once the connection is lost after it was made.
    std::function<void()> onLost;

private:
    SoundServerConnection() = default;
    static void stateChanged(pa_context* context, void* self);

    pa_threaded_mainloop* _loop = nullptr;
    pa_context* _context = nullptr;
    pa_time_event* _deadline = nullptr;
    bool _timedOut = false;
    bool _ready = false;
};
