// The splitter window's plan: the mode radios, the Split button, the step pop-ups with their custom prompt, the
// count field and stepper, and the manual points.
#include "SplitWindowController.h"

#include "CountStepper.h"
#include "HelpClass.h"
#include "LQMoviePlayer.h"
#include "MOQButton.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "SplitPlan.h"
#include "SplitProgressView.h"
#include "SplitValuePrompt.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>

namespace {

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

// The count field's number as a float ("4.5" -> 4.5; 0 when it holds none).
float fieldValue(const QLineEdit* field) {
    bool ok = false;
    const float value = field->text().trimmed().toFloat(&ok);
    return ok ? value : 0.0f;
}

} // namespace

void SplitWindowController::refuse(SplitPlan::Refusal refusal) {
    showSimpleAlert(SplitPlan::refusalMessage(refusal), 2);
}

// ---- Modes ----

void SplitWindowController::applyMode(QRadioButton* chosen) {
    // A radio stays on when pressed again.
    chosen->setChecked(true);
    const bool on = true;
    for (QRadioButton* r : {_split_timeBtn, _split_sizeBtn, _split_averageBtn, _split_manuallyBtn})
        if (r != chosen)
            r->setChecked(!on);
    _split_timepopBtn->setEnabled(chosen == _split_timeBtn);
    _split_sizepopBtn->setEnabled(chosen == _split_sizeBtn);
    _averageTextField->setEnabled(chosen == _split_averageBtn);
    _averagestepper->setEnabled(chosen == _split_averageBtn);
    const bool manual = chosen == _split_manuallyBtn;
    for (MOQButton* b : {_splitItemBtn, _leftMoveBtn, _rightMoveBtn, _deletedItemBtn})
        b->setHidden(!manual);
    _manualHintLabel->setHidden(!manual);
    _sizeHintLabel->setHidden(chosen != _split_sizeBtn);
    if (manual) {
        _splitBtn->setHidden(true);
        _splitBtn->setEnabled(false);
    } else {
        _splitBtn->setHidden(false);
        _splitBtn->setEnabled(_lqPlayer != nullptr);
    }
    _playerSlider->removeAllSplitItem();
}

void SplitWindowController::limiteachTimeSegmentAction() {
    applyMode(_split_timeBtn);
}

void SplitWindowController::limiteachFilesizeSegmentAction() {
    applyMode(_split_sizeBtn);
}

void SplitWindowController::limiteachAverageSegmentAction() {
    applyMode(_split_averageBtn);
    _averagestepper->setIntegerValue((long long)(fieldValue(_averageTextField)));
}

void SplitWindowController::limiteachManuallySegmentAction() {
    _splitBtn->setHidden(true);
    // A second press of the manual radio keeps the points placed so far.
    if (!_split_timeBtn->isChecked() && !_split_sizeBtn->isChecked() && !_split_averageBtn->isChecked()) {
        _split_manuallyBtn->setChecked(true);
        return;
    }
    applyMode(_split_manuallyBtn);
}

// ---- Split button ----

float SplitWindowController::sizeTotal() const {
    // The probe's decimal megabytes back to bytes, then in the unit the export's limit uses.
    return _fileData ? SplitPlan::sizeTotal(double(_fileData->sourceData()->fileSize()) * 1000000.0) : 0.0f;
}

void SplitWindowController::splitAction() {
    SplitPlan::Result result;
    if (_split_timeBtn->isChecked()) {
        result = SplitPlan::byStep(SplitPlan::stepFromTitle(_split_timepopBtn->currentText()), float(duration()));
    } else if (_split_sizeBtn->isChecked()) {
        result = SplitPlan::byStep(SplitPlan::stepFromTitle(_split_sizepopBtn->currentText()), sizeTotal());
    } else if (_split_averageBtn->isChecked()) {
        result = SplitPlan::equalParts(fieldValue(_averageTextField));
    } else {
        return;
    }
    applyPlan(result);
}

void SplitWindowController::applyPlan(const SplitPlan::Result& result) {
    if (!result.ok()) {
        // The plan on the timeline stays as it was.
        refuse(result.refusal);
        return;
    }
    _playerSlider->removeAllSplitItem();
    for (float point : result.points)
        _playerSlider->addSplitItemTime(point);
}

