#include "ModalSession.h"

#include "Modal.h"

#include <QEvent>
#include <QWidget>

ModalSession::ModalSession(QWidget* window) : _window(window) {
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this] { stop(Modal::kModalResponseAbort); });
}

int ModalSession::exec() {
    _window->setWindowModality(Qt::ApplicationModal);
    _window->show();
    _window->raise();
    _window->activateWindow();
    const int code = _loop.exec();
    if (_window)
        _window->removeEventFilter(this);
    return code;
}

void ModalSession::stop(int code) {
    if (_stopped)
        return;
    _stopped = true;
    _loop.exit(code);
}

bool ModalSession::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _window && event->type() == QEvent::Hide && !_window->isVisible())
        stop(Modal::kModalResponseAbort);
    return QObject::eventFilter(watched, event);
}
