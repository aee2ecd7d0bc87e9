#pragma once

#include "AudioFrameFormat.h"
#include "ConvertSettings.h"
#include "FilterGraphPlan.h"
#include "VideoFrameFormat.h"

#include <utility>
#include <vector>

namespace mediacore {

// What the consumer of a video chain needs at its end.
struct VideoTarget {
    int width = 0; // 0: the size the edits leave
    int height = 0;
    AVRational frameRate{0, 1};              // 0/1: keep the frames' own timing
    std::vector<AVPixelFormat> pixelFormats; // accepted formats, best first; empty: any
    bool applyStreamRotation = false;        // turn the picture upright first (player, snapshots)
};

// What the consumer of an audio chain needs at its end.
struct AudioTarget {
    int sampleRate = 0;                        // 0: keep
    int channels = 0;                          // 0: keep
    std::vector<AVSampleFormat> sampleFormats; // accepted formats, best first; empty: any
    int64_t lengthUs = 0; // the graph's timeline (µs): how long sound made inside the graph lasts; 0: unknown
    int64_t startUs = 0;  // graph time of the first sound fed (a graph rebuilt mid-way): music starts that far in
};

// Turns a job's settings into filter graphs: the one place where edits become filters, shared by conversion
// jobs, snapshots and the preview player, so what the preview shows is what the export writes.
//
// Video chain order: [stream rotation] -> mirror -> rotation (SetRotateAngle) -> colour, effects, subtitles,
// watermarks -> crop -> scale -> frame rate -> pixel format -> sink.
// Audio chain order: main volume -> music mix -> format -> sink.
//
// Times: the cut is done before the graph (ExactCut keeps exactly the frames and samples of the range) and the
// frames enter on the output's timeline, 0 at the cut's start. Edits timed on the source timeline (watermark and
// music windows) are placed with outputTimeUs(). Sources read inside the graph (video watermarks, music) start at
// the graph's time 0 = cutStartUs, so a consumer that jumps on the source timeline (a player's seek) builds a new
// graph with cutStartUs at the new place and feeds its frames on that graph's timeline.
//
// Building reads files (watermark images and videos, music) and calls the draw-text callback: it runs on the
// consumer's own thread (the job's, in a conversion).
class FilterGraphBuilder {
public:
    explicit FilterGraphBuilder(const ConvertSettings& settings) : _settings(settings) {}

    FilterGraphPlan video(const VideoFrameFormat& source, const VideoTarget& target) const;
    FilterGraphPlan audio(const AudioFrameFormat& source, const AudioTarget& target) const;
    // Sound with no source to feed: the music alone, on a silence of target.lengthUs (main audio disabled or
    // absent). The graph's sink is pulled until it ends; target's rate and channels (0: 48 kHz stereo) are the
    // mix's.
    FilterGraphPlan audioWithoutSource(const AudioTarget& target) const;

    // The clockwise angle (0/90/180/270) the chain turns the coded picture by, in total.
    int totalRotation(const VideoFrameFormat& source, const VideoTarget& target) const;
    // The picture the edits are drawn on (after mirror and rotation, before the crop): what watermark boxes,
    // subtitle rows and crop margins are measured on.
    std::pair<int, int> pictureSize(const VideoFrameFormat& source, const VideoTarget& target) const;
    // The picture size after the edits (crop included), before any scaling to a target size.
    std::pair<int, int> editedSize(const VideoFrameFormat& source, const VideoTarget& target) const;

    // A time on the source timeline (µs) on the graph's timeline, which starts at the cut's start.
    int64_t outputTimeUs(int64_t sourceUs) const { return sourceUs - _settings.cutStartUs; }

    // Angle normalised to 0/90/180/270 (multiples of 90 taken mod 360; others rounded to the nearest quarter).
    static int normaliseAngle(int degrees);

private:
    void addRotation(FilterGraphPlan& plan, int clockwise) const;
    void addAudioEnd(FilterGraphPlan& plan, const AudioTarget& target) const;

    const ConvertSettings& _settings;
};

} // namespace mediacore
