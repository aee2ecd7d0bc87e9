#include "WaterMarkCellItemView.h"

#include "ControlFont.h"
#include "Dispatch.h"
#include "MOQButton.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

WaterMarkCellItemView::WaterMarkCellItemView(const ViewRect& frame, QWidget* parent)
    : QWidget(parent), _checkBtn(new MOQButton(this)), _titleLabel(new QLineEdit(this)) {
    ViewFrame::setFrame(this, frame);
    _checkBtn->setNormalImage(ResourceBundle::imageWithfileName("Join/CheckBox_NoCheck.bmp"));
    _checkBtn->setSelectedImage(ResourceBundle::imageWithfileName("Join/CheckBox_Checked.bmp"));
    _checkBtn->setContentTitle(QString());
    _checkBtn->setToolTip(ResourceBundle::localizedStringForKey("useWatermarkToolTip"));
    _checkBtn->setBordered(false);
    _checkBtn->setMouseDownAction([this](MOQButton*) {
        if (!isEnabled())
            return;
        QPointer<WaterMarkCellItemView> self(this);
        Dispatch::main([self] {
            if (!self)
                return;
            self->_checkBtn->setSelected(!self->_checkBtn->selected());
            self->_check = self->_checkBtn->selected();
            if (self->CheckWateMarkBlock)
                self->CheckWateMarkBlock(self->_check, self->_row);
        });
    });
    _titleLabel->setFont(ControlFont::system(12));
    _titleLabel->setFrame(false);
    _titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    _titleLabel->setAttribute(Qt::WA_MacShowFocusRect, false);
    connect(_titleLabel, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (EditWaterTextBlock)
            EditWaterTextBlock(text, _row);
    });
    layOut();
    refresh();
}

WaterMarkCellItemView::~WaterMarkCellItemView() = default;

void WaterMarkCellItemView::setTitleStringValue(const QString& title) {
    _titleStringValue = title;
    refresh();
}

void WaterMarkCellItemView::setTitleFont(const QFont& font) {
    _titleFont = font;
    _hasTitleFont = true;
    layOut();
    refresh();
}

void WaterMarkCellItemView::setCheck(bool check) {
    _check = check;
    _checkBtn->setSelected(check);
    update();
}

void WaterMarkCellItemView::setSelected(bool selected) {
    _selected = selected;
    if (!selected && _titleLabel->hasFocus())
        _titleLabel->clearFocus();
    refresh();
}

void WaterMarkCellItemView::layOut() {
    const ViewRect b = ViewFrame::bounds(this);
    ViewFrame::setFrame(_checkBtn, {5, (b.height - 24) / 2, 24, 24});
    const double h = _hasTitleFont ? static_cast<float>(_titleFont.pixelSize() + 5) : 18;
    ViewFrame::setFrame(_titleLabel, {34, (b.height - h) / 2, std::max(0.0, b.width - 34), h});
}

void WaterMarkCellItemView::refresh() {
    _titleLabel->setFont(_hasTitleFont ? _titleFont : ControlFont::system(13));
    if (_titleLabel->text() != _titleStringValue)
        _titleLabel->setText(_titleStringValue);
    // Only the selected text row is editable; otherwise a click on the title selects the row.
    const bool editable = _selected && _type == 0;
    _titleLabel->setReadOnly(!editable);
    _titleLabel->setAttribute(Qt::WA_TransparentForMouseEvents, !editable);
    _titleLabel->setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
    if (!_titleLabel->hasFocus())
        _titleLabel->setCursorPosition(0); // a title too long for the row shows its beginning
    QPalette palette = _titleLabel->palette();
    const QColor text = _selected ? _selectTextColor : _normalTextColor;
    palette.setColor(QPalette::Text, text.isValid() ? text : QColor(Qt::black));
    palette.setColor(QPalette::Base, Qt::transparent);
    _titleLabel->setPalette(palette);
    _checkBtn->setSelected(_check);
    update();
}

void WaterMarkCellItemView::paintEvent(QPaintEvent*) {
    const QColor fill = _selected ? _selectedBackgroundColor : _backgroundColor;
    if (!fill.isValid())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), fill);
}

void WaterMarkCellItemView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    if (action)
        action(this);
}

void WaterMarkCellItemView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void WaterMarkCellItemView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        refresh();
}
