#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <functional>
#include <numeric>
#include <tuple>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

#include "logging/log_writer.h"
#include "platform/settings_store.h"
#include "support/failing_text_files.h"
#include "support/window_test.h"

namespace {

const QByteArray kUtf8Header =
    "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [\xC2\xB0"
    "C]\tSalinity [psu]\tSound Velocity [m/s]\r\n";

// Real files (that can be told to fail) and a clock that moves one second per reading, from
// 2024-03-05 14:07:00, in a US English desktop.
class LogWindow : public WindowTest {
protected:
    LogWindow() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        services.clock = [this] { return now = now.addSecs(1); };
        services.textFiles = files;
    }

    // A new window, as after a fresh start of the program, over the same files.
    void restart() {
        closeWindow();
        dialogs = FakeDialogs();
        now = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 0));
        samples = 0;
    }
    Timer* timer2() { return find<Timer>("Timer2"); }
    void choose(const std::optional<QString>& answer) {
        dialogs.chosenFiles.push_back(answer);
        click("Command5");
    }
    void setInterval(const QString& seconds) {
        type("Text7", seconds);
        click("Command6");
    }
    // Takes samples up to number `last`; sample k carries the temperature k, so that every line
    // in a file names the sample it came from.
    void sampleTo(int last) {
        while (samples < last) {
            window().station().temperature = ++samples;
            emit timer2()->tick();
        }
    }

    static QByteArray bytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }
    // The sample numbers of a log file's data lines, in file order.
    static std::vector<int> sampleNumbers(const QString& path) {
        std::vector<int> numbers;
        for (const QByteArray& line : bytes(path).split('\n').mid(1)) {
            if (!line.isEmpty()) {
                // A broken line counts as sample -1.
                const QByteArray field = line.split('\t').value(3);
                numbers.push_back(field.endsWith(".000") ? field.chopped(4).toInt() : -1);
            }
        }
        return numbers;
    }
    static std::vector<int> range(int first, int last) {
        std::vector<int> numbers(last - first + 1);
        std::iota(numbers.begin(), numbers.end(), first);
        return numbers;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    std::shared_ptr<FailingTextFiles> files = std::make_shared<FailingTextFiles>();
    QDateTime now = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 0));
    int samples = 0;
};

// The interval is seconds times a thousand, ties to even, typed in the desktop's format; a
// refused entry is told and changes nothing, and before a file is chosen the interval only
// waits. Then, byte for byte: the header alone until the 20th sample, then the 20 lines at once,
// in the desktop's formats and in UTC from the sample after the check box is ticked.
TEST_F(LogWindow, FileHoldsTheHeaderAloneUntilTheTwentiethSample) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const auto& [typed, interval] :
         {std::pair{"0,5", 500}, {"65,535", 65535}, {"0,0025", 2}, {"65,536", 2}, {"1.5", 2}}) {
        setInterval(QString::fromLatin1(typed));
        EXPECT_EQ(timer2()->interval(), interval) << typed;
    }
    EXPECT_EQ(text("Label18"), "Sampling Interval is: 0,0025 sec.");
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(timer2()->isEnabled());
    choose(path);
    EXPECT_TRUE(timer2()->isTicking());
    auto* utc = find<QCheckBox>("ck_utc");
    sampleTo(1);
    utc->click();
    sampleTo(3);
    utc->click();
    sampleTo(19);
    EXPECT_EQ(bytes(path), kUtf8Header);
    sampleTo(20);
    QByteArray expected = kUtf8Header;
    for (int k = 1; k <= 20; ++k) {
        const QString time =
            k == 2 || k == 3
                ? QDateTime(QDate(2024, 3, 5), QTime(14, 7, k)).toUTC().toString(Qt::ISODateWithMs)
                : QStringLiteral("05.03.2024 14:07:%1").arg(k, 2, 10, QLatin1Char('0'));
        expected +=
            (time + QStringLiteral("\t0,000\t0,00\t%1,000\t0,0000\t0,00\r\n").arg(k)).toLatin1();
    }
    EXPECT_EQ(bytes(path), expected);
}

