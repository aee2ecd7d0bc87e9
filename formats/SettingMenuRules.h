#pragma once

#include "OutputProfile.h"

#include <QString>
#include <QStringList>

#include <optional>

// The menus of the settings dialog: which items each parameter's pop-up holds, which item a stored choice selects,
// and what choosing an item stores. Plain rules, no widgets.
class SettingMenuRules {
public:
    // Where a menu is built. At opening the codec menus begin with the keep-original item only for the
    // keep-original profile; after Default they never do.
    enum class Moment { Opening, Default };

    struct MenuContext {
        bool joinner = false;
        bool keepOriginalProfile = false;
        Moment moment = Moment::Opening;
        QString keepOriginalTitle; // the localised "Keep_OriginalStringValue"
    };

    // The unit shown after the options of a parameter (" fps", " kbps", " hz") or an empty text.
    static QString suffix(OutputProfile::Parameter parameter);
    // Whether a stored choice matches an item by its leading integer rather than by its text.
    static bool matchesByInteger(OutputProfile::Parameter parameter);

    // The items of a parameter's pop-up, in order.
    static QStringList menuItems(OutputProfile::Parameter parameter, const QStringList& options,
                                 const MenuContext& context);

    // The item a stored choice selects: none or " " selects the first item; otherwise the first item on which the
    // choice shows; a choice that shows on no item selects the first item. -1 only for an empty menu.
    static int selectedIndex(OutputProfile::Parameter parameter, const QStringList& items,
                             const std::optional<QString>& title);

    // What choosing `itemTitle` stores under the parameter's key: none (remove the key) for the keep-original item,
    // "Custom" unchanged, otherwise the title cut before its unit.
    static std::optional<QString> storedChoice(OutputProfile::Parameter parameter, const QString& itemTitle,
                                               const QString& keepOriginalTitle);
};
