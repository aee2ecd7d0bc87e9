#include "OutputProfile.h"
#include "ProfileRoot.h"
#include "ProfileValueParser.h"
#include "ResourceBundle.h"
#include "SourceBundlePath.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

// The profile sets shipped in Settings.bundle: every category folder exists, every profile parses, names a codec
// the engine knows and has an icon; the default profile and the keep-original profile are where the code expects.
namespace {

const QString kBundle = QStringLiteral(CLIPWRIGHT_SOURCE_BUNDLE);
const QString kKeep = QStringLiteral("Keep Original");

bool isNumber(const QString& text) {
    bool ok = false;
    return text.toDouble(&ok) > 0 && ok;
}

void checkOption(OutputProfile::Parameter parameter, const QString& option, const QString& where) {
    static const QStringList videoCodecs = {"H264", "HEVC", "MPEG4", "VP9"};
    static const QStringList audioCodecs = {"AAC", "MP3", "OPUS", "FLAC", "PCM", "libvorbis"};
    static const QRegularExpression frameSize(QStringLiteral("^(\\d+)x(\\d+)$"));
    static const QRegularExpression channels(QStringLiteral("^\\d+(\\(Stereo\\))?$"));
    SCOPED_TRACE(where.toStdString() + " option \"" + option.toStdString() + "\"");
    EXPECT_EQ(option, option.trimmed());
    switch (parameter) {
    case OutputProfile::VideoCodec:
        EXPECT_TRUE(videoCodecs.contains(option));
        break;
    case OutputProfile::AudioCodec:
        EXPECT_TRUE(audioCodecs.contains(option));
        break;
    case OutputProfile::FrameSize: {
        const QRegularExpressionMatch match = frameSize.match(option);
        ASSERT_TRUE(match.hasMatch());
        EXPECT_EQ(match.captured(1).toInt() % 2, 0);
        EXPECT_EQ(match.captured(2).toInt() % 2, 0);
        break;
    }
    case OutputProfile::Channels:
        EXPECT_TRUE(channels.match(option).hasMatch());
        break;
    default:
        EXPECT_TRUE(isNumber(option));
    }
}

void checkRoot(const QString& rootName) {
    SCOPED_TRACE(rootName.toStdString());
    const ProfileRoot root(kBundle + QLatin1Char('/') + rootName, QString(), {kKeep});
    const QStringList categories = root.getFunctionList();
    EXPECT_EQ(categories, QStringList({"Video", "Audio", "Devices", "Web"}));
    EXPECT_FALSE(root.defaultProfilePath().isEmpty());

    for (const QString& category : categories) {
        const QStringList names = root.getFunctionItemChildList(category);
        ASSERT_FALSE(names.isEmpty()) << category.toStdString();
        EXPECT_EQ(names.first() == kKeep, category == QLatin1String("Video")) << category.toStdString();
        for (const QString& name : names) {
            const QString where = rootName + "/" + category + "/" + name;
            const QString path = root.profilePath(category, name);
            ASSERT_FALSE(path.isEmpty()) << where.toStdString();
            EXPECT_FALSE(root.iconPath(category, name).isEmpty()) << where.toStdString();
            const bool audio = category == ProfileRoot::kAudioCategory;
            const OutputProfile profile = OutputProfile::read(path, audio);
            EXPECT_EQ(profile.extName.isEmpty(), root.isKeepOriginal(name)) << where.toStdString();
            for (int p = 0; p < OutputProfile::ParameterCount; ++p) {
                const auto parameter = static_cast<OutputProfile::Parameter>(p);
                const OutputProfile::Entry& entry = profile.entry(parameter);
                if (audio && OutputProfile::isVideoParameter(parameter))
                    continue;
                // Lossless audio has no bit rate to choose.
                if (!entry.options)
                    continue;
                EXPECT_FALSE(entry.options->isEmpty()) << where.toStdString();
                for (const QString& option : *entry.options)
                    checkOption(parameter, option, where);
                if (entry.defaultValue && !entry.defaultValue->isEmpty()) {
                    EXPECT_TRUE(entry.options->contains(*entry.defaultValue)) << where.toStdString();
                }
                // The dialog reads the options without blanks; the shipped ones have none to lose.
                EXPECT_EQ(ProfileValueParser::optionsWithoutBlanks(OutputProfile::rawValue(path, parameter)),
                          entry.options);
            }
            // The joiner's menus have no item for "keep the source's value" but the frame size's: its profiles
            // name every other default.
            if (rootName == QLatin1String("pf_join") && !root.isKeepOriginal(name)) {
                for (int p = 0; p < OutputProfile::ParameterCount; ++p) {
                    const OutputProfile::Entry& entry = profile.entries[p];
                    if (entry.options && p != OutputProfile::FrameSize) {
                        EXPECT_FALSE(entry.defaultValue.value_or("").isEmpty()) << where.toStdString() << " " << p;
                    }
                }
            }
            // A profile named after its container and codec names no size: the source's is kept, so its default
            // never makes the picture larger (the device and web profiles are named after their size).
            if (category == QLatin1String("Video")) {
                EXPECT_EQ(profile.entry(OutputProfile::FrameSize).defaultValue.value_or(""), "") << where.toStdString();
            }
            if (!root.isKeepOriginal(name)) {
                EXPECT_TRUE(profile.entry(OutputProfile::AudioCodec).defaultValue.value_or("").size() > 0);
                if (!audio) {
                    EXPECT_TRUE(profile.entry(OutputProfile::VideoCodec).defaultValue.value_or("").size() > 0);
                }
            }
        }
    }
}

} // namespace

TEST(ShippedProfiles, EditorRootIsComplete) {
    checkRoot(QStringLiteral("functionFolder"));
}

TEST(ShippedProfiles, JoinerRootIsComplete) {
    checkRoot(QStringLiteral("pf_join"));
}

TEST(ShippedProfiles, FilesUseCrLfLineEnds) {
    for (const QString& rootName : {QStringLiteral("functionFolder"), QStringLiteral("pf_join")}) {
        QDir root(kBundle + QLatin1Char('/') + rootName);
        QStringList paths = {root.filePath("pf.dat")};
        for (const QString& category : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QString& file : QDir(root.filePath(category)).entryList({"*.pf"}))
                paths << root.filePath(category + "/" + file);
        for (const QString& path : paths) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QByteArray text = file.readAll();
            EXPECT_EQ(text.count('\n'), text.count("\r\n")) << path.toStdString();
            EXPECT_TRUE(text.endsWith("\r\n")) << path.toStdString();
        }
    }
}

TEST(ShippedProfiles, KeepOriginalIsKnownInEveryLanguage) {
    for (const char* language : {"en", "zh-Hans"}) {
        ResourceBundle::setLanguage(language);
        const QStringList names = ProfileRoot::keepOriginalNames();
        EXPECT_TRUE(names.contains(kKeep)) << language;
        const ProfileRoot root = ProfileRoot::forWindow(true);
        EXPECT_EQ(root.rootDirectory(), ResourceBundle::bundlePath() + "/pf_join");
        EXPECT_EQ(root.getFunctionItemChildList("Video").value(0), kKeep) << language;
        EXPECT_TRUE(root.isKeepOriginal(kKeep)) << language;
    }
    EXPECT_NE(ProfileRoot::keepOriginalNames().first(), kKeep); // the Chinese text comes first
    ResourceBundle::setLanguage(QString());
    EXPECT_EQ(ProfileRoot::forWindow(false).rootDirectory(), ResourceBundle::bundlePath() + "/functionFolder");
}
