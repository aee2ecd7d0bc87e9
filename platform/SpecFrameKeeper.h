#pragma once

#include "SpecRect.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

// Remembers the frames of a parent widget's children placed in the specification's coordinates and applies them
// again when the parent is resized, so they keep their distance from the parent's bottom edge. One keeper lives
// as a child object of each parent that has such children. Internal to SpecFrame.
class SpecFrameKeeper : public QObject {
    Q_OBJECT
public:
    static SpecFrameKeeper* of(const QWidget* parent);
    static SpecFrameKeeper* ensure(QWidget* parent);

    void place(QWidget* child, const SpecRect& frame);
    // The remembered frame when Qt has not moved the child since it was placed.
    bool rememberedFrame(const QWidget* child, SpecRect* frame) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SpecFrameKeeper(QWidget* parent);
    void reapply();

    struct Entry {
        QPointer<QWidget> child;
        SpecRect frame;
        QRect applied;          // the Qt geometry the frame produced
        int appliedSpaceHeight; // the parent height it was computed for
    };
    QWidget* _parentWidget;
    QHash<const QWidget*, Entry> _entries;
};
