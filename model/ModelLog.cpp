#include "ModelLog.h"

Q_LOGGING_CATEGORY(lcModel, "clipwright.model", QtInfoMsg)
