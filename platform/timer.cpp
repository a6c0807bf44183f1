#include "platform/timer.h"

Timer::Timer(const QString& name, int interval_ms, QObject* parent)
    : QObject(parent), interval_(interval_ms) {
    setObjectName(name);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
}

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    reschedule();
}

void Timer::setInterval(int interval_ms) {
    Q_ASSERT(interval_ms >= 0 && interval_ms <= kMaxInterval);
    interval_ = interval_ms;
    reschedule();
}

void Timer::reschedule() {
    if (enabled_ && interval_ > 0) {
        timer_.start(interval_);
    } else {
        timer_.stop();
    }
}
