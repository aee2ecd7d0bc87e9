#pragma once

#include "FeatureWindowController.h"
#include "StallWatch.h"

#include <QTimer>

#include <functional>

// A tool window's run as a person starts it: `start` is pressed from the event loop (as a click arrives), then the
// loop is served until the run has ended and its worker has returned, or timeoutMs has passed.
class WindowRunWatch {
public:
    // The main thread's longest stall over the run, in ms.
    static double run(StallWatch& watch, FeatureWindowController& controller, const std::function<void()>& start,
                      int timeoutMs) {
        watch.start();
        QTimer::singleShot(5, start);
        StallWatch::runUntil([&] { return controller.isRunning(); }, 5000);
        StallWatch::runUntil([&] { return !controller.isRunning() && !controller.jobRunner().isBusy(); }, timeoutMs);
        return watch.stopMs();
    }
};
