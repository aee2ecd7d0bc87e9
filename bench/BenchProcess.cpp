#include "BenchProcess.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

BenchProcess::Result BenchProcess::run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    Result result;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    result.peakKiB = usage.ru_maxrss;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

double BenchProcess::median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool BenchProcess::makeOnce(const std::string& path, const std::string& ffmpegArgs) {
    if (fs::exists(path))
        return true;
    std::string temporary = path + ".part.mp4";
    std::string command = "ffmpeg -nostdin -loglevel error -y " + ffmpegArgs + " '" + temporary + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "cannot make %s\n", path.c_str());
        return false;
    }
    fs::rename(temporary, path);
    return true;
}

std::string BenchProcess::clip720p20s(const std::string& folder, const std::string& name) {
    fs::create_directories(folder);
    const std::string path = (fs::path(folder) / name).string();
    if (!makeOnce(path, "-f lavfi -i testsrc2=size=1280x720:rate=25:duration=20 "
                        "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=20 "
                        "-ac 2 -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 50 -c:a aac -shortest")) {
        std::fprintf(stderr, "could not make %s\n", path.c_str());
        return {};
    }
    return path;
}

std::string BenchProcess::self() {
    return fs::canonical("/proc/self/exe").string();
}
