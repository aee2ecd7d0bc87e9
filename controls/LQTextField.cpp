#include "LQTextField.h"

#include "ControlsLog.h"
#include "Dispatch.h"
#include "LQTextFieldDelegate.h"
#include "NSTextFieldDelegate.h"
#include "ViewFrame.h"

#include <QKeyEvent>
#include <QPointer>

#include <cstdlib>

LQTextField::LQTextField(QWidget* parent) : QLineEdit(parent) {
    setEnabled(false);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (_editing && !_settingText && _delegate)
            _delegate->controlTextDidChange(this);
    });
}

LQTextField::LQTextField(const ViewRect& frame, QWidget* parent) : LQTextField(parent) {
    ViewFrame::setFrame(this, frame);
}

LQTextField::~LQTextField() {
    qCDebug(lcControls, "%s", "-[LQTextField dealloc]");
}

void LQTextField::setStringValue(const QString& value) {
    _settingText = true;
    setText(value);
    _settingText = false;
}

float LQTextField::floatValue() const {
    const QByteArray bytes = text().trimmed().toUtf8();
    return std::strtof(bytes.constData(), nullptr);
}

void LQTextField::setFloatValue(float value) {
    setStringValue(QString::number(double(value)));
}

long long LQTextField::integerValue() const {
    const QByteArray bytes = text().trimmed().toUtf8();
    return std::strtoll(bytes.constData(), nullptr, 10);
}

void LQTextField::setIntegerValue(long long value) {
    setStringValue(QString::number(value));
}

void LQTextField::mousePressEvent(QMouseEvent* event) {
    qCDebug(lcControls, "down");
    if (!isEnabled()) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    if (_mouseDelegate && _mouseDelegate->respondsTo(LQTextFieldDelegate::Method::MouseDown))
        _mouseDelegate->actionMouseDownForTextFieldBlock(this);
}

void LQTextField::keyPressEvent(QKeyEvent* event) {
    const bool ends = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (ends) {
        if (_editing && mayEndEditing())
            _editing = false;
        QLineEdit::keyPressEvent(event);
        return;
    }
    const bool changesText = !event->text().isEmpty() || event->key() == Qt::Key_Backspace ||
                             event->key() == Qt::Key_Delete || event->matches(QKeySequence::Paste) ||
                             event->matches(QKeySequence::Cut);
    if (!_editing && changesText && !isReadOnly()) {
        if (_delegate && !_delegate->controlTextShouldBeginEditing(this))
            return;
        _editing = true;
    }
    QLineEdit::keyPressEvent(event);
}

bool LQTextField::mayEndEditing() {
    return !_delegate || _delegate->controlTextShouldEndEditing(this);
}

void LQTextField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!_editing)
        return;
    if (mayEndEditing()) {
        _editing = false;
        return;
    }
    // A refused end keeps the field in editing: the focus comes back once the focus change has finished.
    QPointer<LQTextField> self(this);
    Dispatch::main([self] {
        if (self && self->isEnabled() && self->isVisible())
            self->setFocus(Qt::OtherFocusReason);
    });
}
