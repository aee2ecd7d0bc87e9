#pragma once

#include <functional>

class QWidget;

// The keys and title-bar buttons every desktop application gives its windows.
class WindowKeys {
public:
    // Ctrl+W and Esc close the window through `close` (its close button's path, so a running job stops the same way).
    static void closeWith(QWidget* window, std::function<void()> close);
    // Return and Enter answer with `accept`, Esc with `cancel`: the about box, alerts and other small dialogs.
    static void answerWith(QWidget* window, std::function<void()> accept, std::function<void()> cancel);
    // Ctrl+Q, from any window of the application: every window is asked to close (so running jobs stop and
    // nothing is left behind), then the application quits.
    static void quitWith(QWidget* window);
    // A window whose size is fixed gets no maximise button. Call before the window is first shown.
    static void fitTitleButtons(QWidget* window);
};
