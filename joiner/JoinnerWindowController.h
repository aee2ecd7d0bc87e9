#pragma once

#include "FeatureWindowController.h"
#include "JoinPlan.h"
#include "JoinnerTableView.h"
#include "OutputFormatOwner.h"
#include "OutputSelection.h"

#include <QPointer>

#include <array>
#include <memory>
#include <optional>

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
    bool isAdding() const { return _pendingAdds > 0; }
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
    JoinnerTableView* fileListTableView() const { return _fileListTableView; }
    ClipPreviewBar* previewBar() const { return _bar; }
    ClipTrimEditor* trimEditor() const { return _editor; }
    ClipTrimActions* trimActions() const { return _actions; }
    OutputFormatBrowser* formatBrowser() const { return _browser; }
    LQCutProgressView* cutProgressView() const { return _cutProgressView; }
    NSProgressView* joinnerProgressView() const { return _joinnerProgressView; }
    MOQButton* startJoinnerBtn() const { return _startJoinnerBtn; }
    MOQButton* addfileBtn() const { return _addfileBtn; }
    MOQButton* removeBtn() const { return _removeBtn; }
    MOQButton* clearBtn() const { return _clearBtn; }
    MOQButton* upBtn() const { return _upBtn; }
    MOQButton* downBtn() const { return _downBtn; }
    MOQButton* emailIconView() const { return _emailIconView; }
    MOQImageView* contentNofileTishiView() const { return _contentNofileTishiView; }
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
    MOQButton* startButton() const override { return _startJoinnerBtn; }
    void stopPlayers() override;
    void jobProgress(int step, double percent) override;

private:
    void buildContent(QWidget* content);
    void initContentNoFileView();
    void buildListButtons();
    void buildBottom(QWidget* content);
    void clipsProbed(const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected);
    void refeedWithClosures();
    void selectRowAfterMove(qint64 row);
    QString fallbackExtension() const;
    void runJoin(const JoinPlan& plan);
    void runJoinWhenIdle(const JoinPlan& plan);
    void joinFailed(int code);

    std::shared_ptr<SimpleDataList> _fileList;
    OutputSelection _selection;
    OutputFormatBrowser* _browser = nullptr;
    ClipPreviewBar* _bar = nullptr;
    ClipTrimEditor* _editor = nullptr;
    ClipTrimActions* _actions = nullptr;
    int _pendingAdds = 0;
    // A copy join the engine refused because the clips' streams differ runs again encoded, unasked.
    std::optional<JoinPlan> _encodingFallback;
    bool _copyRefused = false;

    MOQView* _contentBackgroundView = nullptr;
    QWidget* _formatContainer = nullptr;
    MOQImageView* _formatBottomView = nullptr;
    MOQImageView* _contentNofileTishiView = nullptr;
    MOQButton* _emailIconView = nullptr;
    QLabel* _email_addressLabel = nullptr;
    QLabel* _gettingstatedlabel = nullptr;
    std::array<QLabel*, 4> _joinner_descLabels{};
    JoinnerTableView* _fileListTableView = nullptr;
    MOQButton* _addfileBtn = nullptr;
    MOQButton* _removeBtn = nullptr;
    MOQButton* _clearBtn = nullptr;
    MOQButton* _upBtn = nullptr;
    MOQButton* _downBtn = nullptr;
    MOQImageView* _playerView = nullptr;
    LQCutProgressView* _cutProgressView = nullptr;
    QWidget* _barHost = nullptr;
    QWidget* _timeSelectBackView = nullptr;
    QWidget* _actionsHost = nullptr;
    QLabel* _joinnerLabel = nullptr;
    MOQButton* _openOutputFolderBtn = nullptr;
    MOQButton* _startJoinnerBtn = nullptr;
    NSProgressView* _joinnerProgressView = nullptr;
    OutputFolderPopUp* _outputFolderBtn = nullptr;
};
