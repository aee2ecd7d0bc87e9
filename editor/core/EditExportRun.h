#pragma once

#include "EditExportPlan.h"
#include "JobRunner.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QTemporaryDir;

// One editor export at a time: refuses settings that give nothing to write, builds the jobs, hands them to the
// window's job road and owns the private folder of an inverted trim's pieces, which is removed when the run ends
// however it ends (finished, cancelled, failed, or a set-up that failed before any job started).
//
// The window gives the road it runs jobs on (FeatureWindowController::startRun, or a JobRunner's run) and what it
// shows for a refusal; the export works on the settings and contributions it is given, copies taken at Start.
class EditExportRun {
public:
    using StartFunction = std::function<bool(std::vector<JobStep> steps, JobRunner::FinishBlock finish)>;
    // Shows the strings-table key's text in a plain warning.
    using RefusalFunction = std::function<void(const QString& key)>;

    EditExportRun(StartFunction start, RefusalFunction refuse);
    ~EditExportRun();
    EditExportRun(const EditExportRun&) = delete;
    EditExportRun& operator=(const EditExportRun&) = delete;

    // Starts an export; false when it was refused (the reason has been shown) or the road did not take it. finish
    // runs once when a started export ends, with true only for a finished one, after the pieces are removed.
    bool start(const EditExportSettings& settings, const std::vector<ExportContribution>& contributions,
               JobRunner::FinishBlock finish);

    bool isRunning() const { return _running; }
    // The private folder of the running export's pieces; empty when it writes none.
    QString pieceFolder() const;
    // Steps of the running (or last) export, for the progress bar.
    int stepCount() const { return _stepCount; }
    float progress(int step, double percent) const { return EditExportPlan::progress(step, _stepCount, percent); }

    static const QString kPieceFolderPrefix; // the temporary folders' names start with it

private:
    void ended();

    StartFunction _start;
    RefusalFunction _refuse;
    std::unique_ptr<QTemporaryDir> _pieces;
    int _stepCount = 0;
    bool _running = false;
    std::shared_ptr<EditExportRun*> _self = std::make_shared<EditExportRun*>(this); // a finish after us finds none
};
