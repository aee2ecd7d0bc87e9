#include "MakeLabel.h"

#include "ControlFont.h"
#include "ViewFrame.h"

#include <QLabel>

QLabel* makeLabel(QWidget* parent, const ViewRect& frame, const QString& text, double fontSize, const QString& color) {
    auto* label = new QLabel(parent);
    ViewFrame::setFrame(label, frame);
    label->setFont(ControlFont::system(fontSize));
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(color));
    label->setText(text);
    return label;
}
