#include <gtest/gtest.h>

#include <QTest>

#include "output/send_lamp.h"
#include "platform/settings_store.h"
#include "support/pty.h"
#include "support/window_test.h"

namespace {

constexpr int kInstrumentPort = 11;
constexpr int kReceiverPort = 12;

// One instrument record, 29 mS/cm, 100 dbar and -1 degree, framed by line ends as it arrives
// from a running instrument; it gives 1447.56 m/s.
const QByteArray kRecord = "\r\n0029.000\tMS/CM\t100.000\tDBAR\t-01.000\tC\r\n";
const QByteArray kMicro = " 1447.56 \r\n";

qsizetype lines(const QByteArray& bytes) {
    return bytes.count("\r\n");
}

// The window with real serial ports, reading a pseudo-terminal that plays the instrument and
// sending to one that plays the echosounder.
class OutputEndToEnd : public WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(instrument.isOpen());
        ASSERT_TRUE(receiver.isOpen());
        useRealPorts();
        type("Text3", QString::number(kInstrumentPort));
        click("Command3");
        ASSERT_TRUE(instrument.pty().write(kRecord));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window().soundvelocity != 0; }));
        type("Text5", QString::number(kReceiverPort));
        type("tx_timer", "50");
    }

    QByteArray receive(qsizetype count) {
        return receiver.pty().readUntil([count](const QByteArray& b) { return lines(b) >= count; });
    }
    SerialPort* out() { return find<SerialPort>("com_out"); }

    test_support::PtyDevice instrument{kInstrumentPort};
    test_support::PtyDevice receiver{kReceiverPort};
};

TEST_F(OutputEndToEnd, ANewFormatTakesEffectAtTheNextTick) {
    click("Command4");
    const QByteArray before = receive(1);
    choose("op_ssv");
    const QByteArray after = receive(2);
    EXPECT_EQ(before, kMicro.repeated(lines(before)));
    ASSERT_GE(lines(after), 2);
    EXPECT_EQ(after, QByteArray("1447600010-00010990000\r\n").repeated(lines(after)));
}

TEST_F(OutputEndToEnd, APortNumberWithoutDeviceAsksForAnother) {
    test_support::mapPort(13, receiver.path() + QStringLiteral("-absent"));
    type("Text5", "13");
    click("Command4");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, window().windowTitle());
    EXPECT_EQ(dialogs.messages[0].text, "Please choose another COM Port!");
    EXPECT_FALSE(out()->isOpen());
    EXPECT_FALSE(find<Timer>("Timer4")->isEnabled());
    EXPECT_EQ(settings_store::portConfiguration(settings_store::kOutputKey), "13:4800,N,8,1");
}

TEST_F(OutputEndToEnd, AVanishedReceiverThatComesBackGetsTheTelegramsAgain) {
    click("Command4");
    ASSERT_EQ(receive(1).left(kMicro.size()), kMicro);

    receiver.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !out()->isOpen(); }));
    EXPECT_EQ(find<SendLamp>("Shape1")->color(), SendLamp::kIdle);

    receiver.plugIn();
    ASSERT_TRUE(receiver.isOpen());
    const QByteArray resumed = receive(2);
    ASSERT_GE(lines(resumed), 2);
    EXPECT_EQ(resumed, kMicro.repeated(lines(resumed)));
    EXPECT_TRUE(out()->isOpen());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
