#include "NotificationCenter.h"

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

int NotificationCenter::addObserver(const void* owner, const QString& name, Callback callback, const QObject* object) {
    const int id = _nextId++;
    _entries.append(Entry{id, owner, name, object, std::move(callback)});
    return id;
}

void NotificationCenter::post(const QString& name, QObject* object) {
    post(Notification{name, object});
}

void NotificationCenter::post(const Notification& notification) {
    // Deliver to the observers registered now; skip any that an earlier observer removed.
    QList<int> ids;
    for (const Entry& entry : _entries) {
        if ((entry.name.isEmpty() || entry.name == notification.name) &&
            (entry.object == nullptr || entry.object == notification.object))
            ids.append(entry.id);
    }
    for (int id : ids) {
        Callback callback;
        for (const Entry& entry : _entries) {
            if (entry.id == id) {
                callback = entry.callback;
                break;
            }
        }
        if (callback)
            callback(notification);
    }
}

void NotificationCenter::removeObserver(const void* owner) {
    _entries.removeIf([owner](const Entry& entry) { return entry.owner == owner; });
}

void NotificationCenter::removeObserver(const void* owner, const QString& name) {
    _entries.removeIf([owner, &name](const Entry& entry) { return entry.owner == owner && entry.name == name; });
}

void NotificationCenter::removeObserverById(int id) {
    _entries.removeIf([id](const Entry& entry) { return entry.id == id; });
}

int NotificationCenter::observerCount() const {
    return int(_entries.size());
}
