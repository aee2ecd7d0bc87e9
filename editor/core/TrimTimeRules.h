#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The trim panel's arithmetic, apart from its widgets: how a time is shown in four fields (hours, minutes, seconds,
// hundredths), how four fields are read back, which typed values are refused and why, and what mark-in, the
// steppers and a handle drag do to the range. Times are seconds; the range is held in microseconds, a stop of 0
// meaning that no end is set.
class TrimTimeRules {
public:
    using Fields = std::array<QString, 4>; // hours, minutes, seconds, hundredths

    // Strings-table keys of the refusals.
    static const QString kStartNotBeforeEnd; // a typed start at or after the end
    static const QString kEndNotAfterStart;  // a typed end at or before the start (within the file)
    static const QString kEndBeyondFile;     // the same, with the end also past the file's end

    // The four "%02i" texts of a time: whole hours (not limited to 99), minutes, seconds, hundredths truncated.
    static Fields split(float seconds);
    // A field's number: its leading digits (after blanks and a sign), 0 when none.
    static int fieldNumber(const QString& text);
    // H x 3600 + M x 60 + S + C / 100, in double (the steppers) ...
    static double parse(const Fields& fields);
    // ... and as the validation reads it, stored in single precision.
    static float parseSingle(const Fields& fields) { return float(parse(fields)); }

    // Typed start s or end e (both from the fields) against the other end; d is the file's duration. None: taken.
    static std::optional<QString> startRefusal(double start, double end);
    static std::optional<QString> endRefusal(double start, double end, double duration);

    // Mark-in at time t of a file of duration d with the current end: the new range and handles.
    struct MarkIn {
        double startUs = 0;
        double stopUs = 0;
        float lower = 0;
        bool endReset = false; // the end went to the file's end: the end fields show d, the upper handle is 1
    };
    static MarkIn markIn(float t, double duration, double stopUs);

    // A stepper click: the range parsed from both rows, and whether the stepper's value may go into the field
    // clicked last (only when the end then lies after the start).
    struct StepperClick {
        double startUs = 0;
        double stopUs = 0;
        bool writesField = false;
    };
    static StepperClick stepperClick(const Fields& start, const Fields& end);
    // A stepper's bound for a field: 99 for hundredths, else 59 (hours as well: one step at a time).
    static int stepperMaximum(int fieldIndex) { return fieldIndex == 3 ? 99 : 59; }

    // A handle dragged to lower/upper (fractions) of duration d: the range in microseconds.
    struct Drag {
        float start = 0; // seconds
        float end = 0;
        double startUs = 0;
        double stopUs = 0;
    };
    static Drag drag(float lower, float upper, double duration);
};
