#include "EditExportPlan.h"

#include "LeadingNumber.h"
#include "ProfileValueParser.h"
#include "libMediaCore.h"

#include <QByteArray>
#include <QDir>

namespace {

// A part of an inverted trim shorter than a hundredth of a second (the finest a time field shows) holds no picture
// worth writing: it is left out.
constexpr qint64 kShortestPieceUs = 10000;

using Title = OutputSelection::Title;

const std::optional<QString>& titleOf(const EditExportSettings& settings, Title title) {
    return settings.titles[size_t(title)];
}

bool chosen(const EditExportSettings& settings, Title title) {
    return OutputSelection::isChosen(titleOf(settings, title));
}

QString trimmedTitle(const EditExportSettings& settings, Title title) {
    return ProfileValueParser::new_startAndendnospaceString(*titleOf(settings, title)).value_or(QString());
}

int normalisedQuarterTurn(int degrees) {
    return ((degrees % 360) + 360) % 360;
}

QString piecePath(const QString& folder, int index, const QString& extension) {
    return QDir(folder).filePath(QStringLiteral("piece%1.%2").arg(index + 1).arg(extension));
}

JobStep conversion(const EditExportSettings& settings, const std::vector<ExportContribution>& contributions,
                   const EditExportPlan::Range& range) {
    JobStep step;
    step.kind = MediaJob::Kind::Conversion;
    step.inputPath = settings.sourcePath;
    step.configure = [settings, contributions, range](MediaJob& job) {
        int code = EditExportPlan::applyOutputChoices(job, settings);
        if (code <= 0)
            return code;
        if (range.stopUs != 0) {
            code = apiMediaConvertSetCutTime(job.handle(), range.startUs, range.stopUs);
            if (code <= 0)
                return code;
        }
        for (const ExportContribution& contribution : contributions) {
            if (!contribution)
                continue;
            code = contribution(job);
            if (code <= 0)
                return code;
        }
        return 1;
    };
    return step;
}

} // namespace

std::vector<ExportContribution> EditExportContributions::ordered() const {
    return {geometry, effects, subtitles, watermarks, music};
}

std::vector<EditExportPlan::Range> EditExportPlan::ranges(const EditExportSettings& settings) {
    if (!settings.trimInverted) {
        if (settings.cutStopUs == 0)
            return {Range{0, 0}};
        if (settings.cutStopUs <= settings.cutStartUs)
            return {};
        return {Range{settings.cutStartUs, settings.cutStopUs}};
    }
    // The file without the range: what lies before it and what lies after it (a stop of 0 removes up to the end).
    const qint64 removedStop = settings.cutStopUs == 0 ? settings.durationUs : settings.cutStopUs;
    if (settings.cutStopUs != 0 && removedStop <= settings.cutStartUs)
        return {};
    std::vector<Range> parts;
    if (settings.cutStartUs >= kShortestPieceUs)
        parts.push_back({0, settings.cutStartUs});
    if (settings.durationUs - removedStop >= kShortestPieceUs)
        parts.push_back({removedStop, settings.durationUs});
    return parts;
}

std::optional<QString> EditExportPlan::refusal(const EditExportSettings& settings) {
    if (settings.cutStopUs != 0 && settings.cutStopUs <= settings.cutStartUs)
        return QStringLiteral("TrimEndNotAfterStartMessage");
    if (ranges(settings).empty())
        return QStringLiteral("TrimRemovesWholeFileMessage");
    return std::nullopt;
}

std::optional<QSize> EditExportPlan::frameSize(const EditExportSettings& settings) {
    if (settings.keepAspectRatio || !chosen(settings, OutputSelection::Resolution))
        return std::nullopt;
    const QString title = titleOf(settings, OutputSelection::Resolution)->trimmed();
    int width = 0, height = 0;
    if (title == OutputSelection::kCustomTitle) {
        width = settings.customWidth > 0 ? settings.customWidth : settings.targetWidth;
        height = settings.customHeight > 0 ? settings.customHeight : settings.targetHeight;
    } else {
        const QStringList parts = title.split(QLatin1Char('x'));
        width = LeadingNumber::integer(parts.first());
        height = LeadingNumber::integer(parts.last());
    }
    if (width <= 0 || height <= 0)
        return std::nullopt;
    if (normalisedQuarterTurn(settings.totalRotation) % 180 == 90)
        std::swap(width, height);
    return QSize(width, height);
}

