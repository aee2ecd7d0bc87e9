#pragma once

#include <QLoggingCategory>

// Log lines of the application shell and the feature-window frame ("clipwright.shell"): output names, engine
// codes, folder creation, chosen files.
Q_DECLARE_LOGGING_CATEGORY(lcShell)
