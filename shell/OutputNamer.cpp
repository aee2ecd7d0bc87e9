#include "OutputNamer.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString joined(const QString& folder, const QString& name, const QString& extension) {
    QString path = folder + QLatin1Char('/') + name;
    if (!extension.isEmpty())
        path += QLatin1Char('.') + extension;
    return path;
}

// QFileInfo::exists follows links; a dangling link still takes the name.
bool taken(const QString& path) {
    QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString OutputNamer::uniquePath(const QString& folder, const QString& baseName, const QString& extension) {
    QString path = joined(folder, baseName, extension);
    for (qint64 counter = 2; taken(path); ++counter)
        path = joined(folder, QStringLiteral("%1(%2)").arg(baseName).arg(counter), extension);
    return path;
}

QString OutputNamer::numberedPath(const QString& folder, const QString& baseName, const QString& extension) {
    QString path;
    qint64 counter = 1;
    do {
        path = joined(folder, baseName + QString::number(counter), extension);
        ++counter;
    } while (taken(path));
    return path;
}

bool OutputNamer::ensureFolder(const QString& folder) {
    if (folder.isEmpty())
        return false;
    QFileInfo info(folder);
    if (info.isDir())
        return true;
    return QDir().mkpath(folder);
}
