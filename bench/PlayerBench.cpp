// The preview player's speed: real-time playback of 1080p30 with its dropped pictures, the CPU a paused player
// uses, and on 2 cores and on every core: exact seeks on files with ten and two seconds between key frames
// beside the ffmpeg program's accurate seek, and the wait for pictures while a slider is dragged.
//
//   bench_player [folder] [--cores N] [--seeks | --drags]
//       clips are made once in the folder (default: temp/clipwright-bench); playback is held to N CPUs
//       (default 2; 0 = all); --seeks: the seeks and drags only; --drags: the drags only
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

// The seek targets of one run: the same for the player and for the ffmpeg program.
std::vector<double> seekTargets(double duration) {
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> anywhere(0.0, duration);
    std::vector<double> targets;
    for (int i = 0; i < kSeeks; ++i)
        targets.push_back(anywhere(random));
    return targets;
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * double(values.size())));
    return values[index];
}

// Pictures the player has shown as the answer to a seek (exact or on the way to it).
uint64_t seekPictures(const LQMoviePlayer& player) {
    return player.statistics().seekResults + player.statistics().seekPreviews;
}

void seekLatency(const std::string& clip, const char* label, const std::vector<double>& targets) {
    Host host(clip);
    LQMoviePlayer& player = *host.player;
    std::vector<double> latencies;
    for (double target : targets) {
        QElapsedTimer timer;
        timer.start();
        player.seekTime(MediaTime::withSeconds(target, 1000000000));
        if (!runUntil([&] { return !player.isSeeking(); }, 10000)) {
            std::printf("seek to %.3f s: no picture after 10 s\n", target);
            continue;
        }
        latencies.push_back(timer.nsecsElapsed() / 1e6);
        runFor(30); // the next seek comes when the picture has been looked at, as a user's would
    }
    if (latencies.empty())
        return;
    std::printf("exact seek %-26s %d random seeks: median %.1f ms, 90th percentile %.1f ms, max %.1f ms\n", label,
                kSeeks, BenchProcess::median(latencies), percentile(latencies, 0.9),
                *std::max_element(latencies.begin(), latencies.end()));
}

// The ffmpeg program's accurate seek to the same times (decode from the key frame before, drop up to the
// target): each run's wall time less that of a run taking the first frame (its start-up) made just before, so
// a machine busy with other work weighs on both alike.
void ffmpegAccurateSeek(const std::string& clip, const char* label, const std::vector<double>& targets) {
    auto timeAt = [&](double seconds) {
        char at[32];
        std::snprintf(at, sizeof at, "%.6f", seconds);
        return BenchProcess::run({"ffmpeg", "-nostdin", "-v", "error", "-ss", at, "-i", clip, "-frames:v", "1", "-an",
                                  "-f", "null", "-"})
                   .seconds *
               1000.0;
    };
    std::vector<double> startUps, seeks;
    for (double target : targets) {
        startUps.push_back(timeAt(0));
        seeks.push_back(std::max(0.0, timeAt(target) - startUps.back()));
    }
    const double startUp = BenchProcess::median(startUps);
    std::printf("ffmpeg accurate seek %-20s %d seeks (start-up %.1f ms subtracted): median %.1f ms, 90th "
                "percentile %.1f ms\n",
                label, int(seeks.size()), startUp, BenchProcess::median(seeks), percentile(seeks, 0.9));
}

// A slider dragged across the clip for 5 s, a move every 16 ms (a mouse's pace): for each move, how long until
// the view shows a picture asked for at or after it. Then how long the exact frame takes once the drag rests.
void drag(const std::string& clip, const char* label) {
    Host host(clip);
    LQMoviePlayer& player = *host.player;
    runFor(300); // the hand reaches the slider after the first picture has been seen
    const double duration = player.duration().seconds();
    constexpr int kDragMs = 5000, kMoveMs = 16;
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> moves; // ns since the start, of the moves not yet answered
    double longest = 0;
    std::vector<double> waits;
    uint64_t shown = seekPictures(player);
    auto answer = [&] {
        if (seekPictures(player) == shown)
            return;
        shown = seekPictures(player);
        const qint64 now = clock.nsecsElapsed();
        for (qint64 at : moves) {
            waits.push_back((now - at) / 1e6);
            longest = std::max(longest, waits.back());
        }
        moves.clear();
    };
    int count = 0;
    double target = 0;
    for (qint64 next = 0; next <= kDragMs; next += kMoveMs) {
        runUntil(
            [&] {
                answer();
                return clock.elapsed() >= next;
            },
            kMoveMs * 4);
        target = duration * (0.05 + 0.9 * double(next) / kDragMs);
        moves.push_back(clock.nsecsElapsed());
        player.seekTime(MediaTime::withSeconds(target, 1000000000));
        ++count;
    }
    const qint64 rest = clock.nsecsElapsed();
    runUntil(
        [&] {
            answer();
            return !player.isSeeking();
        },
        10000);
    answer();
    const double exact = (clock.nsecsElapsed() - rest) / 1e6;
    for (qint64 at : moves) // moves never answered count up to now
        longest = std::max(longest, (clock.nsecsElapsed() - at) / 1e6);
    std::printf("drag %-32s %d moves in 5 s: longest wait for a picture %.1f ms (median %.1f ms); exact frame "
                "%.1f ms after the drag rests\n",
                label, count, longest, BenchProcess::median(waits), exact);
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
    bool seeksOnly = false, dragsOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--cores") == 0 && i + 1 < argc)
            cores = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--seeks") == 0)
            seeksOnly = true;
        else if (std::strcmp(argv[i], "--drags") == 0)
            seeksOnly = dragsOnly = true;
        else
            folder = argv[i];
    }
    fs::create_directories(folder);
    setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as it comes
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
    cpu_set_t everyCore;
    sched_getaffinity(0, sizeof everyCore, &everyCore);
    holdToCores(cores);
    QApplication app(argc, argv);
    std::printf("bench_player: %s CPUs, view 960x540\n", cores > 0 ? std::to_string(cores).c_str() : "all");

    if (!seeksOnly)
        playback(playClip, "1080p30", [](LQMoviePlayer&) {});
    if (!seeksOnly)
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
    if (!seeksOnly)
        pausedCpu(playClip);

    // Seeks and drags on 2 cores and on every core, beside the ffmpeg program's accurate seek.
    for (int seekCores : {2, 0}) {
        sched_setaffinity(0, sizeof everyCore, &everyCore);
        holdToCores(seekCores);
        const std::string on = seekCores > 0 ? std::to_string(seekCores) + " cores" : std::string("all cores");
        std::printf("-- seeks on %s\n", on.c_str());
        struct Clip {
            const std::string& path;
            const char* label;
        };
        for (const Clip& clip : {Clip{seekClip, "1080p, 10 s GOP"}, Clip{playClip, "1080p, 2 s GOP"}}) {
            const std::vector<double> targets = seekTargets(25.0);
            if (!dragsOnly) {
                seekLatency(clip.path, clip.label, targets);
                ffmpegAccurateSeek(clip.path, clip.label, targets);
            }
            drag(clip.path, clip.label);
        }
    }
    return 0;
}
