#include "ProfileReader.h"

#include <QFile>

#include <cstdio>

namespace {

QByteArray withoutBlanks(QByteArray text) {
    text.replace(' ', QByteArray());
    text.replace('\t', QByteArray());
    return text;
}

// A header is "[" + name + "]" at the very start of the line; `name` receives the text between the brackets.
bool isHeader(QByteArrayView line, QByteArrayView* name) {
    if (!line.startsWith('['))
        return false;
    const qsizetype close = line.indexOf(']');
    if (close < 0)
        return false;
    *name = line.sliced(1, close - 1);
    return true;
}

bool isComment(QByteArrayView line) {
    return line.startsWith('#') || line.startsWith("//");
}

} // namespace

QByteArray ProfileReader::readProfileValue(const QByteArray& section, const QByteArray& key, const QString& path) {
    QByteArray text;
    if (!readFile(path, &text))
        return {};
    return valueInText(text, section, key);
}

bool ProfileReader::readFile(const QString& path, QByteArray* text) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        std::fputs("have   no   such   file \n", stdout);
        std::fflush(stdout);
        text->clear();
        return false;
    }
    *text = file.readAll();
    return true;
}

QByteArray ProfileReader::valueInText(const QByteArray& text, const QByteArray& section, const QByteArray& key) {
    const QByteArray soughtKey = withoutBlanks(key);
    QByteArrayView rest(text);
    // Files saved by some editors start with a UTF-8 byte-order mark, which would hide the first header.
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);

    bool inside = false;
    while (!rest.isEmpty()) {
        const qsizetype lf = rest.indexOf('\n');
        QByteArrayView line = lf < 0 ? rest : rest.first(lf);
        rest = lf < 0 ? QByteArrayView() : rest.sliced(lf + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > kLineLimit)
            continue;

        QByteArrayView name;
        if (isHeader(line, &name)) {
            inside = name == QByteArrayView(section);
            continue;
        }
        if (!inside || isComment(line))
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0 || equals > kKeyLimit)
            continue;
        // The key part matches by its blank-free form, and the key itself must stand in the line unbroken.
        if (withoutBlanks(line.first(equals).toByteArray()) == soughtKey && line.contains(QByteArrayView(key)))
            return line.sliced(equals + 1).toByteArray();
    }
    return {};
}
