#include "EffectTableCellView.h"

#include "ControlFont.h"
#include "ControlsLog.h"
#include "EffectTableCellViewDelegate.h"
#include "LabelField.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

using Method = EffectTableCellViewDelegate::Method;

namespace {

const QColor HighlightColor(33, 176, 235);
const QColor DisabledTitleColor(173, 173, 173);
constexpr double CheckSize = 15;

bool responds(const EffectTableCellViewDelegate* delegate, Method method) {
    return delegate != nullptr && delegate->respondsTo(method);
}

} // namespace

EffectTableCellView::EffectTableCellView(const ViewRect& frame, QWidget* parent) : QWidget(parent) {
    ViewFrame::setFrame(this, frame);
    const double w = frame.width;
    const double h = frame.height;
    _checkView = new QPushButton(this);
    _checkView->setFlat(true);
    _checkView->setFocusPolicy(Qt::NoFocus);
    ViewFrame::setFrame(_checkView, {10, (h - CheckSize) / 2, CheckSize, CheckSize});
    connect(_checkView, &QPushButton::clicked, this, [this] { checkAction(); });
    _titleLabel = new LabelField(this);
    ViewFrame::setFrame(_titleLabel, {CheckSize + 20, (h - 18) / 2 - 6, w - (CheckSize + 20), 18});
    _titleLabel->setFont(ControlFont::system(13));
    _titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    _titleLabel->setTextColor(Qt::white);
    _normalImage = ResourceBundle::imageWithfileName("Join/CheckBox_NoCheck.bmp");
    _heightedImage = ResourceBundle::imageWithfileName("Join/CheckBox_NoCheck.bmp");
    _selectedImage = ResourceBundle::imageWithfileName("Join/CheckBox_Checked.bmp");
    _normalColor = Qt::black;
    _heightedColor = Qt::black;
    _selectedColor = HighlightColor;
    selected(false);
}

EffectTableCellView::~EffectTableCellView() {
    qCDebug(lcControls, "%s", "-[EffectTableCellView dealloc]");
}

void EffectTableCellView::layOut() {
    const double w = width();
    const double h = height();
    if (_font) {
        _selectedColor = _normalColor;
        const double size = ControlFont::size(*_font);
        ViewFrame::setFrame(_checkView, {0, (h - CheckSize) / 2, CheckSize, CheckSize});
        ViewFrame::setFrame(_titleLabel, {CheckSize, (h - (size + 1)) / 2, w - CheckSize, size + 1});
        _titleLabel->setFont(*_font);
    } else {
        ViewFrame::setFrame(_checkView, {10, (h - CheckSize) / 2, CheckSize, CheckSize});
        ViewFrame::setFrame(_titleLabel, {CheckSize + 20, (h - 16) / 2, w - (CheckSize + 20), 16});
        _titleLabel->setFont(ControlFont::system(13));
    }
}

QColor EffectTableCellView::titleColor() const {
    if (!_enable)
        return DisabledTitleColor;
    return _selectedRow ? _selectedColor : _normalColor;
}

void EffectTableCellView::applyLook() {
    _titleLabel->setTextColor(titleColor());
    const QImage& check = _selected ? _selectedImage : _normalImage;
    _checkView->setIcon(check.isNull() ? QIcon() : QIcon(QPixmap::fromImage(check)));
    _checkView->setIconSize(QSize(int(CheckSize), int(CheckSize)));
}

void EffectTableCellView::setNormalImage(const QImage& image) {
    _normalImage = image;
    applyLook();
}

void EffectTableCellView::setSelectedImage(const QImage& image) {
    _selectedImage = image;
    applyLook();
}

void EffectTableCellView::setNormalColor(const QColor& color) {
    _normalColor = color;
    applyLook();
}

void EffectTableCellView::setSelected(bool selected) {
    _selected = selected;
    applyLook();
}

void EffectTableCellView::selected(bool selected) {
    _selected = selected;
    layOut();
    if (!responds(_delegate, Method::Selected) && responds(_delegate, Method::SelectedState))
        _delegate->actionSelectedBlock(this, selected, _row);
    applyLook();
    update();
}

void EffectTableCellView::setSelectedRow(bool highlighted) {
    _selectedRow = highlighted;
    if (responds(_delegate, Method::Selected) && responds(_delegate, Method::SelectedState))
        _delegate->actionSelectedBlock(this, highlighted, _row);
    applyLook();
    update();
}

void EffectTableCellView::setEnable(bool enable) {
    _enable = enable;
    applyLook();
    update();
}

void EffectTableCellView::setSelectedColor(const QColor& color) {
    _selectedColor = color;
    applyLook();
    update();
}

void EffectTableCellView::checkAction() {
    if (_enable && responds(_delegate, Method::Selected))
        _delegate->actionSelectedForEffectTableCellViewBlock(this, _row);
}

void EffectTableCellView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (_enable && responds(_delegate, Method::MouseDown))
        _delegate->actionMouseDownForEffectTableCellViewBlock(this, _row);
}

void EffectTableCellView::paintEvent(QPaintEvent* event) {
    // Painting only draws: changing the check box's icon or the title's colour here would schedule the next paint.
    if (_row == NoBackgroundRow)
        return;
    QPainter painter(this);
    painter.fillRect(event->rect(), _selectedRow ? HighlightColor : QColor(Qt::white));
}
