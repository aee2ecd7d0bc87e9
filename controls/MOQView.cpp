#include "MOQView.h"

#include "SpecFrame.h"

#include <QPainter>

MOQView::MOQView(QWidget* parent) : PanelView(parent) {}

MOQView::MOQView(const SpecRect& frame, QWidget* parent) : MOQView(parent) {
    SpecFrame::setFrame(this, frame);
}

void MOQView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    beginPanel(painter);
    fillPanel(painter);
    endPanel(painter);
}
