#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <chrono>

namespace process_stats {

// Resident memory now, in bytes: the second number of /proc/self/statm, in pages.
inline qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    return statm.open(QIODevice::ReadOnly)
               ? statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE)
               : 0;
}

// Processor time used so far, user and system together.
inline std::chrono::microseconds cpuTime() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& t) { return t.tv_sec * 1'000'000 + t.tv_usec; };
    return std::chrono::microseconds(micros(usage.ru_utime) + micros(usage.ru_stime));
}

}  // namespace process_stats
