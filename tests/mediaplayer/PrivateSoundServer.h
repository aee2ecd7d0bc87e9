#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A PulseAudio server of the test's own: its runtime folder in a fresh temporary folder, no system or user
// configuration, one null sink whose monitor the test records. The server is ended when the object goes, and
// dies with the test process if that ends first.
class PrivateSoundServer {
public:
    PrivateSoundServer() = default;
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // The full path of `program` on PATH; empty when it is not installed.
    static std::string findProgram(const std::string& program);

    // Starts the server and waits until it answers; false (with the reason in *error) when it does not.
    bool start(std::string* error);
    // Ends the server (its clients lose it).
    void stop();
    // The address for PULSE_SERVER.
    std::string address() const { return "unix:" + _folder + "/native"; }
    std::string monitorSource() const { return "clipwright_null.monitor"; }
    std::string folder() const { return _folder; }

private:
    std::string _folder;
    pid_t _pid = -1;
};

// Records a source of the server (parec) as mono 32-bit float, noting when each piece arrived, so a sample's
// index can be put on the steady clock.
class SoundRecorder {
public:
    using Clock = std::chrono::steady_clock;

    SoundRecorder(const PrivateSoundServer& server, int sampleRate);
    ~SoundRecorder();
    SoundRecorder(const SoundRecorder&) = delete;
    SoundRecorder& operator=(const SoundRecorder&) = delete;

    bool start(std::string* error);
    void stop();

    int sampleRate() const { return _rate; }
    std::vector<float> samples() const;
    // When sample `index` left the sink, on the steady clock: the arrival of the piece that held it, less the
    // length of the samples after it in that piece. The sink sends nothing while nothing plays into it, so the
    // recording is not one even timeline.
    Clock::time_point timeOfSample(int64_t index) const;
    // The first sample recorded at or after `when`.
    int64_t sampleAt(Clock::time_point when) const;

private:
    void read(int fd);

    const PrivateSoundServer& _server;
    const int _rate;
    pid_t _pid = -1;
    std::thread _reader;
    mutable std::mutex _mutex;
    std::vector<float> _samples;
    struct Piece {
        int64_t end; // one past its last sample
        Clock::time_point arrived;
    };
    std::vector<Piece> _pieces;
};
