#include "SplitExport.h"

#include "JobRunner.h"
#include "ShellLog.h"
#include "libMediaCore.h"

#include <QFileInfo>

#include <cmath>

namespace {

JobStep conversion(const QString& path, const QString& name, const QString& folder) {
    JobStep step;
    step.kind = MediaJob::Kind::Conversion;
    step.inputPath = path;
    step.output = {
        JobStep::Output::Naming::Numbered, folder, SplitExport::baseName(name), SplitExport::extension(name), {}};
    return step;
}

// The source's frame rate as the engine reads it; 0 when it has no video or does not say.
double frameRate(MediaJob& job) {
    int count = 1;
    VIDEO_STREAM_INFO video{};
    if (apiMediaConvertGetVideoStreamInfo(job.handle(), &count, &video) <= 0 || count < 1 || !video.exist)
        return 0;
    return video.fps > 0 ? video.fps : 0;
}

} // namespace

qint64 SplitExport::pictureBoundary(qint64 pointUs, double fps) {
    if (pointUs <= 0 || fps <= 0)
        return pointUs;
    // A point already on a picture's start (within a microsecond's rounding) stays where it is.
    const double pictures = double(pointUs) * fps / 1e6;
    const double next = std::ceil(pictures - fps * 1e-6);
    return qint64(std::llround(next * 1e6 / fps));
}

QString SplitExport::baseName(const QString& name) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot > 0 ? name.left(dot) : name) + QStringLiteral("-split");
}

QString SplitExport::extension(const QString& name) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.mid(dot + 1) : QString();
}

std::vector<JobStep> SplitExport::pieceSteps(const Source& source, const std::vector<SplitPlan::Piece>& pieces,
                                             const QString& folder) {
    std::vector<JobStep> steps;
    for (const SplitPlan::Piece& piece : pieces) {
        JobStep step = conversion(source.path, source.name, folder);
        const qint64 start = piece.startUs;
        const qint64 stop = piece.stopUs;
        const bool last = &piece == &pieces.back();
        step.configure = [start, stop, last](MediaJob& job) {
            // Each picture belongs to the piece in which it starts: a point inside a picture moves to the next
            // picture's start, so the piece before ends with that picture and the next begins after it (the
            // engine keeps the picture on screen at a cut's start).
            const double fps = frameRate(job);
            qint64 from = pictureBoundary(start, fps);
            qint64 to = last ? stop : pictureBoundary(stop, fps);
            // Two points inside one picture: the piece between them still gets its points as they were given.
            if (to <= from) {
                from = start;
                to = stop;
            }
            qCInfo(lcShell).noquote() << QStringLiteral("export-->start:%1 stop:%2").arg(from).arg(to);
            return apiMediaConvertSetCutTime(job.handle(), from, to);
        };
        steps.push_back(std::move(step));
    }
    return steps;
}

SplitExport::SizeChain::SizeChain(Source source, qint64 limitBytes, QString folder, JobRunner& runner)
    : _source(std::move(source)), _limitBytes(limitBytes), _folder(std::move(folder)), _runner(runner) {}

JobStep SplitExport::SizeChain::firstStep() {
    _starts.clear();
    return step(0);
}

JobStep SplitExport::SizeChain::step(qint64 startUs) {
    _starts.push_back(startUs);
    JobStep step = conversion(_source.path, _source.name, _folder);
    const qint64 stop = _source.durationUs;
    const qint64 limit = _limitBytes;
    step.configure = [startUs, stop, limit](MediaJob& job) {
        const int code = apiMediaConvertSetLimitFileSize(job.handle(), limit);
        if (code <= 0)
            return code;
        qCInfo(lcShell).noquote() << QStringLiteral("export-->start:%1 stop:%2").arg(startUs).arg(stop);
        return apiMediaConvertSetCutTime(job.handle(), startUs, stop);
    };
    step.completed = [this, startUs](MediaJob& job) {
        const qint64 end = apiMediaConvertGetLimitedEnd(job.handle());
        if (end <= 0)
            return 1; // the piece reached the end of the source
        if (end <= startUs || qint64(_starts.size()) >= 2 * SplitPlan::kMaxPieces) {
            // Going on would loop or write a heap of files; stopping quietly would lose the rest.
            qCInfo(lcShell).noquote() << QStringLiteral("split by size cannot go on from %1 us").arg(end);
            return -1;
        }
        _runner.appendStep(this->step(end));
        return 1;
    };
    return step;
}
