#pragma once

#include "ClipListWindowController.h"

#include <QStringList>

#include <memory>

class MOQImageView;

// The batch cutter: a list of files, each with its own trim range kept or cut out, written one after another into
// the output folder, each output named after its file. The list, its buttons and the hint panel of the empty
// window, the preview bar, the trim editor and the keep/reset/apply-to-all/volume actions are the clip list it
// shares with the joiner (ClipListWindowController); what each file's job is comes from BatchCutPlan.
//
// A file that cannot be written does not stop the batch: it is reported at the end, with every other file that
// failed and why, and the progress bar fills only when every file was written.
class BatchCutterWindowController : public ClipListWindowController {
    Q_OBJECT
public:
    explicit BatchCutterWindowController(QObject* parent = nullptr);
    explicit BatchCutterWindowController(MediaJobFactory& factory, QObject* parent = nullptr);
    ~BatchCutterWindowController() override;

    // Start, or Cancel while a batch runs.
    void startBachCutterAction();

    // State for tests and the screenshots.
    long long exportCurrentIndex() const { return _exportCurrentIndex; }
    // The report lines of the files the last batch could not write ("name: error:code (reason)").
    const QStringList& failedFiles() const { return _failedFiles; }

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;
    void cancelRunningJob() override;
    void jobProgress(int step, double percent) override;
    void listRefed() override;
    void emptyStateChanged(bool empty) override;
    void clipRemoved(bool empty) override;

private:
    void buildContent(QWidget* content);
    void cancelBatch();
    void fileStarting(int index);
    void fileWritten(int index);
    void fileFailed(int index, int code);
    void batchEnded(bool success);

    // The running batch: its files in list order, the one being written, and what failed so far.
    SimpleDataList _batchFiles;
    long long _exportCurrentIndex = -1;
    QStringList _failedFiles;
    bool _cancelled = false;

    MOQImageView* _contentBackgroundView = nullptr;
};
