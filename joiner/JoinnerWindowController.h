#pragma once

#include "ClipEditArea.h"
#include "FeatureWindowController.h"
#include "JoinPlan.h"
#include "JoinnerTableView.h"
#include "OutputFormatOwner.h"
#include "OutputSelection.h"
#include "PreparedJobFactory.h"

#include <QPointer>

#include <array>
#include <memory>
#include <optional>

class ClipExportBar;
class ClipListPanel;
class ClipPreviewBar;
class ClipTrimActions;
class ClipTrimEditor;
class LQCutProgressView;
class MOQButton;
class MOQImageView;
class MOQView;
class NSProgressView;
class OutputFormatBrowser;
class QLabel;

// The joiner: an ordered list of clips, each trimmed (kept or cut out), with its volume and a transition into the
// next, joined into one file by one engine job. The list, its buttons, the hint panel of the empty window, the
// output format and the job are this window's; the preview bar, the trim editor and the keep/reset/apply-to-all/
// volume actions are the shared clip pieces (ClipPreviewBar, ClipTrimEditor, ClipTrimActions) that the batch
// cutter uses as well; the arithmetic of the job is JoinPlan's.
class JoinnerWindowController : public FeatureWindowController, public OutputFormatOwner {
    Q_OBJECT
public:
    explicit JoinnerWindowController(QObject* parent = nullptr);
    explicit JoinnerWindowController(MediaJobFactory& factory, QObject* parent = nullptr);
    ~JoinnerWindowController() override;

    // Adding clips: the open panel, then every chosen file probed off the main thread.
    void addFileAction();
    // Appends the paths' usable clips (what the open panel's answer leads to).
    void addFiles(const QStringList& paths);
    bool isAdding() const;
    void removeAction();
    void clearAction();
    void upAction();
    void downAction();
    void emailAction();
    // The empty window (true) or the listed clips (false).
    void fileListViewHidden(bool hidden);
    void enableEdit(bool enabled) override;
    // Start, or Cancel while a join runs.
    void startJoinnerAction();

    // State for tests and the screenshots.
    const std::shared_ptr<SimpleDataList>& fileList() const { return _fileList; }
    bool convertstart() const { return isRunning(); }
    JoinnerTableView* fileListTableView() const;
    ClipPreviewBar* previewBar() const { return _area->bar(); }
    ClipTrimEditor* trimEditor() const { return _area->editor(); }
    ClipTrimActions* trimActions() const { return _area->actions(); }
    OutputFormatBrowser* formatBrowser() const { return _browser; }
    LQCutProgressView* cutProgressView() const { return _area->cutProgressView(); }
    NSProgressView* joinnerProgressView() const;
    MOQButton* startJoinnerBtn() const;
    MOQButton* addfileBtn() const;
    MOQButton* removeBtn() const;
    MOQButton* clearBtn() const;
    MOQButton* upBtn() const;
    MOQButton* downBtn() const;
    MOQButton* emailIconView() const;
    MOQImageView* contentNofileTishiView() const;
    OutputFolderPopUp* outputFolderBtn() const { return _outputFolderBtn; }

    // OutputFormatOwner
    QWidget* formatOwnerWindow() override { return window(); }
    QWidget* formatHostView() override;
    OutputSelection& outputSelection() override { return _selection; }
    ClipList outputClips() override { return *_fileList; }
    void outputClipsChanged() override;
    QWidget* contentBackgroundView() override;

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;
    MOQButton* startButton() const override { return startJoinnerBtn(); }
    void stopPlayers() override;
    void jobProgress(int step, double percent) override;

private:
    void buildContent(QWidget* content);
    void clipsProbed(const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected);
    void refeedWithClosures();
    QString fallbackExtension() const;
    // A join begins with its job made and given the clips off the main thread; joinPrepared runs it.
    void runJoin(const JoinPlan& plan);
    void joinPrepared(const JoinPlan& plan, const std::shared_ptr<MediaJob>& job, int configured);
    void runJoinWhenIdle(const JoinPlan& plan);
    // A join runs or is being set up.
    bool joinUnderWay() const { return isRunning() || _preparing; }
    void joinFailed(int code);

    // Made before the frame's job runner asks it for a job (the runner only keeps the reference until then).
    PreparedJobFactory _jobs;
    bool _preparing = false;
    std::shared_ptr<SimpleDataList> _fileList;
    OutputSelection _selection;
    OutputFormatBrowser* _browser = nullptr;
    ClipListPanel* _list = nullptr;
    ClipExportBar* _exportBar = nullptr;
    // A copy join the engine refused because the clips' streams differ runs again encoded, unasked.
    std::optional<JoinPlan> _encodingFallback;
    bool _copyRefused = false;

    MOQView* _contentBackgroundView = nullptr;
    QWidget* _formatContainer = nullptr;
    MOQImageView* _formatBottomView = nullptr;
    ClipEditArea* _area = nullptr;
    OutputFolderPopUp* _outputFolderBtn = nullptr;
};
