#include "OutputSelection.h"

#include "LeadingNumber.h"
#include "OutputCustomValues.h"
#include "OutputProfile.h"
#include "ProfileRoot.h"
#include "SettingChangeMask.h"
#include "SimpleData.h"
#include "UserDefaults.h"

#include <QFileInfo>

const QString OutputSelection::kCustomTitle = QStringLiteral("Custom");

namespace {

constexpr std::array<OutputProfile::Parameter, 4> kVideoParameters = {
    OutputProfile::VideoCodec, OutputProfile::FrameSize, OutputProfile::FrameRate, OutputProfile::VideoBitRate};
constexpr std::array<OutputProfile::Parameter, 4> kAudioParameters = {
    OutputProfile::AudioCodec, OutputProfile::Channels, OutputProfile::SampleRate, OutputProfile::AudioBitRate};

// Profile parameters and titles share their order after the extension.
OutputSelection::Title titleOf(OutputProfile::Parameter parameter) {
    return static_cast<OutputSelection::Title>(parameter + 1);
}

std::optional<QString> storedTitle(const QString& key) {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    if (!defaults.hasKey(key))
        return std::nullopt;
    return defaults.stringForKey(key);
}

QString chosenOr(const std::optional<QString>& title, const QString& source) {
    return OutputSelection::isChosen(title) ? title->trimmed() : source;
}

int positiveOr(int value, int source) {
    return value > 0 ? value : source;
}

} // namespace

OutputSelection::OutputSelection(Family family) : _family(family) {}

QString OutputSelection::storedKey(Family family, Title title) {
    static const std::array<const char*, TitleCount> stems = {
        "extName", "vcodec", "resolution", "framerate", "bitate", "acodec", "achannel", "asamplerate", "abitate"};
    const QString stem = QString::fromLatin1(stems.at(title));
    return family == Family::Joiner ? stem + QStringLiteral("SelectTitle") : stem + QStringLiteral("_SelectTitle");
}

QString OutputSelection::profileKey(Family family) {
    return family == Family::Joiner ? QStringLiteral("joinProfileSelect") : QStringLiteral("editProfile_Select");
}

QString OutputSelection::storedProfile() const {
    return UserDefaults::standardUserDefaults().stringForKey(profileKey(_family));
}

bool OutputSelection::isChosen(const std::optional<QString>& title) {
    return title.has_value() && !title->trimmed().isEmpty();
}

void OutputSelection::setViewChildesPf(const QString& profilePath, const QString& category, const ProfileRoot& root,
                                       const ClipList& clips) {
    const QString path = QFileInfo(profilePath).isFile() ? profilePath : root.defaultProfilePath();
    const bool keepOriginal = root.isKeepOriginalPath(path);
    const bool audioCategory = category == ProfileRoot::kAudioCategory;
    const OutputProfile profile = keepOriginal ? OutputProfile() : OutputProfile::read(path, audioCategory);

    if (!audioCategory) {
        for (const OutputProfile::Parameter parameter : kVideoParameters)
            _titles[titleOf(parameter)] = keepOriginal ? std::nullopt : profile.entry(parameter).defaultValue;
    }
    if (keepOriginal) {
        for (const OutputProfile::Parameter parameter : kAudioParameters)
            _titles[titleOf(parameter)] = std::nullopt;
    } else {
        _titles[ExtName] = profile.extName;
        for (const OutputProfile::Parameter parameter : kAudioParameters)
            _titles[titleOf(parameter)] = profile.entry(parameter).defaultValue;
    }

    const int fields = audioCategory ? (TargetAllFields & ~TargetVideoFields) : TargetAllFields;
    for (const std::shared_ptr<SimpleData>& clip : clips)
        refreshTarget(*clip, fields);
    storeTitles();
    const QString name = QFileInfo(path).completeBaseName();
    UserDefaults::standardUserDefaults().setString(name.isEmpty() ? QString() : category + QLatin1Char('/') + name,
                                                   profileKey(_family));
}

