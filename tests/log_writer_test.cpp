#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "logging/log_status.h"
#include "logging/log_writer.h"
#include "support/failing_text_files.h"

namespace {

QString line(int n) {
    return QStringLiteral("line %1\r\n").arg(n, 4, 10, QLatin1Char('0'));
}

class LogWriterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(files.create(path, QStringLiteral("header\r\n"))); }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    FailingTextFiles files;
};

// A failing file is tried at every sample, a bounded piece at a time; beyond the memory cap the
// oldest lines go, and once the file takes them the rest follow in order.
TEST_F(LogWriterTest, AFailingFileIsRetriedOnePieceAtATimeAndLosesTheOldestLines) {
    const auto longLine = [](int n) { return QString(10000, u'x') + line(n); };
    LogWriter writer(files, 25 * longLine(0).size());
    files.failAppend = true;
    for (int n = 1; n <= 30; ++n) {
        writer.addSample(longLine(n), path);
    }
    ASSERT_EQ(files.appends.size(), 11);
    for (const QString& text : files.appends) {
        EXPECT_LE(text.size(), LogWriter::kPieceCharacters);
    }
    files.failAppend = false;
    QString expected = QStringLiteral("header\r\n");
    for (int n = 6; n <= 31; ++n) {
        expected += longLine(n);
    }
    writer.addSample(longLine(31), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), expected);
}

TEST_F(LogWriterTest, StatusTellsFailureRecoveryAndLoss) {
    const struct {
        int samples;        // into a memory that holds five lines
        bool failNow;       // the latest write fails
        bool failedBefore;  // an earlier write failed, the latest succeeded
        bool vanished;      // the file was gone at the latest write
        const char* text;
        bool alarm;
    } cases[] = {
        {3, false, false, false, "", false},
        {3, true, false, false, "Log failing!", true},
        {7, true, false, false, "Failing, 2 lost", true},
        {3, false, true, false, "Log writes again", false},
        {7, false, true, false, "OK again, 2 lost", true},
        {3, false, false, true, "Log re-created", false},
    };
    for (const auto& c : cases) {
        LogWriter writer(files, 5 * line(0).size());
        files.failAppend = c.failNow || c.failedBefore;
        for (int n = 1; n <= c.samples; ++n) {
            writer.addSample(line(n), path);
        }
        if (c.vanished) {
            QFile::remove(path);
        }
        writer.writeWaiting(path);
        if (c.failedBefore) {
            files.failAppend = false;
            writer.writeWaiting(path);
        }
        const LogStatus status = logStatus(writer);
        EXPECT_EQ(status.text, QString::fromLatin1(c.text));
        EXPECT_EQ(status.alarm, c.alarm) << c.text;
        EXPECT_EQ(status.details.isEmpty(), status.text.isEmpty()) << c.text;
    }
}

}  // namespace
