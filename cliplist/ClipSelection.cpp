#include "ClipSelection.h"

#include "SimpleData.h"

std::shared_ptr<SimpleData> ClipSelection::selectedClip() const {
    const qint64 row = _view->selectedRow();
    if (row < 0 || row >= _fileList->size())
        return nullptr;
    return _fileList->at(row);
}

void ClipSelection::refeed() const {
    const qint64 row = _view->selectedRow();
    // A reload enables the rows; a locked list (a job runs) stays locked.
    const bool enabled = _view->enabele();
    _view->setItems(_fileList);
    _view->setSelectedRow(row);
    _view->setDisabelSelectBlock(true);
    _view->reloadData();
    _view->setEnabele(enabled);
}
