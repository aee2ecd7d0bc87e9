#include "CutItemView.h"

#include "ControlFont.h"
#include "SegmentListGeometry.h"
#include "ShownTime.h"
#include "ViewFrame.h"

#include <QCursor>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

CutItemView::CutItemView(const ViewRect& frame, QWidget* parent) : QAbstractButton(parent) {
    ViewFrame::setFrame(this, frame);
    const ViewSize size{frame.width, frame.height};
    _backView = new QLabel(this);
    _backView->setScaledContents(true);
    ViewFrame::setFrame(_backView, SegmentListGeometry::tileBackFrame(size));
    _iconView = new QLabel(this);
    _iconView->setAlignment(Qt::AlignCenter);
    ViewFrame::setFrame(_iconView, SegmentListGeometry::tileIconFrame(size));
    _titleField = new QLabel(this);
    _titleField->setAlignment(Qt::AlignCenter);
    _titleField->setFont(ControlFont::system(11));
    _titleField->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    ViewFrame::setFrame(_titleField, SegmentListGeometry::tileTitleFrame(size));
    for (QLabel* part : {_backView, _iconView, _titleField})
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (_action)
            _action(this);
    });
}

CutItemView::~CutItemView() = default;

void CutItemView::setSelected(bool selected) {
    _selected = selected;
    showBackground();
    update();
}

void CutItemView::setItem(std::shared_ptr<CutItem> item) {
    _item = std::move(item);
    if (!_item) {
        _iconView->clear();
        _shownThumbKey = 0;
        _titleField->clear();
        return;
    }
    const QImage thumb = _item->thumbImage();
    // The list shows its tiles again after every change: a picture already shown is not scaled again.
    if (thumb.isNull()) {
        _iconView->clear();
        _shownThumbKey = 0;
    } else if (thumb.cacheKey() != _shownThumbKey) {
        _iconView->setPixmap(
            QPixmap::fromImage(thumb.scaled(_iconView->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        _shownThumbKey = thumb.cacheKey();
    }
    _titleField->setText(ShownTime::text(_item->startTime()) + QStringLiteral("-") + ShownTime::text(_item->endTime()));
    update();
}

QString CutItemView::title() const {
    return _titleField->text();
}

void CutItemView::setNbordColor(const QColor& color) {
    _nbordColor = color;
    update();
}

void CutItemView::setSbordColor(const QColor& color) {
    _sbordColor = color;
    update();
}

void CutItemView::setNbackGroundImage(const QImage& image) {
    _nbackGroundImage = image;
    showBackground();
}

void CutItemView::setSbackGroundImage(const QImage& image) {
    _sbackGroundImage = image;
    showBackground();
}

void CutItemView::showBackground() {
    const QImage& image = _selected ? _sbackGroundImage : _nbackGroundImage;
    // Without an image the background keeps the picture it had.
    if (!image.isNull())
        _backView->setPixmap(QPixmap::fromImage(image));
}

void CutItemView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor& fill = _selected ? _sbackGroundColor : _nbackGroundColor;
    if (fill.isValid())
        painter.fillRect(rect(), fill);
    // The background picture is set when the selection or a picture changes, never here: setting a label's
    // pixmap asks for another paint, and the tile would repaint without end.
}

void CutItemView::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    hover(_mouseEntered);
}

void CutItemView::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    hover(_mouseExited);
}

void CutItemView::hover(const HoverBlock& block) {
    if (!isEnabled() || !block)
        return;
    QWidget* top = window();
    const ViewPoint inWindow = ViewFrame::pointFromQt(top, top->mapFromGlobal(QCursor::pos()));
    ViewPoint origins[5];
    const QWidget* view = this;
    for (int i = 0; i < 5 && view != nullptr && view != top; ++i) {
        const ViewRect frame = ViewFrame::frame(view);
        origins[i] = ViewPoint{frame.x, frame.y};
        view = view->parentWidget();
    }
    block(this, SegmentListGeometry::hoverPoint(inWindow, origins));
}
