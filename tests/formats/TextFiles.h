#pragma once

#include <QByteArray>
#include <QString>

// Writes small text files for the profile tests.
class TextFiles {
public:
    // Writes `bytes` to `path` (folders created), returns `path`.
    static QString write(const QString& path, const QByteArray& bytes);
    // Joins lines with CR LF, each line terminated.
    static QByteArray crlf(std::initializer_list<const char*> lines);
};
