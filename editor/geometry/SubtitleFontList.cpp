#include "SubtitleFontList.h"

#include <QFileInfo>
#include <QSet>

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace {

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

QStringList SubtitleFontList::fontFiles(const QStringList& paths) {
    QStringList fonts;
    QSet<QString> seen;
    for (const QString& path : paths) {
        const QString name = fileName(path);
        const QString extension = QFileInfo(name).suffix().toLower();
        if (name.isEmpty() || (extension != "ttf" && extension != "ttc") || seen.contains(path))
            continue;
        seen.insert(path);
        fonts.append(path);
    }
    return fonts;
}

QStringList SubtitleFontList::systemFontFiles() {
    QStringList paths;
    if (!FcInit())
        return paths;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch && file)
                paths.append(QString::fromUtf8(reinterpret_cast<const char*>(file)));
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    QStringList fonts = fontFiles(paths);
    std::sort(fonts.begin(), fonts.end(), [](const QString& a, const QString& b) {
        const int byName = QString::compare(fileName(a), fileName(b), Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : a < b;
    });
    return fonts;
}

int SubtitleFontList::defaultIndex(const QStringList& fonts, const QString& systemDefault) {
    for (qsizetype i = 0; i < fonts.size(); ++i)
        if (fileName(fonts[i]).startsWith("Songti"))
            return static_cast<int>(i);
    for (qsizetype i = 0; i < fonts.size(); ++i)
        if (fileName(fonts[i]).toLower() == "arial.ttf")
            return static_cast<int>(i);
    if (const qsizetype i = fonts.indexOf(systemDefault); !systemDefault.isEmpty() && i >= 0)
        return static_cast<int>(i);
    return fonts.isEmpty() ? -1 : 0;
}

QString SubtitleFontList::fallbackFontFile() {
    if (!FcInit())
        return {};
    QString path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
            path = QString::fromUtf8(reinterpret_cast<const char*>(file));
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return path;
}
