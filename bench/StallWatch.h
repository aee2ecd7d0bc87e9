#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

// Watches the event loop: a timer that asks to fire every millisecond records the longest gap between two of its
// ticks, which is the longest time the main thread did something else.
class StallWatch {
public:
    StallWatch() {
        _timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&_timer, &QTimer::timeout, [this] {
            const qint64 now = _clock.nsecsElapsed();
            _longestNs = std::max(_longestNs, now - _lastNs);
            _lastNs = now;
        });
    }
    void start() {
        _longestNs = 0;
        _clock.start();
        _lastNs = 0;
        _timer.start(1);
    }
    double stopMs() {
        _timer.stop();
        return double(_longestNs) / 1e6;
    }

    // Serves the event loop until `done` holds or the time is up; whether it holds.
    static bool runUntil(const std::function<bool()>& done, int timeoutMs) {
        QDeadlineTimer deadline(timeoutMs);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return true;
    }

    static void report(const char* what, double ms) {
        std::printf("%-44s longest main-thread stall %7.1f ms %s\n", what, ms, ms < 50 ? "" : "(over 50 ms)");
    }

private:
    QTimer _timer;
    QElapsedTimer _clock;
    qint64 _lastNs = 0;
    qint64 _longestNs = 0;
};
