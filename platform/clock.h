#pragma once

#include <QDateTime>
#include <functional>

// The local date and time now. The window reads it through this so that tests can set the dates
// that the log writes.
using Clock = std::function<QDateTime()>;

inline QDateTime systemClock() {
    return QDateTime::currentDateTime();
}
