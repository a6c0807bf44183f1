#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <clocale>

#include "logging/log_header.h"
#include "platform/text_file.h"

namespace {

// The degree sign of the header is the one character that tells the encodings apart.
TEST(TextEncoding, HeaderBytesFollowTheEncoding) {
    const QByteArray before = "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [";
    const QByteArray after = "C]\tSalinity [psu]\tSound Velocity [m/s]";
    EXPECT_EQ(encodeText(logHeader(), "ISO-8859-1"), before + "\xB0" + after);
    EXPECT_EQ(encodeText(logHeader(), "UTF-8"), before + "\xC2\xB0" + after);
    EXPECT_EQ(encodeText(logHeader(), "no such encoding"), before + "\xC2\xB0" + after);
}

// The plain C locale is 7-bit and cannot hold the degree sign; its log is UTF-8 as Qt's own
// local 8-bit text is.
TEST(TextEncoding, SevenBitLocaleGivesUtf8) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
    const QByteArray encoding = systemTextEncoding();
    std::setlocale(LC_CTYPE, saved.c_str());
    EXPECT_EQ(encoding, "UTF-8");
}

// A missing file or a full disk is a failure, not a success with the lines gone.
TEST(DiskTextFiles, AppendFailsWithoutTheFileAndOnAFullDevice) {
    QTemporaryDir dir;
    DiskTextFiles files("ISO-8859-1");
    const QString missing = dir.filePath(QStringLiteral("log.txt"));
    const FileResult result = files.append(missing, QStringLiteral("line\r\n"));
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->isEmpty());
    EXPECT_FALSE(QFile::exists(missing));

    if (QFile::exists(QStringLiteral("/dev/full"))) {
        const FileResult full = files.append(QStringLiteral("/dev/full"), QString(70000, u'x'));
        ASSERT_TRUE(full);
        EXPECT_FALSE(full->isEmpty());
    }
}

}  // namespace
