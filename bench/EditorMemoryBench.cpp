// Memory across editor windows: the resident memory of the process after each of N cycles of opening an editor
// window as the launcher does, loading a 1080p HEVC file, playing a moment, optionally exporting two seconds of
// it, and closing the window (which releases its controller). A closed editor should give back what it took: after
// the first cycle the figure should stay flat, with or without exports.
//
//   bench_editor_memory [cycles] [folder]   (default 6 cycles; the clip is made once in the folder)
//
// Two figures per cycle: the resident memory as the system sees it, and the same after the allocator has handed
// its free pages back (malloc_trim), which tells memory still held from memory merely cached by the allocator.
#include "BenchProcess.h"
#include "StallWatch.h"
#include "WindowBenchHome.h"

#include "EditVideoWindowController.h"
#include "LQMoviePlayer.h"
#include "TrimPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>

#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// VmRSS of this process, in MiB.
double residentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

void settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    StallWatch::runUntil([&] { return timer.elapsed() > ms; }, ms + 1000);
}

// One editor's life; false when something did not happen in time.
bool cycle(const QString& clip, bool exportToo) {
    auto* editor = new EditVideoWindowController;
    QPointer<EditVideoWindowController> alive(editor);
    editor->setToolItemType(ToolItemTypeCrop);
    editor->setReleasedWhenDone(true);
    editor->showWindow();
    editor->loadFile(clip);
    if (!StallWatch::runUntil([&] { return editor->lqPlayer() && !editor->lqPlayer()->isSeeking(); }, 30000))
        return false;
    editor->play();
    settle(500);
    editor->pause();
    if (exportToo) {
        editor->enterMode(ToolItemTypeTrim);
        editor->trimPanel()->setCutTimeRange(1e6, 3e6);
        editor->startExportAction();
        if (!StallWatch::runUntil([&] { return editor->isRunning(); }, 10000) ||
            !StallWatch::runUntil([&] { return !editor->jobRunner().isBusy(); }, 300000))
            return false;
    }
    editor->close();
    // The launcher keeps no reference: the controller goes once its window has closed.
    return StallWatch::runUntil([&] { return alive.isNull(); }, 30000);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? std::max(2, std::atoi(argv[1])) : 6;
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "clipwright-bench";
    fs::create_directories(folder);
    const std::string clip = (folder / "editor_memory_1080p_hevc_10s.mp4").string();
    if (!BenchProcess::makeOnce(clip, "-f lavfi -i testsrc2=size=1920x1080:rate=25:duration=10 "
                                      "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=10 -ac 2 "
                                      "-c:v libx265 -preset ultrafast -x265-params log-level=error -pix_fmt yuv420p "
                                      "-c:a aac -shortest"))
        return 1;
    const QString home = WindowBenchHome::enter("editor-memory");

    std::printf("resident memory (MiB) after each cycle: open, load 1080p HEVC, play 0.5 s, [export 2 s], close\n");
    std::printf("start: %.0f\n", residentMiB());
    bool ok = true;
    for (bool exportToo : {false, true}) {
        std::vector<double> trimmed;
        for (int i = 1; i <= cycles && ok; ++i) {
            ok = cycle(QString::fromStdString(clip), exportToo);
            settle(1500); // the editor gives its memory back a second after it has gone
            const double rss = residentMiB();
            malloc_trim(0);
            trimmed.push_back(residentMiB());
            std::printf("%s cycle %d: %.0f  (%.0f after malloc_trim)\n",
                        exportToo ? "with export   " : "without export", i, rss, trimmed.back());
        }
        if (trimmed.size() >= 2)
            std::printf("%s: %+.1f MiB per cycle after the first (after malloc_trim)\n",
                        exportToo ? "with export   " : "without export",
                        (trimmed.back() - trimmed.front()) / double(trimmed.size() - 1));
    }
    // Worker threads left idle (the engine's and the job road's) end after a while; what remains is held.
    settle(35000);
    malloc_trim(0);
    std::printf("after 35 s idle: %.0f (after malloc_trim)\n", residentMiB());
    std::fflush(stdout);
    if (std::getenv("CLIPWRIGHT_MALLOC_STATS"))
        malloc_stats();
    QDir(home).removeRecursively();
    if (!ok)
        std::printf("FAILED: a cycle did not finish in time\n");
    return ok ? 0 : 1;
}
