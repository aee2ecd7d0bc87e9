#include "RepeatingTimer.h"

#include <QPointer>
#include <QTimer>

#include <cmath>

RepeatingTimer::RepeatingTimer(double intervalSeconds, std::function<void()> tick, QObject* parent)
    : QObject(parent), _interval(intervalSeconds), _tick(std::move(tick)), _timer(new QTimer(this)) {
    _timer->setTimerType(Qt::PreciseTimer);
    _timer->setInterval(std::max(1, int(std::lround(intervalSeconds * 1000))));
    connect(_timer, &QTimer::timeout, this, [this] {
        // The tick may destroy this timer; keep the callable alive for the call.
        auto tick = _tick;
        if (tick)
            tick();
    });
}

RepeatingTimer::~RepeatingTimer() = default;

std::unique_ptr<RepeatingTimer> RepeatingTimer::schedule(double intervalSeconds, std::function<void()> tick) {
    auto timer = std::make_unique<RepeatingTimer>(intervalSeconds, std::move(tick));
    timer->start();
    return timer;
}

void RepeatingTimer::start() {
    _timer->start();
}

void RepeatingTimer::invalidate() {
    _timer->stop();
}

bool RepeatingTimer::isValid() const {
    return _timer->isActive();
}
