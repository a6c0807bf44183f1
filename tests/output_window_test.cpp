#include <gtest/gtest.h>

#include <QCheckBox>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <tuple>

#include "output/send_lamp.h"
#include "platform/settings_store.h"
#include "support/window_test.h"

namespace {

class OutputWindow : public WindowTest {
protected:
    FakePort* out() { return static_cast<FakePort*>(find<SerialPort>("com_out")); }
    Timer* sendTimer() { return find<Timer>("Timer4"); }
    Timer* lampTimer() { return find<Timer>("Timer3"); }
    QColor lamp() { return find<SendLamp>("Shape1")->color(); }
    void start() { click("Command4"); }
    void stop() { click("Command7"); }
    void sendTick() { emit sendTimer()->tick(); }
    QString status() { return text("lb_out_status"); }

    Timer* udpTimer() { return find<Timer>("udp_timer"); }
    void udpTick() { emit udpTimer()->tick(); }
    void aimUdp(const QString& target) {
        type("tx_udp", target);
        emit find<QLineEdit>("tx_udp")->editingFinished();
    }
    QString receiverTarget() const {
        return QStringLiteral("127.0.0.1:%1").arg(receiver.localPort());
    }
    // The next datagram that reached the receiver.
    QByteArray datagram() {
        EXPECT_TRUE(QTest::qWaitFor([&] { return receiver.hasPendingDatagrams(); }));
        return receiver.receiveDatagram().data();
    }

    QUdpSocket receiver;
};

// The buttons drive the output: Start opens the port with the boxes' texts, remembers them and
// arms the send timer; the lamp follows the sends and the status line the connection; Stop leaves
// the lamp as it is.
TEST_F(OutputWindow, StartAndStopDriveThePortTheLampAndTheStatusLine) {
    type("tx_timer", "501");
    start();
    EXPECT_EQ(journal, QStringList{"com_out open"});
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kOutputKey), "2:4800,N,8,1");
    EXPECT_EQ(sendTimer()->interval(), 501);
    EXPECT_EQ(lamp(), SendLamp::kIdle);
    EXPECT_EQ(status(), "Connected: COM2 4800,N,8,1");
    type("Text1", "4.2914");
    click("Command1");
    sendTick();
    EXPECT_EQ(out()->written, " 1506.82 \r\n");
    EXPECT_EQ(lamp(), SendLamp::kLit);
    emit lampTimer()->tick();
    EXPECT_EQ(lamp(), SendLamp::kIdle);
    out()->unsent = 12;
    sendTick();
    EXPECT_EQ(status(), "Connected: COM2 4800,N,8,1; Interval too short for the line");
    out()->unsent = 0;
    sendTick();
    stop();
    EXPECT_FALSE(out()->isOpen());
    EXPECT_FALSE(sendTimer()->isEnabled());
    EXPECT_EQ(lamp(), SendLamp::kLit);
    EXPECT_EQ(status(), "");

    out()->openErrors = {{SerialPort::kUnusablePort, QStringLiteral("no such device")}};
    start();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Please choose another COM Port!");
}

// With no serial receiver at all, each tick of its own timer sends the chosen telegram as one
// datagram, byte for byte, and only fresh readings when so chosen; the serial output's Start and
// Stop leave it alone.
TEST_F(OutputWindow, UdpSendsTheChosenTelegramAtItsOwnTicks) {
    ASSERT_TRUE(receiver.bind(QHostAddress::LocalHost, 0));
    type("tx_timer", "250");
    aimUdp(receiverTarget());
    find<QCheckBox>("ck_fresh_only")->click();
    find<QCheckBox>("ck_udp")->click();
    EXPECT_TRUE(udpTimer()->isTicking());
    EXPECT_EQ(udpTimer()->interval(), 250);
    EXPECT_FALSE(sendTimer()->isEnabled());
    connectInput();
    udpTick();
    record("0042.914", "000.000", "15.000");
    udpTick();
    EXPECT_EQ(datagram(), " 1506.66 \r\n") << "nothing before the first reading";
    EXPECT_EQ(status(), "UDP Connected: " + receiverTarget());
    start();
    stop();
    choose("op_ssv");
    udpTick();
    EXPECT_EQ(datagram(), "150670000000150990000\r\n");
    EXPECT_TRUE(out()->written.isEmpty());

    find<QCheckBox>("ck_udp")->click();
    EXPECT_FALSE(udpTimer()->isEnabled());
    EXPECT_EQ(status(), "");
}

// What keeps the telegrams from leaving is told on the status line, never in a message box, and
// tried again at the next tick; the first target that works gets the next telegram.
TEST_F(OutputWindow, AnUnusableUdpTargetIsToldAndTriedAgain) {
    ASSERT_TRUE(receiver.bind(QHostAddress::LocalHost, 0));
    click("Command1");
    find<QCheckBox>("ck_udp")->click();
    EXPECT_EQ(status(), "UDP Not connected: no target: type host:port");
    for (const auto& [typed, told] :
         {std::pair{"127.0.0.1", "UDP Not connected: no port: type host:port"},
          {"127.0.0.1:70000", "UDP Not connected: the port must be 1 to 65535, not \"70000\""},
          {"no-such-host.invalid:5602",
           "UDP Not connected: no-such-host.invalid cannot be found"}}) {
        aimUdp(QString::fromLatin1(typed));
        udpTick();
        // A machine without a reachable name server takes the resolver's own time to say no.
        EXPECT_TRUE(QTest::qWaitFor([&] { return status().startsWith(told); }, 60000))
            << status().toStdString();
        udpTick();
        EXPECT_TRUE(status().startsWith(told)) << status().toStdString();
    }
    aimUdp(receiverTarget());
    udpTick();
    EXPECT_EQ(datagram(), " 1474.49 \r\n");
    EXPECT_EQ(status(), "UDP Connected: " + receiverTarget());
    type("tx_timer", "soon");
    emit find<QLineEdit>("tx_timer")->editingFinished();
    EXPECT_EQ(status(), "UDP Not connected: the ms box needs 0 to 65535");
    EXPECT_FALSE(udpTimer()->isEnabled());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
