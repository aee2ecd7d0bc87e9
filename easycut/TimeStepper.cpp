#include "TimeStepper.h"

#include "ViewFrame.h"

#include <QToolButton>

TimeStepper::TimeStepper(const ViewRect& frame, QWidget* parent) : QWidget(parent) {
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

void TimeStepper::setIntegerValue(long long value) {
    _value = std::clamp(value, kMinimum, kMaximum);
}

void TimeStepper::step(bool up) {
    if (!isEnabled())
        return;
    if (up)
        _value = _value >= kMaximum ? kMinimum : _value + 1;
    else
        _value = _value <= kMinimum ? kMaximum : _value - 1;
    if (_action)
        _action(this);
}
