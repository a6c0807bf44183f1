#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <tuple>

#include "logging/log_status.h"
#include "logging/log_writer.h"
#include "support/failing_text_files.h"

namespace {

QString line(int n) {
    return QStringLiteral("line %1\r\n").arg(n, 4, 10, QLatin1Char('0'));
}

class LogWriterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(files.create(path, QStringLiteral("header\r\n")).ok()); }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    FailingTextFiles files;
};

// A failing file is tried at every write, a bounded piece at a time; beyond the memory cap the
// oldest lines go, and once the file takes them the rest follow in order.
TEST_F(LogWriterTest, AFailingFileIsRetriedOnePieceAtATimeAndLosesTheOldestLines) {
    const auto longLine = [](int n) { return QString(10000, u'x') + line(n); };
    LogWriter writer(files, 25 * longLine(0).size());
    files.failAppend = true;
    for (int n = 1; n <= 30; ++n) {
        writer.addSample(longLine(n), path);
        EXPECT_FALSE(writer.writeWaiting().ok());
    }
    ASSERT_EQ(files.appends.size(), 30);
    for (const QString& text : files.appends) {
        EXPECT_LE(text.size(), LogWriter::kPieceCharacters);
    }
    files.failAppend = false;
    QString expected = QStringLiteral("header\r\n");
    for (int n = 7; n <= 31; ++n) {
        expected += longLine(n);
    }
    writer.addSample(longLine(31), path);
    EXPECT_TRUE(writer.writeWaiting().ok());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), expected);
}

TEST_F(LogWriterTest, StatusTellsFailureRecoveryAndLoss) {
    // Samples into a memory that holds five lines; whether the latest write fails, whether an
    // earlier one failed and the latest succeeded, whether the file was gone at the latest.
    const std::tuple<int, bool, bool, bool, const char*, bool> cases[] = {
        {3, false, false, false, "", false},
        {3, true, false, false, "Log failing! No space left on device: ", true},
        {7, true, false, false, "Failing, 2 lost No space left on device: ", true},
        {3, false, true, false, "Log writes again", false},
        {7, false, true, false, "OK again, 2 lost", true},
        {3, false, false, true, "Log re-created", false}};
    for (const auto& [samples, failNow, failedBefore, vanished, text, alarm] : cases) {
        LogWriter writer(files, 5 * line(0).size());
        files.failAppend = failNow || failedBefore;
        for (int n = 1; n <= samples; ++n) {
            writer.addSample(line(n), path);
        }
        if (vanished) {
            QFile::remove(path);
        }
        const FileResult written = writer.writeWaiting();
        EXPECT_EQ(written.ok(), !writer.failing()) << text;
        if (failedBefore) {
            files.failAppend = false;
            EXPECT_TRUE(writer.writeWaiting().ok()) << text;
        }
        const ConnectionState state = logState(writer, std::nullopt);
        // A failing file is named after the reason.
        EXPECT_EQ(state.text(),
                  QString::fromLatin1(text) +
                      (alarm && failNow ? QDir::toNativeSeparators(path) : QString()));
        EXPECT_EQ(state.alarm(), alarm) << text;
        EXPECT_EQ(state.details().isEmpty(), state.text().isEmpty()) << text;
    }

    // Made anew once, then failing and only appended to again: it writes again, and was not
    // re-created this time.
    LogWriter writer(files);
    QFile::remove(path);
    writer.addSample(line(1), path);
    EXPECT_TRUE(writer.writeWaiting().ok());
    EXPECT_EQ(logState(writer, std::nullopt).text(), "Log re-created");
    files.failAppend = true;
    writer.addSample(line(2), path);
    EXPECT_FALSE(writer.writeWaiting().ok());
    files.failAppend = false;
    EXPECT_TRUE(writer.writeWaiting().ok());
    EXPECT_EQ(logState(writer, std::nullopt).text(), "Log writes again");

    // A file that fails holds back only its own lines: the next day's file goes on.
    const QString gone = dir.filePath(QStringLiteral("gone/log.txt"));
    writer.addSample(line(3), gone);
    writer.addSample(line(4), path);
    EXPECT_FALSE(writer.writeWaiting().ok());
    EXPECT_EQ(writer.waitingLines(), 1);
    EXPECT_EQ(writer.failingFile(), gone);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith(line(4).toUtf8()));
}

}  // namespace
