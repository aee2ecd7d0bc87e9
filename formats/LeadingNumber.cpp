#include "LeadingNumber.h"

#include <QString>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The longest prefix (after white space) made of a sign, digits and, for decimals, one point with digits.
QStringView numberPrefix(QStringView text, bool withFraction) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        ++i;
    while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9')
        ++i;
    if (withFraction && i < text.size() && text.at(i) == u'.') {
        ++i;
        while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9')
            ++i;
    }
    return text.sliced(start, i - start);
}

} // namespace

int LeadingNumber::integer(QStringView text) {
    bool ok = false;
    const qlonglong value = numberPrefix(text, false).toLongLong(&ok);
    if (!ok) {
        // Digits beyond the range of a long long: saturate like strtol.
        const QStringView digits = numberPrefix(text, false);
        if (digits.size() > 1 || (digits.size() == 1 && digits.at(0).isDigit()))
            return digits.startsWith(u'-') ? INT_MIN : INT_MAX;
        return 0;
    }
    return static_cast<int>(std::clamp<qlonglong>(value, INT_MIN, INT_MAX));
}

double LeadingNumber::decimal(QStringView text) {
    bool ok = false;
    const double value = numberPrefix(text, true).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}
