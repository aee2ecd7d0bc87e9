#pragma once

#include "JobStep.h"

#include <QString>

#include <utility>
#include <vector>

class SimpleData;

// What the batch cutter writes for one file of its list: one output in the output folder, named after the file
// ("name.ext", or "name(n).ext" when that exists) and keeping its container.
//
// A kept range is one conversion of that range (the whole file when no range is set, or when the range is empty
// or covers the whole file). An inverted range is one stream-copied join of what lies before and after it; a part
// that would be empty (the range starts at the file's start, or ends at its end) is left out, and a range that
// covers the whole file leaves nothing to write: that file fails with kJoinNothingToWrite.
//
// Each file's job is an independent step: a file that fails is reported and the batch goes on with the next one.
class BatchCutPlan {
public:
    using Range = std::pair<qint64, qint64>; // microseconds of the source

    // A part shorter than this at either end of the file counts as empty (ranges are set on the preview's idea of
    // the duration, which may differ a little from the probe's).
    static constexpr qint64 kEdgeSlackUs = 100000;

    // "holiday.mp4" -> "holiday"; "clip" -> "clip".
    static QString baseName(const QString& name);
    // The output's extension: the file's target extension, else its name's, else "mp4".
    static QString extension(const SimpleData& file);
    // The range a kept file is converted with; (0, 0) for the whole file.
    static Range keptRange(const SimpleData& file);
    // The parts an inverted file keeps, in order, none of them empty.
    static std::vector<Range> invertedParts(const SimpleData& file);

    // The file's job into `folder`.
    static JobStep jobStep(const SimpleData& file, const QString& folder);

    // The whole batch's progress (0 to 1) while file `index` of `count` is at `percent` (0 to 100).
    static float overallProgress(int index, int count, double percent);
    // One line of the failure report: "name: error:code (reason)".
    static QString failureLine(const QString& name, int code);
};