int EditExportPlan::applyOutputChoices(MediaJob& job, const EditExportSettings& settings) {
    void* h = job.handle();
    int code = 1;
    const auto check = [&code](int result) {
        if (code > 0 && result <= 0)
            code = result;
    };
    if (chosen(settings, OutputSelection::VideoCodec))
        check(apiMediaConvertSetVcodec(h, trimmedTitle(settings, OutputSelection::VideoCodec).toUtf8().constData()));
    if (const std::optional<QSize> size = frameSize(settings))
        check(apiMediaConvertSetVideoFrameSize(h, size->width(), size->height()));
    if (chosen(settings, OutputSelection::VideoBitRate)) {
        const int kbps = LeadingNumber::integer(*titleOf(settings, OutputSelection::VideoBitRate));
        if (kbps > 0)
            check(apiMediaConvertSetVideoBitrate(h, kbps));
    }
    if (chosen(settings, OutputSelection::FrameRate)) {
        const double fps = LeadingNumber::decimal(*titleOf(settings, OutputSelection::FrameRate));
        if (fps > 0)
            check(apiMediaConvertSetVideoFps(h, fps));
    }
    if (chosen(settings, OutputSelection::AudioCodec))
        check(apiMediaConvertSetAcodec(h, trimmedTitle(settings, OutputSelection::AudioCodec).toUtf8().constData()));
    if (chosen(settings, OutputSelection::AudioBitRate)) {
        const int kbps = LeadingNumber::integer(*titleOf(settings, OutputSelection::AudioBitRate));
        if (kbps > 0)
            check(apiMediaConvertSetAudioBitrate(h, kbps));
    }
    const int channels =
        chosen(settings, OutputSelection::Channels)
            ? LeadingNumber::integer(*titleOf(settings, OutputSelection::Channels)) // "2(Stereo)" reads 2
            : 0;
    const int sampleRate =
        chosen(settings, OutputSelection::SampleRate) ? LeadingNumber::integer(*titleOf(settings, OutputSelection::SampleRate)) : 0;
    if (channels > 0 || sampleRate > 0)
        check(apiMediaConvertSetAudioEncodeContext(h, std::max(channels, 0), std::max(sampleRate, 0)));
    if (settings.audioStreamIndex)
        check(apiMediaConvertSetAudioIndex(h, *settings.audioStreamIndex));
    return code;
}

std::vector<JobStep> EditExportPlan::steps(const EditExportSettings& settings,
                                           const std::vector<ExportContribution>& contributions,
                                           const QString& pieceFolder) {
    if (refusal(settings))
        return {};
    const std::vector<Range> parts = ranges(settings);
    const JobStep::Output finalOutput{JobStep::Output::Naming::Unique, settings.outputFolder, settings.baseName(),
                                      settings.extension, {}};
    std::vector<JobStep> steps;
    if (parts.size() == 1) {
        JobStep step = conversion(settings, contributions, parts.front());
        step.output = finalOutput;
        steps.push_back(std::move(step));
        return steps;
    }

    QList<QByteArray> pieces;
    for (size_t i = 0; i < parts.size(); ++i) {
        JobStep step = conversion(settings, contributions, parts[i]);
        const QString path = piecePath(pieceFolder, int(i), settings.extension);
        step.output = {JobStep::Output::Naming::Exact, {}, {}, {}, path};
        pieces.append(path.toUtf8());
        steps.push_back(std::move(step));
    }
    JobStep join;
    join.kind = MediaJob::Kind::Join;
    join.configure = [pieces](MediaJob& job) {
        for (const QByteArray& piece : pieces) {
            if (apiMediaJoinAddMediaClip(job.handle(), piece.constData(), 0, 0) == nullptr)
                return 0;
        }
        const int audio = apiMediaJoinSetAudioCodec(job.handle(), "copy");
        if (audio < 0)
            return audio;
        const int video = apiMediaJoinSetVideoCodec(job.handle(), "copy");
        if (video < 0)
            return video;
        return 1;
    };
    join.output = finalOutput;
    steps.push_back(std::move(join));
    return steps;
}

float EditExportPlan::progress(int step, int count, double percent) {
    if (count <= 0)
        return 0;
    const double fraction = (double(step) + std::clamp(percent, 0.0, 100.0) / 100.0) / double(count);
    return float(std::clamp(fraction, 0.0, 1.0));
}
