#pragma once

#include <QList>
#include <QString>

#include <array>
#include <memory>
#include <optional>

class FileData;
class ProfileRoot;
class SimpleData;

using ClipList = QList<std::shared_ptr<SimpleData>>;

// The output parameters a window has chosen, held as display texts ("titles") and kept in the user-defaults store
// under one key family per window. From the titles each clip's target record is derived.
//
// A title that is none, empty or only blanks means "no choice": the target takes the source's value; so does a
// number that reads as 0. Numeric titles carry no unit, except the joiner's custom video bit rate ("1500 kbps").
class OutputSelection {
public:
    enum class Family { Joiner, Editor };

    enum Title {
        ExtName,
        VideoCodec,
        Resolution, // width "x" height; the stored key may hold "Custom"
        FrameRate,
        VideoBitRate, // kbit/s; in the joiner the stored key may hold "Custom"
        AudioCodec,
        Channels, // a count, possibly followed by "(Stereo)"
        SampleRate,
        AudioBitRate,
        TitleCount
    };

    // The target fields a refresh rewrites.
    enum TargetField {
        TargetVideoCodec = 1 << 0,
        TargetFrameSize = 1 << 1,
        TargetFps = 1 << 2,
        TargetBitrate = 1 << 3,
        TargetExtension = 1 << 4,
        TargetAudioCodec = 1 << 5,
        TargetChannels = 1 << 6,
        TargetSampleRate = 1 << 7,
        TargetAudioBitrate = 1 << 8,
        TargetVideoFields = TargetVideoCodec | TargetFrameSize | TargetFps | TargetBitrate,
        TargetAllFields = (1 << 9) - 1,
    };

    static const QString kCustomTitle; // "Custom"

    explicit OutputSelection(Family family);

    Family family() const { return _family; }
    static QString storedKey(Family family, Title title);
    QString storedKey(Title title) const { return storedKey(_family, title); }
    // The key holding which profile the stored titles were taken from: "<category>/<profile name>".
    static QString profileKey(Family family);
    // The profile the stored titles belong to, or empty when none is stored.
    QString storedProfile() const;

    const std::optional<QString>& title(Title title) const { return _titles[title]; }
    void setTitle(Title title, std::optional<QString> text) { _titles[title] = std::move(text); }

    const std::optional<QString>& extNameSelectTitle() const { return _titles[ExtName]; }
    const std::optional<QString>& vcodecSelectTitle() const { return _titles[VideoCodec]; }
    const std::optional<QString>& resolutionSelectTitle() const { return _titles[Resolution]; }
    const std::optional<QString>& framerateSelectTitle() const { return _titles[FrameRate]; }
    const std::optional<QString>& bitateSelectTitle() const { return _titles[VideoBitRate]; }
    const std::optional<QString>& acodecSelectTitle() const { return _titles[AudioCodec]; }
    const std::optional<QString>& achannelSelectTitle() const { return _titles[Channels]; }
    const std::optional<QString>& asamplerateSelectTitle() const { return _titles[SampleRate]; }
    const std::optional<QString>& abitateSelectTitle() const { return _titles[AudioBitRate]; }

    // Whether a title makes a choice (not none, not empty, not only blanks).
    static bool isChosen(const std::optional<QString>& title);

    // Applies a picked profile (an empty path means the root's default profile) shown in `category`, refreshes the
    // clips' targets and stores the nine titles with the profile they came from.
    void setViewChildesPf(const QString& profilePath, const QString& category, const ProfileRoot& root,
                          const ClipList& clips);

    // The joiner's "use this clip's format": when the clip is marked, eight titles (all but the extension) take the
    // clip's source values. Stored keys and targets stay as they are.
    void setdefaultFormat(const SimpleData& clip);

    // One change reported by the settings dialog (one SettingChangeMask bit): re-reads the titles it concerns and
    // refreshes the matching target fields of every clip. Titles are re-read even without clips, so a change made
    // before the first clip is added is not lost.
    void applySettingChange(int changeBit, const ClipList& clips);
    // The dialog's Default: every bit in order, the video bit rate always re-read as stored.
    void applySettingDefaults(const ClipList& clips);

    // Brings back the titles stored for the profile `category`/`name` when they were taken from it, else applies
    // that profile afresh (from nothing, so no earlier choice is left in a title), so the titles in use always
    // belong to the profile a window shows. An empty name means no profile is shown: the titles are cleared.
    void restoreProfile(const QString& profilePath, const QString& category, const QString& name,
                        const ProfileRoot& root, const ClipList& clips);

    // Empties the nine titles and removes their keys and the stored profile (the browser does this before applying
    // a profile).
    void clear();
    // Every title becomes the stored value of its key (none when missing).
    void readStoredTitles();
    // Stores the nine titles: chosen ones are set, the others removed.
    void storeTitles() const;

    // Rewrites the chosen fields of the clip's target from the titles, the source filling what no title chooses.
    void refreshTarget(SimpleData& clip, int fields) const;

    // The settings dialog's width for this family's stored choices: 480 with a custom frame size (or, in the
    // joiner, a custom video bit rate), else 360.
    int settingDialogWidth() const;

private:
    void reread(Title title);
    void applyResolutionChange(const ClipList& clips);
    void applyChange(int changeBit, const ClipList& clips, bool customBitRate);

    Family _family;
    std::array<std::optional<QString>, TitleCount> _titles;
};
