#pragma once

#include <QLoggingCategory>

// Diagnostics of the profile code (reader, parsers, browser, settings dialog). Debug lines are off unless
// QT_LOGGING_RULES enables "clipwright.formats.debug".
Q_DECLARE_LOGGING_CATEGORY(lcFormats)
