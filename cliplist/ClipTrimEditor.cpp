#include "ClipTrimEditor.h"

#include "ArrowStepper.h"
#include "ClipPreviewBar.h"
#include "ClipTimes.h"
#include "ControlFont.h"
#include "HelpClass.h"
#include "LQCutProgressView.h"
#include "LQTextField.h"
#include "ResourceBundle.h"
#include "ShownTime.h"
#include "SimpleData.h"
#include "ViewFrame.h"

#include <QLabel>

namespace {

QLabel* makeText(QWidget* parent, const ViewRect& frame, const QString& text, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    ViewFrame::setFrame(label, frame);
    label->setFont(ControlFont::system(11));
    label->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setText(text);
    return label;
}

} // namespace

ClipTrimEditor::ClipTrimEditor(Variant variant, ClipSelection clips, ClipPreviewBar& bar,
                               LQCutProgressView* cutProgressView, QWidget* host, QObject* parent)
    : QObject(parent), _variant(variant), _clips(std::move(clips)), _bar(bar), _cutProgressView(cutProgressView) {
    const ViewRect back = ViewFrame::frame(host);
    const double w = back.width;
    const double h = back.height;
    const double textHeight = variant == Variant::Joiner ? 16 : 12;
    const QString localized[] = {ResourceBundle::localizedStringForKey(QStringLiteral("StartFieldLabelstringValue")),
                                 ResourceBundle::localizedStringForKey(QStringLiteral("stopFieldLabelstringValue"))};
    makeText(host, {0, (h - textHeight) / 2, 40, textHeight}, localized[0], Qt::AlignLeft);
    makeText(host, {w - 195, (h - textHeight) / 2, 40, textHeight}, localized[1], Qt::AlignLeft);

    auto box = [&](double x, Group& group) {
        auto* frame = new QLabel(host);
        ViewFrame::setFrame(frame, {x, (h - 26) / 2, 151, 26});
        frame->setPixmap(
            QPixmap::fromImage(ResourceBundle::imageWithfileName(QStringLiteral("Resources/trim_textfield.png")))
                .scaled(151, 26));
        const double y = (26 - textHeight) / 2;
        for (double sx : {30.0, 65.0, 100.0})
            makeText(frame, {sx, y, 10, textHeight}, QStringLiteral(":"), Qt::AlignHCenter);
        const double xs[] = {5, 35, 70, 105};
        for (size_t i = 0; i < 4; ++i) {
            auto* field = new LQTextField(ViewRect{xs[i], y, 30, textHeight}, frame);
            field->setStringValue(QStringLiteral("00"));
            field->setAlignment(Qt::AlignCenter);
            field->setFont(ControlFont::system(11));
            field->setFrame(false);
            field->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
            field->setDelegate(this);
            field->setMouseDelegate(this);
            group[i] = field;
        }
        auto* stepper = new ArrowStepper(ViewRect{131, 0, 20, 26}, frame);
        stepper->setToolTip(ResourceBundle::localizedStringForKey(QStringLiteral("clipStepperTooltip")));
        return stepper;
    };
    _startStepper = box(40, _start);
    _stopStepper = box(w - 155, _stop);
    _startStepper->setAction([this](ArrowStepper* s) { touchUpStartStepper(s); });
    _stopStepper->setAction([this](ArrowStepper* s) { touchUpStopStepper(s); });

    makeText(host, {211, (h - textHeight) / 2, 64, textHeight},
             ResourceBundle::localizedStringForKey(QStringLiteral("cutDurationLabelstringValue")), Qt::AlignHCenter);
    _cutDurationValueLabel =
        makeText(host, {277, (h - textHeight) / 2, 80, textHeight}, QStringLiteral("00:00:00"), Qt::AlignLeft);
    _cutProgressView->setDelegate(this);
}

ClipTrimEditor::~ClipTrimEditor() {
    if (_cutProgressView && _cutProgressView->delegate() == this)
        _cutProgressView->setDelegate(nullptr);
}

// ---- Showing ----

