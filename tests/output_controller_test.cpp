#include <gtest/gtest.h>

#include <tuple>

#include "output/output_controller.h"
#include "platform/timer.h"
#include "support/fake_port.h"

namespace {

// The output on a fake port, fed from a sounding the test sets, its lamp and state recorded.
class OutputControl : public ::testing::Test {
protected:
    OutputControl() {
        QObject::connect(&output, &OutputController::lampChanged, [this](bool lit) { lamp = lit; });
        QObject::connect(&output, &OutputController::portTextsChosen,
                         [this](const QString& value) { chosen << value; });
    }

    FakePort* port() { return output.findChild<FakePort*>(QStringLiteral("com_out")); }
    Timer* timer(const char* name) { return output.findChild<Timer*>(QLatin1String(name)); }
    void sendTick() { emit timer("Timer4")->tick(); }
    bool start(const char* port = "2", const char* interval = "500") {
        return output
            .start(QString::fromLatin1(port), QStringLiteral("4800,N,8,1"),
                   sendIntervals(QString::fromLatin1(interval)))
            .ok();
    }
    QString status() {
        const QString state = output.state().text();
        return output.note().isEmpty() ? state : state + "; " + output.note();
    }

    QStringList journal;
    QStringList chosen;
    std::optional<Sounding> sounding = Sounding{1506.66, 0, 15};
    bool lamp = false;
    OutputController output{[this](QObject* parent) { return new FakePort(parent, &journal); },
                            [this] { return sounding; }, nullptr};
};

// The send interval is whole milliseconds 0..65535 and the lamp's half of it, ties to even. An
// unusable interval leaves the port open and the timers as they were, running or not.
TEST_F(OutputControl, IntervalsFromTheSendIntervalBox) {
    const std::tuple<const char*, int, int, bool> cases[] = {
        {"70000", 1000, 200, false}, {"501", 501, 250, true},       {"503", 503, 252, true},
        {"1", 1, 0, true},           {"65535", 65535, 32768, true}, {"65536", 65535, 32768, true},
        {"abc", 65535, 32768, true},
    };
    for (const auto& [typed, send, lampMs, running] : cases) {
        EXPECT_TRUE(start("2", typed)) << typed;
        EXPECT_TRUE(port()->isOpen()) << typed;
        EXPECT_EQ(timer("Timer4")->interval(), send) << typed;
        EXPECT_EQ(timer("Timer3")->interval(), lampMs) << typed;
        EXPECT_EQ(timer("Timer4")->isEnabled(), running) << typed;
    }
    EXPECT_EQ(status(), "Connected: COM2 4800,N,8,1; not sending: the ms box needs 0 to 65535");
    EXPECT_TRUE(start("2", "0"));
    EXPECT_FALSE(timer("Timer4")->isTicking());
    EXPECT_EQ(status(), "Connected: COM2 4800,N,8,1; Send interval 0 ms: nothing is sent");
}

// The first telegram leaves one interval after the start; the lamp lights at each send and goes
// out at the lamp tick. Nothing leaves while the fields may not be sent, nor while more than the
// last telegram still waits in the driver, which the status tells, as it tells an echo.
TEST_F(OutputControl, TelegramsLeaveAtTheTicksWithoutQueueing) {
    ASSERT_TRUE(start());
    EXPECT_EQ(journal, QStringList{"com_out open"});
    EXPECT_EQ(chosen, QStringList{"2:4800,N,8,1"});
    EXPECT_FALSE(timer("Timer3")->isEnabled());
    sendTick();
    EXPECT_EQ(port()->written, " 1506.66 \r\n");
    EXPECT_TRUE(lamp);
    EXPECT_TRUE(timer("Timer3")->isEnabled());
    emit timer("Timer3")->tick();
    EXPECT_FALSE(lamp);
    EXPECT_FALSE(timer("Timer3")->isEnabled());

    output.setTelegram(*telegrams::formats().named(QStringLiteral("SVP 20")));
    port()->unsent = 12;
    sendTick();
    EXPECT_EQ(status(), "Connected: COM2 4800,N,8,1; Interval too short for the line");
    port()->unsent = 11;
    sendTick();
    EXPECT_EQ(port()->written, " 1506.66 \r\n150670000000150990000\r\n");
    EXPECT_EQ(status(), "Connected: COM2 4800,N,8,1");

    // A receiver that talks back is read and dropped, and counted.
    for (const char* echo : {"ACK\r\n", "", "ACK\r\n"}) {
        port()->incoming = echo;
        emit port()->dataReceived();
    }
    EXPECT_TRUE(port()->incoming.isEmpty());
    EXPECT_EQ(output.echo(), "echosounder sends back 10 bytes");

    port()->unsent = 0;
    sounding.reset();
    lamp = false;
    sendTick();
    EXPECT_EQ(port()->written.size(), 34);
    EXPECT_FALSE(lamp);
}

// A restart while sending reopens with the current texts; a port text that is no number closes
// the port and stores nothing, and the send timer runs on without effect.
TEST_F(OutputControl, RestartWhileSendingTakesTheCurrentTexts) {
    ASSERT_TRUE(start());
    journal.clear();
    ASSERT_TRUE(start("7"));
    EXPECT_EQ(journal, QStringList({"com_out close", "com_out open"}));
    EXPECT_EQ(port()->portNumber(), 7);
    EXPECT_FALSE(start("abc"));
    EXPECT_FALSE(port()->isOpen());
    EXPECT_EQ(chosen, QStringList({"2:4800,N,8,1", "7:4800,N,8,1"}));
    EXPECT_TRUE(status().startsWith("Not connected: the COM Port box holds \"abc\""));
    EXPECT_TRUE(timer("Timer4")->isEnabled());
    sendTick();
    EXPECT_TRUE(port()->written.isEmpty());
    EXPECT_FALSE(timer("com_out_reopen")->isEnabled());
}

// A refused write dims the lamp and reopens the port once a second until it opens again; stopping
// ends the reopening. Started to retry, an absent device is reopened the same way.
TEST_F(OutputControl, ALostDeviceIsReopenedUntilItIsBack) {
    const PortError gone{SerialPort::kUnusablePort, QStringLiteral("no such device")};
    ASSERT_TRUE(start());
    port()->writeError = PortError{SerialPort::kDeviceFailure, QStringLiteral("i/o error")};
    sendTick();
    port()->writeError.reset();
    EXPECT_FALSE(port()->isOpen());
    EXPECT_FALSE(lamp);
    EXPECT_FALSE(timer("Timer3")->isEnabled());
    EXPECT_TRUE(timer("com_out_reopen")->isEnabled());
    EXPECT_EQ(status(), "Reconnecting ...");

    port()->openErrors = {gone, {SerialPort::kDeviceFailure, QStringLiteral("busy")}};
    emit timer("com_out_reopen")->tick();
    emit timer("com_out_reopen")->tick();
    sendTick();
    EXPECT_TRUE(port()->written.isEmpty());
    emit timer("com_out_reopen")->tick();
    EXPECT_TRUE(port()->isOpen());
    EXPECT_FALSE(timer("com_out_reopen")->isEnabled());
    EXPECT_EQ(status(), "Connected: COM2 4800,N,8,1");
    sendTick();
    EXPECT_EQ(port()->written, " 1506.66 \r\n");

    port()->vanish();
    output.stop();
    EXPECT_FALSE(timer("com_out_reopen")->isEnabled());
    EXPECT_EQ(status(), "");

    port()->openErrors = {gone};
    EXPECT_FALSE(output.start("2", "4800,N,8,1", sendIntervals("500"), WhenAbsent::Retry).ok());
    EXPECT_EQ(status(), "Reconnecting ...");
    EXPECT_TRUE(timer("Timer4")->isEnabled());
    emit timer("com_out_reopen")->tick();
    EXPECT_TRUE(port()->isOpen());

    port()->openErrors = {{SerialPort::kNotSerialDevice, QStringLiteral("not a serial device")}};
    EXPECT_FALSE(output.start("2", "4800,N,8,1", sendIntervals("500"), WhenAbsent::Retry).ok());
    EXPECT_FALSE(timer("com_out_reopen")->isEnabled()) << "it will not become one";
    EXPECT_TRUE(output.state().alarm());
}

}  // namespace
