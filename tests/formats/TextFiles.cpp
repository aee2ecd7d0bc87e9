#include "TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

QString TextFiles::write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
    return path;
}

QByteArray TextFiles::crlf(std::initializer_list<const char*> lines) {
    QByteArray text;
    for (const char* line : lines)
        text += QByteArray(line) + "\r\n";
    return text;
}
