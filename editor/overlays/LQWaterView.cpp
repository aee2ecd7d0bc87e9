#include "LQWaterView.h"

#include "LQCropTmpView.h"
#include "LQWaterViewDelegate.h"
#include "ViewFrame.h"

#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

LQWaterView::LQWaterView(const ViewRect& frame, QWidget* parent)
    : QWidget(parent), _model(frame), _leftView(new LQCropTmpView(this)), _topView(new LQCropTmpView(this)),
      _rightView(new LQCropTmpView(this)), _bottomView(new LQCropTmpView(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true); // hover cursors
    for (LQCropTmpView* edge : edgeViews()) {
        edge->setBackgroundColor(QColor(0, 0, 0, 0));
        edge->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (parent)
        ViewFrame::setFrame(this, frame);
    else
        resize(static_cast<int>(frame.width), static_cast<int>(frame.height));
    layEdgeViews();
}

LQWaterView::~LQWaterView() {
    qDebug("%s", "-[LQWaterView dealloc]");
}

void LQWaterView::setScale_Type(int type) {
    _model.setScale_Type(type);
    layEdgeViews();
    update();
}

void LQWaterView::setWaterMark(const QImage& image) {
    _waterMark = image;
    _model.setImageSize(image.isNull() ? ViewSize{} : ViewSize{double(image.width()), double(image.height())});
    contentChanged();
}

void LQWaterView::setWaterMarkString(const QString& text) {
    _waterMarkString = text;
    contentChanged();
}

void LQWaterView::setWaterMarkFont(const QFont& font) {
    _waterMarkFont = font;
    _hasFont = true;
}

void LQWaterView::setWaterMarkAlph(int alph) {
    _waterMarkAlph = alph;
    update();
}

void LQWaterView::setMarkWaterType(int type) {
    _model.setMarkWaterType(type);
    contentChanged();
}

void LQWaterView::contentChanged() {
    _model.setHasContent(!_waterMarkString.isEmpty() || !_waterMark.isNull());
    update();
}

void LQWaterView::setFrameRect(const ViewRect& frame) {
    _model.setFrameRect(frame);
    if (parentWidget())
        ViewFrame::setFrame(this, frame);
    else
        resize(static_cast<int>(frame.width), static_cast<int>(frame.height));
    layEdgeViews();
    update();
}

void LQWaterView::setClipRect(const ViewRect& rect) {
    _model.setClipRect(rect);
    layEdgeViews();
    update();
}

void LQWaterView::setCropOutline(const ViewRect& crop, const QString& outsideText) {
    _cropOutline = crop;
    _outsideText = outsideText;
    update();
}

bool LQWaterView::boxOutsideCrop() const {
    if (_cropOutline.width <= 0 || _cropOutline.height <= 0 || !_model.hasContent())
        return false;
    const ViewRect box = _model.getclipRectFrame();
    constexpr double kSlack = 0.5; // points: the crop's even pixels against the box's
    return box.x < _cropOutline.x - kSlack || box.y < _cropOutline.y - kSlack ||
           box.maxX() > _cropOutline.maxX() + kSlack || box.maxY() > _cropOutline.maxY() + kSlack;
}

void LQWaterView::paintCropOutline(QPainter& painter) {
    if (_cropOutline.width <= 0 || _cropOutline.height <= 0)
        return;
    const QRectF crop = ViewFrame::rectToQt(this, _cropOutline);
    QPainterPath outside;
    outside.addRect(rect());
    QPainterPath inside;
    inside.addRect(crop);
    painter.fillPath(outside.subtracted(inside), QColor(0, 0, 0, 140));
    QPen pen(QColor(255, 214, 0), 1);
    pen.setDashPattern({6, 4});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(crop.adjusted(0, 0, -1, -1));
    if (!boxOutsideCrop() || _outsideText.isEmpty())
        return;
    // Said over the picture, where the user is looking while placing the watermark.
    const QRectF band(0, 0, width(), painter.fontMetrics().height() + 6);
    painter.fillRect(band, QColor(0, 0, 0, 190));
    painter.setPen(QColor(255, 214, 0));
    painter.drawText(band.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(_outsideText, Qt::ElideRight, int(band.width()) - 12));
}

void LQWaterView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layEdgeViews();
}

