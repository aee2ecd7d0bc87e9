#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// The desktop's workspace behind a seam: open a URL with the user's default handler, and reveal a file or folder
// in the file manager. Tests replace either handler; reset() restores the desktop's.
class Workspace {
public:
    using OpenUrlHandler = std::function<bool(const QUrl& url)>;
    using RevealHandler = std::function<bool(const QString& path)>;

    // Opens the URL; false for an invalid URL or when no handler took it (never shows a message).
    static bool openURL(const QUrl& url);
    // Shows the file selected in the file manager (freedesktop FileManager1.ShowItems over D-Bus); without such a
    // file manager opens the folder: the path itself when it is a folder, else the folder that holds it.
    static bool revealFile(const QString& path);

    static void setOpenUrlHandler(OpenUrlHandler handler);
    static void setRevealHandler(RevealHandler handler);
    static void reset();

    static bool openUrlWithDesktop(const QUrl& url);
    static bool revealWithFileManager(const QString& path);
};
