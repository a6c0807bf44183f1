#pragma once

#include <QtGlobal>
#include <chrono>

// Whole-process figures: memory and processor time of this process.
namespace process_stats {

// Resident memory now, in bytes.
qint64 residentBytes();
// Processor time used so far, user and system together.
std::chrono::microseconds cpuTime();

}  // namespace process_stats
