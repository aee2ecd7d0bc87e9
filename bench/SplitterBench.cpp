// The splitter's main thread: the longest stall of the event loop while a file is loaded, while a plan of many
// points is made and while it plays, and during a split by time and a split by size (target: every stall under
// 50 ms). The pieces of each split are checked with ffprobe: together they hold the clip's 500 pictures and last
// its 20 s.
//
//   bench_splitter [folder]     the clip is made once in the folder (default: temp/clipwright-bench)
#include "BenchProcess.h"
#include "OutputCheck.h"

#include "SplitPlan.h"
#include "SplitProgressView.h"
#include "SplitWindowController.h"
#include "StallWatch.h"
#include "WindowBenchHome.h"
#include "WindowRunWatch.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    const std::string clip = BenchProcess::clip720p20s(folder.string(), "splitter_20s_720p.mp4");
    if (clip.empty())
        return 1;
    const QString home = WindowBenchHome::enter("splitter");

    SplitWindowController controller;
    controller.window()->show();
    StallWatch watch;
    QElapsedTimer timer;

    watch.start();
    timer.start();
    QTimer::singleShot(5, [&] { controller.loadFile(QString::fromStdString(clip)); });
    StallWatch::runUntil([&] { return controller.fileData() != nullptr && timer.elapsed() > 300; }, 30000);
    StallWatch::report("loading a 20 s 720p file", watch.stopMs());

    watch.start();
    timer.restart();
    QTimer::singleShot(5, [&] { controller.playAction(); });
    StallWatch::runUntil([&] { return timer.elapsed() > 1500; }, 5000);
    controller.pauseAction();
    StallWatch::report("playing", watch.stopMs());

    // The most points a plan may have: equal parts at the cap.
    watch.start();
    QTimer::singleShot(5, [&] {
        controller.split_averageBtn()->setChecked(true);
        controller.limiteachAverageSegmentAction();
        controller.averageTextField()->setText(QString::number(SplitPlan::kMaxPieces));
        controller.splitAction();
    });
    StallWatch::runUntil([&] { return controller.playerSlider()->splitCount() == SplitPlan::kMaxPieces - 1; }, 30000);
    StallWatch::report("a plan of 499 points", watch.stopMs());

    watch.start();
    timer.restart();
    QTimer::singleShot(5, [&] { controller.playAction(); });
    StallWatch::runUntil([&] { return timer.elapsed() > 1500; }, 5000);
    controller.pauseAction();
    StallWatch::report("playing with 499 points on the timeline", watch.stopMs());

    struct Run {
        const char* what;
        std::function<void()> choose;
    };
    const Run runs[] = {
        {"split by time into 5 s pieces",
         [&] {
             controller.split_timeBtn()->setChecked(true);
             controller.limiteachTimeSegmentAction();
             controller.split_timepopBtn()->setCurrentIndex(0);
             controller.splitAction();
         }},
        {"split by size into 2 MB pieces",
         [&] {
             controller.split_sizeBtn()->setChecked(true);
             controller.limiteachFilesizeSegmentAction();
             controller.split_sizepopBtn()->setCurrentIndex(1);
             controller.splitAction();
         }},
    };
    bool outputsHold = true;
    for (const Run& run : runs) {
        run.choose();
        timer.restart();
        const double stall =
            WindowRunWatch::run(watch, controller, [&] { controller.startExportAction(); }, 300000);
        const int pieces = int(QDir(controller.outputPath()).entryList(QDir::Files).size());
        std::printf("%s: %d pieces in %.1f s\n", run.what, pieces, double(timer.elapsed()) / 1000);
        StallWatch::report(run.what, stall);
        outputsHold = OutputCheck::holds(run.what, OutputCheck::videoFilesUnder(controller.outputPath().toStdString()),
                                         500, 20.0) &&
                      outputsHold;
        QDir(controller.outputPath()).removeRecursively();
    }
    controller.close();
    QDir(home).removeRecursively();
    return outputsHold ? 0 : 1;
}
