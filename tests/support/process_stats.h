#pragma once

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <chrono>

namespace process_stats {

// Resident memory now, in bytes: the second number of /proc/self/statm, in pages.
inline qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    const QList<QByteArray> fields =
        statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ') : QList<QByteArray>();
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// What the allocator holds for live objects, in bytes: unlike resident memory it does not keep
// the high-water mark of a fragmented heap, so a leak shows in it and nothing else does.
inline qint64 heapInUse() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<qint64>(heap.uordblks + heap.hblkhd);
}

// Processor time used so far, user and system together.
inline std::chrono::microseconds cpuTime() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval& t) { return t.tv_sec * 1'000'000 + t.tv_usec; };
    return std::chrono::microseconds(micros(usage.ru_utime) + micros(usage.ru_stime));
}

}  // namespace process_stats
