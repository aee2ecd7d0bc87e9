#include "LQSwitchButton.h"

#include "ControlFont.h"
#include "ControlsLog.h"
#include "ImageLayerView.h"
#include "LQSwitchButtonDelegate.h"
#include "LabelField.h"
#include "ViewFrame.h"

#include <QMouseEvent>

LQSwitchButton::LQSwitchButton(const ViewRect& frame, QWidget* parent) : QWidget(parent) {
    ViewFrame::setFrame(this, frame);
    const double w = frame.width;
    const double h = frame.height;
    _imageView = new ImageLayerView(this, ImageLayerView::Scaling::ProportionallyDown);
    _imageView->setFrame({0, 0, h, h});
    _titleLabel = new LabelField(this);
    ViewFrame::setFrame(_titleLabel, {h + 5, (h - 18) / 2, w - (h + 10), 20});
    _titleLabel->setFont(ControlFont::system(13));
    _titleLabel->setTextColor(Qt::white);
    _titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    _imageView->raise();
}

LQSwitchButton::~LQSwitchButton() {
    qCDebug(lcControls, "%s", "-[LQSwitchButton dealloc]");
}

void LQSwitchButton::setSelected(bool selected) {
    _selected = selected;
    const QImage& image = selected ? _selectedImage : _normalImage;
    if (!image.isNull())
        _imageView->setImage(image);
    QColor& color = selected ? _selectedColor : _normalColor;
    if (!color.isValid())
        color = Qt::black;
    if (!_title.isEmpty()) {
        _titleLabel->setText(_title);
        _titleLabel->setTextColor(color);
    }
}

void LQSwitchButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (!_heightedImage.isNull())
        _imageView->setImage(_heightedImage);
    if (!_title.isEmpty()) {
        if (!_heightedColor.isValid())
            _heightedColor = Qt::black;
        _titleLabel->setText(_title);
        _titleLabel->setTextColor(_heightedColor);
    }
}

void LQSwitchButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    qCDebug(lcControls, "2");
    setSelected(!_selected);
    setSelected(_selected);
    if (_delegate && _delegate->respondsTo(LQSwitchButtonDelegate::Method::MouseUp))
        _delegate->actionMouseUpForSwitchButtonBlock(this);
}
