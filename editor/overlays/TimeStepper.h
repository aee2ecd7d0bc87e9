#pragma once

#include "ViewRect.h"

class QSpinBox;
class QWidget;

// The steppers beside the editor panels' time and number fields: only the arrows show (the value is typed in
// the fields), wrapping 0 to 59 until the owner binds it to a field.
class TimeStepper {
public:
    static QSpinBox* make(QWidget* parent, const ViewRect& frame);
};
