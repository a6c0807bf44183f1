#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <ctime>
#include <iostream>

#include "output/telegrams.h"
#include "platform/number_text.h"
#include "support/event_loop.h"
#include "support/pty.h"
#include "support/watched_port.h"
#include "support/window_test.h"

namespace {

using test_support::WatchedPort;

// Long enough for a retry to find the device still gone.
constexpr std::chrono::milliseconds kGone{1500};
// Retries come once a second; a timer may run up to 5 % early.
constexpr qint64 kShortestRetryMs = 950;

using Replug = WindowTest;

// Both far ends are pulled and put back at the same paths, over and over: each time the window
// must notice, retry no more than once a second without spinning meanwhile, then read a reading
// with its own temperature and send the echosounder the sound velocity computed from it.
// SONDREL_REPLUG_CYCLES sets the number of cycles, 3 at least (tools/replug.sh runs 50).
TEST_F(Replug, InstrumentAndEchosounderComeBackEveryTime) {
    test_support::PtyDevice instrument{31};
    test_support::PtyDevice receiver{32};
    ASSERT_TRUE(instrument.isOpen() && receiver.isOpen());
    services.makePort = [](QObject* parent) -> SerialPort* { return new WatchedPort(parent); };
    type("Text3", "31");
    click("Command3");
    type("Text5", "32");
    type("tx_timer", "100");
    click("Command4");
    WatchedPort* ports[] = {find<WatchedPort>("Com_in"), find<WatchedPort>("com_out")};
    const auto portsOpen = [&](bool open) {
        return ports[0]->isOpen() == open && ports[1]->isOpen() == open;
    };
    ASSERT_TRUE(portsOpen(true));
    int attempts[] = {0, 0};
    for (int p : {0, 1}) {
        QObject::connect(ports[p], &WatchedPort::openTried, [&attempts, p] { ++attempts[p]; });
    }
    const int cycles = std::max(3, qEnvironmentVariableIntValue("SONDREL_REPLUG_CYCLES"));
    std::clock_t goneCpu = 0;
    qint64 goneMs = 0;
    QElapsedTimer outage, gone;
    for (int cycle = 0; cycle <= cycles; ++cycle) {
        SCOPED_TRACE(cycle);
        if (cycle > 0) {
            const int before[] = {attempts[0], attempts[1]};
            outage.start();
            instrument.unplug();
            receiver.unplug();
            ASSERT_TRUE(QTest::qWaitFor([&] { return portsOpen(false); })) << "not noticed";
            // The window alone, in an event loop like the program's, with nothing to talk to.
            const std::clock_t cpuBefore = std::clock();
            gone.start();
            test_support::runFor(kGone);
            goneCpu += std::clock() - cpuBefore;
            goneMs += gone.elapsed();
            instrument.plugIn();
            receiver.plugIn();
            ASSERT_TRUE(QTest::qWaitFor([&] { return portsOpen(true); })) << "not reopened";
            for (int p : {0, 1}) {
                EXPECT_LE(attempts[p] - before[p], outage.elapsed() / kShortestRetryMs + 1)
                    << "retries faster than once a second";
            }
        }
        const QString temperature = number_text::formatPattern(10 + cycle / 100.0, u"0.00");
        ASSERT_TRUE(instrument.pty().write("\r\n0035.000\tMS/CM\t010.000\tDBAR\t" +
                                           temperature.toLatin1() + "\tC\r\n"));
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return number_text::parse(text("lb_temp")) == number_text::parse(temperature);
        })) << "no reading";
        const QByteArray expected = telegrams::appMicrosystems(window().station().soundvelocity);
        const QByteArray received = receiver.pty().readUntil(
            [&](const QByteArray& bytes) { return bytes.endsWith(expected); });
        ASSERT_TRUE(received.endsWith(expected)) << "no telegram";
    }
    // A spinning window would use all of one processor; an idle one next to nothing.
    const double goneCpuMs = goneCpu * 1000.0 / CLOCKS_PER_SEC;
    EXPECT_LT(goneCpuMs, goneMs * 0.5) << "the window spins while devices are gone";
    EXPECT_TRUE(dialogs.messages.empty());
    std::cout << "replug: " << cycles << " cycles; devices gone " << goneMs << " ms in all, "
              << goneCpuMs << " ms of processor time meanwhile; open attempts " << attempts[0]
              << " instrument, " << attempts[1] << " echosounder" << std::endl;
}

}  // namespace
