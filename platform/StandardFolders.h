#pragma once

#include <QString>

// The user's standard folders (QStandardPaths), without a trailing "/". Tests may move them under a folder of
// their own with setTestRoot(root): root/Movies, root/Documents, root/Desktop; an empty root restores them.
class StandardFolders {
public:
    static QString movies();
    static QString documents();
    static QString desktop();

    static void setTestRoot(const QString& root);
};
