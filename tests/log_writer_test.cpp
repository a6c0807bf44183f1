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

QString lines(int first, int last) {
    QString text;
    for (int n = first; n <= last; ++n) {
        text += line(n);
    }
    return text;
}

class LogWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_FALSE(writer.createFile(path));
    }

    // Adds samples first..last, each line naming its number.
    void sample(int first, int last, LogWriter& into) {
        for (int n = first; n <= last; ++n) {
            into.addSample(line(n), path);
        }
    }
    void sample(int first, int last) { sample(first, last, writer); }

    QString fileText() const {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }
    QString header() const { return fileText().section(QStringLiteral("\r\n"), 0, 0) + "\r\n"; }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    FailingTextFiles files;
    LogWriter writer{files};
};

TEST_F(LogWriterTest, AppendsInBatchesOfTwenty) {
    sample(1, 19);
    EXPECT_TRUE(files.appends.isEmpty());
    sample(20, 20);
    sample(21, 39);
    ASSERT_EQ(files.appends, QStringList{lines(1, 20)});
    sample(40, 40);
    EXPECT_EQ(files.appends, (QStringList{lines(1, 20), lines(21, 40)}));
    EXPECT_EQ(fileText(), header() + lines(1, 40));
    EXPECT_EQ(writer.samples(), 40);
    EXPECT_EQ(logStatus(writer).text, QString());
}

TEST_F(LogWriterTest, WithoutAFileLinesWaitUntilWrittenOut) {
    for (int n = 1; n <= 25; ++n) {
        writer.addSample(line(n), QString());
    }
    EXPECT_TRUE(files.appends.isEmpty());
    EXPECT_FALSE(writer.writeWaiting(path));
    EXPECT_EQ(fileText(), header() + lines(1, 25));
    EXPECT_EQ(writer.waitingLines(), 0);
}

TEST_F(LogWriterTest, AFailedBatchIsTriedAgainWithEverySampleUntilItIsWritten) {
    files.failAppend = true;
    sample(1, 22);
    EXPECT_EQ(files.appends, (QStringList{lines(1, 20), lines(1, 21), lines(1, 22)}));
    EXPECT_TRUE(writer.failing());
    EXPECT_EQ(writer.waitingLines(), 22);

    files.failAppend = false;
    sample(23, 23);
    EXPECT_FALSE(writer.failing());
    EXPECT_TRUE(writer.recovered());
    EXPECT_EQ(fileText(), header() + lines(1, 23));
    sample(24, 43);
    EXPECT_EQ(fileText(), header() + lines(1, 43));
}

TEST_F(LogWriterTest, BeyondTheCapTheOldestLinesAreDroppedAndCounted) {
    LogWriter small(files, 5 * line(0).size());
    files.failAppend = true;
    sample(1, 8, small);
    EXPECT_EQ(small.droppedLines(), 3);
    EXPECT_EQ(small.waitingLines(), 5);

    files.failAppend = false;
    EXPECT_FALSE(small.writeWaiting(path));
    EXPECT_EQ(fileText(), header() + lines(4, 8));
    EXPECT_EQ(small.droppedLines(), 3);
}

TEST_F(LogWriterTest, TheDefaultCapHoldsAtLeastOneMebibyteOfLines) {
    EXPECT_GE(LogWriter::kDefaultCapacity, 1024 * 1024);
    const QString longLine(200, u'x');
    for (int n = 0; n < 1024 * 1024 / 200; ++n) {
        writer.addSample(longLine, QString());
    }
    EXPECT_EQ(writer.droppedLines(), 0);
}

struct StatusCase {
    const char* name;
    int samples;        // into a memory that holds five lines
    bool failNow;       // the latest write fails
    bool failedBefore;  // an earlier write failed, the latest succeeded
    const char* text;
    bool alarm;
};

TEST_F(LogWriterTest, StatusTellsFailureRecoveryAndLoss) {
    const StatusCase cases[] = {
        {"never failed", 3, false, false, "", false},
        {"failing", 3, true, false, "Log failing!", true},
        {"failing and lost", 7, true, false, "Log failing!, 2 lost", true},
        {"written again", 3, false, true, "Log writes again", false},
        {"written again after loss", 7, false, true, "Log writes again, 2 lost", true},
    };
    for (const StatusCase& c : cases) {
        LogWriter subject(files, 5 * line(0).size());
        files.failAppend = c.failNow || c.failedBefore;
        sample(1, c.samples, subject);
        subject.writeWaiting(path);
        if (c.failedBefore) {
            files.failAppend = false;
            subject.writeWaiting(path);
        }
        const LogStatus status = logStatus(subject);
        EXPECT_EQ(status.text, QString::fromLatin1(c.text)) << c.name;
        EXPECT_EQ(status.alarm, c.alarm) << c.name;
        EXPECT_EQ(status.details.isEmpty(), status.text.isEmpty()) << c.name;
    }
}

}  // namespace
