#include "TrimPanel.h"

#include "ControlFont.h"
#include "LQCutProgressView.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "ResourceBundle.h"
#include "TrimHost.h"
#include "ViewFrame.h"

#include <QAccessible>
#include <QComboBox>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace {

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

LabelField* caption(QWidget* parent, const ViewRect& frame, const QString& text, Qt::Alignment alignment) {
    auto* label = new LabelField(parent);
    label->setStringValue(text);
    label->setFont(ControlFont::system(13));
    label->setTextColor(Qt::black);
    label->setAlignment(alignment);
    ViewFrame::setFrame(label, frame);
    return label;
}

// One row of four fields with ":" between them and a stepper at its right end.
QSpinBox* timeRow(QWidget* row, std::array<LQTextField*, 4>& fields, TrimPanel* owner) {
    const double xs[] = {5, 35, 70, 105};
    const double stepperWidth = 20, rowWidth = ViewFrame::frame(row).width;
    for (int i = 0; i < 4; ++i) {
        // The last field stops where the stepper begins.
        const double width = i < 3 ? 30 : std::min(30.0, rowWidth - stepperWidth - xs[i]);
        auto* field = new LQTextField(ViewRect{xs[i], 3, width, 20}, row);
        field->setStringValue(QStringLiteral("00"));
        field->setAlignment(Qt::AlignCenter);
        field->setFont(ControlFont::system(13));
        field->setFrame(false);
        field->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: black; }"));
        field->setDelegate(owner);
        field->setMouseDelegate(owner);
        fields[size_t(i)] = field;
    }
    for (double x : {30.0, 65.0, 100.0})
        caption(row, ViewRect{x, 3, 10, 20}, QStringLiteral(":"), Qt::AlignCenter);

    auto* stepper = new QSpinBox(row);
    stepper->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    stepper->setRange(0, 59);
    stepper->setWrapping(true);
    stepper->setStyleSheet(QStringLiteral("QSpinBox { color: transparent; }"));
    stepper->setFocusPolicy(Qt::NoFocus);
    ViewFrame::setFrame(stepper, ViewRect{rowWidth - stepperWidth, 0, stepperWidth, 26});
    return stepper;
}

MOQButton* textButton(QWidget* parent, const ViewRect& frame, const QString& title) {
    auto* button = new MOQButton(frame, parent);
    button->setContentTitle(title);
    button->setContentColor(Qt::black);
    button->setBordered(false);
    button->setBackGroundColor(QColor(90, 216, 238));
    button->setDisAblebackGroundColor(QColor(221, 221, 221));
    button->setCornerRadius(5);
    button->setSelected(false);
    return button;
}

} // namespace

TrimPanel::TrimPanel(TrimHost& host, QObject* parent) : QObject(parent), _host(host) {}

// The host may be partly destroyed already (the panel is often its child): it is not called here. The window
// clears the trim bar's delegate itself.
TrimPanel::~TrimPanel() = default;

