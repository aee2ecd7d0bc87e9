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
        std::string output; // what it wrote to stdout and stderr, when asked to keep it
    };

    // Runs args[0] with its arguments as a child process (found on PATH) and waits for it; with `keepOutput` its
    // stdout and stderr are read into `output` instead of going to this program's.
    static Result run(const std::vector<std::string>& args, bool keepOutput = false);

    // In-process timing: a child that does the work prints the seconds it spent on the work itself (without
    // start-up, loading and exit) the way the ffmpeg program's -benchmark does ("bench: ... rtime=1.250s").
    static void printInProcess(double seconds);
    // Those seconds from a child's kept output, or -1 when it printed none.
    static double inProcessSeconds(const Result& result);

    // The ffmpeg program's command line with `arguments`, overwriting its output and printing its own timing of the
    // work (after opening its files) for inProcessSeconds.
    static std::vector<std::string> timedFfmpeg(const std::vector<std::string>& arguments);

    static double median(std::vector<double> values);

    // Makes `path` with `ffmpeg -y <ffmpegArgs> <path>` unless it exists; false when ffmpeg fails.
    static bool makeOnce(const std::string& path, const std::string& ffmpegArgs);

    // A 20 s 1280x720 25 fps H.264 + AAC (440 Hz stereo) clip made once in `folder` under `name`; its path, or ""
    // when ffmpeg fails (the failure is reported).
    static std::string clip720p20s(const std::string& folder, const std::string& name);

    // Writes `list` for the ffmpeg program's concat demuxer and returns its arguments (for timedFfmpeg) to join
    // `files` into `out` by stream copy, packets untouched (without -auto_convert 0 the demuxer would put the
    // parameter sets in front of every key frame).
    static std::vector<std::string> concatCopy(const std::vector<std::string>& files, const std::string& list,
                                               const std::string& out);

    // This program's own path, to run it again as a child.
    static std::string self();
};
