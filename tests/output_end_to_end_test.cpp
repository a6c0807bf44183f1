#include <gtest/gtest.h>

#include <QTest>

#include "output/send_lamp.h"
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

// A new format takes effect at the next tick. A German desktop changes no byte: receivers read a
// decimal point only.
TEST_F(OutputEndToEnd, EachFormatGivesExactTelegrams) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    click("Command4");
    for (const auto& [option, telegram] : {std::pair{"op_micro", " 1447.56 \r\n"},
                                           {"op_ssv", "1447600010-00010990000\r\n"},
                                           {"op_generic", "S14476\r\n"}}) {
        choose(option);
        const QByteArray sent = receive(2);
        ASSERT_GE(lines(sent), 2) << option;
        EXPECT_EQ(sent, QByteArray(telegram).repeated(lines(sent))) << option;
    }
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

// A receiver that takes the telegrams more slowly than they are sent (here: not at all for a
// while) is sent only what its device can hold, not an endless queue; once it reads again the
// newest value follows.
TEST_F(OutputEndToEnd, AReceiverThatFallsBehindIsNotQueuedForWithoutEnd) {
    constexpr int kTicks = 20000;
    click("Command4");
    Timer* send = find<Timer>("Timer4");
    for (int i = 0; i < kTicks; ++i) {
        emit send->tick();
    }
    // At most the telegram on its way and the one after it.
    EXPECT_LE(out()->bytesWaitingToSend(), 2 * kMicro.size());

    window().soundvelocity = 1500;
    const QByteArray received = receiver.pty().readUntil(
        [](const QByteArray& bytes) { return bytes.contains(" 1500.00 \r\n"); });
    const qsizetype older = received.indexOf(" 1500.00 \r\n");
    ASSERT_GE(older, 0);
    EXPECT_LT(lines(received.left(older)), kTicks);
    EXPECT_TRUE(out()->isOpen());
}

}  // namespace
