// libFuzzer target: the profile reader on any bytes, looked up with keys taken from the input itself.
#include "ProfileReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The first line names a section and a key to look up in the rest, so the fuzzer reaches real matches.
    const qsizetype newline = text.indexOf('\n');
    const QByteArray query = newline >= 0 ? text.left(newline) : QByteArray();
    const qsizetype space = query.indexOf(' ');
    const QByteArray section = space >= 0 ? query.left(space) : query;
    const QByteArray key = space >= 0 ? query.mid(space + 1) : QByteArray("Vcodec");
    ProfileReader::valueInText(text, section, key);
    ProfileReader::valueInText(text, "Video", "Vcodec");
    return 0;
}
