#pragma once

#include <QDateTime>
#include <chrono>
#include <functional>

// The local date and time now. The window reads it through this so that tests can set the dates
// that the log writes.
using Clock = std::function<QDateTime()>;

inline QDateTime systemClock() {
    return QDateTime::currentDateTime();
}

// Milliseconds of a clock that never jumps, for the age of readings; tests step it by hand.
using SteadyClock = std::function<qint64()>;

inline qint64 steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