void TrimPanel::initTrimView(QWidget* host) {
    const ViewRect L = ViewFrame::frame(host);
    _trimView = new MOQImageView(ViewRect{5, 5, L.width - 10, L.height - 10}, host);
    const double w = L.width - 10, h = L.height - 10;

    const QImage rowImage = ResourceBundle::imageWithfileName(QStringLiteral("Resources/trim_textfield.png"));
    // The rows keep 1 point from the panel's right edge; on a narrow panel they move left over the captions' free
    // space rather than lose their steppers.
    const double rowX = std::min(75.0, w - 151 - 1);
    auto* startRow = new MOQImageView(ViewRect{rowX, h - 92, 151, 26}, _trimView);
    auto* stopRow = new MOQImageView(ViewRect{rowX, h - 127, 151, 26}, _trimView);
    for (MOQImageView* row : {startRow, stopRow})
        row->setImage(rowImage);
    caption(_trimView, ViewRect{5, h - 95, std::min(80.0, rowX - 6), 26},
            localized(QStringLiteral("StarttimeLabelstringValue")), Qt::AlignLeft | Qt::AlignVCenter);
    caption(_trimView, ViewRect{5, h - 130, std::min(80.0, rowX - 6), 26},
            localized(QStringLiteral("EndtimeLabelstringValue")), Qt::AlignLeft | Qt::AlignVCenter);
    _startStepper = timeRow(startRow, _startFields, this);
    _stopStepper = timeRow(stopRow, _stopFields, this);
    connect(_startStepper, &QSpinBox::valueChanged, this, [this] {
        if (!_bindingStepper)
            touchUpStartStepper();
    });
    connect(_stopStepper, &QSpinBox::valueChanged, this, [this] {
        if (!_bindingStepper)
            touchUpStopStepper();
    });

    caption(_trimView, ViewRect{5, h - 170, 80, 20}, localized(QStringLiteral("Preference:")),
            Qt::AlignLeft | Qt::AlignVCenter);
    _preferenceBtn = new QComboBox(_trimView);
    ViewFrame::setFrame(_preferenceBtn, ViewRect{5, h - 210, 215, 31});
    for (const QString& key :
         {QStringLiteral("KeeptheselectedsectionstringValue"), QStringLiteral("DeletetheselectedsectionstringValue")}) {
        const QString title = localized(key);
        if (!title.isEmpty())
            _preferenceBtn->addItem(title);
    }
    _preferenceBtn->setAccessibleName(QString());
    connect(_preferenceBtn, &QComboBox::activated, this, [this](int index) { actionPreferencesBtn(index); });

    const double y = h - 271;
    _setStartTrimBtn = textButton(_trimView, ViewRect{10, y, 40, 30}, QStringLiteral("【"));
    _setStopTrimBtn = textButton(_trimView, ViewRect{65, y, 40, 30}, QStringLiteral("】"));
    _playTrimBtn = new MOQButton(ViewRect{120, y, 30, 30}, _trimView);
    _playTrimBtn->setNormalImage(ResourceBundle::imageWithfileName(QStringLiteral("Cut/btnPlay_Normal.png")));
    _playTrimBtn->setSelectedImage(ResourceBundle::imageWithfileName(QStringLiteral("Cut/btnPause_Normal.png")));
    _playTrimBtn->setContentTitle(QString());
    _playTrimBtn->setToolTip(localized(QStringLiteral("playPauseToolTip")));
    // Reset keeps 10 points from the play button and 5 from the panel's edge, narrowing on a narrow panel.
    const double resetX = std::max(w - 70, 160.0);
    _resetTrimBtn = textButton(_trimView, ViewRect{resetX, y, std::min(60.0, w - 5 - resetX), 30},
                               localized(QStringLiteral("ResetBtnTitle")));
    _setStartTrimBtn->setMouseDownAction([this](MOQButton*) { setStartTrimBtnTouchUp(); });
    _setStopTrimBtn->setMouseDownAction([this](MOQButton*) { setStopTrimBtnTouchUp(); });
    _playTrimBtn->setMouseDownAction([this](MOQButton*) { playTrimBtnTouchUp(); });
    _resetTrimBtn->setMouseDownAction([this](MOQButton*) { resetTrimBtnTouchUp(); });
    for (MOQButton* button : {_setStartTrimBtn, _setStopTrimBtn, _playTrimBtn, _resetTrimBtn})
        button->setEnabled(false);
    for (LQTextField* field : _startFields)
        field->setEnabled(false);
    for (LQTextField* field : _stopFields)
        field->setEnabled(false);
    _trimView->hide();
}

double TrimPanel::duration() const {
    return _host.trimDuration();
}

void TrimPanel::show(const std::array<LQTextField*, 4>& fields, float seconds) {
    const TrimTimeRules::Fields parts = TrimTimeRules::split(seconds);
    for (size_t i = 0; i < 4; ++i)
        fields[i]->setStringValue(parts[i]);
}

TrimTimeRules::Fields TrimPanel::texts(const std::array<LQTextField*, 4>& fields) {
    return {fields[0]->stringValue(), fields[1]->stringValue(), fields[2]->stringValue(), fields[3]->stringValue()};
}

void TrimPanel::setCutTimeRange(double startUs, double stopUs) {
    if (stopUs == 0)
        stopUs = double(float(duration())) * 1000000.0;
    _cutTimeRange_start = startUs;
    _cutTimeRange_stop = stopUs;
    show(_startFields, float(startUs / 1000000.0));
    show(_stopFields, float(stopUs / 1000000.0));
}

