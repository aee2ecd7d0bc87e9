#pragma once

#include "ViewRect.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

// Remembers the frames of a parent widget's children placed in y-up view coordinates and applies them
// again when the parent is resized, so they keep their distance from the parent's bottom edge. One keeper lives
// as a child object of each parent that has such children. Internal to ViewFrame.
class ViewFrameKeeper : public QObject {
    Q_OBJECT
public:
    static ViewFrameKeeper* of(const QWidget* parent);
    static ViewFrameKeeper* ensure(QWidget* parent);

    void place(QWidget* child, const ViewRect& frame);
    // The remembered frame when Qt has not moved the child since it was placed.
    bool rememberedFrame(const QWidget* child, ViewRect* frame) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ViewFrameKeeper(QWidget* parent);
    void reapply();

    struct Entry {
        QPointer<QWidget> child;
        ViewRect frame;
        QRect applied;          // the Qt geometry the frame produced
        int appliedSpaceHeight; // the parent height it was computed for
    };
    QWidget* _parentWidget;
    QHash<const QWidget*, Entry> _entries;
};
