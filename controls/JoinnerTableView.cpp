#include "JoinnerTableView.h"

#include "Dispatch.h"
#include "JoinnerCell.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "NSProgressView.h"
#include "SimpleData.h"
#include "ViewFrame.h"

#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr float RowGap = 3;

bool hasPicture(const std::shared_ptr<SimpleData>& item) {
    return item && item->sourceData() && item->sourceData()->width() > 0 && item->sourceData()->height() > 0;
}

void showTransition(JoinnerCell* cell, bool shown) {
    cell->effectLabel()->setVisible(shown);
    cell->effectBtn()->setVisible(shown);
}

} // namespace

JoinnerTableView::JoinnerTableView(const ViewRect& frame, QWidget* parent) : QWidget(parent) {
    ViewFrame::setFrame(this, frame);
    _selection.setRows(this);
    _itemScrollview = new QScrollArea(this);
    _itemScrollview->setFrameShape(QFrame::NoFrame);
    _itemScrollview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _itemScrollview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _itemScrollview->setWidgetResizable(false);
    QPalette grey = _itemScrollview->palette();
    grey.setColor(QPalette::Window, QColor(134, 140, 147));
    _itemScrollview->setPalette(grey);
    _itemScrollview->setAutoFillBackground(true);
    _itemScrollview->viewport()->setPalette(grey);
    _itemScrollview->viewport()->setAutoFillBackground(true);
    ViewFrame::setFrame(_itemScrollview, {0, 0, frame.width, frame.height});
    _scrollContentView = new MOQImageView();
    _scrollContentView->resize(int(frame.width), 0);
    _itemScrollview->setWidget(_scrollContentView);
    // The document (an image view) keeps mouse events from its parents, so the wheel is taken where it arrives.
    _scrollContentView->installEventFilter(this);
    _itemScrollview->viewport()->installEventFilter(this);
}

JoinnerTableView::~JoinnerTableView() {
    _selection.setRows(nullptr);
}

void JoinnerTableView::resizeEvent(QResizeEvent*) {
    ViewFrame::setFrame(_itemScrollview, ViewFrame::bounds(this));
    // The document follows the list's width, not its height.
    _scrollContentView->resize(width(), _scrollContentView->height());
}

bool JoinnerTableView::eventFilter(QObject* watched, QEvent* event) {
    if ((watched != _scrollContentView && watched != _itemScrollview->viewport()) || event->type() != QEvent::Wheel)
        return QWidget::eventFilter(watched, event);
    const auto* wheel = static_cast<QWheelEvent*>(event);
    // A touchpad gives pixels; a wheel's notch (120) moves one row.
    const double pitch = double(_rowHeight + RowGap);
    const double step =
        !wheel->pixelDelta().isNull() ? wheel->pixelDelta().y() : wheel->angleDelta().y() / 120.0 * pitch;
    QScrollBar* bar = _itemScrollview->verticalScrollBar();
    bar->setValue(bar->value() - int(std::lround(step)));
    return true;
}

void JoinnerTableView::setItems(const std::shared_ptr<SimpleDataList>& items) {
    _items = items;
    _selection.resetForItems();
    _selectedItem = items && !items->isEmpty() ? items->first() : nullptr;
}

void JoinnerTableView::setEnabele(bool enabele) {
    _enabele = enabele;
    for (JoinnerCell* cell : _cells)
        cell->setEnabele(enabele);
}

void JoinnerTableView::layOutDocument(double documentHeight) {
    _scrollContentView->resize(width(), int(std::lround(documentHeight)));
}

