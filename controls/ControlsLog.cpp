#include "ControlsLog.h"

Q_LOGGING_CATEGORY(lcControls, "clipwright.controls", QtWarningMsg)
