#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

// One posted notification: its name and the object it concerns (may be null).
struct Notification {
    QString name;
    QObject* object = nullptr;
};

// The system's own notification, posted by a feature window's controller when its window closes.
inline const QString kWillCloseNotification = QStringLiteral("WillCloseNotification");
// Posted by the platform just before a controller's window closes; its object is the window (QWidget).
inline const QString kWindowWillCloseNotification = QStringLiteral("NSWindowWillCloseNotification");
