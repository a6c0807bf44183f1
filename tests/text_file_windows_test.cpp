#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/text_file.h"

namespace {

QByteArray bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Windows' wide-character calls take any name, and the bytes go out as given: no CR added
// before the LF of a CR LF.
TEST(DiskTextFilesOnWindows, NamesOutsideTheCodePageAndLineEndsAsGiven) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Messung \u00d6l \u6e2c\u5b9a.txt"));
    DiskTextFiles files(QByteArrayLiteral("ISO-8859-1"));
    ASSERT_TRUE(files.create(path, QStringLiteral("T [\u00b0C]\r\n")).ok());
    ASSERT_TRUE(files.append(path, QStringLiteral("15,000\r\n")).ok());
    EXPECT_TRUE(files.exists(path));
    EXPECT_EQ(bytes(path),
              "T [\xb0"
              "C]\r\n15,000\r\n");
}

// The reasons come from the C library's errno, in words a user can act on: read as a Windows
// error code, the same number names something else (13, EACCES, is "The data is invalid." there).
TEST(DiskTextFilesOnWindows, ReasonsNameWhatWentWrong) {
    QTemporaryDir dir;
    DiskTextFiles files;
    const struct {
        const char* what;
        FileResult result;
        QString reason;
    } cases[] = {
        {"append to a missing file", files.append(dir.filePath("missing.txt"), "x"),
         "file missing"},
        {"create in a missing folder", files.create(dir.filePath("no/log.txt"), "x"),
         "folder missing"},
        {"create where a folder is", files.create(dir.path(), "x"), "permission denied"},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.result.ok()) << c.what;
        EXPECT_EQ(c.result.error(), c.reason) << c.what;
    }
}

}  // namespace
