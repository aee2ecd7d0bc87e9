#include "ShellLog.h"

Q_LOGGING_CATEGORY(lcShell, "clipwright.shell", QtInfoMsg)
