#include "Modal.h"

#include "ModalSession.h"
#include "WindowKeys.h"

#include <QList>
#include <QWidget>

namespace {

struct Providers {
    Modal::RunProvider run;
    Modal::StopProvider stop;
};

Providers& providers() {
    static Providers current;
    return current;
}

QList<ModalSession*>& sessions() {
    static QList<ModalSession*> running;
    return running;
}

} // namespace

int Modal::runModalForWindow(QWidget* window) {
    if (providers().run)
        return providers().run(window);
    if (window == nullptr)
        return kModalResponseAbort;
    if (!window->isVisible())
        WindowKeys::fitTitleButtons(window);
    ModalSession session(window);
    sessions().append(&session);
    const int code = session.exec();
    sessions().removeOne(&session);
    return code;
}

void Modal::stopModal(int code) {
    if (providers().stop) {
        providers().stop(code);
        return;
    }
    if (!sessions().isEmpty())
        sessions().last()->stop(code);
}

int Modal::depth() {
    return int(sessions().size());
}

void Modal::setProvider(RunProvider run, StopProvider stop) {
    providers() = Providers{std::move(run), std::move(stop)};
}

void Modal::resetProvider() {
    providers() = Providers{};
}
