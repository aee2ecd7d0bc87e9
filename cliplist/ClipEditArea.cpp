#include "ClipEditArea.h"

#include "ArrowStepper.h"
#include "ClipTrimActions.h"
#include "ClipTrimEditor.h"
#include "FeatureWindowController.h"
#include "LQCutProgressView.h"
#include "LQProgressSlider.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "SimpleData.h"
#include "ViewFrame.h"

#include <QRadioButton>

ClipEditArea::ClipEditArea(ClipPreviewBar::Variant variant, const ClipSelection& clips, FeatureWindowController& window,
                           QWidget* panel)
    : QObject(panel), _clips(clips) {
    _playerView = new MOQImageView(ViewRect{620, 210, 550, 250}, panel);
    _playerView->setBackGroundColor(Qt::black);
    _cutProgressView = new LQCutProgressView(ViewRect{620, 178, 550, 26}, panel);
    _cutProgressView->setTickMark(true);
    auto* barHost = new QWidget(panel);
    ViewFrame::setFrame(barHost, ViewRect{620, 138, 550, 36});
    auto* timeSelectBackView = new QWidget(panel);
    ViewFrame::setFrame(timeSelectBackView, ViewRect{620, 96, 550, 34});
    auto* actionsHost = new QWidget(panel);
    ViewFrame::setFrame(actionsHost, ViewRect{624, 56, 546, 30});

    _bar = new ClipPreviewBar(variant, clips, window, _playerView, barHost, _cutProgressView);
    const ClipTrimEditor::Variant editorVariant = variant == ClipPreviewBar::Variant::Joiner
                                                      ? ClipTrimEditor::Variant::Joiner
                                                      : ClipTrimEditor::Variant::BatchCutter;
    _editor = new ClipTrimEditor(editorVariant, clips, *_bar, _cutProgressView, timeSelectBackView, &window);
    _actions = new ClipTrimActions(clips, *_bar, *_editor, _cutProgressView, actionsHost, &window);
    _bar->clipBound = [this](const std::shared_ptr<SimpleData>& clip, float start, float stop) {
        _actions->showInverted(clip->isTrimFanxuan());
        _editor->showRange(start, stop);
    };
    _bar->startTrimPressed = [this] { _editor->setStartTrimBtnTouchUp(); };
    _bar->stopTrimPressed = [this] { _editor->setStopTrimBtnTouchUp(); };
}

ClipEditArea::~ClipEditArea() = default;

void ClipEditArea::showEmpty(bool empty) {
    _bar->volumeSlider()->setDisable(empty);
    _cutProgressView->setDisable(empty);
    _actions->setTrimControlsEnabled(!empty);
    if (empty)
        _actions->showNoClip();
}

void ClipEditArea::setEditEnabled(bool enabled) {
    for (MOQButton* b : {_bar->playBtn(), _bar->stopBtn()})
        b->setEnabled(enabled);
    // Unlocked, what the empty window disables stays disabled.
    const bool clip = enabled && !_clips.isEmpty();
    _cutProgressView->setDisable(!clip);
    _bar->setVolumeEnabled(clip);
    _actions->setTrimControlsEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{_actions->selectTimeBtn(), _actions->unSelectTimeBtn(),
                                                      _editor->startStepper(), _editor->stopStepper()})
        w->setEnabled(enabled);
}
