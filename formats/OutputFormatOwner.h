#pragma once

#include "OutputSelection.h"

class MOQButton;
class QWidget;

// What the format browser needs of the window that hosts it (the joiner's or the editor's controller). The
// browser reads and writes the owner's output selection and its clips' target records through this interface;
// the optional methods have empty default bodies.
class OutputFormatOwner {
public:
    virtual ~OutputFormatOwner() = default;

    // The owner's window.
    virtual QWidget* formatOwnerWindow() = 0;
    // The view the browser is built into: the joiner's formatBottomView, the editor's backGroundView.
    virtual QWidget* formatHostView() = 0;
    // The nine select-title fields.
    virtual OutputSelection& outputSelection() = 0;
    // The clips whose target records follow the selection: the joiner's fileList, the editor's fileData (or none).
    virtual ClipList outputClips() = 0;

    // After a settings change reached the targets: the joiner re-feeds its clip list.
    virtual void outputClipsChanged() {}
    // Joiner: the content area above the browser, moved when the browser collapses or expands.
    virtual QWidget* contentBackgroundView() { return nullptr; }
    // Editor: lays the window out again after the browser collapsed or expanded.
    virtual void changesize() {}
    // Editor: the bar under the preview that receives the play button, and the button's action.
    virtual QWidget* playerBottomView() { return nullptr; }
    virtual void action_playPauseBtn(MOQButton* sender) {}
};
