// How fast a stop takes effect: the time from Stop to the return of the blocked Start, for a conversion job and
// for a re-encoding join, median of 5 each on a 20 s 1280x720 clip. Target: under 0.5 s on an idle machine.
#include "BenchProcess.h"
#include "libMediaCore.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kTargetSeconds = 0.5;
constexpr int kRuns = 5;

// Starts `start` on a worker, waits until the job is well under way, stops it and times the return.
template <typename Start, typename Stop> double timeStop(Start start, Stop stop) {
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        start();
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    auto stopped = Clock::now();
    stop();
    while (!returned)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    double seconds = std::chrono::duration<double>(Clock::now() - stopped).count();
    worker.join();
    return seconds;
}

double convertStop(const std::string& input, const std::string& output) {
    CONVERT_HANDLE h = apiMediaConvertCreate();
    apiMediaConvertSetInputMedia(h, input.c_str());
    apiMediaConvertSetVcodec(h, "H264");
    apiMediaConvertSetOutputPath(h, output.c_str());
    double seconds = timeStop([&] { apiMediaConvertStart(h); }, [&] { apiMediaConvertStop(h); });
    apiMediaConvertClose(h);
    return seconds;
}

double joinStop(const std::string& input, const std::string& output) {
    JOIN_HANDLE h = apiMediaJoinCreate();
    JOIN_CLIP_HANDLE first = apiMediaJoinAddMediaClip(h, input.c_str(), 0, 0);
    apiMediaJoinAddMediaClip(h, input.c_str(), 0, 0);
    apiMediaJoinSetTransition(h, first, 3, 1000000);
    apiMediaJoinSetVideoCodec(h, "H264");
    apiMediaJoinSetAudioCodec(h, "AAC");
    apiMediaJoinSetOutputPath(h, output.c_str());
    double seconds = timeStop([&] { apiMediaJoinStart(h); }, [&] { apiMediaJoinStop(h); });
    apiMediaJoinClose(h);
    return seconds;
}

bool report(const char* what, std::vector<double> samples) {
    double median = BenchProcess::median(samples);
    bool ok = median < kTargetSeconds;
    std::printf("%-22s stop -> return, median of %d: %.3f s (target < %.1f s) %s\n", what, kRuns, median,
                kTargetSeconds, ok ? "OK" : "SLOW");
    return ok;
}

} // namespace

int main() {
    fs::path dir = fs::temp_directory_path() / "clipwright-bench";
    fs::create_directories(dir);
    std::string input = (dir / "stop_720p_20s.mp4").string();
    if (!BenchProcess::makeOnce(input, "-f lavfi -i testsrc2=size=1280x720:rate=30:duration=20 "
                                       "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=20 "
                                       "-c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -shortest")) {
        std::fprintf(stderr, "could not make the clip\n");
        return 2;
    }
    std::vector<double> convert, join;
    for (int i = 0; i < kRuns; ++i) {
        convert.push_back(convertStop(input, (dir / ("stop_convert_" + std::to_string(i) + ".mp4")).string()));
        join.push_back(joinStop(input, (dir / ("stop_join_" + std::to_string(i) + ".mp4")).string()));
    }
    bool ok = report("conversion job", convert);
    ok = report("re-encoding join", join) && ok;
    return ok ? 0 : 1;
}
