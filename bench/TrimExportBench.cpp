// The editor's inverted trim (two pieces converted into a private folder, then joined by stream copy) against a
// kept trim of the same length (one conversion): what the pieces and the join cost (target: within 10 %).
//
//   bench_trim_export [folder]     the clip is made once in the folder (default: temp/clipwright-bench)
#include "BenchProcess.h"

#include "EditExportRun.h"
#include "EngineJobFactory.h"
#include "JobRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 3;

// Seconds for one export of the settings, or a negative value when it failed.
double timeExport(const EditExportSettings& settings) {
    JobRunner runner(EngineJobFactory::shared());
    bool ended = false, success = false;
    EditExportRun run([&](std::vector<JobStep> steps,
                          JobRunner::FinishBlock finish) { return runner.run(std::move(steps), std::move(finish)); },
                      [](const QString& key) { std::printf("refused: %s\n", qPrintable(key)); });
    QElapsedTimer timer;
    timer.start();
    if (!run.start(settings, {}, [&](bool ok) {
            ended = true;
            success = ok;
        }))
        return -1;
    QDeadlineTimer deadline(600000);
    while (!(ended && !runner.isBusy()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return success ? double(timer.elapsed()) / 1000 : -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    const std::string clip = BenchProcess::clip720p20s(folder.string(), "trim_20s_720p.mp4");
    if (clip.empty())
        return 1;
    const QString out = QString::fromStdString((folder / "trim-out").string());

    EditExportSettings settings;
    settings.sourcePath = QString::fromStdString(clip);
    settings.sourceName = QStringLiteral("trim.mp4");
    settings.durationUs = 20000000;
    settings.audioStreamIndex = 1;
    settings.outputFolder = out;
    settings.extension = QStringLiteral("mp4");

    // Both write 15 s: the kept range 5-20 s, or the file without 5-10 s.
    std::vector<double> kept, inverted;
    for (int i = 0; i < kRuns; ++i) {
        QDir(out).removeRecursively();
        settings.trimInverted = false;
        settings.cutStartUs = 5000000;
        settings.cutStopUs = 20000000;
        kept.push_back(timeExport(settings));
        QDir(out).removeRecursively();
        settings.trimInverted = true;
        settings.cutStopUs = 10000000;
        inverted.push_back(timeExport(settings));
    }
    QDir(out).removeRecursively();
    const double k = BenchProcess::median(kept), v = BenchProcess::median(inverted);
    std::printf("kept trim, 15 s of a 20 s 720p clip:          median %.2f s\n", k);
    std::printf("inverted trim, the same 15 s (pieces + join): median %.2f s\n", v);
    std::printf("ratio %.2f %s\n", v / k, v / k <= 1.10 ? "" : "(over 1.10)");
    return k > 0 && v > 0 ? 0 : 1;
}
