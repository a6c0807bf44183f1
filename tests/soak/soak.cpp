#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "logging/log_line.h"
#include "platform/number_text.h"
#include "platform/timer.h"
#include "support/event_loop.h"
#include "support/process_stats.h"
#include "support/reading_watch.h"
#include "support/simulator.h"
#include "support/soak_verdict.h"
#include "support/watched_port.h"
#include "support/window_test.h"

// sondrel_soak [--seconds N]: the real window on real serial ports reads a simulated instrument
// flooding a 115200-baud line with records, garbage, binary noise and over-long records, logs
// every 0.1 s and sends a telegram every 100 ms to a simulated echosounder. Fails when a record
// was missed, a log line lost or repeated, a telegram lost or malformed, or memory kept growing.
namespace {

using namespace std::chrono_literals;
using namespace test_support;

// Enough for a window that falls behind to catch up; none of the waits asserts a duration.
constexpr auto kGrace = 60s;
// After a last reopen nothing more may come: the rest of the flood went with the bad record.
constexpr qint64 kQuietAfterReopenMs = 3000;
// What resident memory may gain over the second half. Everything the window holds is bounded
// (the incoming-data box, the receive buffer, the log lines waiting), so after the first half it
// stays within a few hundred kilobytes; a leak of a few dozen bytes a record passes this soon.
constexpr qint64 kMemoryGrowthAllowed = 2 * 1024 * 1024;
// Samples are dated one second apart whatever the real time, so every log line names its sample.
const QDateTime kFirstDate(QDate(2024, 1, 1), QTime(0, 0));

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using Soak = WindowTest;

TEST_F(Soak, NothingLostUnderAFlood) {
    const QStringList args = QCoreApplication::arguments();
    const int seconds =
        args.contains("--seconds") ? args.value(args.indexOf("--seconds") + 1).toInt() : 20;
    ASSERT_GE(seconds, 2) << "--seconds needs a whole number of at least 2";
    QTemporaryDir work;
    const QString journalPath = work.filePath("journal");
    const QString logPath = work.filePath("log.txt");
    Simulator instrument(
        1, {"--mode", "kestrane", "--rate", "11520", "--sequence", "--garbage-every", "97",
            "--noise-every", "61", "--long-every", "37", "--long-length", "700", "--duration",
            QString::number(seconds), "--hold", "--journal", journalPath});
    Simulator echosounder(2, {"--mode", "receiver"});
    ASSERT_TRUE(instrument.ready() && echosounder.ready());
    // The echosounder prints its device path, then one line per telegram. Only counts are kept,
    // so that the transcript of a long run does not weigh on the memory measured.
    qint64 linesPrinted = 0;
    qint64 malformed = 0;
    const auto telegramsReceived = [&] {
        const QByteArray lines = echosounder.takeLines();
        linesPrinted += lines.count('\n');
        malformed += lines.count("MALFORMED");
        return linesPrinted - 1;
    };
    qint64 dated = 0;
    services.clock = [&dated] { return kFirstDate.addSecs(++dated); };
    services.makePort = [](QObject* parent) -> SerialPort* { return new WatchedPort(parent); };
    // lb_press shows line n as n/1000 dbar. The watch is owned by the frame it watches.
    WindowEvents events;
    QElapsedTimer lastEvent;
    new ReadingWatch(find<QLabel>("lb_press"), [&](const QString& text) {
        const auto dbar = number_text::parse(text);
        events.push_back(dbar ? std::llround(*dbar * 1000) : -2);
        lastEvent.start();
    });
    type("Text3", "1");
    type("Text2", "115200,N,8,1");
    click("Command3");
    auto* input = find<WatchedPort>("Com_in");
    QObject::connect(input, &WatchedPort::openTried, [&](bool opened) {
        if (opened) {
            events.push_back(kReopen);
            lastEvent.start();
        }
    });
    type("Text5", "2");
    type("tx_timer", "100");
    click("Command4");
    auto* output = find<SerialPort>("com_out");
    qint64 telegramsSent = 0;
    QObject::connect(find<Timer>("Timer4"), &Timer::tick,
                     [&] { telegramsSent += output->isOpen() ? 1 : 0; });
    type("Text7", "0.1");
    click("Command6");
    dialogs.chosenFiles.push_back(logPath);
    click("Command5");
    ASSERT_TRUE(test_support::runUntil([&] { return window().station().data_file == logPath; },
                                       std::chrono::seconds(10)));
    ASSERT_TRUE(input->isOpen() && output->isOpen());

    qint64 resident[3] = {process_stats::residentBytes()};
    qsizetype eventsMiddle = 0;
    QTimer telegramCount;
    QObject::connect(&telegramCount, &QTimer::timeout, [&] { telegramsReceived(); });
    telegramCount.start(1000);
    QTimer::singleShot(std::chrono::seconds(seconds) / 2, &telegramCount, [&] {
        resident[1] = process_stats::residentBytes();
        eventsMiddle = events.size();
    });
    // The flood ends with "sent <count>" in the journal.
    EXPECT_TRUE(runUntil([&] { return readFile(journalPath).right(64).contains("sent "); },
                         std::chrono::seconds(seconds) + kGrace))
        << "the simulated instrument did not finish";
    // Measured before the journal is read in, which is the driver's memory, not the window's.
    resident[2] = process_stats::residentBytes();
    // AddressSanitizer's quarantine grows by design; its leak check at exit stands in there. What
    // this program records of the window's doings is left out of its memory.
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LE(resident[2] - resident[1] - qint64((events.size() - eventsMiddle) * sizeof(qint64)),
              kMemoryGrowthAllowed)
        << "resident memory grew over the second half";
#endif

    const FloodJournal journal(readFile(journalPath));
    qint64 lastRecord = journal.sent - 1;
    while (lastRecord >= 0 && !journal.isRecord(lastRecord)) {
        --lastRecord;
    }
    runUntil(
        [&] {
            return !events.empty() &&
                   (events.back() == lastRecord ||
                    (events.back() == kReopen && lastEvent.hasExpired(kQuietAfterReopenMs)));
        },
        kGrace);
    const QStringList floodFaults = judgeFlood(journal, events);
    // The first few faults only: a broken reader gives thousands.
    EXPECT_TRUE(floodFaults.isEmpty()) << floodFaults.mid(0, 20).join('\n').toStdString();

    // Every telegram that left must arrive, well formed.
    click("Command7");
    runUntil([&] { return telegramsReceived() >= telegramsSent; }, 10s);
    EXPECT_GT(telegramsSent, 0);
    EXPECT_EQ(telegramsReceived(), telegramsSent);
    EXPECT_EQ(malformed, 0);

    // Closing writes the lines still in memory, so the file must then hold every sample.
    window().close();
    const qint64 samples = text("lb_nnn").section(u' ', -1).toLongLong();
    const QStringList logFaults = judgeLog(
        QString::fromLocal8Bit(readFile(logPath)), samples,
        [](qint64 k) { return logDateTime(kFirstDate.addSecs(k)); }, QLocale());
    EXPECT_TRUE(logFaults.isEmpty()) << logFaults.join('\n').toStdString();
    EXPECT_TRUE(dialogs.messages.empty());
    closeWindow();
    EXPECT_TRUE(instrument.stop() && echosounder.stop()) << "a simulator did not end cleanly";
    // Unless a fault says otherwise, every record not read went with a reopen.
    const qint64 reopens = std::ranges::count(events, kReopen);
    const auto mib = [&](int i) { return resident[i] / (1024.0 * 1024); };
    std::printf(
        "  resident memory start / middle / end  %.1f / %.1f / %.1f MiB\n"
        "  lines sent / records read / reopens   %lld / %lld / %lld\n"
        "  telegrams sent / received / malformed %lld / %lld / %lld\n"
        "  log lines expected                    %lld\n",
        mib(0), mib(1), mib(2), journal.sent, qint64(events.size()) - reopens, reopens,
        telegramsSent, linesPrinted - 1, malformed, samples);
}

}  // namespace
