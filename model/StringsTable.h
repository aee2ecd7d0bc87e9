#pragma once

#include <QHash>
#include <QList>
#include <QString>

// A strings table such as Settings.bundle/en.lproj/Main.strings. The format, one entry per line:
//
//     // a comment line
//     "key" = "value";            // an optional comment after the entry
//
// Keys and values are double-quoted UTF-8 text; inside them \" is a quote, \\ a backslash, \n a line break and
// \t a tab. Blank lines and lines starting with // are ignored. A line that does not have this form is skipped
// (and reported through skippedLines); the rest of the table is kept. A later entry for the same key wins.
class StringsTable {
public:
    static StringsTable parse(const QString& text, QList<int>* skippedLines = nullptr);
    // An unreadable file gives an empty table.
    static StringsTable load(const QString& path, QList<int>* skippedLines = nullptr);

    bool contains(const QString& key) const { return _values.contains(key); }
    QString value(const QString& key) const { return _values.value(key); } // null when missing
    int size() const { return int(_values.size()); }
    bool isEmpty() const { return _values.isEmpty(); }

private:
    QHash<QString, QString> _values;
};
