#pragma once

class MouseMoveButton;

// Declared for the page-arrow buttons' owners; the button never sends either method.
class ButtonMouseDelegate {
public:
    virtual ~ButtonMouseDelegate() = default;

    virtual void mouseupEntered(MouseMoveButton*) {}
    virtual void mousedownExited(MouseMoveButton*) {}
};
