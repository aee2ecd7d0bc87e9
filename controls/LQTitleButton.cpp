#include "LQTitleButton.h"

#include "LQTitleButtonDelegate.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// The rectangle of a text wrapped within the area, centred in it.
QRectF centredTextRect(const QRectF& area, const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    const QRectF measured =
        metrics.boundingRect(QRectF(QPointF(0, 0), area.size()), Qt::AlignHCenter | Qt::TextWordWrap, text);
    return QRectF(area.x() + (area.width() - measured.width()) / 2, area.y() + (area.height() - measured.height()) / 2,
                  measured.width(), measured.height());
}

} // namespace

LQTitleButton::LQTitleButton(QWidget* parent) : QPushButton(parent) {}

void LQTitleButton::setTitleFont(const std::optional<QFont>& font) {
    _titleFont = font;
    update();
}

void LQTitleButton::setAttributedStringTitle(const std::optional<ButtonTitle>& title) {
    _attributedStringTitle = title;
    update();
}

void LQTitleButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (_delegate && _delegate->respondsTo(LQTitleButtonDelegate::Method::MouseDown))
        _delegate->actionMouseDownForTitleButtonBlock(this);
}

void LQTitleButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (_delegate && _delegate->respondsTo(LQTitleButtonDelegate::Method::MouseUp))
        _delegate->actionMouseUpForTitleButtonBlock(this);
}

void LQTitleButton::paintEvent(QPaintEvent* event) {
    const QString plainTitle = text();
    QPainter painter(this);
    // The base button draws its bezel only; both titles are drawn here.
    if (!isFlat()) {
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = event->rect();
    if (_attributedStringTitle && !_attributedStringTitle->isEmpty()) {
        const ButtonTitle& title = *_attributedStringTitle;
        // Measured in the font it is drawn in: a box measured in any other font clips or misplaces the text.
        const QRectF box = centredTextRect(area, title.font, title.text);
        const int flags = int(title.alignment) | Qt::AlignVCenter | Qt::TextWordWrap;
        if (title.shadowBlurRadius > 0 || title.shadowOffset.width != 0 || title.shadowOffset.height != 0) {
            painter.setFont(title.font);
            painter.setPen(title.shadowColor);
            painter.drawText(box.translated(title.shadowOffset.width, -title.shadowOffset.height), flags, title.text);
        }
        painter.setFont(title.font);
        painter.setPen(title.color.isValid() ? title.color : QColor(Qt::black));
        painter.drawText(box, flags, title.text);
    }
    if (!plainTitle.isNull()) {
        if (_backgroundColor.isValid())
            painter.fillRect(rect(), _backgroundColor);
        QFont verdana(QStringLiteral("Verdana"));
        verdana.setPixelSize(12);
        const QFont plainFont = _titleFont.value_or(verdana);
        painter.setFont(plainFont);
        painter.setPen(_titleColor.isValid() ? _titleColor : QColor(Qt::black));
        painter.drawText(centredTextRect(area, plainFont, plainTitle), Qt::AlignHCenter | Qt::TextWordWrap, plainTitle);
    }
}
