#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include "support/simulator.h"
#include "support/window_test.h"

namespace {

// What the receiver prints after the time columns: the format and the bytes in quotes.
QString shown(const char* format, const char* bytes) {
    return QStringLiteral("%1  \"%2\"")
        .arg(QString::fromLatin1(format).leftJustified(17), QLatin1String(bytes));
}

// Every printed line ends with the expected text, and as many lines came as expected.
void expectPrinted(const QStringList& printed, const QStringList& expected) {
    ASSERT_EQ(printed.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(printed[i].endsWith(expected[i])) << printed[i].toStdString();
    }
}

using SimulatedChain = WindowTest;

// The instrument sends 29 mS/cm, 100 dbar and -1 degree; the echosounder gets 1447.56 m/s, with
// the decimal comma of a German desktop in the one telegram that follows the locale.
TEST_F(SimulatedChain, InstrumentRecordsReachTheEchosounderAsExactTelegrams) {
    const struct {
        const char* option;
        const char* format;
        const char* bytes;
    } cases[] = {
        {"op_micro", "App. Microsystems", " 1447,56 <CR><LF>"},
        {"op_generic", "Generic", "S14476<CR><LF>"},
    };
    QLocale::setDefault(QLocale(QLocale::German));
    useRealPorts();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        Simulator instrument(21, {"--mode", "kestrane", "--interval", "50", "--conductivity", "29",
                                  "--pressure", "100", "--temperature", "-1"});
        Simulator echosounder(22, {"--mode", "receiver"});
        ASSERT_TRUE(instrument.ready());
        ASSERT_TRUE(echosounder.ready());
        closeWindow();
        type("Text3", "21");
        click("Command3");
        ASSERT_TRUE(QTest::qWaitFor([&] { return window().soundvelocity != 0; }));
        choose(c.option);
        type("Text5", "22");
        type("tx_timer", "50");
        click("Command4");
        const QStringList printed = echosounder.lines(3);
        ASSERT_GE(printed.size(), 3);
        expectPrinted(printed, QStringList(printed.size(), shown(c.format, c.bytes)));
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

// Each test writes to the receiver as a program under test would and reads what it printed.
class SimulatedEchosounder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(echosounder.ready());
        line.setFileName(echosounder.link());
        ASSERT_TRUE(line.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    }

    Simulator echosounder{0, {"--mode", "receiver"}};
    QFile line;
};

TEST_F(SimulatedEchosounder, ShowsWhatMatchesNoTelegramPlainly) {
    const QByteArray sent =
        "S15003\r\n"                   // Generic
        "S1500\r\n"                    // a digit short
        "S15003\n"                     // no CR
        " 1500.2 \r\n"                 // one decimal
        "15002000100015990000\r\n"     // SVP 20 a digit short
        "<\"\t\xb0\r\r\n"              // bytes that must not hide
        "1500200010-00015990000\r\n";  // SVP 20
    ASSERT_EQ(line.write(sent), sent.size());
    expectPrinted(echosounder.lines(7),
                  {
                      shown("Generic", "S15003<CR><LF>"),
                      shown("MALFORMED", "S1500<CR><LF>"),
                      shown("MALFORMED", "S15003<LF>"),
                      shown("MALFORMED", " 1500.2 <CR><LF>"),
                      shown("MALFORMED", "15002000100015990000<CR><LF>"),
                      shown("MALFORMED", "<0x3C><0x22><TAB><0xB0><CR><CR><LF>"),
                      shown("SVP 20", "1500200010-00015990000<CR><LF>"),
                  });
}

// A receiver does not wait for ever for the rest of a line.
TEST_F(SimulatedEchosounder, ShowsALineWithoutEndOnceTheLineFallsQuiet) {
    ASSERT_EQ(line.write("S150"), 4);
    expectPrinted(echosounder.lines(1), {shown("MALFORMED", "S150") + "  (no line end)"});
}

}  // namespace