void OutputSelection::restoreProfile(const QString& profilePath, const QString& category, const QString& name,
                                     const ProfileRoot& root, const ClipList& clips) {
    if (name.isEmpty()) {
        clear();
    } else if (storedProfile() == category + QLatin1Char('/') + name) {
        readStoredTitles();
    } else {
        clear();
        setViewChildesPf(profilePath, category, root, clips);
        return;
    }
    for (const std::shared_ptr<SimpleData>& clip : clips)
        refreshTarget(*clip, TargetAllFields);
}

void OutputSelection::setdefaultFormat(const SimpleData& clip) {
    if (!clip.defaultFormat())
        return;
    const FileData& source = *clip.sourceData();
    const auto text = [](const QString& value) -> std::optional<QString> {
        return value.isNull() ? std::nullopt : std::optional<QString>(value);
    };
    _titles[VideoCodec] = text(source.metadata_vcodec());
    _titles[Resolution] = QStringLiteral("%1x%2").arg(source.width()).arg(source.height());
    _titles[VideoBitRate] = QString::number(source.bitrate());
    _titles[FrameRate] = QString::asprintf("%.f", source.fps());
    _titles[AudioCodec] = text(source.a_codec());
    _titles[AudioBitRate] = QString::number(source.a_bitrate());
    _titles[Channels] = QString::number(source.a_channel());
    _titles[SampleRate] = QString::number(source.a_samplerate());
}

void OutputSelection::reread(Title title) {
    _titles[title] = storedTitle(storedKey(title));
}

void OutputSelection::applyResolutionChange(const ClipList& clips) {
    if (storedTitle(storedKey(Resolution)) != kCustomTitle) {
        OutputCustomValues::removeFrameSize();
        reread(Resolution);
        for (const std::shared_ptr<SimpleData>& clip : clips)
            refreshTarget(*clip, TargetFrameSize);
        return;
    }
    const int customWidth = OutputCustomValues::width();
    const int customHeight = OutputCustomValues::height();
    // The stored choice stays "Custom"; the held title names the size, ending with the last clip's.
    _titles[Resolution] = QStringLiteral("%1x%2").arg(customWidth).arg(customHeight);
    for (const std::shared_ptr<SimpleData>& clip : clips) {
        FileData& target = *clip->targetData();
        target.setWidth(positiveOr(customWidth, target.width()));
        target.setHeight(positiveOr(customHeight, target.height()));
        _titles[Resolution] = QStringLiteral("%1x%2").arg(target.width()).arg(target.height());
    }
}

void OutputSelection::applyChange(int changeBit, const ClipList& clips, bool customBitRate) {
    int fields = 0;
    switch (changeBit) {
    case SettingChangeVideoCodec:
        reread(VideoCodec);
        fields = TargetVideoCodec;
        break;
    case SettingChangeResolution:
        applyResolutionChange(clips);
        return;
    case SettingChangeFrameRate:
        reread(FrameRate);
        fields = TargetFps;
        break;
    case SettingChangeVideoBitRate:
        if (customBitRate && _family == Family::Joiner && storedTitle(storedKey(VideoBitRate)) == kCustomTitle) {
            _titles[VideoBitRate] = QStringLiteral("%1 kbps").arg(OutputCustomValues::bitRate());
        } else {
            reread(VideoBitRate);
            reread(AudioBitRate);
        }
        fields = TargetBitrate;
        break;
    case SettingChangeAudioCodec:
        reread(AudioCodec);
        fields = TargetAudioCodec;
        break;
    case SettingChangeChannels:
        reread(Channels);
        fields = TargetChannels;
        break;
    case SettingChangeSampleRate:
        reread(SampleRate);
        fields = TargetSampleRate;
        break;
    case SettingChangeAudioBitRate:
        reread(VideoBitRate);
        reread(AudioBitRate);
        fields = TargetAudioBitrate;
        break;
    default:
        return;
    }
    for (const std::shared_ptr<SimpleData>& clip : clips)
        refreshTarget(*clip, fields);
}

