// libFuzzer target: the strings table parser on any text.
#include "StringsTable.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QList<int> skipped;
    const StringsTable table = StringsTable::parse(text, &skipped);
    table.value(QStringLiteral("Crop_Title"));
    return 0;
}
