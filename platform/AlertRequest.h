#pragma once

#include <QString>
#include <QStringList>

// A plain alert: a message, an informative text and its buttons, the first being the default.
struct AlertRequest {
    enum class Style { Warning, Informational, Critical };
    Style style = Style::Warning;
    QString messageText;     // the bold first line (the callers' window title)
    QString informativeText; // the text below it
    QStringList buttons;     // none: a single "OK"
};
