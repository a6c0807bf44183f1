#include <gtest/gtest.h>

#include <QFile>

#include "support/simulator.h"

namespace {

// Written to the receiver as the program would. A receiver does not wait for ever for the rest
// of a line: the last one is shown once the line falls quiet. After the time columns it prints
// the format and then what is shown here: the bytes in quotes.
TEST(SimulatedEchosounder, NamesEachTelegramAndShowsWhatMatchesNonePlainly) {
    const struct {
        const char *sent, *format, *shown;
    } cases[] = {
        {" 1500,25 \r\n", "App. Microsystems", "\" 1500,25 <CR><LF>\""},  // on a German desktop
        {"S15003\r\n", "Generic", "\"S15003<CR><LF>\""},
        {"1500200010-00015990000\r\n", "SVP 20", "\"1500200010-00015990000<CR><LF>\""},
        {"S1500\r\n", "MALFORMED", "\"S1500<CR><LF>\""},        // a digit short
        {"S15003\n", "MALFORMED", "\"S15003<LF>\""},            // no CR
        {" 1500.2 \r\n", "MALFORMED", "\" 1500.2 <CR><LF>\""},  // one decimal
        {"15002000100015990000\r\n", "MALFORMED",
         "\"15002000100015990000<CR><LF>\""},  // SVP 20 short
        {"<\"\t\xb0\r\r\n", "MALFORMED",
         "\"<0x3C><0x22><TAB><0xB0><CR><CR><LF>\""},  // must not hide
        {"S150", "MALFORMED", "\"S150\"  (no line end)"},
    };
    Simulator echosounder{0, {"--mode", "receiver"}};
    ASSERT_TRUE(echosounder.ready());
    QFile line(echosounder.link());
    ASSERT_TRUE(line.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QByteArray sent;
    for (const auto& c : cases) {
        sent += c.sent;
    }
    ASSERT_EQ(line.write(sent), sent.size());
    const QByteArray lines = echosounder.takeLines(std::size(cases) + 1);  // the device path first
    const QStringList printed = QString::fromLatin1(lines).split(u'\n', Qt::SkipEmptyParts).mid(1);
    ASSERT_EQ(printed.size(), std::size(cases));
    for (qsizetype i = 0; i < printed.size(); ++i) {
        const QString format = QString::fromLatin1(cases[i].format).leftJustified(17);
        EXPECT_TRUE(printed[i].endsWith(format + "  " + cases[i].shown))
            << printed[i].toStdString();
    }
}

}  // namespace
