#include "platform/timer.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kWaitMs = 10000;

// Lets the event loop run until `reference` has ticked a few times: long enough for a timer
// that would fire on every pass of the loop to have fired, without measuring any duration.
void runWhile(Timer& reference) {
    QSignalSpy spy(&reference, &Timer::tick);
    reference.setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spy.count() >= 3; }, kWaitMs));
    reference.setEnabled(false);
}

TEST(Timer, IntervalZeroNeverTicksWhileEnabled) {
    Timer timer(QStringLiteral("zero"), 0);
    QSignalSpy ticks(&timer, &Timer::tick);
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_FALSE(timer.isTicking());

    Timer reference(QStringLiteral("reference"), 1);
    runWhile(reference);
    EXPECT_EQ(ticks.count(), 0);
}

TEST(Timer, EnablingWithAnIntervalTicks) {
    Timer timer(QStringLiteral("t"), 5);
    QSignalSpy ticks(&timer, &Timer::tick);
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isTicking());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 2; }, kWaitMs));
}

TEST(Timer, DisablingKeepsTheIntervalAndStopsTicks) {
    Timer timer(QStringLiteral("t"), 1);
    QSignalSpy ticks(&timer, &Timer::tick);
    timer.setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 1; }, kWaitMs));

    timer.setEnabled(false);
    EXPECT_EQ(timer.interval(), 1);
    EXPECT_FALSE(timer.isTicking());
    const auto before = ticks.count();
    Timer reference(QStringLiteral("reference"), 1);
    runWhile(reference);
    EXPECT_EQ(ticks.count(), before);

    timer.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.count() > before; }, kWaitMs));
}

TEST(Timer, StartsDisabledAndSettingTheIntervalDoesNotStartIt) {
    Timer timer(QStringLiteral("t"), 0);
    EXPECT_FALSE(timer.isEnabled());
    timer.setInterval(5);
    EXPECT_FALSE(timer.isEnabled());
    EXPECT_FALSE(timer.isTicking());
    EXPECT_EQ(timer.interval(), 5);
}

TEST(Timer, SettingTheIntervalOfAnEnabledTimerKeepsItRunning) {
    Timer timer(QStringLiteral("t"), 60000);
    QSignalSpy ticks(&timer, &Timer::tick);
    timer.setEnabled(true);
    timer.setInterval(5);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_TRUE(timer.isTicking());
    EXPECT_EQ(timer.interval(), 5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 2; }, kWaitMs));
}

TEST(Timer, IntervalZeroPausesAnEnabledTimerUntilGivenAnInterval) {
    Timer timer(QStringLiteral("t"), 5);
    QSignalSpy ticks(&timer, &Timer::tick);
    timer.setEnabled(true);
    timer.setInterval(0);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_FALSE(timer.isTicking());

    timer.setInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 1; }, kWaitMs));
}

}  // namespace