// ---- Step pop-ups ----

void SplitWindowController::split_timepopAction() {
    popUpAction(_split_timepopBtn, QStringLiteral("split_timepopTitleStringValue"));
}

void SplitWindowController::split_sizepopAction() {
    popUpAction(_split_sizepopBtn, QStringLiteral("请输入分割片段大小(单位MB)"));
}

void SplitWindowController::popUpAction(QComboBox* popUp, const QString& promptKey) {
    const int last = popUp->count() - 1;
    if (popUp->currentIndex() != last) {
        popUp->setProperty("lastStep", popUp->currentIndex());
        return; // a step chosen: it takes effect at the next Split
    }
    const QString unit =
        localized(popUp == _split_timepopBtn ? QStringLiteral("SecsValue") : QStringLiteral("MBValue"));
    const QString custom = localized(QStringLiteral("CustomStringValue"));
    // Whatever the answer, the pop-up never rests on the custom item: back to the step chosen before.
    const int previous = popUp->property("lastStep").isValid() ? popUp->property("lastStep").toInt() : 0;
    popUp->setCurrentIndex(std::min(previous, last - 1));
    const std::optional<QString> answer = SplitValuePrompt::run(localized(promptKey), QString(), window());
    if (!answer)
        return;
    // Only a plain positive number makes a step (the title reader would turn "-2" into 2 and "x" into 0).
    bool numeric = false;
    const float step = answer->trimmed().toFloat(&numeric);
    if (!numeric || !(step > 0) || !std::isfinite(step)) {
        refuse(SplitPlan::Refusal::StepNotPositive);
        return;
    }
    const QString title = answer->trimmed() + unit;
    int index = popUp->findText(title);
    if (index < 0) {
        // New values go just before the custom item, which stays last.
        popUp->removeItem(popUp->findText(custom));
        popUp->addItem(title);
        popUp->addItem(custom);
        index = popUp->findText(title);
    }
    popUp->setCurrentIndex(index);
    popUp->setProperty("lastStep", index);
}

// ---- Count field and stepper ----

void SplitWindowController::controlTextDidChange() {
    qCInfo(lcShell).noquote() << QStringLiteral("obj:%1").arg(_averageTextField->objectName());
    _playerSlider->removeAllSplitItem();
    _averagestepper->setIntegerValue((long long)(fieldValue(_averageTextField)));
}

void SplitWindowController::averagesplitStepperAction() {
    _playerSlider->removeAllSplitItem();
    _averageTextField->setText(QString::number(_averagestepper->integerValue()));
    _averagestepper->setIntegerValue((long long)(fieldValue(_averageTextField)));
}

// ---- Manual points ----

void SplitWindowController::addSplitPointAction() {
    const float point = _playerSlider->beginProgress();
    const qint64 durationUs = qint64(std::llround(duration() * 1000000.0));
    const SplitPlan::Refusal refusal = SplitPlan::checkManualPoint(point, _playerSlider->splitValues(), durationUs);
    if (refusal != SplitPlan::Refusal::None) {
        refuse(refusal);
        return;
    }
    _playerSlider->addSplitItemTime(point);
    _splitTimeLabel->setText(HelpClass::returnTimeToStr(float(double(point) * duration())));
}

void SplitWindowController::previousPointAction() {
    _playerSlider->setSelectedSplitIndex(std::max<qint64>(0, _playerSlider->selectedSplitIndex() - 1));
    showSelectedPoint();
}

void SplitWindowController::nextPointAction() {
    _playerSlider->setSelectedSplitIndex(_playerSlider->selectedSplitIndex() + 1);
    showSelectedPoint();
}

void SplitWindowController::showSelectedPoint() {
    const qint64 index = _playerSlider->selectedSplitIndex();
    if (quint64(index) >= quint64(_playerSlider->splitCount()))
        return;
    const float f = _playerSlider->getProgressForIndex(index);
    seekToFraction(f);
    _splitTimeLabel->setText(HelpClass::returnTimeToStr(float(duration() * double(f))));
}

void SplitWindowController::deletePointAction() {
    _playerSlider->removeSplitItemTAtIndex(_playerSlider->selectedSplitIndex());
}
