#include "BatchCutPlan.h"

#include "ClipTimes.h"
#include "EngineLog.h"
#include "JoinError.h"
#include "ShellLog.h"
#include "SimpleData.h"
#include "libMediaCore.h"

#include <QByteArray>

#include <algorithm>

namespace {

qint64 durationUs(const SimpleData& file) {
    return qint64(double(file.sourceData()->duration()) * 1000000.0);
}

} // namespace

QString BatchCutPlan::baseName(const QString& name) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QString BatchCutPlan::extension(const SimpleData& file) {
    QString ext = file.targetData()->extension().trimmed();
    if (ext.isEmpty()) {
        const int dot = file.name().lastIndexOf(QLatin1Char('.'));
        if (dot > 0)
            ext = file.name().mid(dot + 1).trimmed();
    }
    return ext.isEmpty() ? QStringLiteral("mp4") : ext;
}

BatchCutPlan::Range BatchCutPlan::keptRange(const SimpleData& file) {
    if (file.cutTimeRange_stop() == 0)
        return {0, 0};
    const auto [start, stop] = ClipTimes::clampedRange(file);
    const qint64 total = durationUs(file);
    if (stop <= start || (start <= kEdgeSlackUs && stop >= total - kEdgeSlackUs))
        return {0, 0};
    return {start, stop};
}

std::vector<BatchCutPlan::Range> BatchCutPlan::invertedParts(const SimpleData& file) {
    const auto [start, stop] = ClipTimes::clampedRange(file);
    const qint64 total = durationUs(file);
    std::vector<Range> parts;
    if (stop <= start) // nothing is cut out: the file stays whole
        return {{0, total}};
    if (start > kEdgeSlackUs)
        parts.emplace_back(0, start);
    if (stop < total - kEdgeSlackUs)
        parts.emplace_back(stop, total);
    return parts;
}

JobStep BatchCutPlan::jobStep(const SimpleData& file, const QString& folder) {
    JobStep step;
    step.independent = true;
    step.output = {JobStep::Output::Naming::Unique, folder, baseName(file.name()), extension(file), {}};
    const QString path = file.path();
    if (!file.isTrimFanxuan()) {
        step.kind = MediaJob::Kind::Conversion;
        step.inputPath = path;
        const Range range = keptRange(file);
        if (range.second > 0) {
            step.configure = [range](MediaJob& job) {
                return apiMediaConvertSetCutTime(job.handle(), range.first, range.second);
            };
        }
        return step;
    }
    step.kind = MediaJob::Kind::Join;
    const std::vector<Range> parts = invertedParts(file);
    step.configure = [path, parts](MediaJob& job) {
        if (parts.empty()) {
            qCInfo(lcShell).noquote() << QStringLiteral("nothing is left of %1 once its range is cut out").arg(path);
            return int(mediacore::kJoinNothingToWrite);
        }
        const QByteArray utf8 = path.toUtf8();
        for (const Range& part : parts) {
            if (apiMediaJoinAddMediaClip(job.handle(), utf8.constData(), part.first, part.second) == nullptr)
                qCInfo(lcShell).noquote()
                    << QStringLiteral("part not added: %1 %2-%3").arg(path).arg(part.first).arg(part.second);
        }
        int rc = apiMediaJoinSetAudioCodec(job.handle(), "copy");
        if (rc <= 0)
            return rc;
        return apiMediaJoinSetVideoCodec(job.handle(), "copy");
    };
    return step;
}

float BatchCutPlan::overallProgress(int index, int count, double percent) {
    if (count <= 0)
        return 0;
    const double p = std::clamp(percent / 100.0, 0.0, 1.0);
    // Below 1 while the batch runs: only its successful end fills the bar.
    return float(std::min((double(index) + p) / double(count), 0.999));
}

QString BatchCutPlan::failureLine(const QString& name, int code) {
    const std::string reason = code < 0 ? mediacore::EngineLog::reason(code) : std::string();
    QString line = QStringLiteral("%1: error:%2").arg(name).arg(code);
    if (!reason.empty())
        line += QStringLiteral(" (%1)").arg(QString::fromStdString(reason));
    return line;
}