// Closing the window stops every clock, then writes the lines still in memory. When even that
// fails, the chooser offers to save them elsewhere; cancelled, or at an ending nobody may answer,
// they go to a recovery file, told then and once at the next start.
TEST_F(LogWindow, LinesTheFileCannotTakeAtTheEndAreSavedElsewhere) {
    for (const auto& [name, unattended, chosen] :
         {std::tuple{"saved as", false,
                     std::optional(dir.filePath(QStringLiteral("elsewhere.txt")))},
          {"chooser cancelled", false, std::nullopt},
          {"by signal", true, std::nullopt}}) {
        SCOPED_TRACE(name);
        restart();
        files->failAppend = false;
        choose(path);
        sampleTo(5);
        click("Command4");
        files->failAppend = true;
        dialogs.chosenFiles.push_back(chosen);
        QStringList ticking;
        dialogs.whileChoosing = [&] {
            for (Timer* timer : window().findChildren<Timer*>()) {
                if (timer->isEnabled()) {
                    ticking << timer->objectName();
                }
            }
        };
        if (unattended) {
            window().endUnattended();
            QCoreApplication::sendPostedEvents();
        } else {
            window().close();
        }
        EXPECT_EQ(dialogs.saveRequests.size(), unattended ? 1u : 2u);
        const QStringList recovered = settings_store::recoveredLogs();
        const QString saved = chosen.value_or(recovered.value(0));
        EXPECT_EQ(sampleNumbers(saved), range(1, 5));
        EXPECT_EQ(ticking, unattended ? QStringList() : QStringList{"reading_age"});
        EXPECT_EQ(recovered.isEmpty(), chosen.has_value());
        EXPECT_EQ(dialogs.messages.size(), unattended || chosen ? 0u : 1u);

        restart();
        window();
        QCoreApplication::processEvents();
        EXPECT_EQ(dialogs.messages.size(), recovered.isEmpty() ? 0u : 1u);
        EXPECT_TRUE(settings_store::recoveredLogs().isEmpty());
    }
}

// With "Resume after a restart" checked, a program ended from outside and started again on the
// same settings connects, sends and logs again without a click: the log goes on in the same file
// under its one header, its count starting again at 1.
TEST_F(LogWindow, ARestartResumesWhatRan) {
    find<QCheckBox>("ck_resume")->click();
    WindowTest::choose("op_sst");
    type("Text2", "19200,N,8,1");
    WindowTest::choose("op_kestrane");
    WindowTest::choose("op_ssv");
    type("tx_timer", "250");
    setInterval("2");
    click("Command3");
    click("Command4");
    choose(path);
    sampleTo(25);
    window().endUnattended();
    QCoreApplication::sendPostedEvents();

    restart();
    journal.clear();
    samples = 25;
    window();
    EXPECT_EQ(journal.filter(" open"), QStringList({"Com_in open", "com_out open"}));
    EXPECT_TRUE(find<QRadioButton>("op_ssv")->isChecked());
    EXPECT_EQ(find<Timer>("Timer4")->interval(), 250);
    EXPECT_EQ(timer2()->interval(), 2000);
    EXPECT_TRUE(timer2()->isTicking());
    sampleTo(30);
    EXPECT_EQ(text("lb_nnn"), " Data logged: 5");
    window().close();
    EXPECT_EQ(sampleNumbers(path), range(1, 30));
    EXPECT_EQ(bytes(path).count("Date-Time"), 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.questions.empty());
}

