#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>

#include "logging/log_header.h"
#include "platform/text_file.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

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

TEST_F(DiskTextFilesTest, CreateReplacesAndAppendAdds) {
    ASSERT_FALSE(files.create(path, QStringLiteral("old content that is longer\r\n")));
    ASSERT_FALSE(files.create(path, QStringLiteral("25 \u00B0C\r\n")));
    ASSERT_FALSE(files.append(path, QStringLiteral("a\tb\r\n")));
    EXPECT_EQ(readAll(path), QByteArray("25 \xB0"
                                        "C\r\na\tb\r\n"));
}

// A log whose file was moved away must not go on in a new, headerless file of that name.
TEST_F(DiskTextFilesTest, AppendNeedsAnExistingFile) {
    const FileResult result = files.append(path, QStringLiteral("line\r\n"));
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(DiskTextFilesTest, CreateInAMissingDirectoryFails) {
    const FileResult result =
        files.create(dir.filePath(QStringLiteral("missing/log.txt")), QStringLiteral("x"));
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->isEmpty());
}

}  // namespace
