#pragma once

#include <QUrl>

class QWidget;

// Opens a web or mail link with the desktop's handler; when none takes it, says so and shows the address, so
// the user can still copy it.
class LinkOpener {
public:
    static bool open(const QUrl& url, QWidget* parent);
};
