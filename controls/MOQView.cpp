#include "MOQView.h"

#include "ViewFrame.h"

#include <QPainter>

MOQView::MOQView(QWidget* parent) : PanelView(parent) {}

MOQView::MOQView(const ViewRect& frame, QWidget* parent) : MOQView(parent) {
    ViewFrame::setFrame(this, frame);
}

void MOQView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    beginPanel(painter);
    fillPanel(painter);
    endPanel(painter);
}
