#include "AutoresizingFilter.h"

#include "ViewFrame.h"

#include <QResizeEvent>
#include <QWidget>

namespace {

// One axis: the part before the child (origin), the child's length and the part after it share the change.
void resizeAxis(double* origin, double* length, double oldParent, double newParent, bool minFlexible,
                bool lengthFlexible, bool maxFlexible) {
    const double delta = newParent - oldParent;
    const int flexible = int(minFlexible) + int(lengthFlexible) + int(maxFlexible);
    if (delta == 0 || flexible == 0)
        return;
    const double after = oldParent - *origin - *length;
    const double total = (minFlexible ? *origin : 0) + (lengthFlexible ? *length : 0) + (maxFlexible ? after : 0);
    const auto share = [&](double part) { return total > 0 ? delta * part / total : delta / flexible; };
    const double originShare = minFlexible ? share(*origin) : 0;
    const double lengthShare = lengthFlexible ? share(*length) : 0;
    *origin += originShare;
    *length = std::max(0.0, *length + lengthShare);
}

} // namespace

AutoresizingFilter::AutoresizingFilter(QWidget* parent) : QObject(parent) {
    parent->installEventFilter(this);
}

void AutoresizingFilter::attach(QWidget* child, int mask) {
    QWidget* parent = child->parentWidget();
    if (parent == nullptr)
        return;
    AutoresizingFilter* filter = parent->findChild<AutoresizingFilter*>(QString(), Qt::FindDirectChildrenOnly);
    if (filter == nullptr)
        filter = new AutoresizingFilter(parent);
    filter->_entries.append({child, mask});
}

ViewRect AutoresizingFilter::resized(const ViewRect& frame, int mask, const ViewSize& oldParent,
                                     const ViewSize& newParent) {
    ViewRect result = frame;
    resizeAxis(&result.x, &result.width, oldParent.width, newParent.width, mask & MinXMargin, mask & WidthSizable,
               mask & MaxXMargin);
    resizeAxis(&result.y, &result.height, oldParent.height, newParent.height, mask & MinYMargin, mask & HeightSizable,
               mask & MaxYMargin);
    return result;
}

bool AutoresizingFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->oldSize().isValid()) {
            const ViewSize oldSize{double(resize->oldSize().width()), double(resize->oldSize().height())};
            const ViewSize newSize{double(resize->size().width()), double(resize->size().height())};
            for (const Entry& entry : std::as_const(_entries)) {
                if (entry.child.isNull() || entry.child->parentWidget() != watched)
                    continue;
                ViewFrame::setFrame(entry.child, resized(ViewFrame::frame(entry.child), entry.mask, oldSize, newSize));
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
