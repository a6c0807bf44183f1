#include <gtest/gtest.h>

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <chrono>
#include <thread>
#include <functional>
#include <memory>
#include <tuple>

#ifdef Q_OS_LINUX
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#endif

#include "logging/daily_file.h"
#include "logging/log_controller.h"
#include "platform/timer.h"
#include "support/failing_text_files.h"
#include "support/station_fixture.h"

namespace {

const QByteArray kUtf8Header =
    "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [\xC2\xB0"
    "C]\tSalinity [psu]\tSound Velocity [m/s]\r\n";
const QDateTime kStart(QDate(2024, 3, 5), QTime(14, 7, 0));
// Far longer than any file call here takes; only a disk held on purpose runs into it.
constexpr std::chrono::seconds kAnswerWait(10);

// The log over real files that can be told to fail, with a clock that moves one second per
// sample from kStart; sample k carries the temperature k.
class LogControl : public ::testing::Test {
protected:
    ~LogControl() override { QLocale::setDefault(QLocale::c()); }

    Timer* timer(const char* name) { return log->findChild<Timer*>(QLatin1String(name)); }
    // A second each: the sample, then the write, unless the lines are to wait.
    void sampleTo(int last, bool written = true) {
        while (log->samples() < last) {
            emit timer("Timer2")->tick();
            if (written) {
                emit timer("log_write")->tick();
                ASSERT_TRUE(log->settle(kAnswerWait));
            }
        }
    }
    // What the log's thread answered to the file asked for.
    FileResult answerTo(const std::function<void()>& ask) {
        FileResult answer(QStringLiteral("no answer"));
        QObject context;
        QObject::connect(log.get(), &LogController::fileReady, &context, [&] { answer = {}; });
        QObject::connect(log.get(), &LogController::fileRefused, &context,
                         [&](const QString&, const QString& reason) { answer = reason; });
        ask();
        // Then the write that a file ready asks for its waiting lines.
        EXPECT_TRUE(log->settle(kAnswerWait) && log->settle(kAnswerWait));
        return answer;
    }
    FileResult create(const QString& file) {
        return answerTo([&] { log->create(file); });
    }
    FileResult resume(const QString& file) {
        return answerTo([&] { log->resume(file); });
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    std::shared_ptr<FailingTextFiles> files = std::make_shared<FailingTextFiles>();
    QDateTime now = kStart;
    qint64 steadyNow = 0;
    // A new log, as after a fresh start of the program, over the same files.
    std::unique_ptr<LogController> makeLog() {
        return std::make_unique<LogController>(
            files, [this] { return now = now.addSecs(1); }, [this] { return steadyNow; },
            [this] {
                return LogValues{0, 0, log->samples() + 1.0, 0, 0};
            },
            nullptr);
    }
    std::unique_ptr<LogController> log = makeLog();
};

// Byte for byte: each line in the file at the write after its sample, behind the header, in the
// desktop's formats, in UTC from the sample after the switch. A file that cannot be created leaves
// the log as it was; the lines not yet written go to the file created next as soon as it is
// there, also when that is the same file.
TEST_F(LogControl, EachLineIsInTheFileWithinASecondBehindItsHeader) {
    EXPECT_FALSE(timer("Timer2")->isEnabled());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(create(path).ok());
    EXPECT_TRUE(timer("Timer2")->isTicking() && timer("log_write")->isTicking());
    sampleTo(1, false);
    EXPECT_EQ(fileBytes(path), kUtf8Header);
    sampleTo(10);
    log->setLogTime(LogTime::Utc);
    sampleTo(20);
    QByteArray expected = kUtf8Header;
    for (int k = 1; k <= 20; ++k) {
        const LogTime time = k > 10 ? LogTime::Utc : LogTime::Local;
        expected += logLine(kStart.addSecs(k), {0, 0, k * 1.0, 0, 0}, time).toUtf8();
    }
    EXPECT_EQ(fileBytes(path), expected);

    QLocale::setDefault(QLocale::c());
    sampleTo(28, false);
    EXPECT_FALSE(create(dir.filePath(QStringLiteral("missing/log.txt"))).ok());
    EXPECT_EQ(log->file(), path);
    ASSERT_TRUE(create(path).ok());
    EXPECT_EQ(sampleNumbers(path), samplesFrom(21, 28));
    const QString second = dir.filePath(QStringLiteral("second"));
    sampleTo(48);
    ASSERT_TRUE(create(second).ok());
    sampleTo(60);
    EXPECT_EQ(sampleNumbers(path), samplesFrom(21, 48));
    EXPECT_EQ(sampleNumbers(second), samplesFrom(49, 60));
}

// A day's file each, with its header, from the first sample of the day on, as the log's clock
// tells the day; the lines still waiting at midnight go to the day they were sampled in, and a
// restart that day appends to its file.
TEST_F(LogControl, EachDayHasAFileOfItsOwn) {
    now = QDateTime(QDate(2026, 12, 9), QTime(23, 59, 56));
    log->setDaily(true);
    ASSERT_TRUE(create(path).ok());
    EXPECT_EQ(log->file(), path);
    sampleTo(1);
    sampleTo(3, false);
    sampleTo(6);
    log = makeLog();
    log->setDaily(true);
    ASSERT_TRUE(resume(path).ok());
    sampleTo(2);
    const QString first = dir.filePath(QStringLiteral("log-2026-12-09.txt"));
    const QString second = dir.filePath(QStringLiteral("log-2026-12-10.txt"));
    EXPECT_EQ(log->currentFile(), second);
    EXPECT_EQ(sampleNumbers(first), samplesFrom(1, 2));
    EXPECT_EQ(sampleNumbers(second), std::vector<int>({3, 4, 5, 6, 1, 2}));
    EXPECT_EQ(fileBytes(second).count("Date-Time"), 1);
    EXPECT_FALSE(QFile::exists(path));
    for (const auto& [chosen, day] : {std::pair{"cast", "cast-2026-12-10"},
                                      {"a.b/.cast", "a.b/.cast-2026-12-10"},
                                      {"/d/cast.tar.txt", "/d/cast.tar-2026-12-10.txt"}}) {
        EXPECT_EQ(dailyFile(chosen, QDate(2026, 12, 10)), day);
    }
}

// A long run survives its file or folder going away and coming back, or being deleted: every
// sample from the last write before reaches the file exactly once and in order, the last ones at
// the end at an odd count, and the state tells the trouble and then the recovery.
TEST_F(LogControl, EverySampleReachesTheFileOnceAcrossAnOutage) {
    const QString folder = dir.filePath(QStringLiteral("survey"));
    const QString away = dir.filePath(QStringLiteral("away"));
    // The first sample in the file at the end: 108 where the earlier lines went with the file.
    using Step = std::function<bool()>;
    const std::tuple<const char*, Step, Step, int, const char*, const char*> outages[] = {
        {"folder moved away", [&] { return QDir().rename(folder, away); },
         [&] { return QDir().rename(away, folder); }, 1, "Log failing! folder missing",
         "Log writes again"},
        {"file deleted", [&] { return QFile::remove(path); }, [] { return true; }, 108,
         "Log re-created", "Log re-created"},
        {"folder deleted and made again", [&] { return QDir(folder).removeRecursively(); },
         [&] { return QDir().mkpath(folder); }, 108, "Log failing! folder missing",
         "Log re-created"}};
    path = dir.filePath(QStringLiteral("survey/log.txt"));
    for (const auto& [name, begin, end, first, during, after] : outages) {
        SCOPED_TRACE(name);
        log = makeLog();
        ASSERT_TRUE(QDir().mkpath(folder) && create(path).ok());
        sampleTo(107);
        ASSERT_TRUE(begin());
        sampleTo(190);
        EXPECT_TRUE(log->state().text().startsWith(during)) << log->state().text().toStdString();
        ASSERT_TRUE(end());
        sampleTo(333);
        EXPECT_EQ(log->state().text(), after);
        EXPECT_TRUE(log->finish(kAnswerWait).ok());
        EXPECT_EQ(sampleNumbers(path), samplesFrom(first, 333));
    }
}

// A disk that stops answering holds up nothing but the log: sampling goes on while a write
// hangs, the wait is told from its fifth second on, and once the disk answers the waiting lines
// follow in order, each once. An ending while a write hangs gives the disk up as not answering
// and leaves every line not yet written, those of the hanging write too, for another file.
TEST_F(LogControl, ADiskThatHangsHoldsUpNothingButTheLog) {
    const QString shown = QDir::toNativeSeparators(path);
    ASSERT_TRUE(create(path).ok());
    sampleTo(3);
    files->hold();
    sampleTo(4, false);
    emit timer("log_write")->tick();
    // Without an event loop, in which the real sampling timer would tick.
    const auto giveUpAt = std::chrono::steady_clock::now() + kAnswerWait;
    while (!files->holding() && std::chrono::steady_clock::now() < giveUpAt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(files->holding());
    for (const auto& [ms, told] : {std::pair<qint64, QString>{0, ""},
                                   {4999, ""},
                                   {12000, "Log waiting for the disk (12 s): " + shown}}) {
        steadyNow = ms;
        sampleTo(log->samples() + 2, false);
        emit timer("log_write")->tick();
        EXPECT_EQ(log->state().text(), told) << ms;
    }
    EXPECT_TRUE(log->waitingForDisk());
    EXPECT_FALSE(log->settle(std::chrono::milliseconds(50)));
    files->release();
    emit timer("log_write")->tick();
    ASSERT_TRUE(log->settle(kAnswerWait));
    EXPECT_EQ(log->state().text(), "");
    EXPECT_EQ(sampleNumbers(path), samplesFrom(1, 10));

    files->hold();
    sampleTo(13, false);
    const FileResult ended = log->finish(std::chrono::milliseconds(100));
    EXPECT_EQ(ended.error(), "not answering");
    EXPECT_EQ(log->state().text(), "Log failing! not answering: " + shown);
    const QString saved = dir.filePath(QStringLiteral("saved.txt"));
    EXPECT_TRUE(log->saveWaitingAs(saved).ok());
    files->release();
    EXPECT_EQ(sampleNumbers(saved), samplesFrom(11, 13));
}

// A disk that is really full, not a double: only whole lines reach the file while it is full,
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
    ASSERT_TRUE(create(path).ok());
    const QString fillerPath = mountPoint.filePath(QStringLiteral("filler"));
    QFile filler(fillerPath);
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();

    sampleTo(200);
    EXPECT_EQ(log->state().text(), "Log failing! disk full: " + QDir::toNativeSeparators(path));
    const std::vector<int> written = sampleNumbers(path);
    EXPECT_EQ(written, samplesFrom(1, static_cast<int>(written.size())));

    ASSERT_TRUE(QFile::remove(fillerPath));
    sampleTo(333);
    EXPECT_TRUE(log->finish(kAnswerWait).ok());
    EXPECT_EQ(sampleNumbers(path), samplesFrom(1, 333));
#endif
}

}  // namespace
