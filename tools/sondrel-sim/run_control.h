#pragma once

#include <chrono>

// Stopping on SIGTERM and SIGINT: the handlers only set a flag, which every wait checks.
namespace run_control {

void installStopHandlers();
bool stopRequested();
// Waits for the duration or until a stop is requested; false when stopped.
bool pause(std::chrono::milliseconds duration);

}  // namespace run_control
