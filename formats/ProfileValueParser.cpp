#include "ProfileValueParser.h"

#include "FormatsLog.h"

namespace {

QString withoutQuotes(const QString& value) {
    QString text = value;
    text.remove(QLatin1Char('"'));
    return text;
}

QString lastNonEmptyTrimmed(const QStringList& pieces) {
    for (qsizetype i = pieces.size() - 1; i >= 0; --i) {
        const QString trimmed = ProfileValueParser::trimBlanks(pieces.at(i));
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return QString(QLatin1String(""));
}

// The text between the first "{" and the first "}" after it, or none when there is no such pair.
std::optional<QString> braceContent(const QString& text) {
    const qsizetype open = text.indexOf(QLatin1Char('{'));
    if (open < 0)
        return std::nullopt;
    const qsizetype close = text.indexOf(QLatin1Char('}'), open + 1);
    if (close < 0)
        return std::nullopt;
    return text.mid(open + 1, close - open - 1);
}

} // namespace

QString ProfileValueParser::trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

std::optional<QString> ProfileValueParser::new_startAndendnospaceString(const QString& text) {
    if (text.isEmpty())
        return QString(QLatin1String(""));
    const QString trimmed = trimBlanks(text);
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

std::optional<QString> ProfileValueParser::resultSelectItemTitleForContentStr(const QString& value) {
    const QString text = withoutQuotes(value);
    if (text.isEmpty()) {
        qCDebug(lcFormats) << "no have content";
        return std::nullopt;
    }

    qsizetype headEnd = text.indexOf(QLatin1String(",{"));
    if (headEnd < 0)
        headEnd = text.indexOf(QLatin1String(", {"));
    const QString head = headEnd < 0 ? text : text.left(headEnd);
    const QStringList headPieces = head.split(QLatin1Char(','));
    if (headPieces.size() >= 2)
        return headPieces.last();

    const bool hasClose = text.contains(QLatin1Char('}'));
    QString marker;
    if (hasClose && text.contains(QLatin1String(", {")))
        marker = QStringLiteral(", {");
    else if (hasClose && text.contains(QLatin1String(",{")))
        marker = QStringLiteral(",{");
    if (!marker.isEmpty())
        return lastNonEmptyTrimmed(text.left(text.indexOf(marker)).split(QLatin1Char(','), Qt::SkipEmptyParts));
    return lastNonEmptyTrimmed(text.split(QLatin1Char(',')));
}

std::optional<QStringList> ProfileValueParser::resultContentStrForArr(const QString& value) {
    const QString text = withoutQuotes(value);
    if (text.isEmpty()) {
        qCDebug(lcFormats) << "no have content";
        return std::nullopt;
    }
    if (const std::optional<QString> inner = braceContent(text)) {
        const QStringList options = inner->split(QLatin1Char(','), Qt::SkipEmptyParts);
        qCDebug(lcFormats).noquote() << QStringLiteral("%1,%2").arg(text, options.join(QLatin1Char('|')));
        return options;
    }
    const QString last = text.split(QLatin1Char(',')).last();
    if (last.isEmpty())
        return std::nullopt;
    const QString trimmed = trimBlanks(last);
    if (trimmed.isEmpty())
        return std::nullopt;
    qCDebug(lcFormats).noquote() << QStringLiteral("%1,%2").arg(text, trimmed);
    return QStringList{trimmed};
}

std::optional<QStringList> ProfileValueParser::optionsWithoutBlanks(const QString& value) {
    QString text = withoutQuotes(value);
    if (text.isEmpty()) {
        qCDebug(lcFormats) << "no have content";
        return std::nullopt;
    }
    if (const std::optional<QString> inner = braceContent(text)) {
        QString options = *inner;
        options.remove(QLatin1Char(' '));
        return options.split(QLatin1Char(','), Qt::SkipEmptyParts);
    }
    QString last = text.split(QLatin1Char(',')).last();
    last.remove(QLatin1Char(' '));
    if (last.isEmpty())
        return std::nullopt;
    return QStringList{last};
}
