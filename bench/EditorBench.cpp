// The editor window's main thread: the longest stall of the event loop while a file is loaded, while the preview
// plays with a mode switch every half second, and during a kept and an inverted trim export (target: every stall
// under 50 ms).
//
//   bench_editor [folder]     the clip is made once in the folder (default: temp/clipwright-bench)
#include "BenchProcess.h"
#include "OutputCheck.h"

#include "EditVideoWindowController.h"
#include "LQCutProgressView.h"
#include "StallWatch.h"
#include "WindowBenchHome.h"
#include "WindowRunWatch.h"
#include "TrimPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    const std::string clip = BenchProcess::clip720p20s(folder.string(), "editor_20s_720p.mp4");
    if (clip.empty())
        return 1;
    const QString home = WindowBenchHome::enter("editor");

    EditVideoWindowController controller;
    controller.setToolItemType(ToolItemTypeTrim);
    controller.window()->show();
    StallWatch watch;

    watch.start();
    QElapsedTimer timer;
    timer.start();
    QTimer::singleShot(5, [&] { controller.loadFile(QString::fromStdString(clip)); });
    StallWatch::runUntil([&] { return controller.fileData() != nullptr && timer.elapsed() > 300; }, 30000);
    StallWatch::report("loading a 20 s 720p file", watch.stopMs());

    watch.start();
    timer.restart();
    controller.play();
    const qint64 modes[] = {ToolItemTypeEffect, ToolItemTypeWatermark, ToolItemTypeMusic, ToolItemTypeCrop,
                            ToolItemTypeTrim};
    int switched = 0;
    QTimer switcher;
    QObject::connect(&switcher, &QTimer::timeout, [&] { controller.enterMode(modes[switched++ % 5]); });
    switcher.start(500);
    StallWatch::runUntil([&] { return timer.elapsed() > 4000; }, 10000);
    switcher.stop();
    controller.pause();
    StallWatch::report("4 s of preview, a mode switch every 0.5 s", watch.stopMs());

    controller.enterMode(ToolItemTypeTrim);
    controller.trimPanel()->setCutTimeRange(5e6, 15e6);
    controller.cutProgressView()->setLowerValueUpperValue(0.25f, 0.75f);
    bool outputsHold = true;
    for (bool inverted : {false, true}) {
        const std::vector<std::string> before = OutputCheck::videoFilesUnder(home.toStdString());
        controller.trimPanel()->preferenceBtn()->setCurrentIndex(inverted ? 1 : 0);
        controller.trimPanel()->actionPreferencesBtn(inverted ? 1 : 0);
        timer.restart();
        const double stall =
            WindowRunWatch::run(watch, controller, [&] { controller.startExportAction(); }, 300000);
        std::printf("%s trim export of 10 s: %.1f s\n", inverted ? "inverted" : "kept", double(timer.elapsed()) / 1000);
        StallWatch::report(inverted ? "inverted trim export" : "kept trim export", stall);
        // Either way 10 s of the 25 fps clip: 5-15 s, or the clip without it.
        outputsHold = OutputCheck::holds(inverted ? "inverted trim export" : "kept trim export",
                                         OutputCheck::added(home.toStdString(), before), 250, 10.0) &&
                      outputsHold;
    }
    controller.close();
    QDir(home).removeRecursively();
    return outputsHold ? 0 : 1;
}
