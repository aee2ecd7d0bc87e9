#pragma once

#include <optional>

// The selection rules of the clip list, apart from its rows: one selected row, the row that was last marked
// selected, and the switch that keeps a selection from being reported. Rows are reached through ClipListRows;
// a row's change of selection comes back through rowSelectionChanged(), as a row reports every change of its own.
class ClipListSelection {
public:
    class Rows {
    public:
        virtual ~Rows() = default;
        virtual int rowCount() const = 0;
        // Marks a row selected or not; the row then calls rowSelectionChanged() with the new state.
        virtual void setRowSelected(int row, bool selected) = 0;
    };

    struct Outcome {
        bool selected = false; // the row became the selected one
        bool report = false;   // and the owner is to hear of it
    };

    void setRows(Rows* rows) { _rows = rows; }

    long long selectedRow() const { return _selectedRow; }
    long long oldSelectedRow() const { return _oldSelectedRow; }
    bool disabelSelectBlock() const { return _disabelSelectBlock; }

    // A new item array: row 0 is selected at the next reload, no row is marked.
    void resetForItems();
    void setSelectedRow(long long row) { _selectedRow = row; }
    void setDisabelSelectBlock(bool off) { _disabelSelectBlock = off; }

    // The last step of a reload: every row is marked after selectedRow (an index naming no row marks none).
    void applySelection();

    // A click on an enabled, unselected row: the switch is turned back on and the row replaces the marked one.
    void click(int row);

    // Every change of a row's selection ends here. A newly selected row becomes the selected and the marked row,
    // after the previously marked row (when it is another one) was unmarked.
    Outcome rowSelectionChanged(int row, bool selected);

    // The export progress of a row: it becomes the selected row without unmarking the row marked before. False for
    // an index that names no row.
    bool selectForProgress(int row);

    // The value the export progress bar shows for p, or none when the bar is hidden: [0, 1) shows, anything else
    // (1 and above, below 0, not a number) hides.
    static std::optional<float> exportBarValue(float p);

private:
    Rows* _rows = nullptr;
    long long _selectedRow = 0;
    long long _oldSelectedRow = -1;
    bool _disabelSelectBlock = false;
};
