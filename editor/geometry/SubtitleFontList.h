#pragma once

#include <QString>
#include <QStringList>

// The fonts the subtitle panel offers: the system's TrueType font files (.ttf, .ttc) as fontconfig knows them,
// and the default choice among them.
class SubtitleFontList {
public:
    // Full paths of the system's .ttf and .ttc files, ordered by file name (then path), without repeats.
    static QStringList systemFontFiles();
    // Keeps the paths whose file name ends in .ttf or .ttc (any case), in the given order, without repeats.
    static QStringList fontFiles(const QStringList& paths);

    // The default font's index in `fonts`: the first whose file name begins with "Songti", else the one named
    // "arial.ttf" in any case, else `systemDefault` (the face fontconfig gives plain sans-serif text) when listed,
    // else the first. -1 for an empty list.
    static int defaultIndex(const QStringList& fonts, const QString& systemDefault = {});

    // The font file fontconfig picks for the default sans-serif face, whatever its type; empty when there is
    // none. The font of a subtitle when the list is empty.
    static QString fallbackFontFile();
};
