#include "LQButton.h"

#include "ControlFont.h"
#include "ControlsLog.h"
#include "ImageLayerView.h"
#include "LQButtonDelegate.h"
#include "LabelField.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QMouseEvent>

LQButton::LQButton(const ViewRect& frame, QWidget* parent) : QWidget(parent), _title(QStringLiteral("title")) {
    ViewFrame::setFrame(this, frame);
    _backImage = ResourceBundle::imageWithfileName("Resources/edit_cancel_normal.png");
    _heightBackImage = ResourceBundle::imageWithfileName("Resources/edit_cancel_alternate.png");
    _backgroundView = new ImageLayerView(this);
    _backgroundView->setFrame({0, 0, frame.width, frame.height});
    _backgroundView->setImage(_backImage);
    _titleLabel = new LabelField(this);
    ViewFrame::setFrame(_titleLabel, {0, -5, frame.width, 30});
    _titleLabel->setFont(ControlFont::system(12));
    _titleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    _titleLabel->setTextColor(Qt::white);
    _normalColor = Qt::white;
    _heightedColor = Qt::white;
    _selectedColor = QColor(255, 81, 0);
    setSelected(false);
}

LQButton::~LQButton() {
    qCDebug(lcControls, "%s", "-[LQButton dealloc]");
}

QColor LQButton::stateColor() const {
    if (!isEnabled())
        return _disabledColor;
    return _selected ? _selectedColor : _normalColor;
}

void LQButton::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        _titleLabel->setTextColor(stateColor());
}

void LQButton::resizeEvent(QResizeEvent*) {
    _backgroundView->setFrame({0, 0, double(width()), double(height())});
}

void LQButton::setSelected(bool selected) {
    _selected = selected;
    _titleLabel->setTextColor(stateColor());
    if (!_title.isNull())
        _titleLabel->setText(_title);
    update();
}

void LQButton::setTitle(const QString& title) {
    _title = title;
    _titleLabel->setText(title);
    _titleLabel->setTextColor(stateColor());
    update();
}

void LQButton::setNormalColor(const QColor& color) {
    _normalColor = color;
    _titleLabel->setTextColor(color);
    update();
}

void LQButton::setFont(const std::optional<QFont>& font) {
    _font = font;
    if (font)
        _titleLabel->setFont(*font);
    update();
}

void LQButton::setBackImage(const QImage& image) {
    _backImage = image;
    _backgroundView->setImage(image);
}

void LQButton::setHeightBackImage(const QImage& image) {
    _heightBackImage = image;
    _backgroundView->setImage(image);
}

void LQButton::setTitleLabelFrame(const ViewRect& frame) {
    _titleLabelFrame = frame;
    ViewFrame::setFrame(_titleLabel, frame);
}

void LQButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    _titleLabel->setTextColor(_heightedColor);
    _backgroundView->setImage(_heightBackImage);
}

void LQButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    _backgroundView->setImage(_backImage);
    _selected = true;
    _titleLabel->setTextColor(_selectedColor);
    if (_delegate && _delegate->respondsTo(LQButtonDelegate::Method::MouseUp))
        _delegate->actionMouseUpForLQButtonBlock(this);
    update();
}
