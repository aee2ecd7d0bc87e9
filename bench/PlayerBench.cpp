// The preview player's speed: real-time playback of 1080p30 with its dropped pictures, seek latency on a file
// with ten seconds between key frames, and the CPU a paused player uses.
//
//   bench_player [folder] [--cores N]     clips are made once in the folder (default: temp/clipwright-bench);
//                                         the process is held to N CPUs (default 2; 0 = all)
#include "BenchProcess.h"

#include "LQMoviePlayer.h"
#include "MediaTime.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPlaySeconds = 20;
constexpr int kSeeks = 40;
constexpr int kPausedSeconds = 5;

// Runs the event loop, sleeping until events arrive, until `done` or the deadline. A 20 ms heartbeat keeps the
// deadline honest when nothing else happens; it costs next to nothing, so the paused figure stays the player's.
template <typename Done> bool runUntil(Done done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    QTimer heartbeat;
    heartbeat.start(20);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void runFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    runUntil([&] { return timer.elapsed() >= ms; }, ms + 100);
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void holdToCores(int cores) {
    if (cores <= 0)
        return;
    cpu_set_t set;
    CPU_ZERO(&set);
    cpu_set_t allowed;
    sched_getaffinity(0, sizeof allowed, &allowed);
    int taken = 0;
    for (int cpu = 0; cpu < CPU_SETSIZE && taken < cores; ++cpu)
        if (CPU_ISSET(cpu, &allowed)) {
            CPU_SET(cpu, &set);
            ++taken;
        }
    sched_setaffinity(0, sizeof set, &set);
}

struct Host {
    QWidget window;
    std::unique_ptr<LQMoviePlayer> player;

    explicit Host(const std::string& path) {
        window.resize(960, 540);
        player = std::make_unique<LQMoviePlayer>(QString::fromStdString(path), ViewRect{0, 0, 960, 540});
        player->view()->setParent(&window);
        window.show();
        runUntil([&] { return !player->isSeeking(); }, 10000);
    }
};

void playback(const std::string& clip, const char* label, const std::function<void(LQMoviePlayer&)>& edits) {
    Host host(clip);
    LQMoviePlayer& player = *host.player;
    edits(player);
    player.Refresh();
    runUntil([&] { return !player.isSeeking(); }, 10000);
    const PlaybackStatistics before = player.statistics();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    player.play();
    runFor(kPlaySeconds * 1000);
    const double elapsed = wall.elapsed() / 1000.0;
    const double played = player.currentTime().seconds();
    const double cpu = cpuSeconds() - cpuBefore;
    player.pause();
    const uint64_t presented = player.statistics().presented - before.presented;
    const uint64_t dropped = player.statistics().dropped - before.dropped;
    std::printf("playback %-22s %5.2f s played in %5.2f s wall, %4llu shown, %3llu dropped (%.2f %%), CPU %.0f %%\n",
                label, played, elapsed, static_cast<unsigned long long>(presented),
                static_cast<unsigned long long>(dropped),
                presented + dropped ? 100.0 * dropped / double(presented + dropped) : 0.0, 100.0 * cpu / elapsed);
}

void seekLatency(const std::string& clip) {
    Host host(clip);
    LQMoviePlayer& player = *host.player;
    const double duration = player.duration().seconds();
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> anywhere(0.0, duration);
    std::vector<double> latencies;
    for (int i = 0; i < kSeeks; ++i) {
        const double target = anywhere(random);
        QElapsedTimer timer;
        timer.start();
        player.seekTime(MediaTime::withSeconds(target, 1000000000));
        if (!runUntil([&] { return !player.isSeeking(); }, 10000)) {
            std::printf("seek to %.3f s: no picture after 10 s\n", target);
            continue;
        }
        latencies.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("seek latency, %d random seeks (10 s between key frames): median %.1f ms, min %.1f, max %.1f ms\n",
                kSeeks, BenchProcess::median(latencies), latencies.front(), latencies.back());
}

void pausedCpu(const std::string& clip) {
    // The benchmark's own event loop (its heartbeat), for reference.
    double before = cpuSeconds();
    runFor(kPausedSeconds * 1000);
    const double idle = cpuSeconds() - before;

    Host host(clip);
    LQMoviePlayer& player = *host.player;
    player.play();
    runFor(1000);
    player.pause();
    runFor(500); // the decoder fills its queue and stops
    before = cpuSeconds();
    runFor(kPausedSeconds * 1000);
    const double used = cpuSeconds() - before;
    std::printf("paused player: %.3f s CPU in %d s (%.2f %% of one core; the bare event loop: %.2f %%)\n", used,
                kPausedSeconds, 100.0 * used / kPausedSeconds, 100.0 * idle / kPausedSeconds);
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string folder = (fs::temp_directory_path() / "clipwright-bench").string();
    int cores = 2;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--cores") == 0 && i + 1 < argc)
            cores = std::atoi(argv[++i]);
        else
            folder = argv[i];
    }
    fs::create_directories(folder);
    const std::string playClip = folder + "/player_1080p30_25s.mp4";
    const std::string seekClip = folder + "/player_1080p30_gop10s.mp4";
    const std::string logo = folder + "/player_logo.png";
    const std::string source = "-f lavfi -i testsrc2=size=1920x1080:rate=30 -f lavfi -i sine=frequency=440:"
                               "sample_rate=48000 -t 25 -c:v libx264 -preset veryfast -b:v 8M -pix_fmt yuv420p "
                               "-c:a aac -b:a 128k -shortest";
    if (!BenchProcess::makeOnce(playClip, source + " -g 60") ||
        !BenchProcess::makeOnce(seekClip, source + " -g 300 -keyint_min 300 -sc_threshold 0") ||
        !BenchProcess::makeOnce(logo, "-f lavfi -i testsrc2=size=320x180:rate=1 -frames:v 1")) {
        std::fprintf(stderr, "bench_player: could not make the clips in %s\n", folder.c_str());
        return 1;
    }
    holdToCores(cores);
    QApplication app(argc, argv);
    std::printf("bench_player: %s CPUs, view 960x540\n", cores > 0 ? std::to_string(cores).c_str() : "all");

    playback(playClip, "1080p30", [](LQMoviePlayer&) {});
    playback(playClip, "1080p30 effect+watermark", [&](LQMoviePlayer& player) {
        player.AddImageEffect(1);
        IMAGE_WATERMARK_PARAM watermark{};
        MediaRecordSetText(watermark.path, sizeof watermark.path, logo.c_str());
        watermark.rect = RECT{1500, 60, 1820, 240};
        watermark.transparence = 30;
        watermark.start_time = 0;
        watermark.end_time = 60000000;
        player.AddImageWatermask(watermark);
    });
    seekLatency(seekClip);
    pausedCpu(playClip);
    return 0;
}
