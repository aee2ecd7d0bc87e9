#pragma once

#include <QString>
#include <QtGlobal>

#include <utility>

class SimpleData;

// The time arithmetic of the clip trim editor, shared by the joiner and the batch cutter: a time shown in four
// fields (hours, minutes, seconds, hundredths) and read back as microseconds, and a range fitted to another clip.
class ClipTimes {
public:
    struct Fields {
        int hours = 0;
        int minutes = 0;
        int seconds = 0;
        int hundredths = 0;
    };

    // A time in seconds as its four fields, in single precision; hundredths are truncated (4.35 s shows 34).
    static Fields split(float seconds);
    // "%02i" of each field.
    static QString twoDigits(long long value);

    // The integer a field's text starts with: leading blanks, a sign, digits; 0 when no digit starts it.
    static long long integerValue(const QString& text);
    // Four field texts as microseconds: (h * 3600 + m * 60 + s) + c / 100 seconds, truncated. A field is not held
    // to its unit: 75 minutes count 75 minutes.
    static qint64 sum(const QString& hours, const QString& minutes, const QString& seconds, const QString& hundredths);

    // The stepper's largest value for a field: 99 for hours and hundredths, 59 for minutes and seconds.
    enum class Unit { Hours, Minutes, Seconds, Hundredths };
    static long long stepperMaximum(Unit unit);

    // Apply to all: the selected clip's range (lower and upper fractions of its duration `selected`, seconds)
    // fitted to a clip of `duration` seconds, in microseconds. A clip shorter than the range is used whole; one
    // that ends inside the range gets a range of the same length that ends at its end.
    static std::pair<qint64, qint64> appliedRange(float selected, float lower, float upper, float duration);

    // A clip's trim range in microseconds, clamped to its file and ordered; a stop of 0 gives the whole file.
    static std::pair<qint64, qint64> clampedRange(const SimpleData& clip);

    // Seconds (float) as microseconds, truncated.
    static qint64 microseconds(double seconds) { return qint64(seconds * 1000000.0); }
};
