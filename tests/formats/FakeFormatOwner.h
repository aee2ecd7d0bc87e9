#pragma once

#include "MOQImageView.h"
#include "OutputFormatOwner.h"

#include <QWidget>

#include <memory>

// A window that hosts a format browser the way the joiner or the editor does, and counts what the browser asks.
class FakeFormatOwner : public OutputFormatOwner {
public:
    explicit FakeFormatOwner(OutputSelection::Family family);
    ~FakeFormatOwner() override;

    QWidget* formatOwnerWindow() override { return window.get(); }
    QWidget* formatHostView() override { return host; }
    OutputSelection& outputSelection() override { return selection; }
    ClipList outputClips() override { return clips; }
    void outputClipsChanged() override { ++clipsChanged; }
    QWidget* contentBackgroundView() override { return content; }
    void changesize() override { ++changesizeCalls; }
    QWidget* playerBottomView() override { return playerBar; }
    void action_playPauseBtn(MOQButton*) override { ++playPauseCalls; }

    std::unique_ptr<QWidget> window;
    QWidget* host = nullptr;      // the joiner's formatBottomView, the editor's backGroundView
    QWidget* content = nullptr;   // the joiner's contentBackgroundView
    QWidget* playerBar = nullptr; // the editor's playerBottomView
    OutputSelection selection;
    ClipList clips;
    int clipsChanged = 0;
    int changesizeCalls = 0;
    int playPauseCalls = 0;
};
