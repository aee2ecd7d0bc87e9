#include "ClipListSelection.h"

void ClipListSelection::resetForItems() {
    _selectedRow = 0;
    _oldSelectedRow = -1;
}

void ClipListSelection::applySelection() {
    if (!_rows)
        return;
    const int count = _rows->rowCount();
    for (int i = 0; i < count; ++i)
        _rows->setRowSelected(i, i == _selectedRow);
}

void ClipListSelection::click(int row) {
    _disabelSelectBlock = false;
    if (!_rows)
        return;
    if (_selectedRow == row) {
        _rows->setRowSelected(row, false);
        return;
    }
    if (_oldSelectedRow >= 0 && _oldSelectedRow < _rows->rowCount())
        _rows->setRowSelected(static_cast<int>(_oldSelectedRow), false);
    _rows->setRowSelected(row, true);
}

ClipListSelection::Outcome ClipListSelection::rowSelectionChanged(int row, bool selected) {
    Outcome outcome;
    if (!selected)
        return outcome;
    // A reload that selects the row already marked must leave that row selected, not unmark it again.
    if (_rows && _oldSelectedRow >= 0 && _oldSelectedRow != row && _oldSelectedRow < _rows->rowCount())
        _rows->setRowSelected(static_cast<int>(_oldSelectedRow), false);
    _selectedRow = row;
    _oldSelectedRow = row;
    outcome.selected = true;
    outcome.report = !_disabelSelectBlock;
    return outcome;
}

bool ClipListSelection::selectForProgress(int row) {
    if (!_rows || row < 0 || row >= _rows->rowCount())
        return false;
    _oldSelectedRow = -1;
    _selectedRow = row;
    return true;
}

std::optional<float> ClipListSelection::exportBarValue(float p) {
    if (p >= 0 && p < 1)
        return p;
    return std::nullopt;
}
