#pragma once

#include "Notification.h"

#include <QList>

#include <functional>

// The process-wide notification centre of the main thread. Observers are grouped by an owner pointer (any
// object, usually `this`) so that removeObserver(this) drops all of them; an owner must remove itself before it
// is destroyed. Delivery is synchronous, in the order of registration; an observer may add or remove observers
// (itself included) while a notification is delivered.
class NotificationCenter {
public:
    using Callback = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // Observes `name` (empty: every name) posted with `object` (null: any object). Returns an id for removal.
    int addObserver(const void* owner, const QString& name, Callback callback, const QObject* object = nullptr);
    void post(const QString& name, QObject* object = nullptr);
    void post(const Notification& notification);

    void removeObserver(const void* owner);
    void removeObserver(const void* owner, const QString& name);
    void removeObserverById(int id);
    int observerCount() const;

private:
    struct Entry {
        int id;
        const void* owner;
        QString name;
        const QObject* object;
        Callback callback;
    };
    QList<Entry> _entries;
    int _nextId = 1;
};
