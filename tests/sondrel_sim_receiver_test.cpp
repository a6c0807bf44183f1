#include <gtest/gtest.h>

#include <QFile>

#include "support/simulator.h"

namespace {

// What the receiver prints after the time columns: the format and the bytes in quotes.
QString shown(const char* format, const char* bytes) {
    return QStringLiteral("%1  \"%2\"")
        .arg(QString::fromLatin1(format).leftJustified(17), QLatin1String(bytes));
}

// Written to the receiver as the program would. A receiver does not wait for ever for the rest
// of a line: the last one is shown once the line falls quiet.
TEST(SimulatedEchosounder, NamesEachTelegramAndShowsWhatMatchesNonePlainly) {
    Simulator echosounder{0, {"--mode", "receiver"}};
    ASSERT_TRUE(echosounder.ready());
    QFile line(echosounder.link());
    ASSERT_TRUE(line.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray sent =
        " 1500,25 \r\n"               // App. Microsystems on a German desktop
        "S15003\r\n"                  // Generic
        "1500200010-00015990000\r\n"  // SVP 20
        "S1500\r\n"                   // a digit short
        "S15003\n"                    // no CR
        " 1500.2 \r\n"                // one decimal
        "15002000100015990000\r\n"    // SVP 20 a digit short
        "<\"\t\xb0\r\r\n"             // bytes that must not hide
        "S150";                       // no line end
    const QStringList expected{shown("App. Microsystems", " 1500,25 <CR><LF>"),
                               shown("Generic", "S15003<CR><LF>"),
                               shown("SVP 20", "1500200010-00015990000<CR><LF>"),
                               shown("MALFORMED", "S1500<CR><LF>"),
                               shown("MALFORMED", "S15003<LF>"),
                               shown("MALFORMED", " 1500.2 <CR><LF>"),
                               shown("MALFORMED", "15002000100015990000<CR><LF>"),
                               shown("MALFORMED", "<0x3C><0x22><TAB><0xB0><CR><CR><LF>"),
                               shown("MALFORMED", "S150") + "  (no line end)"};
    ASSERT_EQ(line.write(sent), sent.size());
    const QStringList printed = echosounder.lines(expected.size());
    ASSERT_EQ(printed.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(printed[i].endsWith(expected[i])) << printed[i].toStdString();
    }
}

}  // namespace
