#pragma once

#include "MOQView.h"

#include <array>

class LQProgressSlider;
class LQTextField;
class LabelField;
class MOQButton;
class QScrollArea;
class QSpinBox;
class QWidget;

// The watermark mode's panel (`waterView`): the list with its three buttons at the top, and below it the selected
// watermark's display time, the used part of a video watermark, the transparency, and either the box size (files)
// or the font and colour (texts). It only builds and lays out its controls; WatermarkEditor drives them.
class WatermarkPanel : public MOQView {
    Q_OBJECT
public:
    WatermarkPanel(const ViewRect& frame, QWidget* parent);

    // One of the four times: hours, minutes, seconds, hundredths, and its stepper.
    struct TimeRow {
        std::array<LQTextField*, 4> fields{};
        QSpinBox* stepper = nullptr;
    };

    MOQButton* imagemarkBtn;
    MOQButton* textmarkBtn;
    MOQButton* deletedmarkBtn;
    MOQView* watermarkFileListView;
    QScrollArea* waterMarkListScrollView;

    LabelField* timeRangeofDisplayLabel;
    LabelField* watermarkStartTimeLabel;
    LabelField* watermarkDurationLabel;
    TimeRow start;
    TimeRow duration;

    QWidget* watermarkContent3View; // the used part of a video watermark
    LabelField* selectaportionofClipLabel;
    LabelField* wmFileStartTimeLabel;
    LabelField* wmFileEndTimeLabel;
    TimeRow clipStart;
    TimeRow clipEnd;

    QWidget* watermarkContent4View; // transparency, then size or font
    LabelField* wmTransparenceLabel;
    MOQView* wmAlphaBackView;
    LQTextField* wmAlphaField;
    QSpinBox* wmAlphaStepperBtn;
    LQProgressSlider* wmAlphaProgressView;

    QWidget* wmsizeBackgroundView;
    LabelField* wmSizeLabel;
    LQTextField* wmWidthField;
    QSpinBox* wmWidthStepperBtn;
    LQTextField* wmHeightField;
    QSpinBox* wmHeightStepperBtn;
    MOQButton* wmkeepaspectRatioBtn;

    QWidget* wmfontStyleBackView;
    LabelField* wmFontStyleLabel;
    MOQButton* waterFontBtn;
    MOQButton* wmColorBtn;

    MOQButton* watermarkDefaultBtn;

    std::array<TimeRow*, 4> timeRows() { return {&start, &duration, &clipStart, &clipEnd}; }

    // Shows or hides the clip rows; the rows below move up to take their place when hidden.
    void showClipRows(bool shown);

private:
    static double timeLabelWidth();
    TimeRow makeTimeRow(QWidget* parent, double y, LabelField*& label, const QString& key);

    double _timeLabelWidth = 78;
};
