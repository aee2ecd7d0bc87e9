#pragma once

#include <QPushButton>

class ButtonMouseDelegate;

// The plain button of the format browser's page arrows. Its clicks are the platform button's own (the clicked
// signal); pointer movement over it is only logged. The mouse delegate is kept but never called.
class MouseMoveButton : public QPushButton {
    Q_OBJECT
public:
    explicit MouseMoveButton(QWidget* parent = nullptr);

    ButtonMouseDelegate* mouseDelegate() const { return _mouseDelegate; }
    void setMouseDelegate(ButtonMouseDelegate* delegate) { _mouseDelegate = delegate; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    ButtonMouseDelegate* _mouseDelegate = nullptr;
};
