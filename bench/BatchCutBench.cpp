// The batch cutter's main thread: the longest stall of the event loop while ten files are added and while they
// are written one after another, every other one kept from 1 s to 3 s and the others with 1 s to 2 s cut out
// (target: every stall under 50 ms). The outputs must hold what the ranges say.
//
//   bench_batchcut [folder]     the clips are made once in the folder (default: temp/clipwright-bench)
#include "BenchProcess.h"
#include "OutputCheck.h"
#include "StallWatch.h"
#include "WindowBenchHome.h"
#include "WindowRunWatch.h"

#include "BatchCutterWindowController.h"
#include "ClipListPanel.h"
#include "SimpleData.h"

#include <QApplication>
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
    std::error_code made;
    fs::create_directories(folder, made);
    const std::string clip = (folder / "batch_4s_720p.mp4").string();
    // A key frame every second, so that the copied parts of the inverted files end where they were asked to.
    if (!BenchProcess::makeOnce(clip, "-f lavfi -i testsrc2=size=1280x720:rate=25:duration=4 "
                                      "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                                      "-ac 2 -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 25 -c:a aac -shortest"))
        return 1;
    QStringList paths;
    for (int i = 1; i <= 10; ++i) {
        const fs::path copy = folder / ("batch_take" + std::to_string(i) + ".mp4");
        std::error_code error;
        fs::copy_file(clip, copy, fs::copy_options::skip_existing, error);
        paths << QString::fromStdString(copy.string());
    }
    const QString home = WindowBenchHome::enter("batchcut");

    BatchCutterWindowController controller;
    controller.window()->show();
    StallWatch watch;

    watch.start();
    QElapsedTimer timer;
    timer.start();
    QTimer::singleShot(5, [&] { controller.listPanel()->addFiles(paths); });
    StallWatch::runUntil(
        [&] { return controller.fileList()->size() == 10 && controller.previewBar()->player() != nullptr; }, 60000);
    std::printf("adding ten files: %.2f s\n", double(timer.elapsed()) / 1000);
    StallWatch::report("adding ten 720p files", watch.stopMs());

    for (int i = 0; i < 10; ++i) {
        SimpleData& file = *controller.fileList()->at(i);
        const bool inverted = i % 2 == 1;
        file.setCutTimeRange_start(1000000);
        file.setCutTimeRange_stop(inverted ? 2000000 : 3000000);
        file.setIsTrimFanxuan(inverted);
    }
    const std::vector<std::string> before = OutputCheck::videoFilesUnder(home.toStdString());
    timer.restart();
    const double stall =
        WindowRunWatch::run(watch, controller, [&] { controller.startBachCutterAction(); }, 600000);
    std::printf("batch of ten 720p files (25 s written): %.1f s\n", double(timer.elapsed()) / 1000);
    StallWatch::report("batch", stall);

    // Five files of 2 s and five of 3 s, at 25 pictures a second.
    const std::vector<std::string> written = OutputCheck::added(home.toStdString(), before);
    const bool complete = written.size() == 10 && controller.failedFiles().isEmpty();
    if (!complete)
        std::printf("MISMATCH batch: %zu files written, %lld failed\n", written.size(),
                    static_cast<long long>(controller.failedFiles().size()));
    const bool holds = complete && OutputCheck::holds("batch", written, 625, 25.0, OutputCheck::Slack(10, 0.3));
    controller.close();
    QDir(home).removeRecursively();
    return holds ? 0 : 1;
}
