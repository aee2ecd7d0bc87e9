#include "ClipListWindowController.h"

#include "ClipExportBar.h"
#include "ClipIntake.h"
#include "ClipSelection.h"
#include "Dispatch.h"
#include "LQCutProgressView.h"
#include "MOQButton.h"
#include "ResourceBundle.h"
#include "SimpleData.h"
#include "ViewRect.h"

#include <QPalette>
#include <QPointer>

ClipListWindowController::ClipListWindowController(QObject* parent)
    : FeatureWindowController(parent), _fileList(std::make_shared<SimpleDataList>()) {}

ClipListWindowController::ClipListWindowController(MediaJobFactory& factory, QObject* parent)
    : FeatureWindowController(factory, parent), _fileList(std::make_shared<SimpleDataList>()) {}

ClipListWindowController::~ClipListWindowController() = default;

// ---- Set-up ----

void ClipListWindowController::setUpContent(QWidget* content, int width, int height) {
    content->resize(width, height);
    content->setAutoFillBackground(true);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, QColor(33, 176, 235));
    content->setPalette(palette);
}

void ClipListWindowController::installList(QWidget* panel, const ClipListPanel::Hint& hint) {
    _list = new ClipListPanel(_fileList, panel, hint, this);
    _list->probed = [this](const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected) {
        clipsProbed(added, rejected);
    };
    _list->removePressed = [this] { removeAction(); };
    _list->clearPressed = [this] { clearAction(); };
}

void ClipListWindowController::installEditArea(ClipPreviewBar::Variant variant, QWidget* panel) {
    _area = new ClipEditArea(variant, ClipSelection(_fileList, fileListTableView()), *this, panel);
}

void ClipListWindowController::installExportBar(QWidget* content, std::function<void()> startPressed) {
    _exportBar = new ClipExportBar(content, *this, std::move(startPressed));
}

void ClipListWindowController::installOutputFolder(QWidget* content) {
    _outputFolderBtn = installOutputPopUp(content, ViewRect{120, 11, 223, 32});
}

// ---- The two states and the edit lock ----

void ClipListWindowController::fileListViewHidden(bool hidden) {
    _list->showHint(hidden);
    emptyStateChanged(hidden);
    _area->showEmpty(hidden);
    // Clips probed before a job began may arrive while it runs: they are listed, and everything stays locked.
    if (editLocked())
        enableEdit(false);
}

void ClipListWindowController::enableEdit(bool enabled) {
    _list->setListEnabled(enabled);
    _area->setEditEnabled(enabled);
}

// ---- Adding clips ----

bool ClipListWindowController::isAdding() const {
    return _list->isAdding();
}

void ClipListWindowController::clipsProbed(const QList<std::shared_ptr<SimpleData>>& added,
                                           const QStringList& rejected) {
    for (const std::shared_ptr<SimpleData>& clip : added) {
        admitClip(*clip);
        _fileList->append(clip);
    }
    if (!rejected.isEmpty())
        showSimpleAlert(ClipIntake::rejectedText(rejected), 2);
    // The alert gives the start button its Start title back; a job that still runs keeps offering Cancel.
    if (isRunning())
        startJoinnerBtn()->setContentTitle(ResourceBundle::localizedStringForKey(QStringLiteral("CancelexportTitle")));
    if (_fileList->isEmpty())
        return;
    refeedWithClosures();
    listRefed();
}

void ClipListWindowController::refeedWithClosures() {
    QPointer<ClipListWindowController> self(this);
    JoinnerTableView* view = fileListTableView();
    view->setItems(_fileList);
    view->setRowHeight(60);
    addListBlocks(view);
    view->setSelectItemBlock([self](const std::shared_ptr<SimpleData>&) {
        Dispatch::main([self] {
            if (self)
                self->_area->bar()->initPlayer();
        });
    });
    view->reloadData();
    fileListViewHidden(false);
}

// ---- The list buttons ----

void ClipListWindowController::removeAction() {
    if (!_list->removeSelected())
        return;
    const bool empty = _fileList->isEmpty();
    fileListViewHidden(empty);
    clipRemoved(empty);
    if (empty)
        _area->bar()->initPlayer(); // the removed clip's preview goes with it
}

void ClipListWindowController::clearAction() {
    _list->removeAll();
    fileListViewHidden(true);
    listCleared();
    _area->cutProgressView()->setDisable(true);
    _area->bar()->initPlayer();
}

JoinnerTableView* ClipListWindowController::fileListTableView() const {
    return _list->fileListTableView();
}

MOQButton* ClipListWindowController::addfileBtn() const {
    return _list->addfileBtn();
}

NSProgressView* ClipListWindowController::joinnerProgressView() const {
    return _exportBar->joinnerProgressView();
}

MOQButton* ClipListWindowController::startJoinnerBtn() const {
    return _exportBar ? _exportBar->startJoinnerBtn() : nullptr;
}

void ClipListWindowController::stopPlayers() {
    _area->bar()->takeDownPlayer();
}
