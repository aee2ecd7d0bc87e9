#pragma once

#include <QString>

// A time as the windows show it and as their four time fields (hours, minutes, seconds, hundredths) hold it.
// Every window that shows hundredths goes through here, so a time typed as 15.00 and one computed as 14.99999
// (single precision, or a fraction of a duration multiplied back) show the same, and a duration shown is the
// difference of the two ends shown (15.00 to 19.00 is 4.00, never 3.99).
class ShownTime {
public:
    struct Parts {
        long long hours = 0;
        long long minutes = 0;
        long long seconds = 0;
        long long hundredths = 0;
    };

    // Whole hundredths of a second: truncated, except that a time less than half a millisecond short of the next
    // hundredth counts as it. Negative or non-finite times are 0.
    static long long hundredths(double seconds);
    static Parts split(double seconds);
    // "HH:MM:SS.CC", each part at least two digits.
    static QString text(double seconds);
    // The length from `start` to `end` as shown: the difference of the two ends' hundredths (0 when end < start).
    static QString durationText(double start, double end);
};