void ClipTrimEditor::fill(const Group& group, float seconds) {
    const ClipTimes::Fields f = ClipTimes::split(seconds);
    group[0]->setStringValue(ClipTimes::twoDigits(f.hours));
    group[1]->setStringValue(ClipTimes::twoDigits(f.minutes));
    group[2]->setStringValue(ClipTimes::twoDigits(f.seconds));
    group[3]->setStringValue(ClipTimes::twoDigits(f.hundredths));
}

void ClipTrimEditor::fillStart(float seconds) {
    fill(_start, seconds);
}

void ClipTrimEditor::fillStop(float seconds) {
    fill(_stop, seconds);
}

qint64 ClipTrimEditor::sumOf(const Group& g) const {
    return ClipTimes::sum(g[0]->stringValue(), g[1]->stringValue(), g[2]->stringValue(), g[3]->stringValue());
}

void ClipTrimEditor::showRangeLength() {
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    // The difference of the two ends as their fields show them, so 15.00 to 19.00 reads 4.00.
    _cutDurationValueLabel->setText(clip ? ShownTime::durationText(double(clip->cutTimeRange_start()) / 1000000.0,
                                                                   double(clip->cutTimeRange_stop()) / 1000000.0)
                                         : ShownTime::text(0));
}

void ClipTrimEditor::showRange(float startSeconds, float stopSeconds) {
    fillStart(startSeconds);
    fillStop(stopSeconds);
    showRangeLength();
}

void ClipTrimEditor::resetDisplay() {
    for (const Group* g : {&_start, &_stop})
        for (LQTextField* field : *g)
            field->setStringValue(ClipTimes::twoDigits(0));
    _cutDurationValueLabel->setText(HelpClass::returnTimeToStr(0));
}

void ClipTrimEditor::setFieldsEnabled(bool enabled) {
    for (const Group* g : {&_start, &_stop})
        for (LQTextField* field : *g)
            field->setEnabled(enabled);
}

// ---- Fields and steppers ----

int ClipTrimEditor::unitOf(const Group& group, const LQTextField* field) {
    for (int i = 0; i < 4; ++i)
        if (group[size_t(i)] == field)
            return i;
    return -1;
}

void ClipTrimEditor::actionMouseDownForTextFieldBlock(LQTextField* field) {
    const bool inStart = unitOf(_start, field) >= 0;
    const int unit = inStart ? unitOf(_start, field) : unitOf(_stop, field);
    if (unit < 0)
        return;
    _edittingField = field;
    ArrowStepper* stepper = inStart ? _startStepper : _stopStepper;
    stepper->setMaxValue(ClipTimes::stepperMaximum(ClipTimes::Unit(unit)));
    stepper->setIntegerValue(field->integerValue());
}

bool ClipTrimEditor::controlTextShouldEndEditing(LQTextField* field) {
    const bool inStart = unitOf(_start, field) >= 0;
    if (!inStart && unitOf(_stop, field) < 0)
        return true;
    // A typed value keeps its size (75 minutes stay 75); the stepper shows it within its range.
    _edittingField = field;
    const long long value = ClipTimes::integerValue(field->stringValue());
    (inStart ? _startStepper : _stopStepper)->setIntegerValue(value);
    stepped(inStart, value);
    return true;
}

void ClipTrimEditor::touchUpStartStepper(ArrowStepper* stepper) {
    stepped(true, stepper->integerValue());
}

void ClipTrimEditor::touchUpStopStepper(ArrowStepper* stepper) {
    stepped(false, stepper->integerValue());
}

void ClipTrimEditor::stepped(bool startGroup, long long value) {
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    if (_clips.isEmpty() || !clip)
        return;
    clip->setCutTimeRange_start(sumOf(_start));
    clip->setCutTimeRange_stop(sumOf(_stop));
    if (clip->cutTimeRange_start() < clip->cutTimeRange_stop()) {
        // A stepper writes into the last clicked field of its own group only.
        const Group& own = startGroup ? _start : _stop;
        if (_edittingField && unitOf(own, _edittingField) >= 0)
            _edittingField->setStringValue(ClipTimes::twoDigits(value));
        if (startGroup)
            clip->setCutTimeRange_start(sumOf(_start));
        else
            clip->setCutTimeRange_stop(sumOf(_stop));
    }
    const double total = double(clip->sourceData()->duration()) * 1000000.0;
    const float lower = total > 0 ? float(double(clip->cutTimeRange_start()) / total) : 0.0f;
    const float upper = total > 0 ? float(double(clip->cutTimeRange_stop()) / total) : 1.0f;
    const float start = float(double(clip->cutTimeRange_start()) / 1000000.0);
    _bar.seekTo(start);
    const double d = _bar.duration();
    _cutProgressView->setProgress(d > 0 ? float(start / d) : 0.0f);
    _cutProgressView->setLowerValueUpperValue(lower, upper);
    showRangeLength();
    _clips.refeed();
}

