#include "ViewFrameKeeper.h"

#include "ViewFrame.h"

#include <QEvent>
#include <QWidget>

#include <cmath>

namespace {
const char* const kKeeperName = "ViewFrameKeeper";
}

ViewFrameKeeper::ViewFrameKeeper(QWidget* parent) : QObject(parent), _parentWidget(parent) {
    setObjectName(kKeeperName);
    parent->installEventFilter(this);
}

ViewFrameKeeper* ViewFrameKeeper::of(const QWidget* parent) {
    if (parent == nullptr)
        return nullptr;
    return parent->findChild<ViewFrameKeeper*>(kKeeperName, Qt::FindDirectChildrenOnly);
}

ViewFrameKeeper* ViewFrameKeeper::ensure(QWidget* parent) {
    ViewFrameKeeper* keeper = of(parent);
    return keeper != nullptr ? keeper : new ViewFrameKeeper(parent);
}

void ViewFrameKeeper::place(QWidget* child, const ViewRect& frame) {
    const int spaceHeight = _parentWidget->height();
    const QRectF qt = ViewFrame::toQt(frame, spaceHeight);
    const QRect applied(int(std::lround(qt.x())), int(std::lround(qt.y())), int(std::lround(qt.width())),
                        int(std::lround(qt.height())));
    if (!_entries.contains(child))
        connect(child, &QObject::destroyed, this, [this, child] { _entries.remove(child); });
    _entries.insert(child, Entry{child, frame, applied, spaceHeight});
    child->setGeometry(applied);
}

bool ViewFrameKeeper::rememberedFrame(const QWidget* child, ViewRect* frame) const {
    const auto it = _entries.constFind(child);
    if (it == _entries.cend() || it->child.isNull() || it->child->parentWidget() != _parentWidget ||
        it->child->geometry() != it->applied)
        return false;
    *frame = it->frame;
    return true;
}

bool ViewFrameKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _parentWidget && event->type() == QEvent::Resize)
        reapply();
    return QObject::eventFilter(watched, event);
}

void ViewFrameKeeper::reapply() {
    const auto entries = _entries;
    for (const Entry& entry : entries) {
        QWidget* child = entry.child.data();
        if (child == nullptr || child->parentWidget() != _parentWidget) {
            _entries.remove(child);
            continue;
        }
        // A child that Qt code moved since it was placed keeps its new place, measured in the old parent height.
        const ViewRect frame = child->geometry() == entry.applied
                                   ? entry.frame
                                   : ViewFrame::fromQt(QRectF(child->geometry()), entry.appliedSpaceHeight);
        place(child, frame);
    }
}
