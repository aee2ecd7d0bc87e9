#pragma once

#include <QStringView>

// The number at the start of a text, as C's strtol/strtod read it: leading white space skipped, then an optional
// sign and digits; 0 when no number starts the text. Used for the stored titles ("29.97", "128", "2(Stereo)").
class LeadingNumber {
public:
    static int integer(QStringView text);
    static double decimal(QStringView text);
};