void TrimPanel::resetFields() {
    for (LQTextField* field : _startFields)
        field->setStringValue(QStringLiteral("00"));
    for (LQTextField* field : _stopFields)
        field->setStringValue(QStringLiteral("00"));
    _cutTimeRange_start = 0;
    _cutTimeRange_stop = 0;
    _edittingField = nullptr;
}

void TrimPanel::setTrimInverted(bool inverted) {
    if (_preferenceBtn)
        _preferenceBtn->setCurrentIndex(inverted ? 1 : 0);
}

bool TrimPanel::isTrimInverted() const {
    if (LQCutProgressView* bar = _host.trimBar())
        return bar->isFanxuan();
    return _preferenceBtn && _preferenceBtn->currentIndex() == 1;
}

void TrimPanel::enableEdit(bool enabled) {
    for (MOQButton* button : {_setStartTrimBtn, _setStopTrimBtn, _playTrimBtn, _resetTrimBtn})
        button->setEnabled(enabled);
    for (LQTextField* field : _startFields)
        field->setEnabled(enabled);
    for (LQTextField* field : _stopFields)
        field->setEnabled(enabled);
    _startStepper->setEnabled(enabled);
    _stopStepper->setEnabled(enabled);
    _preferenceBtn->setEnabled(enabled);
}

void TrimPanel::takeTrim(EditExportSettings& settings) {
    _cutTimeRange_start = TrimTimeRules::parse(texts(_startFields)) * 1000000.0;
    _cutTimeRange_stop = TrimTimeRules::parse(texts(_stopFields)) * 1000000.0;
    settings.cutStartUs = qint64(_cutTimeRange_start);
    settings.cutStopUs = qint64(_cutTimeRange_stop);
    settings.trimInverted = isTrimInverted();
}

void TrimPanel::setStartTrimBtnTouchUp() {
    changeStart(float(_host.trimCurrentTime()), false);
}

void TrimPanel::changeCureentTime(float seconds) {
    changeStart(seconds, true);
}

void TrimPanel::changeStart(float t, bool seek) {
    const double d = duration();
    const TrimTimeRules::MarkIn mark = TrimTimeRules::markIn(t, d, _cutTimeRange_stop);
    show(_startFields, t);
    _cutTimeRange_start = mark.startUs;
    _cutTimeRange_stop = mark.stopUs;
    LQCutProgressView* bar = _host.trimBar();
    if (mark.endReset) {
        show(_stopFields, float(d));
        if (bar)
            bar->setLowerValueUpperValue(mark.lower, 1.0f);
    } else if (bar) {
        bar->setLowerValue(mark.lower);
    }
    if (seek)
        _host.trimSeek(t);
    if (bar)
        bar->setProgress(mark.lower);
}

void TrimPanel::setStopTrimBtnTouchUp() {
    const float t = float(_host.trimCurrentTime());
    if (LQCutProgressView* bar = _host.trimBar())
        bar->setUpperValue(t / float(duration()));
    show(_stopFields, t);
    _cutTimeRange_stop = double(t) * 1000000.0;
}

void TrimPanel::playTrimBtnTouchUp() {
    _host.trimPlayPause();
}

void TrimPanel::resetTrimBtnTouchUp() {
    for (LQTextField* field : _startFields)
        field->setStringValue(QStringLiteral("00"));
    const double d = duration();
    show(_stopFields, float(d));
    if (LQCutProgressView* bar = _host.trimBar())
        bar->setLowerValueUpperValue(0, 1);
    _cutTimeRange_start = 0;
    _cutTimeRange_stop = d * 1000000.0;
}

void TrimPanel::touchUpStartStepper() {
    touchUpStepper(_startStepper, true);
}

void TrimPanel::touchUpStopStepper() {
    touchUpStepper(_stopStepper, false);
}

void TrimPanel::touchUpStepper(QSpinBox* stepper, bool start) {
    const TrimTimeRules::StepperClick click = TrimTimeRules::stepperClick(texts(_startFields), texts(_stopFields));
    _cutTimeRange_start = click.startUs;
    _cutTimeRange_stop = click.stopUs;
    if (!click.writesField || !_edittingField)
        return;
    _edittingField->setStringValue(QString::asprintf("%02ld", long(stepper->value())));
    if (start)
        _cutTimeRange_start = TrimTimeRules::parse(texts(_startFields)) * 1000000.0;
    else
        _cutTimeRange_stop = TrimTimeRules::parse(texts(_stopFields)) * 1000000.0;
}

