#pragma once

#include "MOQImageView.h"

class LabelField;
class MOQButton;
class MOQView;
class QScrollArea;
class QSlider;

// The effect mode's panel (`_kxfxView`): the volume, brightness, contrast and saturation sliders with their names
// and values, the effect list in its box, and the reset button. It only builds and lays out its controls;
// EffectEditor fills the list and drives them.
class EffectPanel : public MOQImageView {
    Q_OBJECT
public:
    // The volume slider works in thousandths of the gain (0..2000).
    static constexpr int kVolumeSteps = 1000;
    static constexpr double kRowHeight = 30;

    EffectPanel(const ViewRect& frame, QWidget* parent);

    LabelField* volumeLabel;
    LabelField* brightnessLabel;
    LabelField* contrastLabel;
    LabelField* saturationLabel;
    QSlider* _volueSlider;
    QSlider* _brightnessSlider;
    QSlider* _contrastSlider;
    QSlider* _saturationSlider;
    LabelField* _volueValueLabel;
    LabelField* _brightnessValueLabel;
    LabelField* _contrastValueLabel;
    LabelField* _saturationValueLabe;
    LabelField* effectLabel;
    MOQView* listBox;
    QScrollArea* _filterScrollView;
    MOQImageView* _filterScrollDocumentView;
    MOQButton* _effectReset;

    // Sizes the list's document view for `rows` rows of the scroll view's width.
    void setRowCount(int rows);
};