void JoinnerTableView::reloadData() {
    setEnabele(true);
    _cells.clear();
    const int count = _items ? int(_items->size()) : 0;
    const float pitch = _rowHeight + RowGap;
    const double documentHeight = std::max<double>(_itemScrollview->height(), pitch * float(count));
    layOutDocument(documentHeight);
    // Every subview of the document goes: rows are dropped, never reused. A row that is still running a closure
    // (a reload from inside a click) is deleted once it has returned.
    for (QWidget* child : _scrollContentView->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->hide();
        child->setParent(nullptr);
        child->deleteLater();
    }

    for (int i = 0; i < count; ++i) {
        const std::shared_ptr<SimpleData>& item = _items->at(i);
        auto* cell = new JoinnerCell(ViewRect{0, documentHeight - (i + 1) * pitch, double(width()), _rowHeight},
                                     _scrollContentView);
        cell->setNBackGroundColor(QColor(237, 237, 237));
        cell->setIndex(i);
        cell->setSBackGroundColor(QColor(90, 216, 238));
        cell->setFileData(item);
        if (hasPicture(item))
            showTransition(cell, i != count - 1);
        _cells.append(cell);
        cell->show();
    }

    QPointer<JoinnerTableView> self(this);
    for (int i = 0; i < count; ++i) {
        JoinnerCell* cell = _cells[i];
        cell->setMouseDownBlock([this](JoinnerCell* row) { _selection.click(int(row->index())); });
        cell->setSelectedBlock([this](JoinnerCell* row) { rowSelectionChanged(row); });
        if (_selectDefaultOutputFormatBlock) {
            cell->setSelecteddefaultFormatoutputBlock([self](JoinnerCell* row) {
                const long long index = row->index();
                Dispatch::main([self, index] {
                    if (self)
                        self->defaultFormatChanged(index);
                });
            });
        } else {
            cell->defaultoutputformat()->setHidden(true);
        }
        if (_selectTranstionEffectBlock) {
            cell->setSelectedTransitionEffectBlock([this, i](JoinnerCell* row) {
                const long long kind = row->fileData() ? row->fileData()->transitionEffect() : 0;
                if (_items && i < _items->size() && _items->at(i))
                    _items->at(i)->setTransitionEffect(int(kind));
                if (_selectTranstionEffectBlock) {
                    const TransitionBlock block = _selectTranstionEffectBlock;
                    block(row->index(), kind);
                }
            });
        } else {
            showTransition(cell, false);
        }
    }
    _selection.applySelection();
    layOutDocument(documentHeight);
    update();
}

void JoinnerTableView::setRowSelected(int row, bool selected) {
    _cells[row]->setSelected(selected);
}

void JoinnerTableView::rowSelectionChanged(JoinnerCell* row) {
    const ClipListSelection::Outcome outcome = _selection.rowSelectionChanged(int(row->index()), row->selected());
    if (!outcome.selected)
        return;
    _selectedItem = row->fileData();
    if (outcome.report && _selectItemBlock) {
        const ItemBlock block = _selectItemBlock;
        block(row->fileData());
    }
}

void JoinnerTableView::defaultFormatChanged(long long row) {
    if (!_items)
        return;
    for (JoinnerCell* cell : _cells) {
        if (cell->index() == row)
            continue;
        const long long position = cell->index();
        if (position < 0 || position >= _items->size() || !_items->at(position))
            continue;
        const std::shared_ptr<SimpleData>& item = _items->at(position);
        item->setDefaultFormat(false);
        if (cell->fileData())
            cell->fileData()->setDefaultFormat(item->defaultFormat());
        cell->defaultoutputformat()->setSelected(cell->fileData() ? cell->fileData()->defaultFormat() : false);
    }
    if (_selectDefaultOutputFormatBlock && row >= 0 && row < _items->size()) {
        const ItemBlock block = _selectDefaultOutputFormatBlock;
        block(_items->at(row));
    }
}

void JoinnerTableView::showProgress(long long row) {
    if (row < 0 || row >= _cells.size() || !_selection.selectForProgress(int(row)))
        return;
    _cells[row]->progress()->setHidden(false);
    _cells[row]->setSelected(true);
}

void JoinnerTableView::hiddenProgress(long long row) {
    if (row < 0 || row >= _cells.size())
        return;
    _cells[row]->progress()->setHidden(true);
}

void JoinnerTableView::setExportProgress(float progress) {
    const long long row = _selection.selectedRow();
    // A selected row that names no row has no bar to show.
    if (row < 0 || row >= _cells.size())
        return;
    NSProgressView* bar = _cells[row]->progress();
    if (const std::optional<float> shown = ClipListSelection::exportBarValue(progress)) {
        bar->setProgress(*shown);
        bar->setHidden(false);
    } else {
        bar->setHidden(true);
    }
}
