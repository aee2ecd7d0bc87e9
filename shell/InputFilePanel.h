#pragma once

#include <QStringList>

class QWidget;

// The open panel every feature window picks its input files with: several files, no folders, the forty media
// types of the application listed first and any other file allowed as well.
class InputFilePanel {
public:
    // The chosen paths (logged as "urls:..."), or an empty list when the user cancelled.
    static QStringList run(QWidget* parent);
    // mov, qt, mp4, ... ac3: the forty extensions in the panel's order.
    static QStringList allowedFileTypes();
};
