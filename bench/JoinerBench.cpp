// The joiner's main thread: the longest stall of the event loop while ten files are added, while a clip is chosen
// (its preview bound) and during a join of the ten (target: every stall under 50 ms).
//
//   bench_joiner [folder]     the clips are made once in the folder (default: temp/clipwright-bench)
#include "BenchProcess.h"
#include "OutputCheck.h"
#include "StallWatch.h"
#include "WindowBenchHome.h"
#include "WindowRunWatch.h"

#include "ClipPreviewBar.h"
#include "JoinnerWindowController.h"
#include "LQMoviePlayer.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace fs = std::filesystem;

using Watch = StallWatch;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    const std::string first = BenchProcess::clip720p20s(folder.string(), "joiner_20s_720p.mp4");
    if (first.empty())
        return 1;
    QStringList paths{QString::fromStdString(first)};
    for (int i = 1; i < 10; ++i) {
        const std::string path = (folder / ("joiner_4s_720p_" + std::to_string(i) + ".mp4")).string();
        if (!BenchProcess::makeOnce(path, "-f lavfi -i testsrc2=size=1280x720:rate=25:duration=4 "
                                          "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                                          "-ac 2 -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 50 -c:a aac "
                                          "-shortest"))
            return 1;
        paths << QString::fromStdString(path);
    }
    const QString home = WindowBenchHome::enter("joiner");

    JoinnerWindowController controller;
    controller.window()->show();
    StallWatch watch;

    watch.start();
    QElapsedTimer timer;
    timer.start();
    QTimer::singleShot(5, [&] { controller.addFiles(paths); });
    Watch::runUntil([&] { return controller.fileList()->size() == 10 && controller.previewBar()->player() != nullptr; },
                    60000);
    std::printf("adding ten files: %.2f s\n", double(timer.elapsed()) / 1000);
    Watch::report("adding ten 720p files", watch.stopMs());

    watch.start();
    QTimer::singleShot(5, [&] {
        controller.fileListTableView()->setSelectedRow(3);
        controller.previewBar()->initPlayer();
    });
    QTimer::singleShot(300, [&] { controller.previewBar()->play(); });
    Watch::runUntil([&] { return timer.elapsed() > 0 && controller.previewBar()->isPlaying(); }, 10000);
    Watch::report("choosing a clip", watch.stopMs());
    watch.start();
    Watch::runUntil([&] { return controller.previewBar()->player()->currentTime().seconds() > 1.0; }, 10000);
    controller.previewBar()->pause();
    Watch::report("playing it 1 s", watch.stopMs());

    const std::vector<std::string> before = OutputCheck::videoFilesUnder(home.toStdString());
    timer.restart();
    const double stall =
        WindowRunWatch::run(watch, controller, [&] { controller.startJoinnerAction(); }, 600000);
    std::printf("join of ten 720p clips (56 s): %.1f s\n", double(timer.elapsed()) / 1000);
    Watch::report("join", stall);
    // One file of the ten clips end to end, copied as the ffmpeg program's concat demuxer copies them.
    const std::vector<std::string> written = OutputCheck::added(home.toStdString(), before);
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    const std::string reference = (folder / "joiner_ffmpeg.mp4").string();
    const bool joined =
        BenchProcess::run(BenchProcess::timedFfmpeg(
                              BenchProcess::concatCopy(files, (folder / "joiner_list.txt").string(), reference)),
                          true)
            .status == 0;
    // The engine starts each clip where the one before ended, its sound included; the concat demuxer where the
    // file's video ended. Each of the nine seams may differ by up to one compressed sound frame (1024 samples).
    const OutputCheck::Slack seams(0, 9 * 1024.0 / 44100);
    const bool outputHolds =
        written.size() == 1 && joined && OutputCheck::samePackets("join", written[0], reference, seams);
    if (written.size() != 1 || !joined)
        std::printf("MISMATCH join: %zu files written, the ffmpeg program's join %s\n", written.size(),
                    joined ? "made" : "failed");
    controller.close();
    QDir(home).removeRecursively();
    return outputHolds ? 0 : 1;
}
