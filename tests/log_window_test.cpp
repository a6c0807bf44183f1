#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

#include "app/frm_main.h"
#include "support/failing_text_files.h"
#include "support/fake_dialogs.h"
#include "support/fake_port.h"

namespace {

const QByteArray kUtf8Header =
    "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [\xC2\xB0"
    "C]\tSalinity [psu]\tSound Velocity [m/s]\r\n";
const QByteArray kLatin1Header =
    "Date-Time\tConductivity [mS/cm]\tPressure [dbar]\tTemperature [\xB0"
    "C]\tSalinity [psu]\tSound Velocity [m/s]\r\n";

// The window offscreen with its dialogs answered by FakeDialogs, real files (that can be told to
// fail) and a clock that moves one second per reading, from 2024-03-05 14:07:00.
class LogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(dir.isValid());
        services.dialogs = &dialogs;
        services.makePort = [this](QObject* parent) { return new FakePort(parent, &journal); };
        services.clock = [this] {
            now = now.addSecs(1);
            return now;
        };
        services.textFiles = files;
    }
    void TearDown() override {
        window_.reset();
        QLocale::setDefault(QLocale::system());
    }

    // A new window, as after a fresh start of the program, over the same files.
    void restart() {
        window_.reset();
        dialogs = FakeDialogs();
        now = kStart;
        samples = 0;
    }

    frm_main& window() {
        if (!window_) {
            window_ = std::make_unique<frm_main>(services);
            window_->show();
        }
        return *window_;
    }
    template <typename T>
    T* control(const char* name) {
        T* found = window().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    Timer* timer2() { return control<Timer>("Timer2"); }
    QLabel* label(const char* name) { return control<QLabel>(name); }

    void choose(const std::optional<QString>& answer) {
        dialogs.chosenFiles.push_back(answer);
        control<QPushButton>("Command5")->click();
    }
    void setInterval(const QString& text) {
        control<QLineEdit>("Text7")->setText(text);
        control<QPushButton>("Command6")->click();
    }
    // Takes samples up to number `last`; sample k carries the temperature k, so that every line
    // in a file names the sample it came from.
    void sampleTo(int last) {
        while (samples < last) {
            window().temperature = ++samples;
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
        QList<QByteArray> lines = bytes(path).split('\n');
        std::vector<int> numbers;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            if (!lines[i].isEmpty()) {
                // A broken line counts as sample -1.
                const QByteArray field = lines[i].split('\t').value(3);
                numbers.push_back(field.endsWith(".000") ? field.chopped(4).toInt() : -1);
            }
        }
        return numbers;
    }
    static std::vector<int> range(int first, int last) {
        std::vector<int> numbers;
        for (int n = first; n <= last; ++n) {
            numbers.push_back(n);
        }
        return numbers;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("log.txt"));
    FakeDialogs dialogs;
    QStringList journal;
    std::shared_ptr<FailingTextFiles> files = std::make_shared<FailingTextFiles>();
    const QDateTime kStart{QDate(2024, 3, 5), QTime(14, 7, 0)};
    QDateTime now = kStart;
    Services services;
    int samples = 0;

private:
    std::unique_ptr<frm_main> window_;
};

TEST_F(LogWindowTest, ChoosingAFileAsksThenCreatesItWithTheHeaderAndStartsSampling) {
    choose(path);
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    const Dialogs::SaveFileRequest& request = dialogs.saveRequests[0];
    EXPECT_EQ(request.filters, (QStringList{"All Files (*.*)", "Text Files (*.txt)"}));
    EXPECT_EQ(request.selectedFilter, "Text Files (*.txt)");
    EXPECT_EQ(request.initialPath, QString());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].title, "Log file");
    EXPECT_EQ(dialogs.questions[0].text,
              "Do you want to log the data in this file?\r\n" + QDir::toNativeSeparators(path));
    EXPECT_EQ(bytes(path), kUtf8Header);
    EXPECT_EQ(window().data_file, path);
    EXPECT_TRUE(timer2()->isTicking());
    EXPECT_EQ(timer2()->interval(), 1000);

    // The counter shows the samples from the first one on, in bold.
    EXPECT_TRUE(label("lb_nnn")->font().bold());
    sampleTo(3);
    EXPECT_EQ(label("lb_nnn")->text(), " Data logged: 3");
    EXPECT_TRUE(label("lb_nnn")->font().bold());

    // A name without an extension is used as typed; the chooser offers the name chosen last.
    const QString bare = dir.filePath(QStringLiteral("survey"));
    choose(bare);
    EXPECT_EQ(dialogs.saveRequests[1].initialPath, path);
    EXPECT_EQ(window().data_file, bare);
    EXPECT_EQ(bytes(bare), kUtf8Header);
}

