#pragma once

#include "OpenPanelOptions.h"

#include <QStringList>

#include <functional>

class QWidget;

// The open panel behind a seam: run() asks the current provider, which is a QFileDialog unless a test replaced
// it with setProvider(). The result is the chosen absolute paths; an empty list means the user cancelled.
class OpenPanel {
public:
    using Provider = std::function<QStringList(const OpenPanelOptions& options, QWidget* parent)>;

    static QStringList run(const OpenPanelOptions& options, QWidget* parent = nullptr);

    static void setProvider(Provider provider);
    static void resetProvider();
    static QStringList runFileDialog(const OpenPanelOptions& options, QWidget* parent);
};
