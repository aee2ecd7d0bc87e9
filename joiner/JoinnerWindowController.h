#pragma once

#include "ClipListWindowController.h"
#include "JoinPlan.h"
#include "OutputFormatOwner.h"
#include "OutputSelection.h"
#include "PreparedJobFactory.h"

#include <QPointer>

#include <array>
#include <memory>
#include <optional>

class ClipTrimActions;
class ClipTrimEditor;
class LQCutProgressView;
class MOQButton;
class MOQImageView;
class MOQView;
class OutputFormatBrowser;
class QLabel;

// The joiner: an ordered list of clips, each trimmed (kept or cut out), with its volume and a transition into the
// next, joined into one file by one engine job. The output format, the list's transition and format choices and
// the job are this window's; the list, its buttons, the preview bar, the trim editor and the keep/reset/
// apply-to-all/volume actions are the clip list it shares with the batch cutter (ClipListWindowController); the
// arithmetic of the job is JoinPlan's.
class JoinnerWindowController : public ClipListWindowController, public OutputFormatOwner {
    Q_OBJECT
public:
    explicit JoinnerWindowController(QObject* parent = nullptr);
    explicit JoinnerWindowController(MediaJobFactory& factory, QObject* parent = nullptr);
    ~JoinnerWindowController() override;

    // Adding clips: the open panel, then every chosen file probed off the main thread.
    void addFileAction();
    // Appends the paths' usable clips (what the open panel's answer leads to).
    void addFiles(const QStringList& paths);
    void upAction();
    void downAction();
    void emailAction();
    void enableEdit(bool enabled) override;
    // Start, or Cancel while a join runs.
    void startJoinnerAction();

    // State for tests and the screenshots.
    bool convertstart() const { return isRunning(); }
    ClipTrimEditor* trimEditor() const { return editArea()->editor(); }
    ClipTrimActions* trimActions() const { return editArea()->actions(); }
    OutputFormatBrowser* formatBrowser() const { return _browser; }
    LQCutProgressView* cutProgressView() const { return editArea()->cutProgressView(); }
    MOQButton* removeBtn() const;
    MOQButton* clearBtn() const;
    MOQButton* upBtn() const;
    MOQButton* downBtn() const;
    MOQButton* emailIconView() const;
    MOQImageView* contentNofileTishiView() const;

    // OutputFormatOwner
    QWidget* formatOwnerWindow() override { return window(); }
    QWidget* formatHostView() override;
    OutputSelection& outputSelection() override { return _selection; }
    ClipList outputClips() override { return *fileList(); }
    void outputClipsChanged() override;
    QWidget* contentBackgroundView() override;

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;
    void jobProgress(int step, double percent) override;
    void admitClip(SimpleData& clip) override;
    void addListBlocks(JoinnerTableView* view) override;
    void clipRemoved(bool empty) override;
    void listCleared() override;
    bool editLocked() const override { return joinUnderWay(); }

private:
    void buildContent(QWidget* content);
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
    OutputSelection _selection;
    OutputFormatBrowser* _browser = nullptr;
    // A copy join the engine refused because the clips' streams differ runs again encoded, unasked.
    std::optional<JoinPlan> _encodingFallback;
    bool _copyRefused = false;

    MOQView* _contentBackgroundView = nullptr;
    QWidget* _formatContainer = nullptr;
    MOQImageView* _formatBottomView = nullptr;
};