struct EncodingCase {
    const char* encoding;
    QByteArray header;
};

// Byte for byte: the header alone until the 20th sample, then the 20 lines at once.
TEST_F(LogWindowTest, FileHoldsTheHeaderAloneUntilTheTwentiethSample) {
    for (const EncodingCase& c :
         {EncodingCase{"UTF-8", kUtf8Header}, EncodingCase{"ISO-8859-1", kLatin1Header}}) {
        SCOPED_TRACE(c.encoding);
        files = std::make_shared<FailingTextFiles>(c.encoding);
        services.textFiles = files;
        restart();

        choose(path);
        sampleTo(19);
        EXPECT_EQ(bytes(path), c.header);
        sampleTo(20);
        QByteArray expected = c.header;
        for (int k = 1; k <= 20; ++k) {
            expected += QStringLiteral("3/5/2024 2:07:%1 PM\t0.000\t0.00\t%2.000\t0.0000\t0.00\r\n")
                            .arg(k, 2, 10, QLatin1Char('0'))
                            .arg(k)
                            .toLatin1();
        }
        EXPECT_EQ(bytes(path), expected);
    }
}

TEST_F(LogWindowTest, DecimalCommaInNumbersAndInterval) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    setInterval(QStringLiteral("0,5"));
    EXPECT_EQ(timer2()->interval(), 500);
    EXPECT_EQ(label("Label18")->text(), "Sampling Interval is: 0,5 sec.");
    choose(path);
    sampleTo(1);
    window().close();
    EXPECT_EQ(bytes(path),
              kUtf8Header + "05.03.2024 14:07:01\t0,000\t0,00\t1,000\t0,0000\t0,00\r\n");
}

struct IntervalCase {
    const char* typed;
    int interval;  // ms; -1 when the entry is refused
};

TEST_F(LogWindowTest, IntervalIsSecondsTimesAThousandTiesToEven) {
    const IntervalCase cases[] = {
        {"0.5", 500}, {"0", 0},   {"65.535", 65535}, {"0.0025", 2}, {"0.0035", 4}, {"65.536", -1},
        {"abc", -1},  {"-1", -1}, {"", -1},          {"1,5", -1},   {"2", 2000},   {"1e400", -1},
    };
    int inForce = timer2()->interval();
    QString labelInForce = label("Label18")->text();
    for (const IntervalCase& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::size_t messagesBefore = dialogs.messages.size();
        setInterval(QString::fromLatin1(c.typed));
        if (c.interval >= 0) {
            inForce = c.interval;
            labelInForce = QStringLiteral("Sampling Interval is: %1 sec.").arg(c.typed);
        }
        EXPECT_EQ(timer2()->interval(), inForce);
        EXPECT_EQ(label("Label18")->text(), labelInForce);
        EXPECT_EQ(dialogs.messages.size(), messagesBefore + (c.interval < 0 ? 1 : 0));
    }
}

TEST_F(LogWindowTest, SetBeforeAnyFileOnlyChangesLabelAndInterval) {
    setInterval(QStringLiteral("0.5"));
    EXPECT_FALSE(timer2()->isEnabled());
    EXPECT_EQ(label("lb_nnn")->text(), "Data logged: -");
    EXPECT_FALSE(label("lb_nnn")->font().bold());
    choose(path);
    EXPECT_TRUE(timer2()->isTicking());
    EXPECT_EQ(timer2()->interval(), 500);

    setInterval(QStringLiteral("0"));
    EXPECT_TRUE(timer2()->isEnabled());
    EXPECT_FALSE(timer2()->isTicking());
}

TEST_F(LogWindowTest, ClosingTheWindowWritesTheLinesStillInMemory) {
    choose(path);
    sampleTo(27);
    window().close();
    EXPECT_EQ(sampleNumbers(path), range(1, 27));
    EXPECT_TRUE(dialogs.messages.empty());

    // When even that write fails, the user is told what is lost.
    restart();
    choose(path);
    sampleTo(5);
    files->failAppend = true;
    window().close();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("5 logged lines could not be written"));
}

