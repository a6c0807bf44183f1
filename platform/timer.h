#pragma once

#include <QObject>
#include <QTimer>

// A timer with the semantics the window's handlers are written against: the enabled flag and
// the interval are independent, an interval of 0 means no ticks at all (a QTimer with 0 would
// fire continuously), setting the interval of an enabled timer restarts its count, and
// disabling keeps the interval.
class Timer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxInterval = 65535;

    explicit Timer(const QString& name, int interval_ms, QObject* parent = nullptr);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int interval() const { return interval_; }
    // Values outside 0..kMaxInterval are a programming error; callers range-check first.
    void setInterval(int interval_ms);
    // Whether ticks are actually being scheduled (enabled and a non-zero interval).
    bool isTicking() const { return timer_.isActive(); }

signals:
    void tick();

private:
    void reschedule();

    QTimer timer_;
    bool enabled_ = false;
    int interval_ = 0;
};
