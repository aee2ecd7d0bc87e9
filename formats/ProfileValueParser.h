#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Turns a profile's option value into its default and its list of options.
//
// An option value is the default in double quotes, a comma and the options in braces:
//     "1280x720",{"640x480","1280x720","1920x1080"}
// Double quotes carry no meaning: every one is removed before a value is looked at. Only the blank (not the tab)
// counts as white space here.
class ProfileValueParser {
public:
    // The default of an option value; none for a value that is empty once its quotes are gone. An empty text means
    // the value names no default.
    static std::optional<QString> resultSelectItemTitleForContentStr(const QString& value);

    // The options of an option value, untrimmed (a blank after a comma stays in front of the next option); none for
    // an empty value. A value without braces gives its last comma piece, trimmed, as the only option.
    static std::optional<QStringList> resultContentStrForArr(const QString& value);

    // The text without leading and trailing blanks; empty for empty, none for a text made only of blanks.
    static std::optional<QString> new_startAndendnospaceString(const QString& text);

    // As resultContentStrForArr, but with every blank removed from the options: the settings dialog's reading.
    static std::optional<QStringList> optionsWithoutBlanks(const QString& value);

    // Blanks cut from both ends; a text of blanks only gives an empty text.
    static QString trimBlanks(const QString& text);
};
