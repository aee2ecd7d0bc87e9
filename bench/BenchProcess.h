#pragma once

#include <string>
#include <vector>

// What a benchmark needs around the work it times: child processes timed from outside (wall time and peak
// memory), medians, and clips made once with the ffmpeg program.
class BenchProcess {
public:
    struct Result {
        double seconds = 0;
        double cpuSeconds = 0; // the child's user + system time, all its threads
        long peakKiB = 0;      // the child's peak resident memory
        int status = -1;  // its exit status; -1 when it did not exit normally
    };

    // Runs args[0] with its arguments as a child process (found on PATH) and waits for it.
    static Result run(const std::vector<std::string>& args);

    static double median(std::vector<double> values);

    // Makes `path` with `ffmpeg -y <ffmpegArgs> <path>` unless it exists; false when ffmpeg fails.
    static bool makeOnce(const std::string& path, const std::string& ffmpegArgs);

    // A 20 s 1280x720 25 fps H.264 + AAC (440 Hz stereo) clip made once in `folder` under `name`; its path, or ""
    // when ffmpeg fails (the failure is reported).
    static std::string clip720p20s(const std::string& folder, const std::string& name);

    // This program's own path, to run it again as a child.
    static std::string self();
};
