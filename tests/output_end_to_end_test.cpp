#include <gtest/gtest.h>

#include "support/pty.h"
#include "support/window_test.h"

namespace {

constexpr int kReceiverPort = 12;
const QByteArray kMicro = " 1447.56 \r\n";

// The window with real serial ports, sending a reading of 100 dbar, -1 degree and 1447.56 m/s
// to a pseudo-terminal that plays the echosounder.
class OutputEndToEnd : public WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(receiver.isOpen());
        useRealPorts();
        window().pressure = 10;
        window().temperature = -1;
        window().soundvelocity = 1447.56;
        type("Text5", QString::number(kReceiverPort));
        type("tx_timer", "50");
        click("Command4");
    }
    static qsizetype lines(const QByteArray& bytes) { return bytes.count("\r\n"); }

    test_support::PtyDevice receiver{kReceiverPort};
};

// A new format takes effect at the next tick. A German desktop changes no byte: receivers read a
// decimal point only.
TEST_F(OutputEndToEnd, EachFormatGivesExactTelegrams) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const auto& [option, telegram] : {std::pair{"op_micro", kMicro.constData()},
                                           {"op_ssv", "1447600010-00010990000\r\n"},
                                           {"op_generic", "S14476\r\n"}}) {
        choose(option);
        const QByteArray sent =
            receiver.pty().readUntil([](const QByteArray& b) { return lines(b) >= 2; });
        ASSERT_GE(lines(sent), 2) << option;
        EXPECT_EQ(sent, QByteArray(telegram).repeated(lines(sent))) << option;
    }
}

// A receiver that takes the telegrams more slowly than they are sent (here: not at all for a
// while) is sent only what its device can hold, not an endless queue; once it reads again the
// newest value follows.
TEST_F(OutputEndToEnd, AReceiverThatFallsBehindIsNotQueuedForWithoutEnd) {
    constexpr int kTicks = 20000;
    Timer* send = find<Timer>("Timer4");
    for (int i = 0; i < kTicks; ++i) {
        emit send->tick();
    }
    // At most the telegram on its way and the one after it.
    EXPECT_LE(find<SerialPort>("com_out")->bytesWaitingToSend(), 2 * kMicro.size());

    window().soundvelocity = 1500;
    const QByteArray received = receiver.pty().readUntil(
        [](const QByteArray& bytes) { return bytes.contains(" 1500.00 \r\n"); });
    const qsizetype older = received.indexOf(" 1500.00 \r\n");
    ASSERT_GE(older, 0);
    EXPECT_LT(lines(received.left(older)), kTicks);
    EXPECT_TRUE(find<SerialPort>("com_out")->isOpen());
}

}  // namespace
