#pragma once

#include "JobStep.h"

#include <QString>

#include <vector>

// The jobs of the easy cutter's two exports, built from the segments as they stand when Start is pressed (later
// edits never reach a running export).
//
// Separate: one conversion per segment, named after its start and end ("000005.25-000110.50.mp4"), "(n)" from 2
// when that name exists; a segment whose end is 0 is the whole file. Merged: one join of every segment in list
// order, named after the date and time and never replacing a file, each clip at the level the preview plays (the volume
// slider's). The output folder is created when missing in both.
class SegmentExportPlan {
public:
    struct Segment {
        float start = 0;
        float end = 0;
    };

    static QString baseName(float start, float end);
    // Seconds to the engine's microseconds: the float widened to double, truncated.
    static qint64 microseconds(float seconds) { return qint64(double(seconds) * 1000000.0); }
    // The merge's clip volume from the volume slider (0..1): the gain the preview plays at, twice the slider's
    // value (the middle is the source's own level, the right end doubles it).
    static double mergeVolume(float sliderProgress) { return double(sliderProgress) * 2.0; }
    // The bar of a separate export: segment `index` of `count` at `percent`.
    static float separateProgress(int index, int count, double percent);

    // The extension of the source's last path component ("" when it has none).
    static QString extensionOf(const QString& source);

    static std::vector<JobStep> separateSteps(const QString& source, const std::vector<Segment>& segments,
                                              const QString& folder);
    static std::vector<JobStep> mergeSteps(const QString& source, const std::vector<Segment>& segments,
                                           const QString& folder, double volume, const QString& baseName);
};