void TrimPanel::actionPreferencesBtn(int index) {
    if (_preferenceBtn && _preferenceBtn->currentIndex() != index)
        _preferenceBtn->setCurrentIndex(index);
    _host.trimPlay();
    LQCutProgressView* bar = _host.trimBar();
    if (!bar)
        return;
    const bool inverted = index != 0;
    bar->setIsFanxuan(inverted);
    bar->setLowerValueUpperValue(bar->lowerValue(), bar->upperValue());
    if (inverted) {
        bar->setProgress(0);
        _host.trimSeek(0);
    } else {
        bar->setProgress(bar->lowerValue());
        _host.trimSeek(duration() * double(bar->lowerValue()));
    }
}

int TrimPanel::fieldIndex(const std::array<LQTextField*, 4>& fields, LQTextField* field) const {
    for (int i = 0; i < 4; ++i) {
        if (fields[size_t(i)] == field)
            return i;
    }
    return -1;
}

bool TrimPanel::controlTextShouldEndEditing(LQTextField* field) {
    const bool startRow = fieldIndex(_startFields, field) >= 0;
    const bool stopRow = fieldIndex(_stopFields, field) >= 0;
    if (!startRow && !stopRow)
        return true;
    const double s = TrimTimeRules::parseSingle(texts(_startFields));
    const double e = TrimTimeRules::parseSingle(texts(_stopFields));
    const double d = duration();
    const std::optional<QString> refusal =
        startRow ? TrimTimeRules::startRefusal(s, e) : TrimTimeRules::endRefusal(s, e, d);
    if (refusal) {
        _host.trimAlert(*refusal);
        return false;
    }
    LQCutProgressView* bar = _host.trimBar();
    if (startRow) {
        _cutTimeRange_start = s * 1000000.0;
        if (bar && d > 0)
            bar->setLowerValue(float(s / d));
    } else {
        _cutTimeRange_stop = e * 1000000.0;
        if (bar && d > 0)
            bar->setUpperValue(float(e / d));
    }
    return true;
}

void TrimPanel::bindStepper(QSpinBox* stepper, LQTextField* field) {
    const int index = std::max(fieldIndex(_startFields, field), fieldIndex(_stopFields, field));
    _bindingStepper = true;
    stepper->setRange(0, TrimTimeRules::stepperMaximum(index));
    stepper->setValue(int(field->integerValue()));
    _bindingStepper = false;
}

void TrimPanel::actionMouseDownForTextFieldBlock(LQTextField* field) {
    if (fieldIndex(_startFields, field) >= 0) {
        _edittingField = field;
        bindStepper(_startStepper, field);
    } else if (fieldIndex(_stopFields, field) >= 0) {
        _edittingField = field;
        bindStepper(_stopStepper, field);
    } else {
        return;
    }
    field->setFocus();
}

void TrimPanel::actionMouseDownForCutProgressViewBlock(LQCutProgressView* sender, float) {
    if (sender != _host.trimBar())
        return;
    if (_host.trimIsPlaying())
        _host.trimPause();
}

void TrimPanel::actionSeekToTimeForCutProgressViewBlock(LQCutProgressView* sender, float progress) {
    if (sender != _host.trimBar())
        return;
    _host.trimSeek(double(float(duration() * double(progress))));
}

void TrimPanel::actionMouseUpForCutProgressViewBlock(LQCutProgressView* sender, float progress) {
    if (sender != _host.trimBar())
        return;
    const double t = duration() * double(progress);
    if (_host.trimIsPlaying()) {
        _host.trimHoldPlayer();
        _host.trimSeek(t);
        _host.trimPlay();
    } else {
        _host.trimSeek(t);
    }
}

void TrimPanel::actionMouseMovedForCutProgressViewBlock(LQCutProgressView* sender, float lower, float upper,
                                                        long long handle) {
    if (sender != _host.trimBar())
        return;
    const TrimTimeRules::Drag drag = TrimTimeRules::drag(lower, upper, duration());
    _cutTimeRange_start = drag.startUs;
    _cutTimeRange_stop = drag.stopUs;
    if (handle == 1) {
        _host.trimSeek(drag.start);
        show(_startFields, drag.start);
    } else if (handle == 2) {
        _host.trimSeek(drag.end);
        show(_stopFields, drag.end);
    }
}
