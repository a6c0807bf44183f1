#include "support/event_loop.h"

#include <QEventLoop>
#include <QTimer>

namespace test_support {

bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer check;
    check.setInterval(std::chrono::milliseconds(50));
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QTimer::singleShot(deadline, &loop, &QEventLoop::quit);
    check.start();
    loop.exec();
    return done();
}

void runFor(std::chrono::milliseconds duration) {
    runUntil([] { return false; }, duration);
}

}  // namespace test_support
