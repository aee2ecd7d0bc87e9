#pragma once

#include <QString>

// Output names that never meet an existing file.
//
// uniquePath: folder + "/base.ext"; while a file of that name exists, folder + "/base(n).ext" with n = 2, 3, ...
// numberedPath (the splitter's pieces): folder + "/base<n>.ext" with n = 1, 2, ...; the first free name.
// An empty extension gives names without a dot.
//
// A name is free when nothing exists at it at the moment of the call; callers that write the file themselves
// create it exclusively and ask again when another writer was faster.
class OutputNamer {
public:
    static QString uniquePath(const QString& folder, const QString& baseName, const QString& extension);
    static QString numberedPath(const QString& folder, const QString& baseName, const QString& extension);

    // Creates the folder with its missing parents; true when it exists afterwards.
    static bool ensureFolder(const QString& folder);
};
