#include "Dispatch.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

void Dispatch::main(std::function<void()> work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || !work)
        return;
    QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

void Dispatch::background(std::function<void()> work) {
    if (!work)
        return;
    QThreadPool::globalInstance()->start(std::move(work));
}

bool Dispatch::runUntil(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
        if (!condition())
            QThread::msleep(1);
    }
    return true;
}
