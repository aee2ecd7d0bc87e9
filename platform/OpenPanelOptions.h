#pragma once

#include <QString>
#include <QStringList>

// What an open panel offers. allowedFileTypes are extensions without the dot ("mp4"); allowsOtherFileTypes lets
// the user pick any file as well.
struct OpenPanelOptions {
    QString message;
    QString prompt;    // the OK button's title; empty keeps the toolkit's own
    QString directory; // the folder it opens in; empty: the toolkit's choice
    bool canChooseFiles = true;
    bool canChooseDirectories = false;
    bool canCreateDirectories = false;
    bool allowsMultipleSelection = false;
    bool allowsOtherFileTypes = false;
    QStringList allowedFileTypes;
};
