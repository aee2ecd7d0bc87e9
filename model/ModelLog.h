#pragma once

#include <QLoggingCategory>

// Log lines of the shared model ("clipwright.model"): record destruction and colour packing. Debug lines are off
// unless enabled with QT_LOGGING_RULES="clipwright.model.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcModel)
