#include "LQCustomButton.h"

#include "ControlsLog.h"
#include "HelpClass.h"
#include "ImageLayerView.h"
#include "LQCustomButtonDelegate.h"
#include "LQTitleButton.h"
#include "ViewFrame.h"

#include <QMouseEvent>

namespace {

const QColor NormalCaptionDefault = QColor::fromRgbF(0.828f, 0.828f, 0.828f);
const QColor HighlightCaptionDefault = QColor::fromRgbF(0.404f, 0.756f, 1.0f);

// The system UI font's name on the original platform; the font database falls back to the default sans font.
const char* const SystemFontName = ".AppleSystemUIFont";

} // namespace

LQCustomButton::LQCustomButton(const ViewRect& frame, QWidget* parent)
    : QWidget(parent), _fontname(QString::fromLatin1(SystemFontName)) {
    ViewFrame::setFrame(this, frame);
    setAttribute(Qt::WA_NoMousePropagation);
    const double w = frame.width;
    const double h = frame.height;
    _backView = new ImageLayerView(this);
    _backView->setFrame({0, 0, w, h});
    _imageView = new ImageLayerView(this, ImageLayerView::Scaling::ProportionallyDown);
    _imageView->setFrame({0, 15, w, h - 15});
    _titleBtn = new LQTitleButton(this);
    _titleBtn->setFlat(true);
    _titleBtn->setText(QStringLiteral(""));
    // Disabled, as it is made; its presses fall through to the tile, which handles them exactly as the caption's
    // forwarded ones.
    _titleBtn->setEnabled(false);
    _titleBtn->setAttribute(Qt::WA_TransparentForMouseEvents);
    _titleBtn->setDelegate(this);
    ViewFrame::setFrame(_titleBtn, {-2, 0, w + 4, h});
}

LQCustomButton::~LQCustomButton() {
    qCDebug(lcControls, "%s", "-[LQCustomButton dealloc]");
}

void LQCustomButton::setSelected(bool selected) {
    _selected = selected;
    if (_title.isEmpty())
        _title = QStringLiteral("  ");
    QImage back;
    QImage icon;
    QColor* caption;
    QColor fallback;
    if (!isEnabled()) {
        back = _disableBackImage;
        icon = _disableImage;
        caption = &_disableTitleColor;
        fallback = HighlightCaptionDefault;
    } else if (selected) {
        back = _selectedBackImage;
        icon = _selectedImage;
        caption = &_selectedTitleColor;
        fallback = HighlightCaptionDefault;
    } else {
        back = _normalBackImage;
        icon = _normalImage;
        caption = &_normalTitleColor;
        fallback = NormalCaptionDefault;
    }
    _backView->setImage(back);
    _imageView->setImage(icon);
    if (!caption->isValid())
        *caption = fallback;
    setTitle(_title, *caption, 2);
}

void LQCustomButton::setTitle(const QString& title, const QColor& color, unsigned alignment) {
    const qint64 size = _fontsize > 0 ? _fontsize : 12;
    _titleBtn->setAttributedStringTitle(HelpClass::retButtonTitle(title, color, _fontname, size, false, alignment));
    _titleBtn->setFlat(true);
}

void LQCustomButton::setTitleRect(const ViewRect& rect) {
    ViewFrame::setFrame(_titleBtn, rect);
}

void LQCustomButton::setCellTextPosition(unsigned long long position) {
    _cellTextPosition = position;
    const double w = width();
    const double h = height();
    ViewRect icon;
    switch (position) {
    case 0:
        icon = {w - h, 0, h, h};
        break;
    case 1:
        icon = {0, 0, h, h};
        break;
    case 2:
        icon = {0, 0, w, h - 15};
        break;
    case 3:
        icon = {0, 18, w, h - 15};
        break;
    case 4:
        icon = {0, 0, w, h};
        break;
    default:
        return;
    }
    _imageView->setFrame(icon);
    if (!_titleLab)
        return;
    switch (position) {
    case 0:
        setTitleRect({0, 0, icon.x, h});
        break;
    case 1:
        setTitleRect({icon.maxX(), 0, w - icon.maxX(), h});
        break;
    case 2:
        setTitleRect({0, icon.maxY(), w, 18});
        break;
    case 3:
        setTitleRect({0, 4, w, 18});
        break;
    default:
        break;
    }
}

void LQCustomButton::reportClick() {
    if (isEnabled() && _delegate && _delegate->respondsTo(LQCustomButtonDelegate::Method::MouseUp))
        _delegate->actionMouseUpForCustomButtonBlock(this);
}

void LQCustomButton::pressed() {
    if (!isEnabled())
        return;
    if (!_hightideBackImage.isNull())
        _backView->setImage(_hightideBackImage);
    else
        reportClick();
}

void LQCustomButton::released() {
    if (isEnabled() && !_hightideBackImage.isNull())
        reportClick();
}

void LQCustomButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed();
}

void LQCustomButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        released();
}

void LQCustomButton::actionMouseDownForTitleButtonBlock(LQTitleButton*) {
    pressed();
}

void LQCustomButton::actionMouseUpForTitleButtonBlock(LQTitleButton*) {
    released();
}
