#pragma once

#include "MOQImageView.h"

class LabelField;
class MOQButton;
class QComboBox;
class QPushButton;
class QSlider;

// The subtitle mode's panel (`_captionView`): the subtitle and font pop-ups, the colour well, and the position
// box with its slider. It only builds and lays out its controls; SubtitleEditor drives them.
class SubtitlePanel : public MOQImageView {
    Q_OBJECT
public:
    // The position slider works in thousandths (0..1000 for 0..1).
    static constexpr int kPositionSteps = 1000;

    SubtitlePanel(const ViewRect& frame, QWidget* parent);

    LabelField* subtitleLabel;
    LabelField* fontLabel;
    QComboBox* subtitle_popUpBtn;
    QComboBox* subtitleFont_popUpBtn;
    QWidget* colorHost;
    QPushButton* _colorWell;
    MOQImageView* positionBox;
    MOQButton* captionAlphorBtn;
    LabelField* captionAlphBigLabe;
    LabelField* captionAlphLowLabe;
    QSlider* subtitleAlphSlider;

    // Shows a colour in the well.
    void showColour(const QColor& colour);
    double sliderValue() const;
    void setSliderValue(double value);
};
