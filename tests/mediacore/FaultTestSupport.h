#pragma once

// Shared by the tests of damaged and odd sources: what the ffprobe program counts in an output, a guard against
// runaway jobs, and damage done to a transport stream.

#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <thread>

namespace faulttest {

// The pictures the ffprobe program decodes from the first video stream.
inline long long countedFrames(const std::string& path) {
    const std::string out = captureOutput("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                                          "stream=nb_read_frames -of csv=p=0 " +
                                          MediaFixtures::quote(path));
    return std::atoll(out.c_str());
}

// Runs `start`; a job still running after a generous while is stopped with `stop`, so a runaway job fails its test
// instead of hanging it. Start's result.
template <typename Start, typename Stop> int startGuarded(Start start, Stop stop) {
    std::mutex lock;
    std::condition_variable changed;
    bool finished = false;
    std::thread guard([&] {
        std::unique_lock<std::mutex> held(lock);
        if (!changed.wait_for(held, std::chrono::seconds(120), [&] { return finished; }))
            stop();
    });
    const int rc = start();
    {
        std::lock_guard<std::mutex> held(lock);
        finished = true;
    }
    changed.notify_all();
    guard.join();
    return rc;
}

inline int convertGuarded(CONVERT_HANDLE job) {
    return startGuarded([job] { return apiMediaConvertStart(job); }, [job] { apiMediaConvertStop(job); });
}

inline int joinGuarded(JOIN_HANDLE job) {
    return startGuarded([job] { return apiMediaJoinStart(job); }, [job] { apiMediaJoinStop(job); });
}

// Sets the PTS and DTS of every PES header in the MPEG transport stream `bytes` to random values (33 bits each,
// marker bits kept), as damage would; the number of headers rewritten.
inline int randomisePesTimestamps(std::string& bytes, uint64_t seed) {
    std::mt19937_64 random(seed);
    const auto put = [&](size_t at, uint64_t ts, int marker) {
        bytes[at] = static_cast<char>((marker << 4) | (((ts >> 30) & 7) << 1) | 1);
        bytes[at + 1] = static_cast<char>((ts >> 22) & 0xff);
        bytes[at + 2] = static_cast<char>((((ts >> 15) & 0x7f) << 1) | 1);
        bytes[at + 3] = static_cast<char>((ts >> 7) & 0xff);
        bytes[at + 4] = static_cast<char>(((ts & 0x7f) << 1) | 1);
    };
    int rewritten = 0;
    for (size_t p = 0; p + 188 <= bytes.size(); p += 188) {
        const auto byte = [&](size_t at) { return static_cast<unsigned char>(bytes[at]); };
        if (byte(p) != 0x47 || !(byte(p + 1) & 0x40))
            continue;
        const int adaptation = (byte(p + 3) >> 4) & 3;
        size_t at = p + 4 + (adaptation == 3 ? 1 + byte(p + 4) : 0);
        if ((adaptation != 1 && adaptation != 3) || at + 19 > bytes.size() ||
            bytes.compare(at, 3, std::string("\0\0\1", 3)) != 0)
            continue;
        const int flags = byte(at + 7) >> 6;
        if (!(flags & 2))
            continue;
        put(at + 9, random() & ((1ULL << 33) - 1), flags == 2 ? 2 : 3);
        if (flags == 3)
            put(at + 14, random() & ((1ULL << 33) - 1), 1);
        ++rewritten;
    }
    return rewritten;
}

} // namespace faulttest
