#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <functional>
#include <memory>
#include <tuple>
#include <utility>

#include "logging/log_header.h"
#include "support/event_loop.h"
#include "support/headless_program.h"
#include "support/pty.h"

namespace {

using namespace std::chrono_literals;
using test_support::kRecordA;
using test_support::kTelegramA;
using test_support::readFile;
using test_support::startHeadless;
using test_support::writeFile;

// The instrument on port 41 and the echosounder on port 42, SVP 20 telegrams every 100 ms and a
// sample every 100 ms into `log`, with `options` under [Options].
bool writeSettings(const QString& path, const test_support::PtyDevice& instrument,
                   const test_support::PtyDevice& echosounder, const QString& options,
                   const QString& log) {
    return writeFile(path, QStringLiteral("[COM_Port]\nIN=\"41:19200,N,8,1\"\n"
                                          "OUT=\"42:4800,N,8,1\"\n[Ports]\nCOM41=%1\nCOM42=%2\n"
                                          "[Options]\n%3\n[Run]\nInput=true\nOutput=true\n"
                                          "Telegram=SVP 20\nSendInterval=100\nLogFile=%4\n"
                                          "SampleInterval=0.1\n")
                               .arg(instrument.path(), echosounder.path(), options, log)
                               .toUtf8());
}

constexpr char kLogA[] = "\t42.914\t0.00\t15.000\t35.0000\t1506.66\r\n";
constexpr char kRecordB[] = "0042.914\tMS/CM\t100.000\tDBAR\t16.000\tC\r\n";
constexpr char kTelegramB[] = "151040001000160990000\r\n";
constexpr char kLogB[] = "\t42.914\t100.00\t16.000\t34.0824\t1510.38\r\n";

// The echosounder's pseudo-terminal is made only once the program runs: it must wait for it
// rather than give up. Ended by SIGTERM a few samples after the last write of the log, it must
// leave those few in the file too, behind what the file held before.
TEST(HeadlessProgram, FeedsTheEchosounderAndKeepsEverySampleItCounted) {
    const QTemporaryDir dir;
    test_support::PtyDevice instrument;
    test_support::PtyDevice echosounder;
    echosounder.unplug();
    QUdpSocket network;
    ASSERT_TRUE(instrument.isOpen() && network.bind(QHostAddress::LocalHost));
    const QString log = dir.filePath(QStringLiteral("cast.txt"));
    const QByteArray before =
        logHeader().toUtf8() +
        "\r\n2026-12-07T23:59:59.000Z\t35.000\t10.00\t10.000\t29.0\t1490.00\r\n";
    ASSERT_TRUE(writeFile(log, before));
    const QString settings = dir.filePath(QStringLiteral("Sondrel.conf"));
    ASSERT_TRUE(writeSettings(settings, instrument, echosounder,
                              QStringLiteral("UdpTarget=127.0.0.1:%1\nUdpSending=true\n"
                                             "LogTimeUtc=true")
                                  .arg(network.localPort()),
                              log));
    QProcess program;
    startHeadless(program, settings);
    QByteArray errors;
    const auto told = [&](const QString& line) {
        const QRegularExpression pattern(
            QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z )") + line + u'$',
            QRegularExpression::MultilineOption);
        return test_support::runUntil(
            [&] { return pattern.match(errors += program.readAllStandardError()).hasMatch(); },
            20s);
    };
    ASSERT_TRUE(told(QStringLiteral("input: Connected: ") +
                     QRegularExpression::escape(instrument.path()) + " 19200,N,8,1"))
        << errors.constData();
    ASSERT_TRUE(told(QStringLiteral("output: (?!Connected).+"))) << errors.constData();
    echosounder.plugIn();

    // From a reading's first telegram on, the line and the network carry nothing but it, each
    // datagram one whole telegram.
    const auto sent = [&](const QByteArray& telegram, qsizetype times) {
        const QByteArray serial = echosounder.pty().readUntil(
            [&](const QByteArray& bytes) { return bytes.count(telegram) >= times; });
        const QByteArray since = serial.mid(serial.indexOf(telegram));
        EXPECT_EQ(since, telegram.repeated(std::max(times, since.size() / telegram.size())));
        QList<QByteArray> datagrams;
        EXPECT_TRUE(test_support::runUntil(
            [&] {
                while (network.hasPendingDatagrams()) {
                    datagrams << network.receiveDatagram().data();
                }
                return datagrams.count(telegram) >= times;
            },
            20s));
        datagrams.erase(datagrams.begin(), std::find(datagrams.begin(), datagrams.end(), telegram));
        EXPECT_EQ(datagrams, QList<QByteArray>(datagrams.size(), telegram));
    };
    // The instrument was talking already: the first line the program sees is cut off.
    ASSERT_TRUE(instrument.pty().write(QByteArray("DBAR\t15.000\tC\r\n") + kRecordA));
    sent(kTelegramA, 3);
    // The first 20 lines are behind the header and the old line.
    ASSERT_TRUE(test_support::runUntil([&] { return readFile(log).count('\n') >= 22; }, 20s));
    // Four send ticks of B span more than a sampling interval: a line of B has been counted.
    ASSERT_TRUE(instrument.pty().write(kRecordB));
    sent(kTelegramB, 4);
    program.terminate();
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << errors.constData();

