#pragma once

#include "JoinnerTableView.h"

#include <memory>

class SimpleData;

// A window's clip list as the shared clip pieces see it: the window's own array (the list view holds the same
// one) and the list view. The selected clip is the array's element at the view's selected row.
class ClipSelection {
public:
    ClipSelection(std::shared_ptr<SimpleDataList> fileList, JoinnerTableView* view)
        : _fileList(std::move(fileList)), _view(view) {}

    const std::shared_ptr<SimpleDataList>& fileList() const { return _fileList; }
    JoinnerTableView* view() const { return _view; }
    bool isEmpty() const { return _fileList->isEmpty(); }
    qint64 selectedRow() const { return _view->selectedRow(); }
    // Null with an empty list or a row that names no clip.
    std::shared_ptr<SimpleData> selectedClip() const;

    // The rows show the clips' changed ranges: the same items again, the same row selected, the preview left as
    // it is (the reload reports no selection).
    void refeed() const;

private:
    std::shared_ptr<SimpleDataList> _fileList;
    JoinnerTableView* _view;
};
