#include "FormatsLog.h"

Q_LOGGING_CATEGORY(lcFormats, "clipwright.formats", QtInfoMsg)
