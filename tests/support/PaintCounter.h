#pragma once

#include <QEvent>
#include <QObject>
#include <QTest>
#include <QWidget>

// Counts the paint events of a widget and of every widget inside it: an idle window paints nothing.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    void watch(QWidget* widget) {
        widget->installEventFilter(this);
        for (QWidget* child : widget->findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    // Lets the paints already asked for arrive (a loaded machine delivers them late): waits until 150 ms pass
    // without one, at most 2 s, then counts from zero again.
    void settle() {
        for (int waited = 0; waited < 2000; waited += 150) {
            const int before = paints;
            QTest::qWait(150);
            if (paints == before)
                break;
        }
        paints = 0;
    }
};
