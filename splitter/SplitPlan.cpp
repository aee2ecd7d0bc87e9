#include "SplitPlan.h"

#include "ResourceBundle.h"

#include <algorithm>
#include <cmath>

namespace {

bool positiveNumber(float value) {
    return std::isfinite(value) && value > 0;
}

// The cut of a point on the source's timeline, to the nearest microsecond: a cut truncated to a microsecond
// before a frame's start would begin the next piece with a sliver of the frame before.
qint64 cutUs(double durationSeconds, float point) {
    return qint64(std::llround(durationSeconds * double(point) * 1000000.0));
}

} // namespace

float SplitPlan::stepFromTitle(const QString& title) {
    int first = 0;
    while (first < title.size() && !title.at(first).isDigit())
        ++first;
    int end = first;
    while (end < title.size() && title.at(end).isDigit())
        ++end;
    if (end < title.size() && title.at(end) == QLatin1Char('.')) {
        ++end;
        while (end < title.size() && title.at(end).isDigit())
            ++end;
    }
    if (end == first)
        return 0;
    return title.mid(first, end - first).toFloat();
}

SplitPlan::Result SplitPlan::byStep(float step, float total) {
    Result result;
    if (!positiveNumber(step)) {
        result.refusal = Refusal::StepNotPositive;
        return result;
    }
    if (!positiveNumber(total)) {
        result.pieceCount = 1;
        return result; // nothing to divide: the whole file is the one piece
    }
    const double n = std::ceil(double(float(total / step)));
    result.pieceCount = n < double(kMaxPieces) * 2 ? std::max<qint64>(1, qint64(n)) : qint64(kMaxPieces) * 2;
    if (n > double(kMaxPieces)) {
        result.refusal = Refusal::TooManyPieces;
        return result;
    }
    for (qint64 c = 2; c <= qint64(n) || c == 2; ++c) {
        const float f = float(c - 1) * step / total;
        if (f < 1.0f)
            result.points.push_back(f);
    }
    return result;
}

SplitPlan::Result SplitPlan::equalParts(float count) {
    Result result;
    if (!positiveNumber(count)) {
        result.refusal = Refusal::CountNotPositive;
        return result;
    }
    const double pieces = std::ceil(double(count));
    result.pieceCount = pieces < double(kMaxPieces) * 2 ? std::max<qint64>(1, qint64(pieces)) : qint64(kMaxPieces) * 2;
    if (pieces > double(kMaxPieces)) {
        result.refusal = Refusal::TooManyPieces;
        return result;
    }
    for (qint64 k = 1;; ++k) {
        const float f = float(k) / count;
        if (f < 1.0f)
            result.points.push_back(f);
        if (!(count > float(k + 1)))
            break;
    }
    return result;
}

SplitPlan::Refusal SplitPlan::checkManualPoint(float point, const std::vector<float>& existing, qint64 durationUs) {
    const double seconds = double(durationUs) / 1000000.0;
    const qint64 cut = cutUs(seconds, point);
    if (!std::isfinite(point) || cut <= 0 || cut >= durationUs)
        return Refusal::PointOutside;
    for (float other : existing)
        if (cutUs(seconds, other) == cut)
            return Refusal::PointDuplicate;
    if (qint64(existing.size()) + 2 > kMaxPieces)
        return Refusal::TooManyPieces;
    return Refusal::None;
}

std::vector<SplitPlan::Piece> SplitPlan::pieces(const std::vector<float>& timeProgresses, double durationSeconds) {
    std::vector<Piece> result;
    const qint64 durationUs = qint64(std::llround(durationSeconds * 1000000.0));
    qint64 start = 0;
    for (size_t i = 0; i < timeProgresses.size(); ++i) {
        const bool last = i + 1 == timeProgresses.size();
        const qint64 stop = last ? durationUs : std::min(cutUs(durationSeconds, timeProgresses[i]), durationUs);
        if (stop > start) {
            result.push_back(Piece{start, stop});
            start = stop;
        }
    }
    return result;
}

QString SplitPlan::refusalKey(Refusal refusal) {
    switch (refusal) {
    case Refusal::None:
        return {};
    case Refusal::StepNotPositive:
        return QStringLiteral("splitStepRefusedString");
    case Refusal::CountNotPositive:
        return QStringLiteral("splitCountRefusedString");
    case Refusal::TooManyPieces:
        return QStringLiteral("splitTooManyPiecesString");
    case Refusal::PointOutside:
        return QStringLiteral("splitPointOutsideString");
    case Refusal::PointDuplicate:
        return QStringLiteral("splitPointDuplicateString");
    }
    return {};
}

QString SplitPlan::refusalMessage(Refusal refusal) {
    QString text = ResourceBundle::localizedStringForKey(refusalKey(refusal));
    if (refusal == Refusal::TooManyPieces)
        text = text.arg(kMaxPieces);
    return text;
}

float SplitPlan::overallProgress(qint64 index, qint64 count, double percent) {
    if (count <= 0)
        return 0;
    return float(double(float(index) / float(count)) + percent / 100.0 / double(count));
}

float SplitPlan::sizeModeProgress(qint64 startUs, qint64 durationUs, double percent) {
    if (durationUs <= 0)
        return 0;
    const double done = double(startUs) + percent / 100.0 * double(std::max<qint64>(0, durationUs - startUs));
    return float(std::clamp(done / double(durationUs), 0.0, 1.0));
}
