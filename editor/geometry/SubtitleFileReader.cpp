#include "SubtitleFileReader.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

// Larger files are no subtitles a person wrote.
constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;

QStringList linesOf(const QByteArray& contents) {
    QString text = QString::fromUtf8(contents);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text.split('\n');
}

QList<SubtitleFileReader::Cue> subRipCues(const QStringList& lines) {
    using Reader = SubtitleFileReader;
    static const QRegularExpression arrow(QStringLiteral("^\\s*(\\S+)\\s*-->\\s*(\\S+)"));
    QList<Reader::Cue> cues;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto match = arrow.match(lines[i]);
        if (!match.hasMatch())
            continue;
        const int64_t start = Reader::parseTime(match.captured(1), Reader::Format::SubRip);
        const int64_t end = Reader::parseTime(match.captured(2), Reader::Format::SubRip);
        if (start < 0 || end < start)
            continue;
        QStringList text;
        while (i + 1 < lines.size() && !lines[i + 1].trimmed().isEmpty() && !arrow.match(lines[i + 1]).hasMatch())
            text.append(lines[++i]);
        // A trailing number belongs to the next cue, not to this one's text.
        if (!text.isEmpty() && i + 1 < lines.size() && arrow.match(lines[i + 1]).hasMatch()) {
            bool number = false;
            text.last().trimmed().toInt(&number);
            if (number)
                text.removeLast();
        }
        cues.append({start, end, text.join('\n')});
    }
    return cues;
}

QList<SubtitleFileReader::Cue> scriptCues(const QStringList& lines, bool* hasHeader) {
    using Reader = SubtitleFileReader;
    QList<Reader::Cue> cues;
    *hasHeader = false;
    QString section;
    QStringList format;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.toLower();
            if (section == "[script info]")
                *hasHeader = true;
            continue;
        }
        if (!*hasHeader)
            return {}; // the header comes first
        if (section != "[events]")
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QString kind = line.left(colon).trimmed().toLower();
        const QString rest = line.mid(colon + 1);
        if (kind == "format") {
            format.clear();
            for (const QString& field : rest.split(','))
                format.append(field.trimmed().toLower());
            continue;
        }
        if (kind != "dialogue" || format.isEmpty())
            continue;
        // The text is the last field and may hold commas.
        const QStringList fields = rest.split(',');
        if (fields.size() < format.size())
            continue;
        const qsizetype startField = format.indexOf("start"), endField = format.indexOf("end"),
                        textField = format.indexOf("text");
        if (startField < 0 || endField < 0 || textField != format.size() - 1)
            continue;
        const int64_t start = Reader::parseTime(fields[startField].trimmed(), Reader::Format::Script);
        const int64_t end = Reader::parseTime(fields[endField].trimmed(), Reader::Format::Script);
        if (start < 0 || end < start)
            continue;
        cues.append({start, end, fields.mid(textField).join(',')});
    }
    return cues;
}

} // namespace

SubtitleFileReader::Format SubtitleFileReader::formatOfPath(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == "srt")
        return Format::SubRip;
    if (extension == "ass" || extension == "ssa")
        return Format::Script;
    return Format::Unknown;
}

int64_t SubtitleFileReader::parseTime(const QString& text, Format format) {
    // SubRip: hours:minutes:seconds,milliseconds (a dot is taken too). Scripts: h:mm:ss.cc.
    static const QRegularExpression subRip(QStringLiteral("^(\\d{1,3}):(\\d{1,2}):(\\d{1,2})[,.](\\d{1,3})$"));
    static const QRegularExpression script(QStringLiteral("^(\\d{1,2}):(\\d{1,2}):(\\d{1,2})\\.(\\d{1,3})$"));
    const auto match = (format == Format::SubRip ? subRip : script).match(text);
    if (!match.hasMatch())
        return -1;
    const int64_t hours = match.captured(1).toLongLong(), minutes = match.captured(2).toLongLong(),
                  seconds = match.captured(3).toLongLong();
    if (minutes > 59 || seconds > 59)
        return -1;
    const QString fraction = match.captured(4);
    int64_t ms = fraction.toLongLong();
    for (qsizetype digits = fraction.size(); digits < 3; ++digits)
        ms *= 10;
    return ((hours * 60 + minutes) * 60 + seconds) * 1000 + ms;
}

SubtitleFileReader::Result SubtitleFileReader::parse(const QByteArray& contents, Format format) {
    Result result;
    result.format = format;
    switch (format) {
    case Format::SubRip:
        result.cues = subRipCues(linesOf(contents));
        break;
    case Format::Script: {
        bool header = false;
        result.cues = scriptCues(linesOf(contents), &header);
        break;
    }
    case Format::Unknown:
        result.refusalKey = "subtitleFileUnknownType";
        return result;
    }
    if (result.cues.isEmpty())
        result.refusalKey = "subtitleFileUnreadable";
    return result;
}

SubtitleFileReader::Result SubtitleFileReader::read(const QString& path) {
    const Format format = formatOfPath(path);
    if (format == Format::Unknown) {
        Result result;
        result.refusalKey = "subtitleFileUnknownType";
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) {
        Result result;
        result.format = format;
        result.refusalKey = "subtitleFileUnreadable";
        return result;
    }
    return parse(file.readAll(), format);
}
