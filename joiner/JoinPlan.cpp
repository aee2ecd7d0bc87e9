#include "JoinPlan.h"

#include "ClipTimes.h"
#include "LeadingNumber.h"
#include "ShellLog.h"
#include "SimpleData.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>

namespace {

qint64 durationUs(const SimpleData& clip) {
    return qint64(double(clip.sourceData()->duration()) * 1000000.0);
}

QString trimmed(const std::optional<QString>& title) {
    return title ? title->trimmed() : QString();
}

bool sameShape(const SimpleData& a, const SimpleData& b) {
    const FileData& x = *a.sourceData();
    const FileData& y = *b.sourceData();
    const bool videoA = x.width() > 0 && x.height() > 0;
    const bool videoB = y.width() > 0 && y.height() > 0;
    const bool audioA = x.a_exist() != 0 || x.a_samplerate() > 0;
    const bool audioB = y.a_exist() != 0 || y.a_samplerate() > 0;
    if (videoA != videoB || audioA != audioB)
        return false;
    if (videoA && (x.metadata_vcodec().compare(y.metadata_vcodec(), Qt::CaseInsensitive) != 0 ||
                   x.width() != y.width() || x.height() != y.height() || x.fps() != y.fps()))
        return false;
    if (audioA && (x.a_codec().compare(y.a_codec(), Qt::CaseInsensitive) != 0 || x.a_samplerate() != y.a_samplerate() ||
                   x.a_channel() != y.a_channel()))
        return false;
    return true;
}

} // namespace

bool JoinPlan::isUnset(const std::optional<QString>& title) {
    return !title || title->trimmed().isEmpty();
}

double JoinPlan::keptSeconds(const SimpleData& clip) {
    const auto [start, stop] = ClipTimes::clampedRange(clip);
    if (clip.isTrimFanxuan())
        return double(clip.sourceData()->duration()) - double(stop - start) / 1000000.0;
    if (stop <= start)
        return double(clip.sourceData()->duration());
    return double(stop - start) / 1000000.0;
}

qint64 JoinPlan::transitionLengthUs(double seconds, double nextSeconds) {
    const float shorter = float(std::min(seconds, nextSeconds));
    const float length = shorter < 6.0f ? shorter / 3.0f : 3.0f;
    if (!(length > 0.5f))
        return 0;
    return qint64(double(length) * 1000000.0);
}

JoinPlan::Encoder JoinPlan::encoderFrom(const OutputSelection& titles, const SimpleData* reference,
                                        const CustomValues& custom) {
    Encoder e;
    if (!isUnset(titles.abitateSelectTitle()))
        e.audioBitrate = LeadingNumber::integer(*titles.abitateSelectTitle());
    e.audioCodec = trimmed(titles.acodecSelectTitle());
    if (!isUnset(titles.achannelSelectTitle())) {
        QString channels = *titles.achannelSelectTitle();
        const int stereo = channels.indexOf(QStringLiteral("(Stereo)"));
        if (stereo >= 0)
            channels = channels.left(stereo);
        e.channels = LeadingNumber::integer(channels);
    }
    if (!isUnset(titles.asamplerateSelectTitle()))
        e.sampleRate = LeadingNumber::integer(*titles.asamplerateSelectTitle());
    e.videoCodec = trimmed(titles.vcodecSelectTitle());

    const std::optional<QString>& size = titles.resolutionSelectTitle();
    const bool customSize = !isUnset(size) && size->trimmed() == OutputSelection::kCustomTitle;
    if (!isUnset(size) && !customSize) {
        const QStringList parts = size->split(QLatin1Char('x'));
        e.width = LeadingNumber::integer(parts.first());
        e.height = LeadingNumber::integer(parts.last());
    } else {
        if (reference) {
            e.width = reference->targetData()->width();
            e.height = reference->targetData()->height();
        }
        // The custom size applies with or without a clip whose format is the output's.
        if (customSize && custom.width > 0)
            e.width = custom.width;
        if (customSize && custom.height > 0)
            e.height = custom.height;
    }
    if (e.width <= 0 || e.height <= 0)
        e.width = e.height = 0;

    if (!isUnset(titles.framerateSelectTitle()))
        e.fps = LeadingNumber::decimal(*titles.framerateSelectTitle());

    const std::optional<QString>& bitrate = titles.bitateSelectTitle();
    const bool customBitrate = !isUnset(bitrate) && bitrate->trimmed() == OutputSelection::kCustomTitle;
    if (!isUnset(bitrate) && !customBitrate) {
        e.videoBitrate = LeadingNumber::integer(*bitrate);
    } else {
        e.videoBitrate = reference ? reference->targetData()->bitrate() : 0;
        if (customBitrate && custom.bitRate > 0)
            e.videoBitrate = custom.bitRate;
    }
    return e;
}

bool JoinPlan::copyable(const QList<std::shared_ptr<SimpleData>>& clips, const Encoder& e, const QString& extension) {
    if (e.audioBitrate > 0 || !e.audioCodec.isEmpty() || e.channels > 0 || e.sampleRate > 0 ||
        !e.videoCodec.isEmpty() || e.width > 0 || e.height > 0 || e.fps > 0 || e.videoBitrate > 0)
        return false;
    for (qsizetype i = 0; i < clips.size(); ++i) {
        const SimpleData& clip = *clips[i];
        if (clip.sourceData()->extension().compare(extension, Qt::CaseInsensitive) != 0)
            return false;
        if (clip.isTrimFanxuan() || clip.volume() != 1.0)
            return false;
        if (i + 1 < clips.size() && clip.transitionEffect() > 0)
            return false;
        const auto [start, stop] = ClipTimes::clampedRange(clip);
        if (start > kWholeFileSlackUs || stop < durationUs(clip) - kWholeFileSlackUs)
            return false;
        if (!sameShape(*clips.first(), clip))
            return false;
    }
    return true;
}

