#include "SettingMenuRules.h"

#include "LeadingNumber.h"
#include "OutputSelection.h"

namespace {

bool hasKeepOriginalItem(OutputProfile::Parameter parameter, const SettingMenuRules::MenuContext& context) {
    if (parameter == OutputProfile::VideoCodec || parameter == OutputProfile::AudioCodec)
        return context.moment == SettingMenuRules::Moment::Opening && context.keepOriginalProfile;
    // The joiner names every other default; its frame size may keep the source's, so that no default ever makes
    // the picture larger than the source's.
    return !context.joinner || parameter == OutputProfile::FrameSize;
}

bool hasCustomItem(OutputProfile::Parameter parameter, const SettingMenuRules::MenuContext& context) {
    return parameter == OutputProfile::FrameSize || (parameter == OutputProfile::VideoBitRate && context.joinner);
}

} // namespace

QString SettingMenuRules::suffix(OutputProfile::Parameter parameter) {
    switch (parameter) {
    case OutputProfile::FrameRate:
        return QStringLiteral(" fps");
    case OutputProfile::VideoBitRate:
    case OutputProfile::AudioBitRate:
        return QStringLiteral(" kbps");
    case OutputProfile::SampleRate:
        return QStringLiteral(" hz");
    default:
        return QString();
    }
}

bool SettingMenuRules::matchesByInteger(OutputProfile::Parameter parameter) {
    return !suffix(parameter).isEmpty();
}

QStringList SettingMenuRules::menuItems(OutputProfile::Parameter parameter, const QStringList& options,
                                        const MenuContext& context) {
    QStringList items;
    if (hasKeepOriginalItem(parameter, context))
        items.append(context.keepOriginalTitle);
    for (QString option : options) {
        option.remove(QLatin1Char('"'));
        if (!option.isEmpty())
            items.append(option + suffix(parameter));
    }
    if (hasCustomItem(parameter, context))
        items.append(OutputSelection::kCustomTitle);
    return items;
}

int SettingMenuRules::selectedIndex(OutputProfile::Parameter parameter, const QStringList& items,
                                    const std::optional<QString>& title) {
    if (items.isEmpty())
        return -1;
    if (!title || *title == QLatin1String(" "))
        return 0;
    for (int i = 0; i < items.size(); ++i) {
        const QString& item = items.at(i);
        if (*title == OutputSelection::kCustomTitle || item == OutputSelection::kCustomTitle) {
            if (item == *title)
                return i;
            continue;
        }
        if (matchesByInteger(parameter) ? LeadingNumber::integer(item) == LeadingNumber::integer(*title)
                                        : item == *title)
            return i;
    }
    return 0;
}

std::optional<QString> SettingMenuRules::storedChoice(OutputProfile::Parameter parameter, const QString& itemTitle,
                                                      const QString& keepOriginalTitle) {
    if (itemTitle == keepOriginalTitle)
        return std::nullopt;
    if (itemTitle == OutputSelection::kCustomTitle)
        return itemTitle;
    const QString unit = suffix(parameter);
    if (unit.isEmpty())
        return itemTitle;
    const qsizetype at = itemTitle.indexOf(unit);
    return at < 0 ? itemTitle : itemTitle.left(at);
}
