#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QTimer;

// A repeating timer on the main thread's event loop. It keeps firing inside modal runs, open menus and
// nested event loops (a QTimer is served by whichever loop is running), like a timer added to the common modes.
// Destroying the timer stops it; a tick may destroy its own timer.
class RepeatingTimer : public QObject {
    Q_OBJECT
public:
    RepeatingTimer(double intervalSeconds, std::function<void()> tick, QObject* parent = nullptr);
    ~RepeatingTimer() override;

    // Creates and starts a timer (the scheduledTimerWithTimeInterval form).
    static std::unique_ptr<RepeatingTimer> schedule(double intervalSeconds, std::function<void()> tick);

    void start();
    void invalidate(); // stops it for good; start() may restart it
    bool isValid() const;
    double interval() const { return _interval; }

private:
    double _interval;
    std::function<void()> _tick;
    QTimer* _timer;
};
