#include "OutputProfile.h"

#include "ProfileReader.h"
#include "ProfileValueParser.h"

namespace {

const QByteArray kParameterSection = QByteArrayLiteral("Parameter");

} // namespace

QByteArray OutputProfile::profileKey(Parameter parameter) {
    static const std::array<QByteArray, ParameterCount> keys = {"vcodec", "s", "r", "b", "acodec", "ac", "ar", "ab"};
    return keys.at(parameter);
}

OutputProfile OutputProfile::read(const QString& path, bool audioOnly) {
    OutputProfile profile;
    QByteArray text;
    if (!ProfileReader::readFile(path, &text))
        return profile;

    const QString ext = QString::fromUtf8(ProfileReader::valueInText(text, QByteArrayLiteral("Main"), "ExtName"));
    profile.extName = ProfileValueParser::new_startAndendnospaceString(ext).value_or(QString());
    profile.extName.remove(QLatin1Char('\t'));

    for (int i = 0; i < ParameterCount; ++i) {
        const auto parameter = static_cast<Parameter>(i);
        if (audioOnly && isVideoParameter(parameter))
            continue;
        const QString value =
            QString::fromUtf8(ProfileReader::valueInText(text, kParameterSection, profileKey(parameter)));
        profile.entries[i].defaultValue = ProfileValueParser::resultSelectItemTitleForContentStr(value);
        profile.entries[i].options = ProfileValueParser::resultContentStrForArr(value);
    }
    return profile;
}

QString OutputProfile::rawValue(const QString& path, Parameter parameter) {
    return QString::fromUtf8(ProfileReader::readProfileValue(kParameterSection, profileKey(parameter), path));
}