TEST_F(LogWindowTest, FailedBatchWaitsForALaterTickAndTheLabelTellsWithoutABox) {
    choose(path);
    files->failAppend = true;
    sampleTo(23);
    EXPECT_EQ(bytes(path), kUtf8Header);
    EXPECT_EQ(files->appends.size(), 4);
    EXPECT_EQ(label("lb_log_status")->text(), "Log failing!");
    EXPECT_TRUE(label("lb_log_status")->toolTip().contains("No space left on device"));

    files->failAppend = false;
    sampleTo(24);
    EXPECT_EQ(sampleNumbers(path), range(1, 24));
    EXPECT_EQ(label("lb_log_status")->text(), "Log writes again");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LogWindowTest, CancelOrNoLeavesTheLogAsItWas) {
    choose(path);
    sampleTo(5);
    choose(std::nullopt);
    choose(QString());
    dialogs.answerYes = false;
    choose(dir.filePath(QStringLiteral("other.txt")));
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(window().data_file, path);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("other.txt"))));
    sampleTo(20);
    EXPECT_EQ(sampleNumbers(path), range(1, 20));
}

TEST_F(LogWindowTest, AnotherFileGetsOnlyTheSamplesTakenForIt) {
    const QString second = dir.filePath(QStringLiteral("second.txt"));
    choose(path);
    sampleTo(5);
    choose(second);
    EXPECT_EQ(sampleNumbers(path), range(1, 5));
    EXPECT_EQ(bytes(second), kUtf8Header);
    sampleTo(25);
    EXPECT_EQ(sampleNumbers(second), range(6, 25));
    EXPECT_EQ(sampleNumbers(path), range(1, 5));
}

TEST_F(LogWindowTest, FileThatCannotBeCreatedIsReportedAndChangesNothing) {
    const QString unreachable = dir.filePath(QStringLiteral("missing/log.txt"));
    choose(unreachable);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Log file");
    EXPECT_EQ(window().data_file, QString());
    EXPECT_FALSE(timer2()->isEnabled());
    EXPECT_FALSE(label("lb_nnn")->font().bold());

    choose(path);
    sampleTo(3);
    choose(unreachable);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(window().data_file, path);
    EXPECT_TRUE(timer2()->isTicking());
    sampleTo(23);
    EXPECT_EQ(sampleNumbers(path), range(1, 23));
}

struct Outage {
    const char* name;
    std::function<void()> begin;
    std::function<void()> end;
};

// A long run survives its file going away and coming back: every sample reaches the file
// exactly once and in order, the last ones when the window closes at an odd count.
TEST_F(LogWindowTest, EverySampleReachesTheFileOnceAcrossAnOutage) {
    const auto move = [](const QString& from, const QString& to) {
        ASSERT_TRUE(QDir().rename(from, to)) << from.toStdString();
    };
    const QString folder = dir.filePath(QStringLiteral("survey"));
    const QString away = dir.filePath(QStringLiteral("away"));
    const Outage outages[] = {
        {"file moved away", [&] { move(path, away); }, [&] { move(away, path); }},
        {"folder moved away", [&] { move(folder, away); }, [&] { move(away, folder); }},
        {"disk full", [&] { files->failAppend = true; }, [&] { files->failAppend = false; }},
    };
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("survey")));
    path = dir.filePath(QStringLiteral("survey/log.txt"));
    for (const Outage& outage : outages) {
        SCOPED_TRACE(outage.name);
        restart();
        choose(path);
        sampleTo(107);
        outage.begin();
        sampleTo(190);
        EXPECT_EQ(label("lb_log_status")->text(), "Log failing!");
        outage.end();
        sampleTo(333);
        EXPECT_EQ(label("lb_log_status")->text(), "Log writes again");
        window().close();
        EXPECT_EQ(sampleNumbers(path), range(1, 333));
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

// The real file layer on a real disk that fills up: the status label says so, nothing is
// half-written, and every line follows once there is room again.
TEST_F(LogWindowTest, ARealFullDiskIsShownAndEveryLineFollowsOnceThereIsRoom) {
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "small RAM disks are mounted on Linux only";
#else
    QTemporaryDir mountPoint;
    ASSERT_TRUE(mountPoint.isValid());
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
    EXPECT_EQ(label("lb_log_status")->text(), "Log failing!");
    EXPECT_TRUE(label("lb_log_status")->toolTip().contains("No space left on device"))
        << label("lb_log_status")->toolTip().toStdString();
    const std::vector<int> written = sampleNumbers(path);
    EXPECT_EQ(written, range(1, static_cast<int>(written.size())));
    EXPECT_EQ(written.size() % LogWriter::kBatchLines, 0u) << "whole batches only";

    ASSERT_TRUE(QFile::remove(fillerPath));
    sampleTo(333);
    EXPECT_EQ(label("lb_log_status")->text(), "Log writes again");
    window().close();
    EXPECT_EQ(sampleNumbers(path), range(1, 333));
    EXPECT_TRUE(dialogs.messages.empty());
#endif
}

}  // namespace
