#include "BenchProcess.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

BenchProcess::Result BenchProcess::run(const std::vector<std::string>& args, bool keepOutput) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    Result result;
    int pipeEnds[2] = {-1, -1};
    if (keepOutput && pipe(pipeEnds) != 0)
        return result;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        if (keepOutput) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            dup2(pipeEnds[1], STDERR_FILENO);
            close(pipeEnds[0]);
            close(pipeEnds[1]);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    if (keepOutput) {
        // Read to the end before waiting, so a child with much to say never blocks on a full pipe.
        close(pipeEnds[1]);
        char buffer[4096];
        ssize_t count;
        while ((count = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
            result.output.append(buffer, static_cast<size_t>(count));
        close(pipeEnds[0]);
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

void BenchProcess::printInProcess(double seconds) {
    std::printf("bench: rtime=%.3fs\n", seconds);
}

double BenchProcess::inProcessSeconds(const Result& result) {
    const std::string key = "rtime=";
    const size_t at = result.output.rfind(key);
    return at == std::string::npos ? -1 : std::atof(result.output.c_str() + at + key.size());
}

std::vector<std::string> BenchProcess::timedFfmpeg(const std::vector<std::string>& arguments) {
    std::vector<std::string> command = {"ffmpeg", "-nostdin", "-hide_banner", "-nostats", "-loglevel",
                                        "info",   "-benchmark", "-y"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
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

std::vector<std::string> BenchProcess::concatCopy(const std::vector<std::string>& files, const std::string& list,
                                                  const std::string& out) {
    std::ofstream text(list);
    for (const std::string& file : files)
        text << "file '" << file << "'\n";
    return {"-f", "concat", "-safe", "0", "-auto_convert", "0", "-i", list, "-c", "copy", out};
}