    const QByteArray written = readFile(log);
    ASSERT_TRUE(written.startsWith(before));
    EXPECT_TRUE(written.endsWith(kLogB)) << "the last samples were not written";
    const QByteArray added = written.mid(before.size());
    EXPECT_TRUE(added.contains(kLogA));
    // Samples taken before the first reading carry no values, and only those.
    const QRegularExpression logged(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z((\t-?\d+\.\d+){5}|\t{5})\r$)"));
    bool read = false;
    for (const QByteArray& line : added.chopped(1).split('\n')) {
        EXPECT_TRUE(logged.match(QString::fromLatin1(line)).hasMatch()) << line.constData();
        read = read || !line.endsWith("\t\r");
        EXPECT_TRUE(!read || !line.endsWith("\t\r")) << line.constData();
    }
}

// A log on a disk that stops answering, from the start on: the echosounder is fed all the same,
// the wait is told once, and the log catches up once the disk answers. Ended while a write
// hangs, the program saves the lines not yet written to a recovery file and tells where; it ends
// with status 0 as soon as the system lets the hanging call go.
TEST(HeadlessProgram, ALogDiskThatHangsHoldsUpNothingElse) {
    const QTemporaryDir dir;
    const QString backing = dir.filePath(QStringLiteral("backing"));
    const QString share = dir.filePath(QStringLiteral("share"));
    const QString hold = dir.filePath(QStringLiteral("hold"));
    ASSERT_TRUE(QDir().mkpath(backing) && QDir().mkpath(share) && writeFile(hold, ""));
    QProcess disk;
    disk.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(QT_TESTCASE_SOURCEDIR "/support/hanging_fs.py"), backing, share, hold});
    const auto mounted = [&] { return readFile("/proc/self/mounts").contains(share.toUtf8()); };
    if (!disk.waitForStarted() ||
        !test_support::runUntil([&] { return mounted() || disk.state() != QProcess::Running; },
                                20s) ||
        !mounted()) {
        GTEST_SKIP() << "no FUSE file system can be mounted here: "
                     << disk.readAllStandardError().constData();
    }
    const auto unmount = qScopeGuard([&] {
        QFile::remove(hold);
        QProcess::execute(QStringLiteral("fusermount3"), {QStringLiteral("-uz"), share});
        disk.waitForFinished();
    });
    test_support::PtyDevice instrument;
    test_support::PtyDevice echosounder;
    ASSERT_TRUE(instrument.isOpen() && echosounder.isOpen());
    const QString log = share + QStringLiteral("/cast.txt");
    const QString settings = dir.filePath(QStringLiteral("Sondrel.conf"));
    ASSERT_TRUE(writeSettings(settings, instrument, echosounder, {}, log));
    QProcess program;
    startHeadless(program, settings, dir.filePath(QStringLiteral("data")));
    QByteArray errors;
    const auto tellings = [&](const QString& line) {
        errors += program.readAllStandardError();
        const QRegularExpression pattern(
            QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z )") + line + u'$',
            QRegularExpression::MultilineOption);
        int count = 0;
        for (auto match = pattern.globalMatch(QString::fromUtf8(errors)); match.hasNext();
             match.next()) {
            ++count;
        }
        return count;
    };
    const auto told = [&](const QString& line, int times = 1) {
        return test_support::runUntil([&] { return tellings(line) >= times; }, 20s);
    };
    const QString waiting = QStringLiteral(R"(log: Log waiting for the disk \(\d+ s\): )") +
                            QRegularExpression::escape(log);
    const auto sent = [&](qsizetype times) {
        return echosounder.pty()
                   .readUntil(
                       [&](const QByteArray& bytes) { return bytes.count(kTelegramA) >= times; })
                   .count(kTelegramA) >= times;
    };
    ASSERT_TRUE(instrument.pty().write(QByteArray("\r\n") + kRecordA));
    EXPECT_TRUE(sent(3));
    ASSERT_TRUE(told(waiting)) << errors.constData();
    EXPECT_TRUE(sent(30));
    EXPECT_EQ(tellings(waiting), 1) << "a wait for the disk is told once";

    const QString file = backing + QStringLiteral("/cast.txt");
    ASSERT_TRUE(QFile::remove(hold));
    ASSERT_TRUE(test_support::runUntil([&] { return readFile(file).count('\n') >= 40; }, 20s));
    EXPECT_TRUE(readFile(file).startsWith(logHeader().toUtf8() + "\r\n"));
    ASSERT_TRUE(writeFile(hold, "") && told(waiting, 2)) << errors.constData();
    program.terminate();
    ASSERT_TRUE(told(QStringLiteral("log: Log failing! not answering: ") +
                     QRegularExpression::escape(log)));
    ASSERT_TRUE(told(QStringLiteral(R"(sondrel: Ended; \d+ samples logged)")));
    const QRegularExpressionMatch saved =
        QRegularExpression(QStringLiteral(R"(\d+ logged lines .* were saved to (\S+)\n)"))
            .match(QString::fromUtf8(errors));
    ASSERT_TRUE(saved.hasMatch()) << errors.constData();
    const qsizetype samples = QRegularExpression(QStringLiteral(R"(Ended; (\d+) samples)"))
                                  .match(QString::fromUtf8(errors))
                                  .captured(1)
                                  .toLongLong();
    ASSERT_TRUE(QFile::remove(hold));
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitCode(), 0);
    // The write that hung may have reached the file after all: a line may be in both.
    const QByteArray recovered = readFile(saved.captured(1));
    EXPECT_TRUE(recovered.endsWith(kLogA)) << recovered.constData();
    EXPECT_GE(readFile(file).count('\n') + recovered.count('\n') - 2, samples);
}

