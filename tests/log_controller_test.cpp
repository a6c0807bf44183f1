#include <gtest/gtest.h>

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <tuple>

#ifdef Q_OS_LINUX
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#endif

#include "logging/log_controller.h"
#include "platform/timer.h"
#include "support/failing_text_files.h"
#include "support/station_fixture.h"

namespace {

const QByteArray kUtf8Header =
    "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [\xC2\xB0"
    "C]\tSalinity [psu]\tSound Velocity [m/s]\r\n";
const QDateTime kStart(QDate(2024, 3, 5), QTime(14, 7, 0));

// The log over real files that can be told to fail, with a clock that moves one second per
// sample from kStart; sample k carries the temperature k.
class LogControl : public ::testing::Test {
protected:
    ~LogControl() override { QLocale::setDefault(QLocale::c()); }

    Timer* timer2() { return log->findChild<Timer*>(QStringLiteral("Timer2")); }
    void sampleTo(int last) {
        while (log->samples() < last) {
            emit timer2()->tick();
        }
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    std::shared_ptr<FailingTextFiles> files = std::make_shared<FailingTextFiles>();
    QDateTime now = kStart;
    // A new log, as after a fresh start of the program, over the same files.
    std::unique_ptr<LogController> makeLog() {
        return std::make_unique<LogController>(
            files, [this] { return now = now.addSecs(1); },
            [this] {
                return LogValues{0, 0, log->samples() + 1.0, 0, 0};
            },
            nullptr);
    }
    std::unique_ptr<LogController> log = makeLog();
};

// Byte for byte: the header alone until the 20th sample, then the 20 lines at once, in the
// desktop's formats, in UTC from the sample after the switch. A file that cannot be created leaves
// the log as it was; the lines not yet written go to the file created next with its first batch,
// also when that is the same file.
TEST_F(LogControl, LinesGoToTheFileTwentyAtATimeBehindItsHeader) {
    EXPECT_FALSE(timer2()->isEnabled());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(log->create(path).ok());
    EXPECT_TRUE(timer2()->isTicking());
    sampleTo(10);
    log->setLogTime(LogTime::Utc);
    sampleTo(19);
    EXPECT_EQ(fileBytes(path), kUtf8Header);
    sampleTo(20);
    QByteArray expected = kUtf8Header;
    for (int k = 1; k <= 20; ++k) {
        const LogTime time = k > 10 ? LogTime::Utc : LogTime::Local;
        expected += logLine(kStart.addSecs(k), {0, 0, k * 1.0, 0, 0}, time).toUtf8();
    }
    EXPECT_EQ(fileBytes(path), expected);

    QLocale::setDefault(QLocale::c());
    sampleTo(28);
    EXPECT_FALSE(log->create(dir.filePath(QStringLiteral("missing/log.txt"))).ok());
    EXPECT_EQ(log->file(), path);
    ASSERT_TRUE(log->create(path).ok());
    EXPECT_EQ(fileBytes(path), kUtf8Header);
    const QString second = dir.filePath(QStringLiteral("second"));
    sampleTo(48);
    ASSERT_TRUE(log->create(second).ok());
    sampleTo(60);
    EXPECT_EQ(sampleNumbers(path), samplesFrom(21, 40));
    EXPECT_EQ(sampleNumbers(second), samplesFrom(41, 60));
}

// A long run survives its file or folder going away and coming back, or being deleted: every
// sample from the last batch before reaches the file exactly once and in order, the last ones at
// the end at an odd count, and the state tells the trouble and then the recovery.
TEST_F(LogControl, EverySampleReachesTheFileOnceAcrossAnOutage) {
    const QString folder = dir.filePath(QStringLiteral("survey"));
    const QString away = dir.filePath(QStringLiteral("away"));
    // The first sample in the file at the end: 101 where the earlier batches went with the file.
    using Step = std::function<bool()>;
    const std::tuple<const char*, Step, Step, int, const char*, const char*> outages[] = {
        {"folder moved away", [&] { return QDir().rename(folder, away); },
         [&] { return QDir().rename(away, folder); }, 1, "Log failing!", "Log writes again"},
        {"file deleted", [&] { return QFile::remove(path); }, [] { return true; }, 101,
         "Log re-created", "Log re-created"},
        {"folder deleted and made again", [&] { return QDir(folder).removeRecursively(); },
         [&] { return QDir().mkpath(folder); }, 101, "Log failing!", "Log re-created"}};
    path = dir.filePath(QStringLiteral("survey/log.txt"));
    for (const auto& [name, begin, end, first, during, after] : outages) {
        SCOPED_TRACE(name);
        log = makeLog();
        ASSERT_TRUE(QDir().mkpath(folder) && log->create(path).ok());
        sampleTo(107);
        ASSERT_TRUE(begin());
        sampleTo(190);
        EXPECT_EQ(log->state().text(), during);
        ASSERT_TRUE(end());
        sampleTo(333);
        EXPECT_EQ(log->state().text(), after);
        EXPECT_TRUE(log->writeWaiting().ok());
        EXPECT_EQ(sampleNumbers(path), samplesFrom(first, 333));
    }
}

// A disk that is really full, not a double: only whole batches reach the file while it is full,
// the state names the reason, and every line follows, once, when there is room again.
TEST_F(LogControl, ARealFullDiskIsToldAndEveryLineFollowsOnceThereIsRoom) {
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "small RAM disks are mounted on Linux only";
#else
    QTemporaryDir mountPoint;
    const QByteArray where = QFile::encodeName(mountPoint.path());
    if (::mount("tmpfs", where.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0) {
        GTEST_SKIP() << "no small RAM disk can be mounted here: " << std::strerror(errno);
    }
    const auto unmount = qScopeGuard([&] { ::umount2(where.constData(), MNT_DETACH); });
    path = mountPoint.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(log->create(path).ok());
    const QString fillerPath = mountPoint.filePath(QStringLiteral("filler"));
    QFile filler(fillerPath);
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();

    sampleTo(200);
    EXPECT_EQ(log->state().text(), "Log failing!");
    EXPECT_TRUE(log->state().details().contains("No space left on device"))
        << log->state().details().toStdString();
    const std::vector<int> written = sampleNumbers(path);
    EXPECT_EQ(written, samplesFrom(1, static_cast<int>(written.size())));
    EXPECT_EQ(written.size() % LogWriter::kBatchLines, 0u) << "whole batches only";

    ASSERT_TRUE(QFile::remove(fillerPath));
    sampleTo(333);
    EXPECT_TRUE(log->writeWaiting().ok());
    EXPECT_EQ(sampleNumbers(path), samplesFrom(1, 333));
#endif
}

}  // namespace
