#pragma once

#include "ViewRect.h"

#include <QWidget>

#include <functional>

class QToolButton;

// A stepper of two small arrows over a value from 0 to a maximum (59 unless set): step 1, wrapping at both ends,
// repeating while held. Each press changes the value, then calls the action. The time fields' steppers set the
// maximum by the unit of the field they serve.
class ArrowStepper : public QWidget {
    Q_OBJECT
public:
    ArrowStepper(const ViewRect& frame, QWidget* parent);

    long long integerValue() const { return _value; }
    // Kept within 0 and the maximum.
    void setIntegerValue(long long value);
    long long maxValue() const { return _maximum; }
    void setMaxValue(long long maximum);
    void setAction(std::function<void(ArrowStepper*)> action) { _action = std::move(action); }
    // Presses the up (true) or down arrow, as a click does.
    void step(bool up);

    QToolButton* upButton() const { return _up; }
    QToolButton* downButton() const { return _down; }

private:
    long long _value = 0;
    long long _maximum = 59;
    QToolButton* _up;
    QToolButton* _down;
    std::function<void(ArrowStepper*)> _action;
};
