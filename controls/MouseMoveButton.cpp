#include "MouseMoveButton.h"

#include "ControlsLog.h"

MouseMoveButton::MouseMoveButton(QWidget* parent) : QPushButton(parent) {
    setMouseTracking(true);
}

void MouseMoveButton::mouseMoveEvent(QMouseEvent* event) {
    qCDebug(lcControls, "%s", "-[MouseMoveButton mouseMoved:]");
    QPushButton::mouseMoveEvent(event);
}
