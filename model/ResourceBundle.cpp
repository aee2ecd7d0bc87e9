#include "ResourceBundle.h"
#include "SourceBundlePath.h"

#include "StringsTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

#include <optional>

namespace {

const QString kEnglish = QStringLiteral("en");
const QString kChinese = QStringLiteral("zh-Hans");

struct BundleState {
    QMutex mutex;
    QString pathOverride;
    QString languageOverride;
    std::optional<StringsTable> localTable;
    std::optional<StringsTable> englishTable;
};

BundleState& state() {
    static BundleState s;
    return s;
}

QString automaticBundlePath() {
    if (QCoreApplication::instance() != nullptr) {
        const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/Settings.bundle");
        if (QFileInfo(beside).isDir())
            return beside;
    }
#ifdef CLIPWRIGHT_SOURCE_BUNDLE
    return QStringLiteral(CLIPWRIGHT_SOURCE_BUNDLE);
#else
    return QString();
#endif
}

QString tablePath(const QString& bundle, const QString& language) {
    return bundle + QLatin1Char('/') + language + QStringLiteral(".lproj/Main.strings");
}

} // namespace

QString ResourceBundle::bundlePath() {
    {
        QMutexLocker lock(&state().mutex);
        if (!state().pathOverride.isEmpty())
            return state().pathOverride;
    }
    return automaticBundlePath();
}

QString ResourceBundle::language() {
    {
        QMutexLocker lock(&state().mutex);
        if (!state().languageOverride.isEmpty())
            return state().languageOverride;
    }
    return QLocale::system().language() == QLocale::Chinese ? kChinese : kEnglish;
}

QString ResourceBundle::pathForResource(const QString& name) {
    if (name.isEmpty())
        return QString();
    const QString path = QDir::cleanPath(bundlePath() + QLatin1Char('/') + name);
    return QFileInfo::exists(path) ? path : QString();
}

QImage ResourceBundle::imageWithfileName(const QString& name) {
    const QString path = pathForResource(name);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QImage();
    return QImage(path);
}

QString ResourceBundle::localizedStringForKey(const QString& key) {
    const QString bundle = bundlePath();
    const QString lang = language();
    QMutexLocker lock(&state().mutex);
    BundleState& s = state();
    if (!s.localTable)
        s.localTable = StringsTable::load(tablePath(bundle, lang));
    if (s.localTable->contains(key))
        return s.localTable->value(key);
    if (lang != kEnglish) {
        if (!s.englishTable)
            s.englishTable = StringsTable::load(tablePath(bundle, kEnglish));
        if (s.englishTable->contains(key))
            return s.englishTable->value(key);
    }
    return key;
}

QString ResourceBundle::localizedStringForKey(const QString& key, const QString&) {
    return localizedStringForKey(key);
}

void ResourceBundle::setBundlePath(const QString& path) {
    QMutexLocker lock(&state().mutex);
    state().pathOverride = path;
    state().localTable.reset();
    state().englishTable.reset();
}

void ResourceBundle::setLanguage(const QString& language) {
    QMutexLocker lock(&state().mutex);
    state().languageOverride = language;
    state().localTable.reset();
    state().englishTable.reset();
}
