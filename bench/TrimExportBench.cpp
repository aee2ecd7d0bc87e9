// The editor's inverted trim (two pieces converted into a private folder, then joined by stream copy) against a
// kept trim of the same length (one conversion): what the pieces and the join cost (target: within 10 %). Both
// run inside this process, so the times are the exports' own. Both outputs are checked against the ffmpeg
// program's encode of the same 15 s: the same streams, profile, pixel format, picture count and duration.
//
//   bench_trim_export [folder]     the clip is made once in the folder (default: temp/clipwright-bench)
#include "BenchProcess.h"
#include "OutputCheck.h"

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

// Moves the one file an export wrote in `folder` to `keep`; false when there is not exactly one.
bool keepOutput(const fs::path& folder, const fs::path& keep) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    if (files.size() != 1) {
        std::printf("MISMATCH: the export left %zu files, not one\n", files.size());
        return false;
    }
    fs::remove(keep);
    fs::rename(files[0], keep);
    return true;
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
        if (!keepOutput(out.toStdString(), folder / "trim_kept.mp4"))
            return 1;
        QDir(out).removeRecursively();
        settings.trimInverted = true;
        settings.cutStopUs = 10000000;
        inverted.push_back(timeExport(settings));
        if (!keepOutput(out.toStdString(), folder / "trim_inverted.mp4"))
            return 1;
    }
    QDir(out).removeRecursively();
    const double k = BenchProcess::median(kept), v = BenchProcess::median(inverted);
    std::printf("kept trim, 15 s of a 20 s 720p clip:          median %.2f s\n", k);
    std::printf("inverted trim, the same 15 s (pieces + join): median %.2f s\n", v);
    std::printf("ratio %.2f %s\n", v / k, v / k <= 1.10 ? "" : "(over 1.10)");

    // The ffmpeg program's encode of 15 s of the clip, for what both exports must look like.
    const std::string reference = (folder / "trim_ffmpeg.mp4").string();
    if (BenchProcess::run({"ffmpeg", "-nostdin", "-v", "error", "-y", "-ss", "5", "-i", clip, "-c:v", "libx264",
                           "-preset", "veryfast", "-c:a", "aac", reference})
            .status != 0) {
        std::printf("the ffmpeg program could not encode the reference\n");
        return 1;
    }
    bool same = OutputCheck::sameShape("kept trim", (folder / "trim_kept.mp4").string(), reference);
    same = OutputCheck::sameShape("inverted trim", (folder / "trim_inverted.mp4").string(), reference) && same;
    return k > 0 && v > 0 && same ? 0 : 1;
}