// Choosing asks, then creates the file with the header and starts sampling; the chooser offers
// the name chosen last. Cancel, No, or a file that cannot be created (told in a message) leave
// the log as it was. The lines not yet written go to the file chosen next with its first batch,
// also when that is the same file again.
TEST_F(LogWindow, ChoosingAFileKeepsEverySampleInItsFile) {
    const QString unreachable = dir.filePath(QStringLiteral("missing/log.txt"));
    choose(unreachable);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Log file");
    EXPECT_EQ(window().station().data_file, QString());
    EXPECT_FALSE(timer2()->isEnabled());

    choose(path);
    EXPECT_EQ(dialogs.questions.back().text,
              "Do you want to log the data in this file?\r\n" + QDir::toNativeSeparators(path));
    EXPECT_TRUE(find<QLabel>("lb_nnn")->font().bold());
    sampleTo(5);
    EXPECT_EQ(text("lb_nnn"), " Data logged: 5");
    choose(std::nullopt);
    choose(QString());
    dialogs.answerYes = false;
    choose(dir.filePath(QStringLiteral("other.txt")));
    dialogs.answerYes = true;
    choose(unreachable);
    EXPECT_EQ(dialogs.saveRequests.back().initialPath, path);
    EXPECT_EQ(dialogs.questions.size(), 4u);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("other.txt"))));
    EXPECT_EQ(window().station().data_file, path);

    sampleTo(8);
    choose(path);
    EXPECT_EQ(bytes(path), kUtf8Header);
    const QString second = dir.filePath(QStringLiteral("second"));
    sampleTo(28);
    choose(second);
    sampleTo(40);
    EXPECT_EQ(sampleNumbers(path), range(1, 20));
    EXPECT_EQ(sampleNumbers(second), range(21, 40));
}

// A long run survives its file or folder going away and coming back, or being deleted: every
// sample from the last batch before reaches the file exactly once and in order, the last ones
// when the window closes at an odd count, and the trouble shows beside the interval without a
// message box.
TEST_F(LogWindow, EverySampleReachesTheFileOnceAcrossAnOutage) {
    const auto move = [](const QString& from, const QString& to) {
        ASSERT_TRUE(QDir().rename(from, to)) << from.toStdString();
    };
    const QString folder = dir.filePath(QStringLiteral("survey"));
    const QString away = dir.filePath(QStringLiteral("away"));
    // The first sample in the file at the end: 101 where the earlier batches went with the file.
    using Step = std::function<void()>;
    const std::tuple<const char*, Step, Step, int, const char*, const char*> outages[] = {
        {"folder moved away", [&] { move(folder, away); }, [&] { move(away, folder); }, 1,
         "Log failing!", "Log writes again"},
        {"file deleted", [&] { QFile::remove(path); }, [] {}, 101, "Log re-created",
         "Log re-created"},
        {"folder deleted and made again", [&] { QDir(folder).removeRecursively(); },
         [&] { ASSERT_TRUE(QDir().mkpath(folder)); }, 101, "Log failing!", "Log re-created"}};
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("survey")));
    path = dir.filePath(QStringLiteral("survey/log.txt"));
    for (const auto& [name, begin, end, first, during, after] : outages) {
        SCOPED_TRACE(name);
        restart();
        choose(path);
        sampleTo(107);
        begin();
        sampleTo(190);
        EXPECT_EQ(text("lb_log_status"), during);
        end();
        sampleTo(333);
        EXPECT_EQ(text("lb_log_status"), after);
        window().close();
        EXPECT_EQ(sampleNumbers(path), range(first, 333));
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

// The real file layer on a real disk that fills up: the status label says so, nothing is
// half-written, and every line follows once there is room again.
TEST_F(LogWindow, ARealFullDiskIsShownAndEveryLineFollowsOnceThereIsRoom) {
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
    choose(path);
    ASSERT_EQ(bytes(path), kUtf8Header);

    const QString fillerPath = mountPoint.filePath(QStringLiteral("filler"));
    QFile filler(fillerPath);
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();

    sampleTo(200);
    EXPECT_EQ(text("lb_log_status"), "Log failing!");
    EXPECT_TRUE(find<QLabel>("lb_log_status")->toolTip().contains("No space left on device"))
        << find<QLabel>("lb_log_status")->toolTip().toStdString();
    const std::vector<int> written = sampleNumbers(path);
    EXPECT_EQ(written, range(1, static_cast<int>(written.size())));
    EXPECT_EQ(written.size() % LogWriter::kBatchLines, 0u) << "whole batches only";

    ASSERT_TRUE(QFile::remove(fillerPath));
    sampleTo(333);
    window().close();
    EXPECT_EQ(sampleNumbers(path), range(1, 333));
#endif
}

}  // namespace
