#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <chrono>
#include <iostream>
#include <memory>

#include "app/frm_main.h"
#include "output/telegrams.h"
#include "platform/number_text.h"
#include "support/event_loop.h"
#include "support/fake_dialogs.h"
#include "support/process_stats.h"
#include "support/pty.h"
#include "support/watched_port.h"

namespace {

using namespace std::chrono_literals;
using test_support::PtyDevice;
using test_support::WatchedPort;

constexpr int kInstrumentPort = 31;
constexpr int kReceiverPort = 32;
// Long enough for a retry to find the device still gone.
constexpr auto kGone = 1500ms;
// Retries come once a second; a timer may run up to 5 % early.
constexpr qint64 kShortestRetryMs = 950;

// Open attempts of one port, and how many of them came while its device was away.
struct Retries {
    int attempts = 0;
    int mostInOneOutage = 0;
};

// Both far ends are pulled and put back at the same paths, over and over: each time the window
// must notice, retry no more than once a second without spinning meanwhile, and read and send
// again. SONDREL_REPLUG_CYCLES sets the number of cycles (tools/replug.sh runs 50).
class Replug : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(instrument.isOpen());
        ASSERT_TRUE(receiver.isOpen());
        Services services;
        services.dialogs = &dialogs;
        services.makePort = [](QObject* parent) -> SerialPort* { return new WatchedPort(parent); };
        window = std::make_unique<frm_main>(services);
        window->show();
        type("Text3", QString::number(kInstrumentPort));
        click("Command3");
        type("Text5", QString::number(kReceiverPort));
        type("tx_timer", "100");
        click("Command4");
        ASSERT_TRUE(port("Com_in")->isOpen());
        ASSERT_TRUE(port("com_out")->isOpen());
        count("Com_in", inputRetries);
        count("com_out", outputRetries);
    }
    void TearDown() override {
        window.reset();
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Sondrel", "Sondrel")
            .remove(QStringLiteral("COM_Port"));
    }

    void type(const char* box, const QString& text) {
        window->findChild<QLineEdit*>(box)->setText(text);
    }
    void click(const char* button) { window->findChild<QPushButton*>(button)->click(); }
    WatchedPort* port(const char* name) { return window->findChild<WatchedPort*>(name); }
    void count(const char* name, Retries& retries) {
        QObject::connect(port(name), &WatchedPort::openTried, [&retries] { ++retries.attempts; });
    }

    // A reading with its own temperature reaches the fields, and the echosounder then gets the
    // sound velocity computed from it.
    void readAndSend(int cycle) {
        const QString temperature = number_text::formatPattern(10 + cycle / 100.0, u"0.00");
        const QByteArray record =
            "\r\n0035.000\tMS/CM\t010.000\tDBAR\t" + temperature.toLatin1() + "\tC\r\n";
        ASSERT_TRUE(instrument.pty().write(record));
        auto* shown = window->findChild<QLabel*>("lb_temp");
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return number_text::parse(shown->text()) == number_text::parse(temperature);
        })) << "cycle "
            << cycle << ": no reading";
        const QByteArray expected = telegrams::appMicrosystems(window->soundvelocity);
        const QByteArray received = receiver.pty().readUntil(
            [&](const QByteArray& bytes) { return bytes.endsWith(expected); });
        ASSERT_TRUE(received.endsWith(expected)) << "cycle " << cycle << ": no telegram";
    }

    PtyDevice instrument{kInstrumentPort};
    PtyDevice receiver{kReceiverPort};
    FakeDialogs dialogs;
    std::unique_ptr<frm_main> window;
    Retries inputRetries;
    Retries outputRetries;
};

TEST_F(Replug, InstrumentAndEchosounderComeBackEveryTime) {
    const int cycles = qEnvironmentVariableIsSet("SONDREL_REPLUG_CYCLES")
                           ? qEnvironmentVariableIntValue("SONDREL_REPLUG_CYCLES")
                           : 3;
    ASSERT_NO_FATAL_FAILURE(readAndSend(0));
    std::chrono::microseconds goneCpu{0};
    qint64 goneMs = 0;
    qint64 slowestReturnMs = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        const int inputBefore = inputRetries.attempts;
        const int outputBefore = outputRetries.attempts;
        QElapsedTimer outage;
        outage.start();
        instrument.unplug();
        receiver.unplug();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return !port("Com_in")->isOpen() && !port("com_out")->isOpen();
        })) << "cycle "
            << cycle << ": the window did not notice";

        // The window alone, in an event loop like the program's, with nothing to talk to.
        const auto cpuBefore = process_stats::cpuTime();
        QElapsedTimer gone;
        gone.start();
        test_support::runFor(kGone);
        goneCpu += process_stats::cpuTime() - cpuBefore;
        goneMs += gone.elapsed();

        instrument.plugIn();
        receiver.plugIn();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return port("Com_in")->isOpen() && port("com_out")->isOpen();
        })) << "cycle "
            << cycle << ": not reopened";
        const qint64 outageMs = outage.elapsed();
        slowestReturnMs = std::max(slowestReturnMs, outageMs);
        for (Retries* retries : {&inputRetries, &outputRetries}) {
            const int before = retries == &inputRetries ? inputBefore : outputBefore;
            retries->mostInOneOutage =
                std::max(retries->mostInOneOutage, retries->attempts - before);
            EXPECT_LE(retries->attempts - before, outageMs / kShortestRetryMs + 1)
                << "cycle " << cycle << ": retries faster than once a second";
        }
        ASSERT_NO_FATAL_FAILURE(readAndSend(cycle));
    }
    // A spinning window would use all of one processor; an idle one next to nothing.
    EXPECT_LT(goneCpu.count() / 1000.0, goneMs * 0.5)
        << "the window spins while its devices are gone";
    EXPECT_TRUE(dialogs.messages.empty());
    std::cout << "replug: " << cycles << " cycles; devices gone " << goneMs << " ms in all, "
              << goneCpu.count() / 1000 << " ms of processor time meanwhile; open attempts "
              << inputRetries.attempts << " instrument, " << outputRetries.attempts
              << " echosounder (at most " << inputRetries.mostInOneOutage << " and "
              << outputRetries.mostInOneOutage << " in one outage); longest outage "
              << slowestReturnMs << " ms" << std::endl;
}

}  // namespace
