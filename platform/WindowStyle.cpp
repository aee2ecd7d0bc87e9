#include "WindowStyle.h"

#include <QPalette>
#include <QWidget>

void WindowStyle::apply(QWidget* window) {
    if (window == nullptr)
        return;
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, backgroundColor());
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}
