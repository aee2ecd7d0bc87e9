#include "StandardFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString& testRoot() {
    static QString root;
    return root;
}

QString folder(QStandardPaths::StandardLocation location, const char* testName) {
    if (!testRoot().isEmpty())
        return QDir::cleanPath(testRoot() + QLatin1Char('/') + QLatin1String(testName));
    QString path = QStandardPaths::writableLocation(location);
    if (path.isEmpty())
        path = QDir::homePath() + QLatin1Char('/') + QLatin1String(testName);
    return QDir::cleanPath(path);
}

} // namespace

QString StandardFolders::movies() {
    return folder(QStandardPaths::MoviesLocation, "Movies");
}

QString StandardFolders::documents() {
    return folder(QStandardPaths::DocumentsLocation, "Documents");
}

QString StandardFolders::desktop() {
    return folder(QStandardPaths::DesktopLocation, "Desktop");
}

void StandardFolders::setTestRoot(const QString& root) {
    testRoot() = root;
}
