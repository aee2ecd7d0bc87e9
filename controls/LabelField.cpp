#include "LabelField.h"

LabelField::LabelField(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void LabelField::setTextColor(const QColor& color) {
    _textColor = color;
    QPalette p = parentWidget() != nullptr ? parentWidget()->palette() : QPalette();
    if (color.isValid())
        p.setColor(QPalette::WindowText, color); // every colour group, so a disabled label keeps it
    setPalette(p);
}
