#pragma once

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>

namespace test_support {

// Runs the application's event loop as the program's own would run it, blocking until the next
// event, until `done` holds (checked every 50 ms) or the deadline passes; returns `done`.
// QTest::qWaitFor sleeps between rounds of events, which would slow a window under load.
inline bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QTimer::singleShot(deadline, &loop, &QEventLoop::quit);
    check.start(std::chrono::milliseconds(50));
    loop.exec();
    return done();
}

inline void runFor(std::chrono::milliseconds duration) {
    runUntil([] { return false; }, duration);
}

}  // namespace test_support
