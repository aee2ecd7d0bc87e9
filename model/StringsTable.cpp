#include "StringsTable.h"

#include "ModelLog.h"

#include <QFile>
#include <QStringList>

namespace {

// Reads a quoted string starting at text[pos] (which must be '"'); leaves pos after the closing quote.
bool readQuoted(const QString& text, qsizetype& pos, QString* out) {
    if (pos >= text.size() || text.at(pos) != QLatin1Char('"'))
        return false;
    ++pos;
    QString result;
    while (pos < text.size()) {
        const QChar c = text.at(pos++);
        if (c == QLatin1Char('"')) {
            *out = result;
            return true;
        }
        if (c != QLatin1Char('\\')) {
            result.append(c);
            continue;
        }
        if (pos >= text.size())
            return false;
        const QChar escaped = text.at(pos++);
        if (escaped == QLatin1Char('n'))
            result.append(QLatin1Char('\n'));
        else if (escaped == QLatin1Char('t'))
            result.append(QLatin1Char('\t'));
        else if (escaped == QLatin1Char('"') || escaped == QLatin1Char('\\'))
            result.append(escaped);
        else
            return false;
    }
    return false;
}

void skipSpaces(const QString& text, qsizetype& pos) {
    while (pos < text.size() && text.at(pos).isSpace())
        ++pos;
}

// Takes the character c at pos, blanks before it skipped.
bool takeChar(const QString& text, qsizetype& pos, QLatin1Char c) {
    skipSpaces(text, pos);
    if (pos >= text.size() || text.at(pos) != c)
        return false;
    ++pos;
    return true;
}

bool parseLine(const QString& line, QString* key, QString* value) {
    qsizetype pos = 0;
    skipSpaces(line, pos);
    if (!readQuoted(line, pos, key) || !takeChar(line, pos, QLatin1Char('=')))
        return false;
    skipSpaces(line, pos);
    if (!readQuoted(line, pos, value) || !takeChar(line, pos, QLatin1Char(';')))
        return false;
    skipSpaces(line, pos);
    return pos == line.size() || line.mid(pos).startsWith(QLatin1String("//"));
}

} // namespace

StringsTable StringsTable::parse(const QString& text, QList<int>* skippedLines) {
    StringsTable table;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i).trimmed();
        if (i == 0 && line.startsWith(QChar(0xFEFF)))
            line = line.mid(1).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("//")))
            continue;
        QString key, value;
        if (parseLine(line, &key, &value)) {
            table._values.insert(key, value);
        } else if (skippedLines != nullptr) {
            skippedLines->append(i + 1);
        }
    }
    return table;
}

StringsTable StringsTable::load(const QString& path, QList<int>* skippedLines) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<int> skipped;
    StringsTable table = parse(QString::fromUtf8(file.readAll()), &skipped);
    for (int line : skipped)
        qCWarning(lcModel, "%s:%d: not a \"key\" = \"value\"; line, skipped", qPrintable(path), line);
    if (skippedLines != nullptr)
        *skippedLines = skipped;
    return table;
}
