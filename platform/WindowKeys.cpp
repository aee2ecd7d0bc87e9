#include "WindowKeys.h"

#include <QApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace {

// Not `bind`: with a std::function argument, that name would find std::bind.
void bindKeys(QWidget* window, const QKeySequence& keys, const std::function<void()>& action,
          Qt::ShortcutContext context = Qt::WindowShortcut) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(context);
    QObject::connect(shortcut, &QShortcut::activated, window, [action] { action(); });
}

} // namespace

void WindowKeys::closeWith(QWidget* window, std::function<void()> close) {
    if (window == nullptr || !close)
        return;
    bindKeys(window, QKeySequence(Qt::CTRL | Qt::Key_W), close);
    bindKeys(window, QKeySequence(Qt::Key_Escape), close);
}

void WindowKeys::answerWith(QWidget* window, std::function<void()> accept, std::function<void()> cancel) {
    if (window == nullptr)
        return;
    if (accept) {
        bindKeys(window, QKeySequence(Qt::Key_Return), accept);
        bindKeys(window, QKeySequence(Qt::Key_Enter), accept);
    }
    if (cancel)
        bindKeys(window, QKeySequence(Qt::Key_Escape), cancel);
}

void WindowKeys::quitWith(QWidget* window) {
    if (window == nullptr)
        return;
    bindKeys(
        window, QKeySequence(Qt::CTRL | Qt::Key_Q),
        [] {
            QApplication::closeAllWindows();
            QCoreApplication::quit();
        },
        Qt::ApplicationShortcut);
}

void WindowKeys::fitTitleButtons(QWidget* window) {
    if (window == nullptr || !window->isWindow() || window->minimumSize() != window->maximumSize())
        return;
    const bool visible = window->isVisible();
    Qt::WindowFlags flags = window->windowFlags() & Qt::WindowType_Mask;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
             Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    if (visible)
        window->show();
}
