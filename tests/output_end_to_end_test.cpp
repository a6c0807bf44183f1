#include <gtest/gtest.h>

#include "support/pty.h"
#include "support/window_test.h"

namespace {

using OutputEndToEnd = WindowTest;

// The window with real serial ports sends a reading of 100 dbar, -1 degree and 1447.56 m/s to a
// pseudo-terminal that plays the echosounder. A new format takes effect at the next tick. A
// German desktop changes no byte: receivers read a decimal point only.
TEST_F(OutputEndToEnd, EachFormatGivesExactTelegrams) {
    test_support::PtyDevice receiver{12};
    ASSERT_TRUE(receiver.isOpen());
    useRealPorts();
    window().station().pressure = 10;
    window().station().temperature = -1;
    window().station().soundvelocity = 1447.56;
    window().station().readingTrust.reading(0, QString(), true);
    type("Text5", "12");
    type("tx_timer", "50");
    click("Command4");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto lines = [](const QByteArray& bytes) { return bytes.count("\r\n"); };
    for (const auto& [option, telegram] : {std::pair{"op_micro", " 1447.56 \r\n"},
                                           {"op_ssv", "1447600010-00010990000\r\n"},
                                           {"op_generic", "S14476\r\n"}}) {
        choose(option);
        const QByteArray sent =
            receiver.pty().readUntil([&](const QByteArray& b) { return lines(b) >= 2; });
        ASSERT_GE(lines(sent), 2) << option;
        EXPECT_EQ(sent, QByteArray(telegram).repeated(lines(sent))) << option;
    }
}

}  // namespace