// ---- From the playhead ----

void ClipTrimEditor::setStartTrimBtnTouchUp() {
    changeCureentTime(float(_bar.currentTime()));
}

void ClipTrimEditor::changeCureentTime(float t) {
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    if (!clip)
        return;
    const float d = float(_bar.duration());
    const float fraction = d > 0 ? t / d : 0.0f;
    fillStart(t);
    clip->setCutTimeRange_start(ClipTimes::microseconds(double(t)));
    if (clip->cutTimeRange_start() > clip->cutTimeRange_stop() && clip->cutTimeRange_stop() != 0) {
        _cutProgressView->setLowerValueUpperValue(fraction, 1.0f);
        fillStop(d);
        clip->setCutTimeRange_stop(ClipTimes::microseconds(double(d)));
    } else {
        _cutProgressView->setLowerValue(fraction);
    }
    _cutProgressView->setProgress(fraction);
    showRangeLength();
    _clips.refeed();
}

void ClipTrimEditor::setStopTrimBtnTouchUp() {
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    if (!clip)
        return;
    const float t = float(_bar.currentTime());
    const float d = float(_bar.duration());
    const float fraction = d > 0 ? t / d : 0.0f;
    if (float(double(clip->cutTimeRange_start()) / 1000000.0) > t) {
        clip->setCutTimeRange_start(0);
        _cutProgressView->setLowerValue(0);
        for (LQTextField* field : _start)
            field->setStringValue(ClipTimes::twoDigits(0));
    }
    _cutProgressView->setUpperValue(fraction);
    fillStop(t);
    clip->setCutTimeRange_stop(ClipTimes::microseconds(double(t)));
    if (_variant == Variant::BatchCutter)
        _cutProgressView->setProgress(fraction);
    showRangeLength();
    _clips.refeed();
}

// ---- The trim range slider ----

void ClipTrimEditor::actionMouseDownForCutProgressViewBlock(LQCutProgressView* bar, float) {
    if (bar != _cutProgressView)
        return;
    if (_bar.isPlaying())
        _bar.pause();
}

void ClipTrimEditor::actionSeekToTimeForCutProgressViewBlock(LQCutProgressView* bar, float progress) {
    if (bar != _cutProgressView)
        return;
    _bar.seekTo(_bar.duration() * double(progress));
}

void ClipTrimEditor::actionMouseMovedForCutProgressViewBlock(LQCutProgressView* bar, float lower, float upper,
                                                             long long handle) {
    const std::shared_ptr<SimpleData> clip = _clips.selectedClip();
    if (bar != _cutProgressView || !clip)
        return;
    const float d = float(_bar.duration());
    const float s = lower * d;
    const float e = upper * d;
    clip->setCutTimeRange_start(ClipTimes::microseconds(double(s)));
    clip->setCutTimeRange_stop(ClipTimes::microseconds(double(e)));
    if (handle == 1) {
        _bar.seekTo(s);
        fillStart(s);
    } else if (handle == 2) {
        _bar.seekTo(e);
        fillStop(e);
    }
    showRangeLength();
}

void ClipTrimEditor::actionMouseUpForCutProgressViewBlock(LQCutProgressView* bar, float progress) {
    if (bar != _cutProgressView)
        return;
    const double at = _bar.duration() * double(progress);
    if (_bar.isPlaying()) {
        _bar.pause();
        _bar.seekTo(at);
        _bar.play();
    } else {
        _bar.seekTo(at);
    }
    if (!_clips.isEmpty())
        _clips.refeed();
}
