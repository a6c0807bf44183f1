#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "logging/log_header.h"
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
        ASSERT_FALSE(files.create(path, header()));
    }

    // Adds samples first..last, each line naming its number.
    void sample(LogWriter& writer, int first, int last) {
        for (int n = first; n <= last; ++n) {
            writer.addSample(line(n), path);
        }
    }
    QString fileText() const {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }
    static QString header() { return logHeader() + QStringLiteral("\r\n"); }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    FailingTextFiles files;
};

TEST_F(LogWriterTest, BeyondTheCapTheOldestLinesAreDroppedAndCounted) {
    LogWriter writer(files, 25 * line(0).size());
    files.failAppend = true;
    sample(writer, 1, 30);
    EXPECT_EQ(writer.droppedLines(), 5);
    EXPECT_EQ(writer.waitingLines(), 25);

    files.failAppend = false;
    sample(writer, 31, 31);
    EXPECT_EQ(fileText(), header() + lines(6, 31));
    EXPECT_EQ(writer.droppedLines(), 5);
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
        {"failing and lost", 7, true, false, "Failing, 2 lost", true},
        {"written again", 3, false, true, "Log writes again", false},
        {"written again after loss", 7, false, true, "OK again, 2 lost", true},
    };
    for (const StatusCase& c : cases) {
        LogWriter subject(files, 5 * line(0).size());
        files.failAppend = c.failNow || c.failedBefore;
        sample(subject, 1, c.samples);
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
