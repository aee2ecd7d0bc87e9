#pragma once

#include "ViewRect.h"

#include <QWidget>

#include <functional>

class QToolButton;

// A stepper of two small arrows over a value from 0 to 59: step 1, wrapping at both ends, repeating while held.
// Each press changes the value and then calls the action.
class TimeStepper : public QWidget {
    Q_OBJECT
public:
    TimeStepper(const ViewRect& frame, QWidget* parent);

    long long integerValue() const { return _value; }
    void setIntegerValue(long long value);
    void setAction(std::function<void(TimeStepper*)> action) { _action = std::move(action); }
    // Presses the up (true) or down arrow, as a click does.
    void step(bool up);

    static constexpr long long kMinimum = 0;
    static constexpr long long kMaximum = 59;

private:
    long long _value = 0;
    QToolButton* _up;
    QToolButton* _down;
    std::function<void(TimeStepper*)> _action;
};
