#include <gtest/gtest.h>

#include <QFile>

#include "support/simulator.h"

namespace {

// What the receiver prints after the time columns: the format and the bytes in quotes.
QString shown(const char* format, const char* bytes) {
    return QStringLiteral("%1  \"%2\"")
        .arg(QString::fromLatin1(format).leftJustified(17), QLatin1String(bytes));
}

// Each test writes to the receiver as the program would and checks the lines it printed.
class SimulatedEchosounder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(echosounder.ready());
        line.setFileName(echosounder.link());
        ASSERT_TRUE(line.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    }
    void expectPrinted(const QByteArray& sent, const QStringList& expected) {
        ASSERT_EQ(line.write(sent), sent.size());
        const QStringList printed = echosounder.lines(expected.size());
        ASSERT_EQ(printed.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(printed[i].endsWith(expected[i])) << printed[i].toStdString();
        }
    }

    Simulator echosounder{0, {"--mode", "receiver"}};
    QFile line;
};

TEST_F(SimulatedEchosounder, NamesEachTelegramAndShowsWhatMatchesNonePlainly) {
    expectPrinted(
        " 1500,25 \r\n"               // App. Microsystems on a German desktop
        "S15003\r\n"                  // Generic
        "1500200010-00015990000\r\n"  // SVP 20
        "S1500\r\n"                   // a digit short
        "S15003\n"                    // no CR
        " 1500.2 \r\n"                // one decimal
        "15002000100015990000\r\n"    // SVP 20 a digit short
        "<\"\t\xb0\r\r\n",            // bytes that must not hide
        {shown("App. Microsystems", " 1500,25 <CR><LF>"), shown("Generic", "S15003<CR><LF>"),
         shown("SVP 20", "1500200010-00015990000<CR><LF>"), shown("MALFORMED", "S1500<CR><LF>"),
         shown("MALFORMED", "S15003<LF>"), shown("MALFORMED", " 1500.2 <CR><LF>"),
         shown("MALFORMED", "15002000100015990000<CR><LF>"),
         shown("MALFORMED", "<0x3C><0x22><TAB><0xB0><CR><CR><LF>")});
}

// A receiver does not wait for ever for the rest of a line.
TEST_F(SimulatedEchosounder, ShowsALineWithoutEndOnceTheLineFallsQuiet) {
    expectPrinted("S150", {shown("MALFORMED", "S150") + "  (no line end)"});
}

}  // namespace
