#include "platform/timer.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace {

// True when `spy` gained no tick while a reference timer ticked three times: long enough for a
// timer that fires on every pass of the event loop to have fired, without measuring time.
bool staysQuiet(const QSignalSpy& spy) {
    const auto before = spy.count();
    Timer reference(QStringLiteral("reference"), 1);
    QSignalSpy ticks(&reference, &Timer::tick);
    reference.setEnabled(true);
    return QTest::qWaitFor([&] { return ticks.count() >= 3; }, 10000) && spy.count() == before;
}

bool ticksAgain(const QSignalSpy& spy) {
    const auto before = spy.count();
    return QTest::qWaitFor([&] { return spy.count() >= before + 2; }, 10000);
}

// Enabled and interval are independent: interval 0 pauses an enabled timer, setting an interval
// never enables one, and disabling keeps the interval.
TEST(Timer, EnabledAndIntervalAreIndependent) {
    Timer timer(QStringLiteral("t"), 0);
    QSignalSpy spy(&timer, &Timer::tick);
    timer.setEnabled(true);
    EXPECT_FALSE(timer.isTicking());
    EXPECT_TRUE(staysQuiet(spy));

    timer.setEnabled(false);
    timer.setInterval(5);
    EXPECT_FALSE(timer.isEnabled());
    EXPECT_TRUE(staysQuiet(spy));

    timer.setEnabled(true);
    EXPECT_TRUE(ticksAgain(spy));
    timer.setInterval(0);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_TRUE(staysQuiet(spy));
    timer.setInterval(60000);
    timer.setInterval(5);
    EXPECT_TRUE(ticksAgain(spy));

    timer.setEnabled(false);
    EXPECT_EQ(timer.interval(), 5);
    EXPECT_TRUE(staysQuiet(spy));
}

}  // namespace
