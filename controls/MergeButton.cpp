#include "MergeButton.h"

#include "ControlsLog.h"
#include "ImageLayerView.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QPainter>

MergeButton::MergeButton(const ViewRect& frame, QWidget* parent) : QPushButton(parent) {
    ViewFrame::setFrame(this, frame);
    setFlat(true);
    _background = ResourceBundle::imageWithfileName("Resources/MergeBackground.png");
    _knobView = new ImageLayerView(this);
    _knobView->setFrame({0, 0, frame.width / 2, frame.height});
    _knobView->setImage(ResourceBundle::imageWithfileName("Resources/MergeKnob.png"));
}

MergeButton::~MergeButton() {
    qCDebug(lcControls, "%s", "-[MergeButton dealloc]");
}

void MergeButton::setselected(bool selected) {
    _selected = selected;
    const double w = width();
    const double h = height();
    _knobView->setFrame({selected ? w / 2 : 0, 0, w / 2, h});
}

void MergeButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (_background.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), _background);
}
