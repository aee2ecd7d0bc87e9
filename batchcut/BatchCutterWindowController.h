#pragma once

#include "ClipEditArea.h"
#include "FeatureWindowController.h"
#include "JoinnerTableView.h"

#include <QStringList>

#include <memory>

class ClipExportBar;
class ClipListPanel;
class MOQButton;
class MOQImageView;
class NSProgressView;

// The batch cutter: a list of files, each with its own trim range kept or cut out, written one after another into
// the output folder, each output named after its file. The list, its buttons and the hint panel of the empty
// window are built like the joiner's; the preview bar, the trim editor and the keep/reset/apply-to-all/volume
// actions are the shared clip pieces; what each file's job is comes from BatchCutPlan.
//
// A file that cannot be written does not stop the batch: it is reported at the end, with every other file that
// failed and why, and the progress bar fills only when every file was written.
class BatchCutterWindowController : public FeatureWindowController {
    Q_OBJECT
public:
    explicit BatchCutterWindowController(QObject* parent = nullptr);
    explicit BatchCutterWindowController(MediaJobFactory& factory, QObject* parent = nullptr);
    ~BatchCutterWindowController() override;

    // Whether chosen files are still being probed.
    bool isAdding() const;
    void removeAction();
    void clearAction();
    // The empty window (true) or the listed files (false).
    void fileListViewHidden(bool hidden);
    void enableEdit(bool enabled) override;
    // Start, or Cancel while a batch runs.
    void startBachCutterAction();

    // State for tests and the screenshots.
    long long exportCurrentIndex() const { return _exportCurrentIndex; }
    // The report lines of the files the last batch could not write ("name: error:code (reason)").
    const QStringList& failedFiles() const { return _failedFiles; }
    const std::shared_ptr<SimpleDataList>& fileList() const { return _fileList; }
    ClipListPanel* listPanel() const { return _list; }
    ClipEditArea* editArea() const { return _area; }
    ClipPreviewBar* previewBar() const { return _area->bar(); }
    JoinnerTableView* fileListTableView() const;
    MOQButton* addfileBtn() const;
    NSProgressView* joinnerProgressView() const;
    MOQButton* startJoinnerBtn() const;
    OutputFolderPopUp* outputFolderBtn() const { return _outputFolderBtn; }

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;
    MOQButton* startButton() const override { return startJoinnerBtn(); }
    void cancelRunningJob() override;
    void stopPlayers() override;
    void jobProgress(int step, double percent) override;

private:
    void buildContent(QWidget* content);
    void filesProbed(const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected);
    void refeedWithClosure();
    void cancelBatch();
    void fileStarting(int index);
    void fileWritten(int index);
    void fileFailed(int index, int code);
    void batchEnded(bool success);

    std::shared_ptr<SimpleDataList> _fileList;
    ClipListPanel* _list = nullptr;
    ClipExportBar* _exportBar = nullptr;

    // The running batch: its files in list order, the one being written, and what failed so far.
    SimpleDataList _batchFiles;
    long long _exportCurrentIndex = -1;
    QStringList _failedFiles;
    bool _cancelled = false;

    MOQImageView* _contentBackgroundView = nullptr;
    ClipEditArea* _area = nullptr;
    OutputFolderPopUp* _outputFolderBtn = nullptr;
};
