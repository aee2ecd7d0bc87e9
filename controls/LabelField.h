#pragma once

#include <QColor>
#include <QLabel>

// A non-editable, borderless text field used as a label inside the kit's controls, with a text colour that
// holds in every state and inside any parent, a button included (an invalid colour returns to the palette's own). Like
// the platform's text field it draws its line at the top of its frame, not centred vertically. It takes no mouse
// events, so presses reach the control it belongs to.
class LabelField : public QLabel {
    Q_OBJECT
public:
    explicit LabelField(QWidget* parent = nullptr);

    QColor textColor() const { return _textColor; }
    void setTextColor(const QColor& color);
    QString stringValue() const { return text(); }
    void setStringValue(const QString& value) { setText(value); }

private:
    QColor _textColor;
};
