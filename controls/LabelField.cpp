#include "LabelField.h"

LabelField::LabelField(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void LabelField::setTextColor(const QColor& color) {
    _textColor = color;
    QPalette p = parentWidget() != nullptr ? parentWidget()->palette() : QPalette();
    // Every colour group, so a disabled label keeps it, and every text role: a label inside a button inherits the
    // button's text role (ButtonText) as its own foreground, and the colour must hold there too.
    if (color.isValid())
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            p.setColor(role, color);
    setPalette(p);
}
