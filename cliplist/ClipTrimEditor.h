#pragma once

#include "ClipSelection.h"
#include "LQCutProgressViewDelegate.h"
#include "LQTextFieldDelegate.h"
#include "NSTextFieldDelegate.h"

#include <QObject>
#include <QPointer>

#include <array>

class ClipPreviewBar;
class ArrowStepper;
class LQCutProgressView;
class LQTextField;
class QLabel;

// The trim editor of the selected clip, shared by the joiner and the batch cutter: the start and end as four
// fields each (hours, minutes, seconds, hundredths) with a stepper per group, the trim range slider's handles and
// playhead, and the two buttons that take the start or the end from the preview's playhead. It writes the clip's
// range (microseconds) and keeps the slider, the fields, the range's length and the list row in step; it reads the
// player's time through the preview bar.
//
// The fields are not held to their units or to the file here (75 minutes count 75 minutes, a start may pass the
// end): the join plan clamps and orders the range before a job is built.
class ClipTrimEditor : public QObject,
                       public LQCutProgressViewDelegate,
                       public LQTextFieldDelegate,
                       public NSTextFieldDelegate {
    Q_OBJECT
public:
    enum class Variant {
        Joiner,
        BatchCutter, // the end from the playhead also moves the playhead mark; 12-point rows
    };
    using Group = std::array<LQTextField*, 4>;

    // Builds the row of fields into `timeSelectBackView` (at least 540 x 26 points) and becomes the slider's
    // delegate.
    ClipTrimEditor(Variant variant, ClipSelection clips, ClipPreviewBar& bar, LQCutProgressView* cutProgressView,
                   QWidget* timeSelectBackView, QObject* parent = nullptr);
    ~ClipTrimEditor() override;

    // Shows a bound clip's range (the preview bar's clipBound).
    void showRange(float startSeconds, float stopSeconds);
    // Every field "00" and the length "00:00:00.00" (the window's empty state).
    void resetDisplay();
    void setFieldsEnabled(bool enabled);
    void fillStart(float seconds);
    void fillStop(float seconds);
    void showRangeLength();

    void setStartTrimBtnTouchUp();
    void setStopTrimBtnTouchUp();
    void changeCureentTime(float seconds);
    void touchUpStartStepper(ArrowStepper* stepper);
    void touchUpStopStepper(ArrowStepper* stepper);

    // LQTextFieldDelegate
    void actionMouseDownForTextFieldBlock(LQTextField* field) override;
    // NSTextFieldDelegate
    bool controlTextShouldEndEditing(LQTextField* field) override;
    // LQCutProgressViewDelegate
    void actionMouseDownForCutProgressViewBlock(LQCutProgressView* bar, float progress) override;
    void actionSeekToTimeForCutProgressViewBlock(LQCutProgressView* bar, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(LQCutProgressView* bar, float lower, float upper,
                                                 long long handle) override;
    void actionMouseUpForCutProgressViewBlock(LQCutProgressView* bar, float progress) override;

    const Group& startFields() const { return _start; }
    const Group& stopFields() const { return _stop; }
    ArrowStepper* startStepper() const { return _startStepper; }
    ArrowStepper* stopStepper() const { return _stopStepper; }
    LQTextField* edittingField() const { return _edittingField; }
    QLabel* cutDurationValueLabel() const { return _cutDurationValueLabel; }

private:
    // A stepper press or a typed value in the start (or end) group, with the value the edited field is to show.
    void stepped(bool startGroup, long long value);
    void fill(const Group& group, float seconds);
    qint64 sumOf(const Group& group) const;
    static int unitOf(const Group& group, const LQTextField* field);

    Variant _variant;
    ClipSelection _clips;
    ClipPreviewBar& _bar;
    QPointer<LQCutProgressView> _cutProgressView;
    Group _start{};
    Group _stop{};
    ArrowStepper* _startStepper = nullptr;
    ArrowStepper* _stopStepper = nullptr;
    LQTextField* _edittingField = nullptr;
    QLabel* _cutDurationValueLabel = nullptr;
};
