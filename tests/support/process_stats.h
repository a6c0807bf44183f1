#pragma once

#include <QtGlobal>
#include <chrono>

// Whole-process figures: memory and processor time of this process.
namespace process_stats {

// Resident memory now, in bytes.
qint64 residentBytes();
// What the allocator holds for live objects, in bytes: unlike resident memory it does not keep
// the high-water mark of a fragmented heap, so a leak shows in it and nothing else does.
qint64 heapInUse();
// Processor time used so far, user and system together.
std::chrono::microseconds cpuTime();

}  // namespace process_stats
