#pragma once

#include "JobStep.h"
#include "SplitPlan.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class JobRunner;

// The jobs of a split: one conversion per piece, run one after another, each named "<name>-split<k>.<ext>" with
// the first free k from 1 in the output folder and keeping the source's container.
//
// By time, into equal parts and at manual points the pieces are the plan's (SplitPlan::pieces). By size the plan
// is only an estimate: the bit rate is rarely even, so each piece is written up to the size limit from where the
// previous one really ended (the engine tells where the limit stopped it) to the end of the source, and the next
// piece is added to the run from there; no content is lost or written twice whatever the bit rate.
class SplitExport {
public:
    struct Source {
        QString path;
        QString name; // the file's name, extension included
        qint64 durationUs = 0;
    };

    // "holiday.mp4" -> "holiday-split"; "clip" -> "clip-split".
    static QString baseName(const QString& name);
    // The extension the pieces keep: the source name's ("" without one).
    static QString extension(const QString& name);

    // Where a split at `pointUs` falls between the pictures of a `fps` stream: the start of the first picture
    // starting at or after it (the point itself without a rate).
    static qint64 pictureBoundary(qint64 pointUs, double fps);

    static std::vector<JobStep> pieceSteps(const Source& source, const std::vector<SplitPlan::Piece>& pieces,
                                           const QString& folder);

    // The size mode's run: starts() holds each piece's start as the run goes on (for the progress bar).
    class SizeChain {
    public:
        SizeChain(Source source, qint64 limitBytes, QString folder, JobRunner& runner);
        // The first piece's step; the others are added to the runner as the pieces end.
        JobStep firstStep();
        const std::vector<qint64>& starts() const { return _starts; }
        qint64 durationUs() const { return _source.durationUs; }

    private:
        JobStep step(qint64 startUs);

        Source _source;
        qint64 _limitBytes = 0;
        QString _folder;
        JobRunner& _runner;
        std::vector<qint64> _starts;
    };
};
