#include "TimeStepper.h"

#include "ViewFrame.h"

#include <QSpinBox>

QSpinBox* TimeStepper::make(QWidget* parent, const ViewRect& frame) {
    auto* s = new QSpinBox(parent);
    s->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    s->setWrapping(true);
    s->setRange(0, 59);
    s->setStyleSheet("QSpinBox { color: transparent; }");
    s->setFocusPolicy(Qt::NoFocus);
    ViewFrame::setFrame(s, frame);
    return s;
}
