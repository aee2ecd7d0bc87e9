#pragma once

#include "CutItem.h"

#include <QImage>

#include <memory>
#include <vector>

// The easy cutter's segments in list order (which is also the export order), the selected index, the index the
// tile overlay acts on and whether the segment editor is open. Every operation that names a segment by index
// checks it first and otherwise changes nothing, so an emptied list is never indexed.
class SegmentList {
public:
    using Item = std::shared_ptr<CutItem>;

    // Which of the move buttons may be pressed for the current selection.
    struct MoveButtons {
        bool up = false;
        bool down = false;
        bool operator==(const MoveButtons&) const = default;
    };

    const std::vector<Item>& items() const { return _items; }
    qint64 count() const { return qint64(_items.size()); }
    bool contains(qint64 index) const { return index >= 0 && index < count(); }
    // The segment at index, or null outside the list.
    Item at(qint64 index) const { return contains(index) ? _items[size_t(index)] : nullptr; }
    Item selectedItem() const { return at(_selectedCutIndex); }

    qint64 selectedCutIndex() const { return _selectedCutIndex; }
    void setSelectedCutIndex(qint64 index) { _selectedCutIndex = index; }
    // The segment Copy, Modify and Deleted act on.
    qint64 overlayIndex() const { return _overlayIndex; }
    void setOverlayIndex(qint64 index) { _overlayIndex = index; }
    bool editorOpen() const { return _editorOpen; }
    void setEditorOpen(bool open) { _editorOpen = open; }

    // Up is possible above the first segment, Down below the last; at 0 (or before it) only Down, even in a
    // list of one or none.
    MoveButtons moveButtons() const;

    // A new segment at the end of the list, selected. Start and end are taken as they are (no order, no length).
    void cut(float start, float end, const QImage& thumb);
    // A copy of segment k (times and the same picture) inserted before it; the selection index stays. Closes the
    // editor. False when k is not in the list.
    bool copyAt(qint64 k);
    // Removes segment k and selects the segment that took its place, or the new last one. Closes the editor.
    bool deleteAt(qint64 k);
    bool moveUp();
    bool moveDown();
    // Empties the list; the selection index, the editor and the move buttons stay as they were.
    void clear();
    // A tile click: selects the segment, closes the editor.
    void select(qint64 index);
    // Modify on the overlay's segment: selects it and opens or closes the editor.
    void modify(qint64 index);

private:
    void markSelected(qint64 index);

    std::vector<Item> _items;
    qint64 _selectedCutIndex = 0;
    qint64 _overlayIndex = 0;
    bool _editorOpen = false;
};
