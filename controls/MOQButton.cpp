#include "MOQButton.h"

#include "ControlsLog.h"
#include "MOQPosition.h"
#include "ViewFrame.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor DisabledTitleColor(173, 173, 173);

QSizeF naturalSize(const QImage& image) {
    return QSizeF(image.size()) / image.devicePixelRatio();
}

} // namespace

MOQButton::MOQButton(QWidget* parent) : QPushButton(parent) {
    QPushButton::setText(QString());
    setMouseTracking(false);
}

MOQButton::MOQButton(const ViewRect& frame, QWidget* parent) : MOQButton(parent) {
    ViewFrame::setFrame(this, frame);
}

MOQButton::~MOQButton() = default;

void MOQButton::setSelected(bool selected) {
    _selected = selected;
    update();
}

void MOQButton::setContentTitle(const QString& title) {
    _contentTitle = title;
    QPushButton::setText(QString());
    update();
}

void MOQButton::setImage(const QImage& image) {
    setIcon(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
    if (!image.isNull())
        setIconSize(image.size() / image.devicePixelRatio());
}

ButtonLook::Slot MOQButton::currentLook() const {
    return ButtonLook::choose(isEnabled(), _isUp, _isDown, _selected);
}

void MOQButton::pointerEntered() {
    _isUp = true;
    _isCanMouseUp = true;
    if (isEnabled() && _mouseEntered) {
        const Action entered = _mouseEntered;
        entered(this);
    }
    if (_underLine)
        setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ForbiddenCursor);
    update();
}

void MOQButton::pointerExited() {
    _isUp = false;
    _isCanMouseUp = false;
    if (isEnabled() && _mouseExited) {
        const Action exited = _mouseExited;
        exited(this);
    }
    setCursor(Qt::ArrowCursor);
    update();
}

void MOQButton::enterEvent(QEnterEvent*) {
    pointerEntered();
}

void MOQButton::leaveEvent(QEvent*) {
    pointerExited();
}

void MOQButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (_isCheckType) {
        QPushButton::mousePressEvent(event);
        return;
    }
    // The hit area is the button's live bounds: a press inside them counts as the pointer being over the button
    // even when no enter event came (a button that grew, or a window that was not active).
    if (!_isUp && rect().contains(event->position().toPoint()))
        pointerEntered();
    _isDown = true;
    update();
}

void MOQButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    if (!(event->buttons() & Qt::LeftButton))
        return;
    // While the button is held, leaving and re-entering its bounds disarm and re-arm the click.
    const bool inside = rect().contains(event->position().toPoint());
    if (_isDown && inside != _isUp) {
        if (inside)
            pointerEntered();
        else
            pointerExited();
    }
    qCDebug(lcControls, "%s x:%f", "-[MOQButton mouseDragged:]", event->scenePosition().x());
}

void MOQButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (_isCheckType) {
        QPushButton::mouseReleaseEvent(event);
    } else {
        _isDown = false;
        update();
    }
    if (_isCanMouseUp && _mouseDownAction && isEnabled()) {
        // The closure may replace itself or release the button; it runs last, on a copy.
        const Action action = _mouseDownAction;
        action(this);
    }
}

void MOQButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

void MOQButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);

    if (_cornerRadius > 0) {
        if (_bordColor.isValid()) {
            _layer.borderColor = _bordColor;
            _layer.borderWidth = _borderWidth;
        } else {
            _layer.borderWidth = 0;
        }
        _layer.masksToBounds = true;
        _layer.cornerRadius = _cornerRadius;
    }

    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds = rect();
    _layer.clip(painter, bounds);

    const ButtonLook::Slot look = currentLook();
    const QImage& background = _backgrounds[look];
    if (!background.isNull()) {
        painter.drawImage(bounds, background);
    } else {
        const QColor fill = isEnabled() ? _backGroundColor : _disAblebackGroundColor;
        if (fill.isValid())
            painter.fillRect(bounds, fill);
    }
    paintTitleAndImage(painter);
    painter.setClipping(false);
    _layer.paintBorder(painter, bounds);
    if (_keyboardFocus && hasFocus()) {
        QPen ring(palette().color(QPalette::Highlight), 2);
        ring.setStyle(Qt::DotLine);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(1, 1, -1, -1), 3, 3);
    }
}

void MOQButton::focusInEvent(QFocusEvent* event) {
    QPushButton::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    _keyboardFocus = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    update();
}

void MOQButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    _keyboardFocus = false;
    update();
}

void MOQButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool press = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!press || _isCheckType || event->modifiers() != Qt::NoModifier) {
        QPushButton::keyPressEvent(event);
        return;
    }
    if (isEnabled() && _mouseDownAction) {
        const Action action = _mouseDownAction;
        action(this);
    }
}

void MOQButton::paintTitleAndImage(QPainter& painter) {
    std::array<bool, ButtonLook::SlotCount> present{};
    for (int i = 0; i < ButtonLook::SlotCount; ++i)
        present[i] = !_images[i].isNull();
    const std::optional<ButtonLook::Slot> imageSlot = ButtonLook::imageSlot(currentLook(), _selected, present);

    ButtonLook::Input in;
    in.width = width();
    in.height = height();
    if (imageSlot) {
        QSizeF size = naturalSize(_images[*imageSlot]);
        // A picture larger than the button is drawn scaled down, in proportion, rather than cut at the edges.
        if (size.width() > width() || size.height() > height())
            size = size.scaled(QSizeF(width(), height()), Qt::KeepAspectRatio);
        in.hasImage = true;
        in.imageWidth = size.width();
        in.imageHeight = size.height();
    }
    const bool hasTitle = !_contentTitle.isEmpty();
    QColor titleColor;
    if (hasTitle) {
        QPushButton::setText(QString());
        if (!_contentColor.isValid())
            _contentColor = Qt::white;
        titleColor = isEnabled() ? _contentColor : DisabledTitleColor;
        const QFontMetricsF metrics(font());
        const QRectF measured =
            metrics.boundingRect(QRectF(0, 0, width(), height()), Qt::TextSingleLine, _contentTitle);
        in.titleWidth = measured.width();
        in.titleHeight = metrics.lineSpacing();
        in.measuredTitleX = std::max(0.0, measured.x());
    }
    if (_titlePosition) {
        in.hasTitlePosition = true;
        in.insetLeft = _titlePosition->left();
        in.insetRight = _titlePosition->right();
    }
    in.contentImagePosition = _contentImagePosition;
    const ButtonLook::Placement placement = ButtonLook::place(in);

    if (hasTitle) {
        const QRectF titleRect =
            ViewFrame::rectToQt(this, ViewRect{placement.title.x, placement.title.y, in.titleWidth, in.titleHeight});
        painter.setFont(font());
        painter.setPen(titleColor);
        painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, _contentTitle);
        if (_underLine) {
            // The line takes the colour the title was drawn in.
            const double y = titleRect.bottom() - 0.5;
            painter.drawLine(QPointF(titleRect.left(), y), QPointF(titleRect.left() + in.titleWidth, y));
        }
    }
    if (imageSlot && placement.image) {
        const QRectF imageRect =
            ViewFrame::rectToQt(this, ViewRect{placement.image->x, placement.image->y, in.imageWidth, in.imageHeight});
        painter.drawImage(imageRect, _images[*imageSlot]);
    }
}