// A probe read by its layout, with no conductivity sensor: its own sound velocity goes out as
// measured, and the log leaves conductivity and salinity empty.
TEST(HeadlessProgram, ReadsAProbeByItsRecordLayout) {
    const QTemporaryDir dir;
    test_support::PtyDevice instrument;
    test_support::PtyDevice echosounder;
    ASSERT_TRUE(instrument.isOpen() && echosounder.isOpen());
    const QString log = dir.filePath(QStringLiteral("svp.txt"));
    const QString settings = dir.filePath(QStringLiteral("Sondrel.conf"));
    ASSERT_TRUE(writeSettings(settings, instrument, echosounder,
                              QStringLiteral("AsciiRecords=Valeport miniSVP"), log));
    QProcess program;
    startHeadless(program, settings);
    QByteArray errors;
    ASSERT_TRUE(test_support::runUntil(
        [&] { return (errors += program.readAllStandardError()).contains("input: Connected"); },
        20s))
        << errors.constData();
    ASSERT_TRUE(instrument.pty().write("\r\n0012.34\t-01.174\t1450.255\r\n"));
    const QByteArray telegram = "1450300001-00012990000\r\n";
    EXPECT_TRUE(echosounder.pty()
                    .readUntil([&](const QByteArray& bytes) { return bytes.contains(telegram); })
                    .contains(telegram));
    ASSERT_TRUE(test_support::runUntil([&] { return readFile(log).count('\n') >= 2; }, 20s));
    program.terminate();
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(readFile(log).endsWith("\t\t12.34\t-1.174\t\t1450.26\r\n"))
        << readFile(log).constData();
}

// Each file starts nothing at all: no log file appears, and the reason names what to mend.
TEST(HeadlessProgram, RefusesASettingsFileItCannotUse) {
    const QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("log.txt"));
    for (const auto& [run, key, value] :
         {std::tuple{"", "", ""},
          {"Instrument=Foo", "Instrument", "Foo"},
          {"Telegram=SVP20", "Telegram", "SVP20"},
          {"SendInterval=soon", "SendInterval", "soon"},
          {"SendInterval=0.4", "SendInterval", "0.4"},
          {"SampleInterval=0.0004", "SampleInterval", "0.0004"},
          {"[COM_Port]\nIN=\"1\"", "IN", "1"},
          {"[Ports]\nCOM1=/dev/null", "COM1", "/dev/null"},
          {"[Ports]\nCOM1=tcp://:0", "COM1", "tcp://:0"},
          {"[Ports]\nCOM1=udp://999.1.1.1:5601", "COM1", "999.1.1.1 is no address"},
          {"[Options]\nAsciiRecords=Custom\n[Record]\n"
           "SoundVelocity=0",
           "SoundVelocity", "0"}}) {
        SCOPED_TRACE(run);
        const QString settings =
            dir.filePath(QStringLiteral("%1.conf").arg(*run ? key : "missing"));
        if (*run != '\0') {
            ASSERT_TRUE(writeFile(settings, QByteArray("[Run]\nInput=true\nLogFile=") +
                                                log.toUtf8() + '\n' + run + '\n'));
        }
        QProcess program;
        startHeadless(program, settings);
        ASSERT_TRUE(program.waitForFinished());
        EXPECT_EQ(program.exitCode(), 2);
        const QString error = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_TRUE(error.contains(settings) && error.contains(QLatin1String(key)) &&
                    error.contains(QLatin1String(value)))
            << error.toStdString();
        EXPECT_FALSE(QFile::exists(log));
    }
}

}  // namespace
