#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

// Reads a subtitle file far enough to know it can be shown: SubRip (.srt) cues, or the [Script Info] and the
// Dialogue lines of an .ass / .ssa script. The editor refuses a file that gives no cue, before anything of the
// panel changes.
class SubtitleFileReader {
public:
    enum class Format { Unknown, SubRip, Script };

    struct Cue {
        int64_t startMs = 0;
        int64_t endMs = 0;
        QString text;
        bool operator==(const Cue&) const = default;
    };

    struct Result {
        Format format = Format::Unknown;
        QList<Cue> cues;
        // The strings-table key of the reason when the file is refused; empty when it was read.
        QString refusalKey;
        bool ok() const { return refusalKey.isEmpty(); }
    };

    // The format by the name's extension, in any case.
    static Format formatOfPath(const QString& path);
    static Result read(const QString& path);
    static Result parse(const QByteArray& contents, Format format);

    // "00:01:02,345" (SubRip) or "0:01:02.34" (scripts) in milliseconds; -1 when the text is no such time.
    static int64_t parseTime(const QString& text, Format format);
};
