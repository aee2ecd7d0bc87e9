#include "TrimTimeRules.h"

#include "LeadingNumber.h"

#include <cmath>

const QString TrimTimeRules::kStartNotBeforeEnd = QStringLiteral("TrimStartNotBeforeEndMessage");
const QString TrimTimeRules::kEndNotAfterStart = QStringLiteral("TrimEndNotAfterStartMessage");
const QString TrimTimeRules::kEndBeyondFile = QStringLiteral("TrimEndBeyondFileMessage");

namespace {

QString twoDigits(int value) {
    return QString::asprintf("%02i", value);
}

} // namespace

TrimTimeRules::Fields TrimTimeRules::split(float seconds) {
    const float whole = std::floor(seconds);
    const int hours = int(whole) / 3600;
    const int minutes = int(std::floor(seconds - float(hours * 3600))) / 60;
    const int secs = int(std::floor(seconds - float(hours * 3600) - float(minutes * 60)));
    const int hundredths = int((seconds - whole) * 100);
    return {twoDigits(hours), twoDigits(minutes), twoDigits(secs), twoDigits(hundredths)};
}

int TrimTimeRules::fieldNumber(const QString& text) {
    return LeadingNumber::integer(text);
}

double TrimTimeRules::parse(const Fields& fields) {
    return double(fieldNumber(fields[0])) * 3600 + double(fieldNumber(fields[1])) * 60 + double(fieldNumber(fields[2])) +
           double(fieldNumber(fields[3])) / 100.0;
}

std::optional<QString> TrimTimeRules::startRefusal(double start, double end) {
    if (end > start)
        return std::nullopt;
    return kStartNotBeforeEnd;
}

std::optional<QString> TrimTimeRules::endRefusal(double start, double end, double duration) {
    if (end > start)
        return std::nullopt;
    return end > duration ? kEndBeyondFile : kEndNotAfterStart;
}

TrimTimeRules::MarkIn TrimTimeRules::markIn(float t, double duration, double stopUs) {
    MarkIn result;
    result.startUs = double(t) * 1000000.0;
    result.stopUs = stopUs;
    result.lower = t / float(duration);
    if (result.startUs > stopUs && stopUs != 0) {
        result.endReset = true;
        result.stopUs = double(float(duration)) * 1000000.0;
    }
    return result;
}

TrimTimeRules::StepperClick TrimTimeRules::stepperClick(const Fields& start, const Fields& end) {
    StepperClick click;
    click.startUs = parse(start) * 1000000.0;
    click.stopUs = parse(end) * 1000000.0;
    click.writesField = click.stopUs > click.startUs;
    return click;
}

TrimTimeRules::Drag TrimTimeRules::drag(float lower, float upper, double duration) {
    const float d = float(duration);
    Drag result;
    result.start = lower * d;
    result.end = upper * d;
    result.startUs = double(result.start) * 1000000.0;
    result.stopUs = double(result.end) * 1000000.0;
    return result;
}
