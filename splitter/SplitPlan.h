#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The splitter's arithmetic: split points as fractions of the source's duration (single-precision, as the timeline
// holds them), the pieces they cut, and the checks that keep a plan writable.
//
// A plan of n points gives n + 1 pieces. Steps and counts that cannot make a plan (0, negative, not a number), a
// plan of more than kMaxPieces pieces, and manual points outside the file or on an existing point are refused with
// the strings-table key of a message that says why. Pieces of no length (equal points) are never written.
class SplitPlan {
public:
    static constexpr int kMaxPieces = 500;
    // The size mode's megabyte: the plan divides the file's bytes by it and the export limits each piece to
    // step x kSizeUnitBytes, so both speak of the same amount.
    static constexpr double kSizeUnitBytes = 1024.0 * 1024.0;

    enum class Refusal { None, StepNotPositive, CountNotPositive, TooManyPieces, PointOutside, PointDuplicate };

    struct Result {
        std::vector<float> points;
        Refusal refusal = Refusal::None;
        qint64 pieceCount = 0; // the pieces the plan would make (also when refused for their number)
        bool ok() const { return refusal == Refusal::None; }
    };

    // One piece of the source, in microseconds on its timeline.
    struct Piece {
        qint64 startUs = 0;
        qint64 stopUs = 0;
    };

    // The number at the start of a pop-up title ("10 secs", "2.5 MB"): everything before the first digit is
    // skipped (a sign and a point included), then a float is read; 0 when no number follows.
    static float stepFromTitle(const QString& title);

    // Points at k x step / total for k = 1 .. ceil(total / step) - 1: the time mode (seconds of the duration) and
    // the size mode (sizeTotal of the file's bytes, step in the same unit).
    static Result byStep(float step, float total);
    // Points at k / count for every whole k with 1 <= k < count; a fractional count makes the last piece shorter.
    static Result equalParts(float count);
    // The size mode's total: the file's bytes in kSizeUnitBytes.
    static float sizeTotal(double fileBytes) { return float(fileBytes / kSizeUnitBytes); }
    // The export's limit for a step of the size mode, in bytes.
    static qint64 sizeLimitBytes(float step) { return qint64(double(step) * kSizeUnitBytes); }

    // Whether a manual point at `point` may join `existing` on a file of durationUs: inside the file (its cut
    // after the start and before the end), not on the microsecond of an existing point, and within kMaxPieces.
    static Refusal checkManualPoint(float point, const std::vector<float>& existing, qint64 durationUs);

    // The pieces of a plan read back as the timeline gives it (sorted points followed by 1.0) over a duration in
    // seconds: from the previous point's cut (0 for the first) to the point's cut, to the nearest microsecond, the
    // last ending at the full duration. Empty pieces (equal points, points at or outside the ends) are skipped.
    static std::vector<Piece> pieces(const std::vector<float>& timeProgresses, double durationSeconds);

    // The strings-table key of a refusal's message (empty for None). TooManyPieces takes kMaxPieces as %1.
    static QString refusalKey(Refusal refusal);
    // The refusal's message, localised and filled in.
    static QString refusalMessage(Refusal refusal);

    // The overall progress bar of a run of `count` pieces while piece `index` is at `percent`.
    static float overallProgress(qint64 index, qint64 count, double percent);
    // The size mode's bar: the share of the file already written, the current piece running from startUs to
    // durationUs at `percent`.
    static float sizeModeProgress(qint64 startUs, qint64 durationUs, double percent);
};
