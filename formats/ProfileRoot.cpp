#include "ProfileRoot.h"

#include "LeadingNumber.h"
#include "ProfileReader.h"
#include "ProfileValueParser.h"
#include "ResourceBundle.h"
#include "StringsTable.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>

#include <algorithm>

const QString ProfileRoot::kCustomCategory = QStringLiteral("Custom");
const QString ProfileRoot::kAudioCategory = QStringLiteral("Audio");
const QString ProfileRoot::kDefaultProfile = QStringLiteral("Video/mkv(HEVC).pf");

namespace {

const QByteArray kCategorySection = QByteArrayLiteral("frmFormat");

QString existingFile(const QString& path) {
    return QFileInfo(path).isFile() ? path : QString();
}

} // namespace

ProfileRoot::ProfileRoot(QString rootDirectory, QString customDirectory, QStringList keepOriginalNames)
    : _rootDirectory(std::move(rootDirectory)), _customDirectory(std::move(customDirectory)),
      _keepOriginalNames(std::move(keepOriginalNames)) {}

QStringList ProfileRoot::getFunctionList() const {
    QStringList categories;
    QByteArray text;
    if (!ProfileReader::readFile(QDir(_rootDirectory).filePath(QStringLiteral("pf.dat")), &text))
        return categories;
    const int count =
        std::min(LeadingNumber::integer(QString::fromUtf8(ProfileReader::valueInText(text, kCategorySection, "Count"))),
                 kMaxCategories);
    for (int n = 1; n <= count; ++n) {
        const QByteArray key = QByteArrayLiteral("Type") + QByteArray::number(n);
        const QString value = QString::fromUtf8(ProfileReader::valueInText(text, kCategorySection, key));
        // A missing or blank name would name the root itself as a category folder: it is left out.
        const QString name = ProfileValueParser::trimBlanks(value);
        if (!name.isEmpty())
            categories.append(name);
    }
    return categories;
}

bool ProfileRoot::customFolderHasProfiles() const {
    if (_customDirectory.isEmpty())
        return false;
    const QFileInfoList entries = QDir(_customDirectory).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    return std::any_of(entries.cbegin(), entries.cend(), [](const QFileInfo& entry) {
        return entry.suffix() == QLatin1String("pf") && !entry.completeBaseName().isEmpty();
    });
}

QStringList ProfileRoot::categoryList() const {
    QStringList categories = getFunctionList();
    if (customFolderHasProfiles())
        categories.prepend(kCustomCategory);
    return categories;
}

QString ProfileRoot::categoryFolder(const QString& category) const {
    if (category == kCustomCategory)
        return _customDirectory;
    if (category.isEmpty() || _rootDirectory.isEmpty())
        return QString();
    return QDir(_rootDirectory).filePath(category);
}

QStringList ProfileRoot::getFunctionItemChildList(const QString& category) const {
    QStringList names;
    const QString folder = categoryFolder(category);
    if (folder.isEmpty())
        return names;
    // Sorted by name so that a profile keeps its position (which the browser stores) from one run to the next.
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    bool keepOriginal = false;
    for (const QFileInfo& entry : entries) {
        if (entry.suffix() != QLatin1String("pf"))
            continue;
        const QString name = entry.completeBaseName();
        if (name.isEmpty())
            continue;
        if (isKeepOriginal(name) && !keepOriginal) {
            names.prepend(name);
            keepOriginal = true;
        } else {
            names.append(name);
        }
    }
    return names;
}

QString ProfileRoot::profilePath(const QString& category, const QString& name) const {
    const QString folder = categoryFolder(category);
    if (folder.isEmpty() || name.isEmpty())
        return QString();
    return existingFile(QDir(folder).filePath(name + QStringLiteral(".pf")));
}

QString ProfileRoot::iconPath(const QString& category, const QString& name) const {
    const QString folder = categoryFolder(category);
    if (folder.isEmpty() || name.isEmpty())
        return QString();
    return existingFile(QDir(folder).filePath(name + QStringLiteral(".png")));
}

QString ProfileRoot::defaultProfilePath() const {
    if (_rootDirectory.isEmpty())
        return QString();
    return existingFile(QDir(_rootDirectory).filePath(kDefaultProfile));
}

ProfileRoot ProfileRoot::forWindow(bool joiner) {
    const QString root =
        ResourceBundle::pathForResource(joiner ? QStringLiteral("pf_join") : QStringLiteral("functionFolder"));
    return ProfileRoot(root, executableDirectory() + QStringLiteral("/Custom"), keepOriginalNames());
}

QString ProfileRoot::executableDirectory() {
    QString path = QCoreApplication::applicationFilePath();
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

QStringList ProfileRoot::keepOriginalNames() {
    static const QString key = QStringLiteral("Keep_OriginalStringValue");
    QStringList names = {ResourceBundle::localizedStringForKey(key)};
    const StringsTable english =
        StringsTable::load(ResourceBundle::bundlePath() + QStringLiteral("/en.lproj/Main.strings"));
    const QString shipped = english.contains(key) ? english.value(key) : key;
    if (!names.contains(shipped))
        names.append(shipped);
    return names;
}

bool ProfileRoot::isKeepOriginal(const QString& profileName) const {
    return !profileName.isEmpty() && _keepOriginalNames.contains(profileName);
}

bool ProfileRoot::isKeepOriginalPath(const QString& profilePath) const {
    return !profilePath.isEmpty() && isKeepOriginal(QFileInfo(profilePath).completeBaseName());
}
