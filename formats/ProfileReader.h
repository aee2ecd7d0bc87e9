#pragma once

#include <QByteArray>
#include <QString>

// Reads one value of one section from a profile text: the category list "pf.dat" or a ".pf" profile.
//
// The text is UTF-8 in lines; a section starts at a line "[name]" (anything may follow the "]") and ends at the
// next section header. A value line is "key=value"; lines beginning with "#" or "//" are comments. Lines end with
// CR LF as shipped, but a bare LF and an unterminated last line are read as well.
class ProfileReader {
public:
    // A line longer than this, its line end not counted, is ignored as a whole (never a header, never a value).
    static constexpr qsizetype kLineLimit = 4096;
    // A key part (the text before the first "=") longer than this never matches.
    static constexpr qsizetype kKeyLimit = 511;

    // The value of `key` in `section` of the file at `path`: the text after the first "=", unchanged (it may start
    // with blanks). Empty when the file cannot be opened (then "have   no   such   file " goes to standard output)
    // or when the key is not in the section.
    static QByteArray readProfileValue(const QByteArray& section, const QByteArray& key, const QString& path);

    // Reads the whole file for several lookups; false (and the same standard-output line) when it cannot be opened.
    static bool readFile(const QString& path, QByteArray* text);

    // The same lookup in a text already read.
    static QByteArray valueInText(const QByteArray& text, const QByteArray& section, const QByteArray& key);
};
