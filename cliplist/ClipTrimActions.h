#pragma once

#include "ClipSelection.h"
#include "LQProgressSliderDelegate.h"

#include <QObject>
#include <QPointer>

class ClipPreviewBar;
class ClipTrimEditor;
class LQCutProgressView;
class LQProgressSlider;
class QPushButton;
class QRadioButton;

// The selected clip's other choices, shared by the joiner and the batch cutter: keep the trim range or cut it out
// (the two radios), reset the range to the whole clip, apply the range to every other clip (fitted to each one's
// length), and the clip's volume from the volume slider (position 0.5 is the file's own level, 1.0 twice it).
class ClipTrimActions : public QObject, public LQProgressSliderDelegate {
    Q_OBJECT
public:
    // Builds the radios and the two buttons into `host` (a row at least 540 x 30 points) and becomes the volume
    // slider's delegate.
    ClipTrimActions(ClipSelection clips, ClipPreviewBar& bar, ClipTrimEditor& editor,
                    LQCutProgressView* cutProgressView, QWidget* host, QObject* parent = nullptr);
    ~ClipTrimActions() override;

    // Shows a bound clip's choice in the radios and the slider's look.
    void showInverted(bool inverted);
    // The trim fields, the buttons that take the range from the playhead, reset, apply to all and the still-frame
    // buttons: what the windows' empty state and edit lock switch together.
    void setTrimControlsEnabled(bool enabled);
    // No clip: the slider's playhead at 0 and its range the whole track, the labels and fields at zero.
    void showNoClip();

    void selectCurrentTimeRadioAction();
    void unSelectCurrentTimeRadioAction();
    void resetCutterAction();
    void applytoallAction();

    // LQProgressSliderDelegate (the volume slider)
    void actionMouseDownForProgressSliderBlock(LQProgressSlider* slider, float progress) override;
    void actionProgressForProgressSliderBlock(LQProgressSlider* slider, float progress) override;
    void actionMouseUpForProgressSliderBlock(LQProgressSlider* slider, float progress) override;

    QRadioButton* selectTimeBtn() const { return _selectTimeBtn; }
    QRadioButton* unSelectTimeBtn() const { return _unSelectTimeBtn; }
    QPushButton* resetCutterBtn() const { return _resetCutterBtn; }
    QPushButton* applytoallBtn() const { return _applytoallBtn; }

private:
    void setInverted(bool inverted);

    ClipSelection _clips;
    ClipPreviewBar& _bar;
    ClipTrimEditor& _editor;
    QPointer<LQCutProgressView> _cutProgressView;
    QPointer<LQProgressSlider> _volumeSlider;
    QRadioButton* _selectTimeBtn = nullptr;
    QRadioButton* _unSelectTimeBtn = nullptr;
    QPushButton* _resetCutterBtn = nullptr;
    QPushButton* _applytoallBtn = nullptr;
};
