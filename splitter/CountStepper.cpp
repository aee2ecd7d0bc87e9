#include "CountStepper.h"

#include "ViewFrame.h"

#include <QToolButton>

#include <algorithm>

CountStepper::CountStepper(const ViewRect& frame, long long minimum, long long maximum, QWidget* parent)
    : QWidget(parent), _value(minimum), _minimum(minimum), _maximum(maximum), _up(new QToolButton(this)),
      _down(new QToolButton(this)) {
    ViewFrame::setFrame(this, frame);
    const int w = int(frame.width);
    const int half = int(frame.height) / 2;
    _up->setArrowType(Qt::UpArrow);
    _down->setArrowType(Qt::DownArrow);
    _up->setGeometry(0, 0, w, half);
    _down->setGeometry(0, half, w, int(frame.height) - half);
    for (QToolButton* button : {_up, _down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(_up, &QToolButton::clicked, this, [this] { step(true); });
    connect(_down, &QToolButton::clicked, this, [this] { step(false); });
}

void CountStepper::setIntegerValue(long long value) {
    _value = std::clamp(value, _minimum, _maximum);
}

void CountStepper::step(bool up) {
    if (!isEnabled())
        return;
    setIntegerValue(_value + (up ? 1 : -1));
    if (_action)
        _action(this);
}