void OutputSelection::applySettingChange(int changeBit, const ClipList& clips) {
    applyChange(changeBit, clips, true);
}

void OutputSelection::applySettingDefaults(const ClipList& clips) {
    for (int bit = SettingChangeVideoCodec; bit <= SettingChangeAudioBitRate; bit <<= 1)
        applyChange(bit, clips, false);
}

void OutputSelection::clear() {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    for (int t = 0; t < TitleCount; ++t) {
        _titles[t] = std::nullopt;
        defaults.removeObjectForKey(storedKey(static_cast<Title>(t)));
    }
    defaults.removeObjectForKey(profileKey(_family));
}

void OutputSelection::readStoredTitles() {
    for (int t = 0; t < TitleCount; ++t)
        reread(static_cast<Title>(t));
}

void OutputSelection::storeTitles() const {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    for (int t = 0; t < TitleCount; ++t) {
        const QString key = storedKey(static_cast<Title>(t));
        if (isChosen(_titles[t]))
            defaults.setString(*_titles[t], key);
        else
            defaults.removeObjectForKey(key);
    }
}

void OutputSelection::refreshTarget(SimpleData& clip, int fields) const {
    FileData& target = *clip.targetData();
    const FileData& source = *clip.sourceData();
    if (fields & TargetVideoCodec)
        target.setMetadata_vcodec(chosenOr(_titles[VideoCodec], source.metadata_vcodec()));
    if (fields & TargetFrameSize) {
        // "1280x720"; a lone number gives the same width and height. Sizes are made even for 4:2:0 encoders.
        const QString size = _titles[Resolution].value_or(QString());
        const qsizetype first = size.indexOf(QLatin1Char('x'));
        const qsizetype last = size.lastIndexOf(QLatin1Char('x'));
        const int width = LeadingNumber::integer(first < 0 ? QStringView(size) : QStringView(size).first(first));
        const int height = LeadingNumber::integer(last < 0 ? QStringView(size) : QStringView(size).sliced(last + 1));
        target.setWidth(positiveOr(OutputCustomValues::sanitizeFrameDimension(width), source.width()));
        target.setHeight(positiveOr(OutputCustomValues::sanitizeFrameDimension(height), source.height()));
    }
    if (fields & TargetFps) {
        const double fps = LeadingNumber::decimal(_titles[FrameRate].value_or(QString()));
        target.setFps(fps > 0 ? fps : source.fps());
    }
    if (fields & TargetBitrate)
        target.setBitrate(
            positiveOr(LeadingNumber::integer(_titles[VideoBitRate].value_or(QString())), source.bitrate()));
    if (fields & TargetExtension)
        target.setExtension(chosenOr(_titles[ExtName], source.extension()));
    if (fields & TargetAudioCodec)
        target.setA_codec(chosenOr(_titles[AudioCodec], source.a_codec()));
    if (fields & TargetChannels) {
        QString channels = _titles[Channels].value_or(QString());
        const qsizetype stereo = channels.indexOf(QLatin1String("(Stereo)"));
        if (stereo >= 0)
            channels.truncate(stereo);
        target.setA_channel(positiveOr(LeadingNumber::integer(channels), source.a_channel()));
    }
    if (fields & TargetSampleRate)
        target.setA_samplerate(
            positiveOr(LeadingNumber::integer(_titles[SampleRate].value_or(QString())), source.a_samplerate()));
    if (fields & TargetAudioBitrate)
        target.setA_bitrate(
            positiveOr(LeadingNumber::integer(_titles[AudioBitRate].value_or(QString())), source.a_bitrate()));
}

int OutputSelection::settingDialogWidth() const {
    const bool customSize = storedTitle(storedKey(Resolution)) == kCustomTitle;
    const bool customRate = _family == Family::Joiner && storedTitle(storedKey(VideoBitRate)) == kCustomTitle;
    return customSize || customRate ? 480 : 360;
}
