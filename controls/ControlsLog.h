#pragma once

#include <QLoggingCategory>

// Log lines of the control kit ("clipwright.controls"): destruction of controls and value traces of the sliders.
// Debug lines are off unless enabled with QT_LOGGING_RULES="clipwright.controls.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcControls)
