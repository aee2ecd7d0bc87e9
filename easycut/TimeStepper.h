#pragma once

#include "ArrowStepper.h"

#include <functional>

// The easy cutter's stepper: the arrow stepper over 0 to 59, reporting itself as a TimeStepper.
class TimeStepper : public ArrowStepper {
    Q_OBJECT
public:
    TimeStepper(const ViewRect& frame, QWidget* parent) : ArrowStepper(frame, parent) { setMaxValue(kMaximum); }

    void setAction(std::function<void(TimeStepper*)> action) {
        ArrowStepper::setAction([action = std::move(action)](ArrowStepper* stepper) {
            if (action)
                action(static_cast<TimeStepper*>(stepper));
        });
    }

    static constexpr long long kMinimum = 0;
    static constexpr long long kMaximum = 59;
};
