#pragma once

#include <QEventLoop>
#include <QObject>
#include <QPointer>

class QWidget;

// One default modal run: an event loop that ends on stop(), or when its window closes or is destroyed.
// Internal to Modal.
class ModalSession : public QObject {
    Q_OBJECT
public:
    explicit ModalSession(QWidget* window);
    int exec();
    void stop(int code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> _window;
    QEventLoop _loop;
    bool _stopped = false;
};
