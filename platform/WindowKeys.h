#pragma once

#include <functional>

class QWidget;

// The keys and title-bar buttons every desktop application gives its windows.
class WindowKeys {
public:
    // Ctrl+W closes the window through `close` (its close button's path, so a window with a running job asks the
    // same way). Esc never closes it: a tool window holds the user's work. Esc there ends typing in a text field
    // instead: the field gets back the text it had when typing began and gives up the focus, as desktop fields do.
    // (Pop-ups, menus, dialogs and alerts are windows of their own and still close on Esc.)
    static void closeWith(QWidget* window, std::function<void()> close);
    // Return and Enter answer with `accept`, Esc with `cancel`: the about box, alerts and other small dialogs.
    static void answerWith(QWidget* window, std::function<void()> accept, std::function<void()> cancel);
    // Ctrl+Q, from any window of the application: quitApplication(window).
    static void quitWith(QWidget* window);
    // Every other open window is asked to close first (a window with a running job asks the user, and stopping
    // the job leaves nothing behind), then `mainWindow`; the application quits only when all of them closed. A
    // window that stays open (the user kept its job) keeps the others and the application running. True when
    // the application quits.
    static bool quitApplication(QWidget* mainWindow);
    // A window whose size is fixed gets no maximise button. Call before the window is first shown.
    static void fitTitleButtons(QWidget* window);
};