JoinPlan JoinPlan::make(const QList<std::shared_ptr<SimpleData>>& clips, const OutputSelection& titles,
                        const CustomValues& custom, const QString& fallbackExtension) {
    JoinPlan plan;
    plan.hasClips = !clips.isEmpty();
    if (clips.isEmpty())
        return plan;

    plan.extension = trimmed(titles.extNameSelectTitle());
    if (plan.extension.isEmpty())
        plan.extension = clips.first()->sourceData()->extension().trimmed();
    if (plan.extension.isEmpty())
        plan.extension = fallbackExtension.trimmed();
    if (plan.extension.isEmpty())
        plan.extension = QStringLiteral("mp4");

    const SimpleData* reference = nullptr;
    for (const auto& clip : clips) {
        if (clip->defaultFormat()) {
            reference = clip.get();
            break;
        }
    }
    plan.encoder = encoderFrom(titles, reference, custom);
    plan.copy = copyable(clips, plan.encoder, plan.extension);
    if (plan.copy) {
        plan.encoder.videoCodec = QStringLiteral("copy");
        plan.encoder.audioCodec = QStringLiteral("copy");
    }

    for (qsizetype i = 0; i < clips.size(); ++i) {
        const SimpleData& clip = *clips[i];
        const bool last = i + 1 == clips.size();
        const int kind = last ? 0 : clip.transitionEffect();
        const auto [start, stop] = ClipTimes::clampedRange(clip);
        const qint64 total = durationUs(clip);
        if (!clip.isTrimFanxuan()) {
            Part part{clip.path(), start, stop, clip.volume(), 0, 0, false};
            // An empty kept range, and (for a copy) a range that is the whole file, are the whole file.
            if (stop <= start || (plan.copy && start <= kWholeFileSlackUs && stop >= total - kWholeFileSlackUs))
                part.startUs = part.stopUs = 0;
            if (kind > 0) {
                const qint64 length = transitionLengthUs(keptSeconds(clip), keptSeconds(*clips[i + 1]));
                if (length > 0) {
                    part.transition = kind;
                    part.transitionUs = length;
                }
            }
            plan.parts.push_back(part);
            continue;
        }
        // Inverted: what lies before and after the range, each only when it is not empty; the transition into the
        // next clip leaves from the last of them and lasts one second.
        std::vector<Part> pieces;
        if (start > 0)
            pieces.push_back(Part{clip.path(), 0, start, clip.volume(), 0, 0, true});
        if (stop < total)
            pieces.push_back(Part{clip.path(), stop, total, clip.volume(), 0, 0, true});
        if (!pieces.empty() && kind > 0) {
            pieces.back().transition = kind;
            pieces.back().transitionUs = 1000000;
        }
        plan.parts.insert(plan.parts.end(), pieces.begin(), pieces.end());
    }
    // Nothing follows the last part, whichever clip it came from.
    if (!plan.parts.empty()) {
        plan.parts.back().transition = 0;
        plan.parts.back().transitionUs = 0;
    }
    return plan;
}

int JoinPlan::configure(JOIN_HANDLE handle) const {
    int rc = apiMediaJoinSetAudioBitrate(handle, encoder.audioBitrate);
    if (rc <= 0)
        return rc;
    if (!encoder.audioCodec.isEmpty() && (rc = apiMediaJoinSetAudioCodec(handle, encoder.audioCodec.toUtf8())) <= 0)
        return rc;
    if ((encoder.channels != 0 || encoder.sampleRate != 0) &&
        (rc = apiMediaJoinSetAudioEncodeContext(handle, encoder.channels, encoder.sampleRate)) <= 0)
        return rc;
    if (!encoder.videoCodec.isEmpty() && (rc = apiMediaJoinSetVideoCodec(handle, encoder.videoCodec.toUtf8())) <= 0)
        return rc;
    if (encoder.width > 0 && encoder.height > 0 &&
        (rc = apiMediaJoinSetVideoFrameSize(handle, encoder.width, encoder.height)) <= 0)
        return rc;
    if (encoder.fps > 0 && (rc = apiMediaJoinSetVideoFps(handle, encoder.fps)) <= 0)
        return rc;
    if (encoder.videoBitrate > 0 && (rc = apiMediaJoinSetVideoBitrate(handle, encoder.videoBitrate)) <= 0)
        return rc;
    for (const Part& part : parts) {
        const QByteArray path = part.path.toUtf8();
        JOIN_CLIP_HANDLE clip = apiMediaJoinAddMediaClip(handle, path.constData(), part.startUs, part.stopUs);
        if (part.transition > 0) {
            rc = apiMediaJoinSetTransition(handle, clip, part.transition, part.transitionUs);
            if (rc <= 0) {
                qCWarning(lcShell).noquote() << QStringLiteral("transition not added:%1").arg(rc);
                if (part.inverted)
                    return rc;
            }
        }
        rc = apiMediaJoinSetAudioVolumn(handle, clip, part.volume);
        if (rc <= 0)
            return rc;
    }
    return 1;
}

JobStep JoinPlan::jobStep(const QString& folder, const QString& baseName) const {
    JobStep step;
    step.kind = MediaJob::Kind::Join;
    const JoinPlan plan = *this;
    step.configure = [plan](MediaJob& job) { return plan.configure(job.handle()); };
    step.output = {JobStep::Output::Naming::Unique, folder, baseName, extension, {}};
    return step;
}

JoinPlan JoinPlan::encoded() const {
    JoinPlan plan = *this;
    if (plan.copy) {
        plan.copy = false;
        plan.encoder.videoCodec.clear();
        plan.encoder.audioCodec.clear();
    }
    return plan;
}
