#pragma once

#include "EditExportSettings.h"
#include "LQCutProgressViewDelegate.h"
#include "LQTextFieldDelegate.h"
#include "NSTextFieldDelegate.h"
#include "TrimTimeRules.h"

#include <QObject>

#include <array>

class LQTextField;
class MOQButton;
class MOQImageView;
class QComboBox;
class QSpinBox;
class QWidget;
class TrimHost;

// The trim mode's panel: start and end time in four fields each with a stepper per row, the keep/delete choice,
// mark-in, mark-out, play and reset. It keeps the trim range (microseconds of the source; a stop of 0 means no end
// is set) in step with its fields and the window's trim bar, checks typed times, and answers the trim bar's
// reports (it is the bar's delegate). The window hosts it (TrimHost) and reads the range at Start.
class TrimPanel : public QObject,
                  public NSTextFieldDelegate,
                  public LQTextFieldDelegate,
                  public LQCutProgressViewDelegate {
    Q_OBJECT
public:
    explicit TrimPanel(TrimHost& host, QObject* parent = nullptr);
    ~TrimPanel() override;

    // Builds the panel (hidden) inside `host`, the trim mode's view of the left column.
    void initTrimView(QWidget* host);
    MOQImageView* trimView() const { return _trimView; }

    // The range as the window holds it.
    double cutTimeRange_start() const { return _cutTimeRange_start; }
    double cutTimeRange_stop() const { return _cutTimeRange_stop; }
    // A file's range: the fields show it; a stop of 0 shows (and becomes) the whole length.
    void setCutTimeRange(double startUs, double stopUs);
    // A new file: every field "00", nothing selected for the steppers.
    void resetFields();
    // The keep/delete pop-up's choice for a file (the bar itself is the window's).
    void setTrimInverted(bool inverted);
    bool isTrimInverted() const;
    // Controls on or off with the rest of the window (enableEdit).
    void enableEdit(bool enabled);

    // Start: the range read from the fields and the bar's choice into the export's copy.
    void takeTrim(EditExportSettings& settings);

    // The panel's actions (the controls call them; the window may too).
    void setStartTrimBtnTouchUp();
    void setStopTrimBtnTouchUp();
    void playTrimBtnTouchUp();
    void resetTrimBtnTouchUp();
    void touchUpStartStepper();
    void touchUpStopStepper();
    void actionPreferencesBtn(int index);
    void changeCureentTime(float seconds);

    // The text fields' delegates: the check of a typed time, the stepper binding.
    bool controlTextShouldEndEditing(LQTextField* field) override;
    void actionMouseDownForTextFieldBlock(LQTextField* field) override;

    // The trim bar's reports (other senders are ignored).
    void actionMouseDownForCutProgressViewBlock(LQCutProgressView* sender, float progress) override;
    void actionSeekToTimeForCutProgressViewBlock(LQCutProgressView* sender, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(LQCutProgressView* sender, float lower, float upper,
                                                 long long handle) override;
    void actionMouseUpForCutProgressViewBlock(LQCutProgressView* sender, float progress) override;

    // The controls, for the window and tests.
    const std::array<LQTextField*, 4>& startFields() const { return _startFields; }
    const std::array<LQTextField*, 4>& stopFields() const { return _stopFields; }
    QSpinBox* startStepper() const { return _startStepper; }
    QSpinBox* stopStepper() const { return _stopStepper; }
    QComboBox* preferenceBtn() const { return _preferenceBtn; }
    MOQButton* setStartTrimBtn() const { return _setStartTrimBtn; }
    MOQButton* setStopTrimBtn() const { return _setStopTrimBtn; }
    MOQButton* playTrimBtn() const { return _playTrimBtn; }
    MOQButton* resetTrimBtn() const { return _resetTrimBtn; }
    LQTextField* edittingField() const { return _edittingField; }

private:
    static void show(const std::array<LQTextField*, 4>& fields, float seconds);
    static TrimTimeRules::Fields texts(const std::array<LQTextField*, 4>& fields);
    void changeStart(float seconds, bool seek);
    void touchUpStepper(QSpinBox* stepper, bool start);
    void bindStepper(QSpinBox* stepper, LQTextField* field);
    int fieldIndex(const std::array<LQTextField*, 4>& fields, LQTextField* field) const;
    double duration() const;

    TrimHost& _host;
    MOQImageView* _trimView = nullptr;
    std::array<LQTextField*, 4> _startFields{};
    std::array<LQTextField*, 4> _stopFields{};
    QSpinBox* _startStepper = nullptr;
    QSpinBox* _stopStepper = nullptr;
    QComboBox* _preferenceBtn = nullptr;
    MOQButton* _setStartTrimBtn = nullptr;
    MOQButton* _setStopTrimBtn = nullptr;
    MOQButton* _playTrimBtn = nullptr;
    MOQButton* _resetTrimBtn = nullptr;
    LQTextField* _edittingField = nullptr;
    double _cutTimeRange_start = 0;
    double _cutTimeRange_stop = 0;
    bool _bindingStepper = false;
};
