#pragma once

#include <QString>
#include <QStringList>

// One window's profile root (the joiner's "pf_join" or the editor's "functionFolder" inside the resource folder)
// together with the folder "Custom" beside the executable.
//
// Layout of a root: "pf.dat" lists the categories; one folder per category holds "<name>.pf" profiles, each with
// an icon "<name>.png". The "Custom" folder is flat: user profiles and their icons, shared by both windows. The
// system never writes into either.
class ProfileRoot {
public:
    // The category name of the custom folder, listed first when that folder holds a profile.
    static const QString kCustomCategory;
    // The category of audio-only profiles.
    static const QString kAudioCategory;
    // Where the default profile lives, relative to a root: "Video/mkv(HEVC).pf".
    static const QString kDefaultProfile;
    // Upper bound on "Count" in "pf.dat", so a corrupt count cannot make the category list endless.
    static constexpr int kMaxCategories = 256;

    // `rootDirectory` and `customDirectory` are absolute folders (either may be missing on disk).
    // `keepOriginalNames` are the display names that stand for the keep-original profile: the localised text of
    // "Keep_OriginalStringValue" and the name the shipped file carries.
    ProfileRoot(QString rootDirectory, QString customDirectory, QStringList keepOriginalNames);

    // The profile root of the joiner ("pf_join") or of the editor ("functionFolder") in the resource bundle, with
    // the "Custom" folder beside the running executable.
    static ProfileRoot forWindow(bool joiner);
    // The folder of the running executable, without a trailing "/".
    static QString executableDirectory();
    // The names of the keep-original profile: the localised text of "Keep_OriginalStringValue" first, then the
    // English text the shipped files are named after.
    static QStringList keepOriginalNames();

    const QString& rootDirectory() const { return _rootDirectory; }
    const QString& customDirectory() const { return _customDirectory; }

    // The categories of "pf.dat" in the order of their numbers; empty when the file or "Count" is missing.
    QStringList getFunctionList() const;
    // Whether the custom folder holds at least one profile.
    bool customFolderHasProfiles() const;
    // The window's category bar: "Custom" first when the custom folder holds a profile, then getFunctionList().
    QStringList categoryList() const;

    // The display names of a category's profiles: the keep-original profile first when the folder holds it, the
    // rest by name. A missing folder gives an empty list.
    QStringList getFunctionItemChildList(const QString& category) const;

    // The profile's file, or an empty text when it does not exist.
    QString profilePath(const QString& category, const QString& name) const;
    // The profile's icon, or an empty text when it does not exist.
    QString iconPath(const QString& category, const QString& name) const;
    // The root's "Video/mkv(HEVC).pf", or an empty text when it does not exist.
    QString defaultProfilePath() const;

    bool isKeepOriginal(const QString& profileName) const;
    // Whether a profile path (any folder) names the keep-original profile by its file name.
    bool isKeepOriginalPath(const QString& profilePath) const;
    // The text the settings dialog and the pop-ups show for "keep the source's value".
    QString keepOriginalTitle() const { return _keepOriginalNames.value(0); }

private:
    QString categoryFolder(const QString& category) const;

    QString _rootDirectory;
    QString _customDirectory;
    QStringList _keepOriginalNames;
};
