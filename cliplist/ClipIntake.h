#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class SimpleData;

// Adding clips to the joiner's or the batch cutter's list: every chosen file is probed on a background thread (a
// long or slow file never holds the window), then the usable records come back on the main thread in the order
// chosen, with the names of the files that could not be used.
class ClipIntake {
public:
    using Done = std::function<void(const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected)>;

    // Probes `paths` off the main thread; `done` runs on the main thread afterwards, unless `context` has gone.
    static void probe(const QStringList& paths, QObject* context, Done done);
    // The same on the calling thread (what the background task runs).
    static void probeNow(const QStringList& paths, QList<std::shared_ptr<SimpleData>>& added, QStringList& rejected);

    // The alert's text for unusable files: the localised "nonsupportfilesstringValue" and the names joined by ",".
    static QString rejectedText(const QStringList& names);
};
