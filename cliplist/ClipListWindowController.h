#pragma once

#include "ClipEditArea.h"
#include "ClipListPanel.h"
#include "FeatureWindowController.h"
#include "JoinnerTableView.h"

#include <functional>
#include <memory>

class ClipExportBar;
class MOQButton;
class NSProgressView;

// The frame of a window that lists clips and trims the selected one (the joiner, the batch cutter): the clip array,
// the list panel, the edit area and the export bar, with the empty and listed states, the edit lock, the re-feed
// after files were probed and the player going with the window, the same in every such window.
class ClipListWindowController : public FeatureWindowController {
    Q_OBJECT
public:
    explicit ClipListWindowController(QObject* parent = nullptr);
    explicit ClipListWindowController(MediaJobFactory& factory, QObject* parent = nullptr);
    ~ClipListWindowController() override;

    // Whether chosen files are still being probed.
    bool isAdding() const;
    void removeAction();
    void clearAction();
    // The empty window (true) or the listed clips (false).
    void fileListViewHidden(bool hidden);
    void enableEdit(bool enabled) override;

    // State for tests and the screenshots.
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
    // A window builds its content in windowDidLoad with these (in the order its widgets stack), and adds its own
    // through the hooks below. The window's size and its blue backdrop:
    void setUpContent(QWidget* content, int width, int height);
    void installList(QWidget* panel, const ClipListPanel::Hint& hint);
    void installEditArea(ClipPreviewBar::Variant variant, QWidget* panel);
    // The export bar, whose Start/Cancel button runs startPressed, and the output folder's pop-up beside it.
    void installExportBar(QWidget* content, std::function<void()> startPressed);
    void installOutputFolder(QWidget* content);

    MOQButton* startButton() const override { return startJoinnerBtn(); }
    void stopPlayers() override;

    // Hooks, each empty by default.
    // A probed clip before it is listed.
    virtual void admitClip(SimpleData& clip) {}
    // The list's own closures beyond choosing a row (which binds the preview).
    virtual void addListBlocks(JoinnerTableView* view) {}
    // The list was fed again with the clips probed last.
    virtual void listRefed() {}
    // The list went empty (true) or holds clips (false).
    virtual void emptyStateChanged(bool empty) {}
    // The selected clip was removed; `empty`: it was the last.
    virtual void clipRemoved(bool empty) {}
    // Every clip was removed.
    virtual void listCleared() {}
    // Whether the editing stays locked whatever the list shows (a job runs).
    virtual bool editLocked() const { return isRunning(); }

private:
    void clipsProbed(const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected);
    void refeedWithClosures();

    std::shared_ptr<SimpleDataList> _fileList;
    ClipListPanel* _list = nullptr;
    ClipEditArea* _area = nullptr;
    ClipExportBar* _exportBar = nullptr;
    OutputFolderPopUp* _outputFolderBtn = nullptr;
};
