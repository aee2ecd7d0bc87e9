#include "LQRadioButton.h"

#include "ControlFont.h"
#include "ControlsLog.h"
#include "ImageLayerView.h"
#include "LQRadioButtonDelegate.h"
#include "LabelField.h"
#include "ViewFrame.h"

#include <QMouseEvent>
#include <QRadioButton>

LQRadioButton::LQRadioButton(const ViewRect& frame, QWidget* parent)
    : QWidget(parent), _title(QStringLiteral("title")) {
    ViewFrame::setFrame(this, frame);
    const double w = frame.width;
    const double h = frame.height;
    _backgroundView = new ImageLayerView(this);
    _backgroundView->setFrame({0, 0, w, h});
    _iconView = new QRadioButton(this);
    _iconView->setAutoExclusive(false);
    _iconView->setChecked(true);
    ViewFrame::setFrame(_iconView, {5, (h - 20) / 2, 20, 20});
    connect(_iconView, &QRadioButton::clicked, this, [this] { click(); });
    _titleLabel = new LabelField(this);
    ViewFrame::setFrame(_titleLabel, {25, (h - 25) / 2 - 3, w - 30, 25});
    _titleLabel->setFont(ControlFont::system(13));
    _titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    _normalColor = Qt::black;
    _heightedColor = Qt::black;
    _selectedColor = Qt::black;
    setSelected(false);
}

LQRadioButton::~LQRadioButton() {
    qCDebug(lcControls, "%s", "-[LQRadioButton dealloc]");
}

void LQRadioButton::applyLook() {
    _iconView->setEnabled(isEnabled());
    if (isEnabled()) {
        _iconView->setChecked(_selected);
        _titleLabel->setTextColor(_selected ? _selectedColor : _normalColor);
    } else {
        _titleLabel->setTextColor(_disabledColor);
    }
}

void LQRadioButton::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        applyLook();
}

void LQRadioButton::setSelected(bool selected) {
    _selected = selected;
    applyLook();
    if (!_title.isNull())
        _titleLabel->setText(_title);
    update();
}

void LQRadioButton::setFont(const std::optional<QFont>& font) {
    _font = font;
    if (font)
        _titleLabel->setFont(*font);
    update();
}

void LQRadioButton::click() {
    _selected = true;
    _iconView->setEnabled(isEnabled());
    if (!isEnabled()) {
        _titleLabel->setTextColor(_disabledColor);
        return;
    }
    _iconView->setChecked(true);
    _titleLabel->setTextColor(_selectedColor);
    if (_delegate && _delegate->respondsTo(LQRadioButtonDelegate::Method::MouseUp))
        _delegate->actionMouseUpForLQRadioButtonBlock(this);
    update();
}

void LQRadioButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // Of the state images only this one is ever shown, in the circle from the first press on.
    if (!heightedImage().isNull())
        _iconView->setIcon(QIcon(QPixmap::fromImage(heightedImage())));
    _titleLabel->setTextColor(_heightedColor);
}

void LQRadioButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        click();
}
