#include "WindowShots.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QThread>
#include <QWidget>

namespace WindowShots {

QString save(QWidget* window, const QString& name) {
    const QString dir = qEnvironmentVariable("CLIPWRIGHT_SHOTS_DIR");
    if (dir.isEmpty() || window == nullptr)
        return QString();
    QDir().mkpath(dir);
    QCoreApplication::processEvents();
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    return window->window()->grab().save(path) ? path : QString();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

} // namespace WindowShots
