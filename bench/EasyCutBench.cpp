// The easy cutter's main thread: the longest stall of the event loop while a file is loaded, while ten segments
// are cut, and during a separate and a merged export of them (target: every stall under 50 ms). The exports are
// checked with ffprobe: ten 1 s pieces, or one file of them, 10 s and 250 pictures in all.
//
//   bench_easycut [folder]     the clip is made once in the folder (default: temp/clipwright-bench)
#include "BenchProcess.h"

#include "EasyCutterWindowcontroller.h"
#include "LQCutProgressView.h"
#include "MOQButton.h"
#include "OutputCheck.h"
#include "StallWatch.h"
#include "WindowBenchHome.h"
#include "WindowRunWatch.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace fs = std::filesystem;

using Watch = StallWatch;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    const std::string clip = BenchProcess::clip720p20s(folder.string(), "easycut_20s_720p.mp4");
    if (clip.empty())
        return 1;
    const QString home = WindowBenchHome::enter("easycut");

    EasyCutterWindowcontroller controller;
    controller.window()->show();
    StallWatch watch;

    watch.start();
    QElapsedTimer timer;
    timer.start();
    QTimer::singleShot(5, [&] { controller.loadFile(QString::fromStdString(clip)); });
    Watch::runUntil([&] { return controller.fileData() != nullptr && timer.elapsed() > 300; }, 30000);
    Watch::report("loading a 20 s 720p file", watch.stopMs());

    watch.start();
    int cut = 0;
    std::function<void()> next = [&] {
        controller.cutprogressView()->setLowerValueUpperValue(float(cut) / 10, float(cut) / 10 + 0.05f);
        controller.cutAction();
        if (++cut < 10)
            QTimer::singleShot(20, next);
    };
    QTimer::singleShot(5, next);
    Watch::runUntil([&] { return cut >= 10; }, 60000);
    Watch::report("cutting ten segments (a thumbnail each)", watch.stopMs());

    bool outputsHold = true;
    for (bool merge : {false, true}) {
        if (controller.merageBtn()->selected() != merge)
            controller.merageBtn()->setSelected(merge);
        const std::vector<std::string> before = OutputCheck::videoFilesUnder(home.toStdString());
        timer.restart();
        const double stall =
            WindowRunWatch::run(watch, controller, [&] { controller.startExportAction(); }, 300000);
        std::printf("%s export of ten 1 s segments: %.1f s\n", merge ? "merged" : "separate",
                    double(timer.elapsed()) / 1000);
        Watch::report(merge ? "merged export" : "separate export", stall);
        const std::vector<std::string> written = OutputCheck::added(home.toStdString(), before);
        if (written.size() != (merge ? 1u : 10u))
            std::printf("MISMATCH %s export: %zu files written\n", merge ? "merged" : "separate", written.size());
        // Ten seconds of a 25 fps clip.
        outputsHold = OutputCheck::holds(merge ? "merged export" : "separate export", written, 250, 10.0) &&
                      written.size() == (merge ? 1u : 10u) && outputsHold;
    }
    controller.close();
    QDir(home).removeRecursively();
    return outputsHold ? 0 : 1;
}
