#pragma once

#include <QImage>
#include <QString>

// The road to the program's resources in "Settings.bundle": images by relative name ("Main/btnCrop_Normal.bmp")
// and interface texts by key from the strings table "Main".
//
// The bundle is the folder Settings.bundle beside the executable, else the source tree's (for running from a
// build folder). Texts come from <bundle>/<language>.lproj/Main.strings, where the language is "zh-Hans" for a
// Chinese system locale and "en" otherwise; a key missing there is looked up in the English table, and a key
// missing from both gives the key itself. See StringsTable for the file format.
//
// Tables are loaded once and kept; main thread or not, lookups are safe.
class ResourceBundle {
public:
    // The image, or a null QImage when the file is absent or unreadable.
    static QImage imageWithfileName(const QString& name);
    // The absolute path of a resource, or an empty string when it does not exist.
    static QString pathForResource(const QString& name);
    static QString localizedStringForKey(const QString& key);
    static QString localizedStringForKey(const QString& key, const QString& ignoredValue);

    static QString bundlePath();
    static QString language();

    // For tests: use another bundle folder or language ("en", "zh-Hans"); empty restores the automatic choice.
    // Both drop the loaded tables.
    static void setBundlePath(const QString& path);
    static void setLanguage(const QString& language);
};
