#pragma once

#include "ViewRect.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// Springs and struts for children placed with ViewFrame: when the parent is resized, each registered child's
// flexible margins and sizes share the change in proportion to their current lengths, as the classic
// autoresizing masks do. Flags (combine them): MinXMargin 1, WidthSizable 2, MaxXMargin 4, MinYMargin 8,
// HeightSizable 16, MaxYMargin 32.
class AutoresizingFilter : public QObject {
    Q_OBJECT
public:
    enum Flag {
        MinXMargin = 1,
        WidthSizable = 2,
        MaxXMargin = 4,
        MinYMargin = 8,
        HeightSizable = 16,
        MaxYMargin = 32,
    };

    // Registers `child` with its mask on its current parent (one filter per parent, created on first use).
    static void attach(QWidget* child, int mask);
    // The frame a child of `frame` gets when its parent goes from `oldParent` to `newParent`.
    static ViewRect resized(const ViewRect& frame, int mask, const ViewSize& oldParent, const ViewSize& newParent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit AutoresizingFilter(QWidget* parent);

    struct Entry {
        QPointer<QWidget> child;
        int mask;
    };
    QList<Entry> _entries;
};
