#include "SegmentList.h"

#include <algorithm>
#include <utility>

SegmentList::MoveButtons SegmentList::moveButtons() const {
    const qint64 s = _selectedCutIndex;
    const qint64 n = count();
    if (s <= 0)
        return {false, true};
    if (s < n - 1)
        return {true, true};
    return {true, false};
}

void SegmentList::cut(float start, float end, const QImage& thumb) {
    auto item = std::make_shared<CutItem>();
    item->setStartTime(start);
    item->setEndTime(end);
    item->setThumbImage(thumb);
    _items.push_back(std::move(item));
    _selectedCutIndex = count() - 1;
}

bool SegmentList::copyAt(qint64 k) {
    _editorOpen = false;
    if (!contains(k))
        return false;
    const Item& original = _items[size_t(k)];
    auto copy = std::make_shared<CutItem>();
    copy->setStartTime(original->startTime());
    copy->setEndTime(original->endTime());
    copy->setThumbImage(original->thumbImage());
    _items.insert(_items.begin() + k, std::move(copy));
    return true;
}

bool SegmentList::deleteAt(qint64 k) {
    _editorOpen = false;
    if (!contains(k))
        return false;
    _items.erase(_items.begin() + k);
    if (!_items.empty())
        _selectedCutIndex = std::min(k, count() - 1);
    return true;
}

bool SegmentList::moveUp() {
    const qint64 s = _selectedCutIndex;
    if (!(s > 0 && s < count()))
        return false;
    std::swap(_items[size_t(s)], _items[size_t(s - 1)]);
    _selectedCutIndex = s - 1;
    return true;
}

bool SegmentList::moveDown() {
    const qint64 s = _selectedCutIndex;
    if (!(s >= 0 && s < count() - 1))
        return false;
    std::swap(_items[size_t(s)], _items[size_t(s + 1)]);
    _selectedCutIndex = s + 1;
    return true;
}

void SegmentList::clear() {
    _items.clear();
}

void SegmentList::select(qint64 index) {
    _selectedCutIndex = index;
    _editorOpen = false;
    markSelected(index);
}

void SegmentList::modify(qint64 index) {
    _selectedCutIndex = index;
    markSelected(index);
    _editorOpen = !_editorOpen;
}

void SegmentList::markSelected(qint64 index) {
    for (qint64 i = 0; i < count(); ++i)
        _items[size_t(i)]->setSelected(i == index);
}
