#pragma once

// Shared by the tests of damaged and odd sources: what the ffprobe program counts in an output.

#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
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

} // namespace faulttest
