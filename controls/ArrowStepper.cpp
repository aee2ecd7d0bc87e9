#include "ArrowStepper.h"

#include "ViewFrame.h"

#include <QToolButton>

#include <algorithm>

ArrowStepper::ArrowStepper(const ViewRect& frame, QWidget* parent) : QWidget(parent) {
    ViewFrame::setFrame(this, frame);
    const double half = frame.height / 2;
    _up = new QToolButton(this);
    _down = new QToolButton(this);
    _up->setArrowType(Qt::UpArrow);
    _down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {_up, _down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"));
    }
    ViewFrame::setFrame(_up, ViewRect{0, half, frame.width, half});
    ViewFrame::setFrame(_down, ViewRect{0, 0, frame.width, half});
    connect(_up, &QToolButton::clicked, this, [this] { step(true); });
    connect(_down, &QToolButton::clicked, this, [this] { step(false); });
}

void ArrowStepper::setIntegerValue(long long value) {
    _value = std::clamp(value, 0LL, _maximum);
}

void ArrowStepper::setMaxValue(long long maximum) {
    _maximum = std::max(0LL, maximum);
    _value = std::min(_value, _maximum);
}

void ArrowStepper::step(bool up) {
    if (!isEnabled())
        return;
    if (up)
        _value = _value >= _maximum ? 0 : _value + 1;
    else
        _value = _value <= 0 ? _maximum : _value - 1;
    if (_action)
        _action(this);
}
