#include "SegmentExportPlan.h"

#include "ShownTime.h"
#include "WorkerSetUpJob.h"
#include "libMediaCore.h"

#include <QByteArray>
#include <QFileInfo>

namespace {

// "HHMMSS.CC" with the hundredths the tiles show.
QString fileTime(float seconds) {
    const ShownTime::Parts p = ShownTime::split(double(seconds));
    return QString::asprintf("%02lld%02lld%02lld.%02lld", p.hours, p.minutes, p.seconds, p.hundredths);
}

} // namespace

QString SegmentExportPlan::baseName(float start, float end) {
    return fileTime(start) + QStringLiteral("-") + fileTime(end);
}

float SegmentExportPlan::separateProgress(int index, int count, double percent) {
    if (count <= 0)
        return 0;
    const float done = float(index) / float(count);
    return float(double(done) + percent / 100.0 / double(count));
}

QString SegmentExportPlan::extensionOf(const QString& source) {
    const QString name = QFileInfo(source).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.mid(dot + 1) : QString();
}

std::vector<JobStep> SegmentExportPlan::separateSteps(const QString& source, const std::vector<Segment>& segments,
                                                      const QString& folder) {
    std::vector<JobStep> steps;
    const QString extension = extensionOf(source);
    for (const Segment& segment : segments) {
        JobStep step;
        step.kind = MediaJob::Kind::Conversion;
        step.inputPath = source;
        if (segment.end != 0) {
            const qint64 startUs = microseconds(segment.start);
            const qint64 endUs = microseconds(segment.end);
            step.configure = [startUs, endUs](MediaJob& job) {
                return WorkerSetUpJob::setUpOnWorker(job, [startUs, endUs](MediaJob& job) {
                    return apiMediaConvertSetCutTime(job.handle(), startUs, endUs);
                });
            };
        }
        step.output = {JobStep::Output::Naming::Unique, folder, baseName(segment.start, segment.end), extension, {}};
        steps.push_back(std::move(step));
    }
    return steps;
}

namespace {

// Every segment as a clip of the join, each at the merge's volume.
int addClips(MediaJob& job, const QByteArray& path, const std::vector<SegmentExportPlan::Segment>& segments,
             double volume) {
    for (const SegmentExportPlan::Segment& segment : segments) {
        JOIN_CLIP_HANDLE clip =
            apiMediaJoinAddMediaClip(job.handle(), path.constData(), SegmentExportPlan::microseconds(segment.start),
                                     SegmentExportPlan::microseconds(segment.end));
        const int code = apiMediaJoinSetAudioVolumn(job.handle(), clip, volume);
        if (code <= 0)
            return code;
    }
    return 1;
}

} // namespace

std::vector<JobStep> SegmentExportPlan::mergeSteps(const QString& source, const std::vector<Segment>& segments,
                                                   const QString& folder, double volume, const QString& baseName) {
    JobStep step;
    step.kind = MediaJob::Kind::Join;
    const QByteArray path = source.toUtf8();
    // The engine opens the source for every clip it is given: that work goes to the worker thread (as a
    // conversion's input and cut, above).
    step.configure = [path, segments, volume](MediaJob& job) {
        return WorkerSetUpJob::setUpOnWorker(
            job, [path, segments, volume](MediaJob& job) { return addClips(job, path, segments, volume); });
    };
    step.output = {JobStep::Output::Naming::Unique, folder, baseName, extensionOf(source), {}};
    return {std::move(step)};
}
