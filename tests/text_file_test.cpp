#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <clocale>

#include "logging/log_header.h"
#include "platform/text_file.h"

namespace {

// The degree sign of the header is the one character that tells the encodings apart.
TEST(TextEncoding, HeaderBytesFollowTheEncoding) {
    const QByteArray latin1 = encodeText(logHeader(), "ISO-8859-1");
    const QByteArray utf8 = encodeText(logHeader(), "UTF-8");
    const QByteArray before = "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [";
    const QByteArray after = "C]\tSalinity [psu]\tSound Velocity [m/s]";
    EXPECT_EQ(latin1, before + "\xB0" + after);
    EXPECT_EQ(utf8, before + "\xC2\xB0" + after);
    EXPECT_EQ(encodeText(logHeader(), "no such encoding"), utf8);
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

class DiskTextFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    DiskTextFiles files{"ISO-8859-1"};
};

TEST_F(DiskTextFilesTest, AppendNeedsAnExistingFile) {
    const FileResult result = files.append(path, QStringLiteral("line\r\n"));
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

// A full disk is a failure, not a success with the lines gone.
TEST_F(DiskTextFilesTest, AppendToAFullDeviceFails) {
    const QString full = QStringLiteral("/dev/full");
    if (!QFile::exists(full)) {
        GTEST_SKIP() << "no /dev/full here";
    }
    const FileResult result = files.append(full, QString(70000, u'x'));
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->isEmpty());
}

}  // namespace
