#include "ClipTrimActions.h"

#include "ClipPreviewBar.h"
#include "ClipTimes.h"
#include "ClipTrimEditor.h"
#include "ControlFont.h"
#include "LQCutProgressView.h"
#include "MOQButton.h"
#include "LQProgressSlider.h"
#include "ResourceBundle.h"
#include "SimpleData.h"
#include "ViewFrame.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>

ClipTrimActions::ClipTrimActions(ClipSelection clips, ClipPreviewBar& bar, ClipTrimEditor& editor,
                                 LQCutProgressView* cutProgressView, QWidget* host, QObject* parent)
    : QObject(parent), _clips(std::move(clips)), _bar(bar), _editor(editor), _cutProgressView(cutProgressView) {
    auto localized = [](const char* key) { return ResourceBundle::localizedStringForKey(QString::fromLatin1(key)); };
    _selectTimeBtn = new QRadioButton(localized("KeepRangeRadioTitle"), host);
    _unSelectTimeBtn = new QRadioButton(localized("RemoveRangeRadioTitle"), host);
    ViewFrame::setFrame(_selectTimeBtn, ViewRect{0, 4, 150, 22});
    ViewFrame::setFrame(_unSelectTimeBtn, ViewRect{150, 4, 150, 22});
    auto* group = new QButtonGroup(host);
    group->addButton(_selectTimeBtn);
    group->addButton(_unSelectTimeBtn);
    _selectTimeBtn->setChecked(true);
    _resetCutterBtn = new QPushButton(localized("ResetBtnTitle"), host);
    _applytoallBtn = new QPushButton(localized("ApplytoallBtnTitle"), host);
    ViewFrame::setFrame(_resetCutterBtn, ViewRect{310, 2, 100, 26});
    ViewFrame::setFrame(_applytoallBtn, ViewRect{418, 2, 122, 26});
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{_selectTimeBtn, _unSelectTimeBtn, _resetCutterBtn, _applytoallBtn}) {
        b->setFont(ControlFont::system(12));
        b->setFocusPolicy(Qt::NoFocus);
    }
    for (QRadioButton* b : {_selectTimeBtn, _unSelectTimeBtn})
        b->setStyleSheet(QStringLiteral("color: black;"));
    connect(_selectTimeBtn, &QRadioButton::clicked, this, [this] { selectCurrentTimeRadioAction(); });
    connect(_unSelectTimeBtn, &QRadioButton::clicked, this, [this] { unSelectCurrentTimeRadioAction(); });
    connect(_resetCutterBtn, &QPushButton::clicked, this, [this] { resetCutterAction(); });
    connect(_applytoallBtn, &QPushButton::clicked, this, [this] { applytoallAction(); });
    _volumeSlider = _bar.volumeSlider();
    _volumeSlider->setDelegate(this);
}

ClipTrimActions::~ClipTrimActions() {
    // The preview bar may have gone first: only the slider, if it is still there, is touched.
    if (_volumeSlider && _volumeSlider->delegate() == this)
        _volumeSlider->setDelegate(nullptr);
}

void ClipTrimActions::showInverted(bool inverted) {
    _selectTimeBtn->setChecked(!inverted);
    _unSelectTimeBtn->setChecked(inverted);
    _cutProgressView->setIsFanxuan(inverted);
}

void ClipTrimActions::setTrimControlsEnabled(bool enabled) {
    _editor.setFieldsEnabled(enabled);
    for (QWidget* w : std::initializer_list<QWidget*>{_bar.startCutTimeBtn(), _bar.stopCutTimeBtn(), _resetCutterBtn,
                                                      _applytoallBtn, _bar.cutCoverBtn(), _bar.cutcoverStyleBtn()})
        w->setEnabled(enabled);
}

void ClipTrimActions::showNoClip() {
    _cutProgressView->setProgress(0);
    _cutProgressView->setLowerValueUpperValue(0, 1);
    _bar.resetLabels();
    _editor.resetDisplay();
}

void ClipTrimActions::setInverted(bool inverted) {
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    if (_clips.isEmpty() || !clip) {
        // Nothing to change: the radios keep showing what they showed.
        showInverted(_cutProgressView->isFanxuan());
        return;
    }
    showInverted(inverted);
    clip->setIsTrimFanxuan(inverted);
}

void ClipTrimActions::selectCurrentTimeRadioAction() {
    setInverted(false);
}

void ClipTrimActions::unSelectCurrentTimeRadioAction() {
    setInverted(true);
}

void ClipTrimActions::resetCutterAction() {
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    if (_clips.isEmpty() || !clip)
        return;
    const float duration = clip->sourceData()->duration();
    clip->setCutTimeRange_stop(ClipTimes::microseconds(double(duration)));
    clip->setCutTimeRange_start(0);
    clip->setIsTrimFanxuan(false);
    _cutProgressView->setLowerValueUpperValue(0, 1.0f);
    _editor.fillStart(0);
    _editor.fillStop(duration);
    showInverted(false);
    _clips.refeed();
}

void ClipTrimActions::applytoallAction() {
    const std::shared_ptr<SimpleData> selected = _clips.selectedClip();
    if (_clips.isEmpty() || !selected)
        return;
    const float ds = selected->sourceData()->duration();
    const float lower = _cutProgressView->lowerValue();
    const float upper = _cutProgressView->upperValue();
    for (const std::shared_ptr<SimpleData>& clip : *_clips.fileList()) {
        if (clip == selected)
            continue;
        const auto [start, stop] = ClipTimes::appliedRange(ds, lower, upper, clip->sourceData()->duration());
        clip->setCutTimeRange_start(start);
        clip->setCutTimeRange_stop(stop);
        clip->setIsTrimFanxuan(selected->isTrimFanxuan());
    }
    _clips.refeed();
}

void ClipTrimActions::actionMouseDownForProgressSliderBlock(LQProgressSlider*, float) {
    // Taking the press lets a click move the thumb, which then reports as a drag.
}

void ClipTrimActions::actionProgressForProgressSliderBlock(LQProgressSlider*, float progress) {
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    if (!clip)
        return;
    clip->setVolume(double(progress) * 2.0);
    _bar.setPlayerVolume(clip->volume());
}

void ClipTrimActions::actionMouseUpForProgressSliderBlock(LQProgressSlider*, float progress) {
    _bar.setPlayerVolume(double(progress) * 2.0);
}