void LQWaterView::layEdgeViews() {
    // The standard layout of the four sides around the box (x, y, X2, Y2) in a W x H overlay.
    const ViewRect box = _model.getclipRectFrame();
    const ViewSize size = _model.size();
    const double x2 = box.maxX(), y2 = box.maxY();
    const ViewRect frames[4] = {
        {0, 0, box.x, size.height},               // left
        {box.x, y2, box.width, size.height - y2}, // top
        {x2, 0, size.width - x2, size.height},    // right
        {box.x, 0, box.width, box.y},             // bottom
    };
    const auto edges = edgeViews();
    for (int i = 0; i < 4; ++i)
        edges[i]->setGeometry(ViewFrame::rectToQt(this, frames[i]).toRect());
}

void LQWaterView::applyCursor(WaterViewModel::Cursor cursor) {
    switch (cursor) {
    case WaterViewModel::Cursor::Unchanged:
        return;
    case WaterViewModel::Cursor::Arrow:
        setCursor(Qt::ArrowCursor);
        return;
    case WaterViewModel::Cursor::OpenHand:
        setCursor(Qt::OpenHandCursor);
        return;
    case WaterViewModel::Cursor::ClosedHand:
        setCursor(Qt::ClosedHandCursor);
        return;
    case WaterViewModel::Cursor::ResizeLeftRight:
        setCursor(Qt::SizeHorCursor);
        return;
    case WaterViewModel::Cursor::ResizeUpDown:
        setCursor(Qt::SizeVerCursor);
        return;
    }
}

void LQWaterView::mousePressEvent(QMouseEvent* event) {
    if (!_model.enabled())
        return;
    if (_delegate)
        _delegate->actionMouseMoveBeginForWaterViewBlock(this, ViewRect{});
    applyCursor(_model.press(ViewFrame::pointFromQt(this, event->position())).cursor);
}

void LQWaterView::mouseMoveEvent(QMouseEvent* event) {
    const ViewPoint p = ViewFrame::pointFromQt(this, event->position());
    if (!(event->buttons() & Qt::LeftButton)) {
        applyCursor(_model.hover(p));
        return;
    }
    if (!_model.drag(p))
        return;
    layEdgeViews();
    update();
    if (_delegate)
        _delegate->actionMouseMovedForWaterViewBlock(this, _model.getclipRectFrame());
}

void LQWaterView::mouseReleaseEvent(QMouseEvent*) {
    const WaterViewModel::PressResult result = _model.release();
    if (!result.accepted)
        return;
    applyCursor(result.cursor);
    if (_delegate)
        _delegate->actionMouseMoveEndForWaterViewBlock(this, _model.getPercentImageClipRect());
}

void LQWaterView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    paintCropOutline(painter);
    const ViewRect box = _model.getclipRectFrame();
    const QRectF boxQt = ViewFrame::rectToQt(this, box);
    const double opacity = 1.0 - _waterMarkAlph / 100.0;
    const bool imageMode = _model.markWaterType() == WaterViewModel::ImageMode;
    if (imageMode && !_waterMark.isNull()) {
        painter.setOpacity(opacity);
        painter.drawImage(boxQt, _waterMark);
        painter.setOpacity(1);
    } else if (_model.markWaterType() == WaterViewModel::TextMode) {
        if (_waterMarkString.isEmpty())
            _waterMarkString = QStringLiteral(" ");
        QColor colour = _waterMarkColor.isValid() ? _waterMarkColor : QColor(Qt::white);
        colour.setAlphaF(static_cast<float>(std::max(0.0, opacity)));
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        if (_hasFont)
            painter.setFont(_waterMarkFont);
        painter.setPen(colour);
        // The baseline starts at the box's bottom-left corner, as the engine's text callback places it.
        painter.drawText(ViewFrame::pointToQt(this, {box.x, box.y}), _waterMarkString);
    }
    if (imageMode) {
        for (const ViewRect& handle : _model.handleRects())
            painter.fillRect(ViewFrame::rectToQt(this, handle), QColor(0, 0, 255));
    }
    if (!_waterMark.isNull() || !_waterMarkString.trimmed().isEmpty()) {
        QPen pen(Qt::white, 1);
        pen.setDashPattern({10, 5});
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(boxQt.adjusted(0, 0, -1, -1));
    }
}
