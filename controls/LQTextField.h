#pragma once

#include "ViewRect.h"

#include <QLineEdit>

class LQTextFieldDelegate;
class NSTextFieldDelegate;

// The text field of every time and number field that works with steppers. It starts disabled until its owner
// enables it. A press on the enabled field goes to the mouse delegate (the owner then binds its steppers to it)
// instead of the field's own press handling; typing reaches it through the keyboard focus.
class LQTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit LQTextField(QWidget* parent = nullptr);
    LQTextField(const ViewRect& frame, QWidget* parent);
    ~LQTextField() override;

    LQTextFieldDelegate* mouseDelegate() const { return _mouseDelegate; }
    void setMouseDelegate(LQTextFieldDelegate* delegate) { _mouseDelegate = delegate; }
    NSTextFieldDelegate* delegate() const { return _delegate; }
    void setDelegate(NSTextFieldDelegate* delegate) { _delegate = delegate; }

    // The ordinary value methods: a number is read from the text's leading part ("12.5s" gives 12.5, "x" gives 0).
    QString stringValue() const { return text(); }
    void setStringValue(const QString& value);
    float floatValue() const;
    void setFloatValue(float value);
    long long integerValue() const;
    void setIntegerValue(long long value);

    bool isEditing() const { return _editing; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool mayEndEditing();

    LQTextFieldDelegate* _mouseDelegate = nullptr;
    NSTextFieldDelegate* _delegate = nullptr;
    bool _editing = false;
    bool _settingText = false;
};
