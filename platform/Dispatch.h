#pragma once

#include <functional>

// The main queue and the global background queue.
//
// main() queues work for the next turn of the main thread's event loop (also from a worker thread); it never runs
// the work synchronously, even when called on the main thread. background() runs work on Qt's global thread pool.
// Both need a QCoreApplication.
class Dispatch {
public:
    static void main(std::function<void()> work);
    static void background(std::function<void()> work);

    // Processes the main thread's events until condition() holds or timeoutMs passes; returns condition().
    // For tests and for waiting on a worker's completion without blocking the event loop.
    static bool runUntil(const std::function<bool()>& condition, int timeoutMs);
};
