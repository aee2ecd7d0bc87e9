#pragma once

#include "MediaJob.h"

#include <QString>

#include <functional>

// One engine job of a run: its kind, its input, the window's own setters and where its output goes.
struct JobStep {
    // Where the output is written. Unique and Numbered name a new file in `folder` (see OutputNamer); Exact takes
    // `exactPath` as it is (pieces in a private temporary folder).
    struct Output {
        enum class Naming { Unique, Numbered, Exact };
        Naming naming = Naming::Unique;
        QString folder;
        QString baseName;
        QString extension;
        QString exactPath;
    };

    MediaJob::Kind kind = MediaJob::Kind::Conversion;
    QString inputPath; // conversions: given to the engine before configure runs
    // The window's parameters, set on the main thread just before the output path: returns the first failing
    // setter's code (<= 0) or any positive value. Joins add their clips here.
    std::function<int(MediaJob& job)> configure;
    Output output;
    // After the job has succeeded, on the main thread, before its handle is closed: may read the job's results
    // and add further steps to the run (JobRunner::appendStep). A result <= 0 fails the run with that code.
    std::function<int(MediaJob& job)> completed;
    // A step of a batch of independent items: when it fails (no job, a refused setter, a failed start or a
    // failing `completed`), the runner reports it through stepFailed instead of failed and goes on with the next
    // step; the run then ends without success, its failures listed in failedSteps().
    bool independent = false;
};
