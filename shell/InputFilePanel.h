#pragma once

#include <QStringList>

class QWidget;

// The open panel every feature window picks its input files with: several files, no folders, the forty media
// types of the application listed first, then the other containers the engine reads, and any other file allowed
// as well. Every name typed in the panel is passed on: the windows name the files they cannot open.
class InputFilePanel {
public:
    // The chosen paths (logged as "urls:..."), or an empty list when the user cancelled.
    static QStringList run(QWidget* parent);
    // For a window that opens one file: the first chosen, or empty. Further files chosen are named in an alert
    // as not opened.
    static QString runForOne(QWidget* parent);
    // mov, qt, mp4, ... ac3: the forty extensions in the panel's order, then webm and the others the engine reads.
    static QStringList allowedFileTypes();
};
