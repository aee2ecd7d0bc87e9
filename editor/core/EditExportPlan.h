#pragma once

#include "EditExportSettings.h"
#include "JobStep.h"

#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// A panel's part of an editor export: its setters on the job's handle, with a copy of that panel's settings taken
// at Start. Returns the first failing setter's code (<= 0) or any positive value.
using ExportContribution = std::function<int(MediaJob& job)>;

// The panels' parts of an export by name; ordered() gives them in the order every conversion applies them.
struct EditExportContributions {
    ExportContribution geometry;   // rotation, mirroring and crop
    ExportContribution effects;    // colour, brightness/contrast/saturation, effect list
    ExportContribution subtitles;
    ExportContribution watermarks;
    ExportContribution music;      // background music and the level of the file's own sound

    std::vector<ExportContribution> ordered() const;
};

// The jobs of an editor export, built from the settings copied at Start.
//
// Kept trim (or none): one conversion of the source into the output folder, named after the source ("name.ext",
// then "name(2).ext", ...). Inverted trim: a conversion of each non-empty part around the removed range into the
// given private piece folder, then a join of the pieces (streams copied) into the output folder under the same
// naming rule; when only one part is non-empty it is converted straight to the output. Every conversion carries the
// output choices, the audio track, its cut and every contribution, in that order.
class EditExportPlan {
public:
    // Why an export cannot start (a strings-table key), or none when it can.
    static std::optional<QString> refusal(const EditExportSettings& settings);

    // The conversions' source ranges in microseconds ({0, 0} is the whole file).
    struct Range {
        qint64 startUs = 0;
        qint64 stopUs = 0;
        bool operator==(const Range&) const = default;
    };
    static std::vector<Range> ranges(const EditExportSettings& settings);

    // The frame size sent to the engine, or none for no frame-size call: none with keep-aspect or without a chosen
    // size; "Custom" takes the custom values where they are set, else the target's; a quarter turn of the total
    // rotation swaps width and height (the profile names the upright picture).
    static std::optional<QSize> frameSize(const EditExportSettings& settings);

    // The output-choice setters and the audio track on a conversion job: first failing code, or 1.
    static int applyOutputChoices(MediaJob& job, const EditExportSettings& settings);

    // The steps of the export. pieceFolder is a private folder for the pieces of an inverted trim (unused
    // otherwise). Empty when the export is refused (see refusal()).
    static std::vector<JobStep> steps(const EditExportSettings& settings,
                                      const std::vector<ExportContribution>& contributions,
                                      const QString& pieceFolder);

    // Whether the plan of these settings writes pieces (and so needs a piece folder).
    static bool needsPieceFolder(const EditExportSettings& settings) { return ranges(settings).size() > 1; }

    // The progress bar (0..1) while step `step` of `count` is at `percent` (0..100): equal shares per step.
    static float progress(int step, int count, double percent);
};
