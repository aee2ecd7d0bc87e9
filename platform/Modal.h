#pragma once

#include <functional>

class QWidget;

// Application-modal runs of a window, behind a seam. runModalForWindow() shows the window application-modal and
// returns only when stopModal() is called (the code passed there) or the window is closed or destroyed
// (kModalResponseAbort), so a dialog's own close control can never leave the application stuck in the run.
// Runs nest; stopModal() ends the innermost. Tests replace the whole behaviour with setProvider().
class Modal {
public:
    static constexpr int kModalResponseStop = -1000;
    static constexpr int kModalResponseAbort = -1001;

    using RunProvider = std::function<int(QWidget* window)>;
    using StopProvider = std::function<void(int code)>;

    static int runModalForWindow(QWidget* window);
    static void stopModal(int code = kModalResponseStop);
    static int depth(); // running default modal runs

    static void setProvider(RunProvider run, StopProvider stop);
    static void resetProvider();
};
