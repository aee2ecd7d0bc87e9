#pragma once

#include "ViewRect.h"

#include <QWidget>

#include <functional>

class QToolButton;

// The count's stepper: two small arrows over a whole number between a minimum and a maximum, step 1, repeating
// while held. Each press changes the value and then calls the action.
class CountStepper : public QWidget {
    Q_OBJECT
public:
    CountStepper(const ViewRect& frame, long long minimum, long long maximum, QWidget* parent);

    long long integerValue() const { return _value; }
    // Kept within the range.
    void setIntegerValue(long long value);
    void setAction(std::function<void(CountStepper*)> action) { _action = std::move(action); }
    // Presses the up (true) or down arrow, as a click does.
    void step(bool up);
    QToolButton* upButton() const { return _up; }
    QToolButton* downButton() const { return _down; }

private:
    long long _value = 0;
    long long _minimum = 0;
    long long _maximum = 0;
    QToolButton* _up;
    QToolButton* _down;
    std::function<void(CountStepper*)> _action;
};
