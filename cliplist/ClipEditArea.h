#pragma once

#include "ClipPreviewBar.h"
#include "ClipSelection.h"

#include <QObject>

class ClipTrimActions;
class ClipTrimEditor;
class FeatureWindowController;
class LQCutProgressView;
class MOQImageView;

// The edit half of the joiner's and the batch cutter's content, right of the list: the preview, the trim range
// slider, the preview bar, the row of trim fields and the row of keep/remove, reset and apply-to-all, built into
// the window's content panel and wired together (binding a clip shows its range and choice; the bar's trim
// buttons reach the editor).
class ClipEditArea : public QObject {
    Q_OBJECT
public:
    ClipEditArea(ClipPreviewBar::Variant variant, const ClipSelection& clips, FeatureWindowController& window,
                 QWidget* panel);
    ~ClipEditArea() override;

    // The empty window (true) or a listed clip (false): the slider, the volume and the trim controls.
    void showEmpty(bool empty);
    // The edit lock's share: play and stop, the slider, and every control that changes the selected clip (its
    // range, keep or remove, its volume).
    void setEditEnabled(bool enabled);

    MOQImageView* playerView() const { return _playerView; }
    LQCutProgressView* cutProgressView() const { return _cutProgressView; }
    ClipPreviewBar* bar() const { return _bar; }
    ClipTrimEditor* editor() const { return _editor; }
    ClipTrimActions* actions() const { return _actions; }

private:
    ClipSelection _clips;
    MOQImageView* _playerView = nullptr;
    LQCutProgressView* _cutProgressView = nullptr;
    ClipPreviewBar* _bar = nullptr;
    ClipTrimEditor* _editor = nullptr;
    ClipTrimActions* _actions = nullptr;
};
