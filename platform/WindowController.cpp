#include "WindowController.h"

#include "Notification.h"
#include "NotificationCenter.h"
#include "WindowKeys.h"
#include "WindowStyle.h"

#include <QEvent>
#include <QWidget>

WindowController::WindowController(QObject* parent) : QObject(parent) {}

WindowController::~WindowController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    delete _window.data();
}

QWidget* WindowController::window() {
    if (_window.isNull()) {
        QWidget* created = loadWindow();
        if (created == nullptr)
            return nullptr;
        _window = created;
        created->setAttribute(Qt::WA_DeleteOnClose, false);
        created->installEventFilter(this);
        windowDidLoad();
        WindowKeys::fitTitleButtons(created);
    }
    return _window.data();
}

QWidget* WindowController::loadWindow() {
    auto* window = new QWidget(nullptr, Qt::Window);
    WindowStyle::apply(window);
    return window;
}

void WindowController::showWindow() {
    QWidget* w = window();
    if (w == nullptr)
        return;
    w->show();
    w->raise();
    w->activateWindow();
}

bool WindowController::close() {
    if (_window.isNull())
        return true;
    return _window->close();
}

bool WindowController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _window.data() && event->type() == QEvent::Close) {
        if (!windowShouldClose()) {
            event->ignore();
            return true;
        }
        NotificationCenter::defaultCenter().post(kWindowWillCloseNotification, _window.data());
        if (_releasedWhenClosed)
            deleteLater();
    }
    return QObject::eventFilter(watched, event);
}
