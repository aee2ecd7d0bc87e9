#pragma once

#include "ClipListSelection.h"
#include "ViewRect.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class JoinnerCell;
class MOQImageView;
class QScrollArea;
class SimpleData;

using SimpleDataList = QList<std::shared_ptr<SimpleData>>;

// The scrolling list of input clips of the joiner and the batch cutter: one row per record of the owner's own
// array (held, not copied), a single selected row, at most one clip flagged as the default format, each clip's
// transition choice stored in its record, and per-row export progress. Every reloadData() rebuilds all rows.
class JoinnerTableView : public QWidget, private ClipListSelection::Rows {
    Q_OBJECT
public:
    using ItemBlock = std::function<void(const std::shared_ptr<SimpleData>&)>;
    using TransitionBlock = std::function<void(long long row, long long transition)>;

    // A list placed at frame, its scroll view grey behind the rows.
    explicit JoinnerTableView(const ViewRect& frame, QWidget* parent = nullptr);
    ~JoinnerTableView() override;

    std::shared_ptr<SimpleDataList> items() const { return _items; }
    // Keeps the array, selects row 0 at the next reload and makes the first item the selected one.
    void setItems(const std::shared_ptr<SimpleDataList>& items);
    long long selectedRow() const { return _selection.selectedRow(); }
    void setSelectedRow(long long row) { _selection.setSelectedRow(row); }
    std::shared_ptr<SimpleData> selectedItem() const { return _selectedItem; }
    void setSelectedItem(const std::shared_ptr<SimpleData>& item) { _selectedItem = item; }
    bool enabele() const { return _enabele; }
    void setEnabele(bool enabele);
    bool disabelSelectBlock() const { return _selection.disabelSelectBlock(); }
    void setDisabelSelectBlock(bool off) { _selection.setDisabelSelectBlock(off); }
    float rowHeight() const { return _rowHeight; }
    void setRowHeight(float height) { _rowHeight = height; }

    ItemBlock selectItemBlock() const { return _selectItemBlock; }
    void setSelectItemBlock(ItemBlock block) { _selectItemBlock = std::move(block); }
    ItemBlock selectDefaultOutputFormatBlock() const { return _selectDefaultOutputFormatBlock; }
    void setSelectDefaultOutputFormatBlock(ItemBlock block) { _selectDefaultOutputFormatBlock = std::move(block); }
    TransitionBlock selectTranstionEffectBlock() const { return _selectTranstionEffectBlock; }
    void setSelectTranstionEffectBlock(TransitionBlock block) { _selectTranstionEffectBlock = std::move(block); }

    // Rebuilds every row from the items and selects the row at selectedRow.
    void reloadData();

    // The export progress of one row (the batch cutter's): show makes the row the selected one; a progress of 1
    // or more, below 0 or not a number hides the bar. Indexes that name no row are ignored.
    void showProgress(long long row);
    void hiddenProgress(long long row);
    void setExportProgress(float progress);

    QScrollArea* itemScrollview() const { return _itemScrollview; }
    MOQImageView* scrollContentView() const { return _scrollContentView; }
    // The rows of the last reload, in item order.
    const QList<JoinnerCell*>& cells() const { return _cells; }

    // The work the default-format handler schedules: every other row's clip loses the flag, then the owner hears
    // of the row's clip. Public so that a test can run it the way the main queue does.
    void defaultFormatChanged(long long row);

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The mouse wheel over the rows scrolls the list (its scroll bars are hidden, and would not take it).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int rowCount() const override { return static_cast<int>(_cells.size()); }
    void setRowSelected(int row, bool selected) override;
    void rowSelectionChanged(JoinnerCell* row);
    void layOutDocument(double documentHeight);

    std::shared_ptr<SimpleDataList> _items;
    QList<JoinnerCell*> _cells;
    ClipListSelection _selection;
    std::shared_ptr<SimpleData> _selectedItem;
    bool _enabele = true;
    float _rowHeight = 0;
    QScrollArea* _itemScrollview;
    MOQImageView* _scrollContentView;
    ItemBlock _selectItemBlock;
    ItemBlock _selectDefaultOutputFormatBlock;
    TransitionBlock _selectTranstionEffectBlock;
};
