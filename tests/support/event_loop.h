#pragma once

#include <chrono>
#include <functional>

namespace test_support {

// Runs the application's event loop as the program's own would run it, blocking until the next
// event, until `done` holds (checked every 50 ms) or the deadline passes; returns `done`.
// QTest::qWaitFor sleeps between rounds of events, which would slow a window under load.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline);

// Runs the event loop for the given time.
void runFor(std::chrono::milliseconds duration);

}  // namespace test_support
