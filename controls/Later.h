#pragma once

#include "Dispatch.h"
#include "MOQButton.h"

#include <QObject>
#include <QPointer>

#include <utility>

// A button's closure that calls `action` on `owner` on the next turn of the main loop, never inside the button's own
// event (the action may rebuild, lock or close what the button sits in). Nothing happens once the owner has gone.
template <typename Owner> MOQButton::Action later(Owner* owner, void (Owner::*action)()) {
    QPointer<Owner> self(owner);
    return [self, action](MOQButton*) {
        Dispatch::main([self, action] {
            if (self)
                (self.data()->*action)();
        });
    };
}

// `work` on the next turn of the main loop, never inside the event that asked for it; nothing once `guard` has gone.
template <typename Work> void later(QObject* guard, Work work) {
    QPointer<QObject> alive(guard);
    Dispatch::main([alive, work = std::move(work)] {
        if (alive)
            work();
    });
}
