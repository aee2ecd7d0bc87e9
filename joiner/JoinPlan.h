#pragma once

#include "JobStep.h"
#include "OutputSelection.h"
#include "libMediaCore.h"

#include <QList>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

class SimpleData;

// The joiner's clip list turned into what one engine join is told: the clip parts in order (a kept clip is one
// part, an inverted clip the parts before and after its range that are not empty), each with its volume and its
// transition into the next part, and the encoder values taken from the output choices.
//
// Ranges are clamped to each file and put in order before anything else is derived from them: a stop of 0 means
// the whole file, a kept range that is empty after clamping stands for the whole file too. A join is copied
// (stream copy, no decoding) when no encoder value is chosen and every clip is a whole file of the same shape
// (codecs, frame size, frame rate, sound format) in the output's container, with no transition and no volume
// change; otherwise it is encoded.
class JoinPlan {
public:
    struct Part {
        QString path;
        qint64 startUs = 0; // (0, 0) is the whole file
        qint64 stopUs = 0;
        double volume = 1.0;
        int transition = 0; // 0 none, 1 left, 2 top, 3 fade: into the next part
        qint64 transitionUs = 0;
        bool inverted = false; // one of the two parts of an inverted clip: a failing transition ends the set-up
    };

    // Zero, or empty, where nothing is chosen: the engine then takes the first clip's value.
    struct Encoder {
        int audioBitrate = 0; // kbit/s
        QString audioCodec;
        int channels = 0;
        int sampleRate = 0; // Hz
        QString videoCodec;
        int width = 0;
        int height = 0;
        double fps = 0;
        int videoBitrate = 0; // kbit/s
    };

    // The settings dialog's custom frame size and video bit rate (0 = not set).
    struct CustomValues {
        int width = 0;
        int height = 0;
        int bitRate = 0;
    };

    // How far a range may stay inside a file's ends and still count as the whole file (ranges are rescaled to the
    // preview's idea of the duration, which may differ a little from the probe's).
    static constexpr qint64 kWholeFileSlackUs = 100000;

    // fallbackExtension: the extension used when neither the choice nor the first clip names one (the default
    // profile's); "mp4" when that is empty too.
    static JoinPlan make(const QList<std::shared_ptr<SimpleData>>& clips, const OutputSelection& titles,
                         const CustomValues& custom, const QString& fallbackExtension);

    // A clip's length in the join, seconds: the range, or for an inverted clip what lies outside it.
    static double keptSeconds(const SimpleData& clip);
    // The transition between two kept lengths (seconds): a third of the shorter one, at most 3 s; 0 when that is
    // 0.5 s or less.
    static qint64 transitionLengthUs(double seconds, double nextSeconds);
    // Whether a title makes no choice: none, empty or blanks only.
    static bool isUnset(const std::optional<QString>& title);

    // Tells the engine the encoder values and adds the parts: the first failing code (<= 0), else 1.
    int configure(JOIN_HANDLE handle) const;
    // The same join encoded: what a copy becomes when the engine finds the clips' streams differ in what the probe
    // does not show (profile, pixel format, rotation).
    JoinPlan encoded() const;
    // The one job of a join into `folder`: baseName.extension, or baseName(n).extension when that exists.
    JobStep jobStep(const QString& folder, const QString& baseName) const;

    std::vector<Part> parts;
    Encoder encoder;
    bool copy = false;
    QString extension;
    // Whether some clip was given to the plan (parts may still be empty when every clip cut out all of itself).
    bool hasClips = false;

private:
    static Encoder encoderFrom(const OutputSelection& titles, const SimpleData* reference, const CustomValues& custom);
    static bool copyable(const QList<std::shared_ptr<SimpleData>>& clips, const Encoder& encoder,
                         const QString& extension);
};
