#include "soak_run.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <memory>

#include "app/frm_main.h"
#include "logging/log_line.h"
#include "platform/number_text.h"
#include "platform/timer.h"
#include "support/event_loop.h"
#include "support/fake_dialogs.h"
#include "support/process_stats.h"
#include "support/pty.h"
#include "support/reading_watch.h"
#include "support/simulator.h"
#include "support/watched_port.h"

namespace {

using namespace std::chrono_literals;
using test_support::runUntil;

constexpr int kInstrumentPort = 1;
constexpr int kReceiverPort = 2;
// Enough for a window that falls behind to catch up; none of the waits asserts a duration.
constexpr auto kGrace = 60s;
// After a last reopen nothing more may come: the rest of the flood went with the bad record.
constexpr auto kQuietAfterReopen = 3s;
// What the resident memory may gain over the second half of the flood. Everything the window
// holds is bounded (the incoming-data box, the receive buffer, the log lines waiting), so after
// the first half it stays within a few hundred kilobytes; a leak of a few dozen bytes a record
// passes this within minutes.
constexpr qint64 kMemoryGrowthAllowed = 2 * 1024 * 1024;
// AddressSanitizer keeps freed memory in quarantine, so resident memory grows there by design;
// its leak check at exit stands in for the growth check.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreedMemoryHeld = true;
#else
constexpr bool kFreedMemoryHeld = false;
#endif

// Samples are dated one second apart whatever the real time, so every line of the log names
// its sample.
const QDateTime kFirstDate(QDate(2024, 1, 1), QTime(0, 0));

QString number(int n) {
    return QString::number(n);
}

// The flood ends with "sent <count>" in the journal.
bool journalEnded(const QString& path) {
    QFile journal(path);
    if (!journal.open(QIODevice::ReadOnly)) {
        return false;
    }
    journal.seek(std::max<qint64>(0, journal.size() - 64));
    return journal.readAll().contains("sent ");
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Soak {
public:
    explicit Soak(const SoakPlan& plan)
        : plan_(plan),
          instrument_(0, {"--mode", "kestrane", "--rate", number(plan.bytesPerSecond), "--sequence",
                          "--garbage-every", number(plan.garbageEvery), "--noise-every",
                          number(plan.noiseEvery), "--long-every", number(plan.longEvery),
                          "--long-length", number(plan.longLength), "--duration",
                          number(static_cast<int>(plan.duration.count())), "--hold", "--journal",
                          journalPath()}),
          echosounder_(0, {"--mode", "receiver"}) {}

    SoakReport run() {
        if (!instrument_.ready() || !echosounder_.ready()) {
            report_.faults.append(QStringLiteral("the simulators did not start"));
            return report_;
        }
        test_support::mapPort(kInstrumentPort, instrument_.link());
        test_support::mapPort(kReceiverPort, echosounder_.link());
        openWindow();
        if (!startEverything()) {
            return report_;
        }
        followFlood();
        stopSending();
        closeWindow();
        judge();
        return report_;
    }

private:
    QString journalPath() const { return work_.filePath(QStringLiteral("journal")); }
    QString logPath() const { return work_.filePath(QStringLiteral("log.txt")); }

    template <typename T>
    T* find(const char* name) {
        return window_->findChild<T*>(QLatin1String(name));
    }
    void type(const char* box, const QString& text) { find<QLineEdit>(box)->setText(text); }
    void click(const char* button) { find<QPushButton>(button)->click(); }

    void openWindow() {
        Services services;
        services.dialogs = &dialogs_;
        services.makePort = [](QObject* parent) -> SerialPort* {
            return new test_support::WatchedPort(parent);
        };
        services.clock = [this] { return kFirstDate.addSecs(++dated_); };
        window_ = std::make_unique<frm_main>(services);
        window_->show();
        // Owned by the frame it watches.
        new test_support::ReadingWatch(find<QLabel>("lb_press"), [this](const QString& text) {
            // lb_press shows line n as n/1000 dbar.
            const auto dbar = number_text::parse(text);
            lastRead_ = dbar ? std::llround(*dbar * 1000) : -1;
            events_.read(lastRead_);
            reopenedLast_ = false;
            lastEvent_.start();
        });
    }

    bool startEverything() {
        type("Text3", number(kInstrumentPort));
        type("Text2", QStringLiteral("115200,N,8,1"));
        click("Command3");
        auto* input = find<test_support::WatchedPort>("Com_in");
        QObject::connect(input, &test_support::WatchedPort::openTried, [this](bool opened) {
            if (opened) {
                events_.reopen();
                reopenedLast_ = true;
                lastEvent_.start();
            }
        });

        type("Text5", number(kReceiverPort));
        type("tx_timer", QStringLiteral("100"));
        click("Command4");
        auto* output = find<SerialPort>("com_out");
        QObject::connect(find<Timer>("Timer4"), &Timer::tick,
                         [this, output] { report_.telegramsSent += output->isOpen() ? 1 : 0; });

        type("Text7", QStringLiteral("0.1"));
        click("Command6");
        dialogs_.chosenFiles.push_back(logPath());
        click("Command5");

        if (!input->isOpen() || !output->isOpen() || window_->data_file != logPath()) {
            report_.faults.append(QStringLiteral("the window did not connect and log"));
            return false;
        }
        return true;
    }

    void followFlood() {
        report_.residentStart = process_stats::residentBytes();
        report_.heapStart = process_stats::heapInUse();
        QTimer middle;
        middle.setSingleShot(true);
        QObject::connect(&middle, &QTimer::timeout, [this] {
            report_.residentMiddle = process_stats::residentBytes();
            report_.heapMiddle = process_stats::heapInUse();
            eventBytesMiddle_ = events_.bytes();
        });
        middle.start(plan_.duration / 2);
        QTimer telegramCount;
        QObject::connect(&telegramCount, &QTimer::timeout, [this] { countTelegrams(); });
        telegramCount.start(1000);
        if (!runUntil([&] { return journalEnded(journalPath()); }, plan_.duration + kGrace)) {
            report_.faults.append(QStringLiteral("the simulated instrument did not finish"));
        }
        // Measured before the journal is read in, which is the driver's memory, not the window's.
        report_.residentEnd = process_stats::residentBytes();
        report_.heapEnd = process_stats::heapInUse();
        eventBytesEnd_ = events_.bytes();
        journal_ = test_support::FloodJournal::parse(readFile(journalPath()));
        const qint64 last = lastRecord();
        runUntil(
            [&] {
                return lastRead_ == last ||
                       (reopenedLast_ &&
                        std::chrono::milliseconds(lastEvent_.elapsed()) > kQuietAfterReopen);
            },
            kGrace);
    }

    qint64 lastRecord() const {
        for (qint64 n = journal_.sent.value_or(0) - 1; n >= 0; --n) {
            if (journal_.isRecord(n)) {
                return n;
            }
        }
        return -1;
    }

    // Every telegram that left must have arrived.
    void stopSending() {
        click("Command7");
        runUntil(
            [&] {
                countTelegrams();
                return report_.telegramsReceived >= report_.telegramsSent;
            },
            10s);
    }

    // The echosounder prints the device path, then one line per telegram. Only a count is kept,
    // so that the transcript of a long run does not weigh on the memory measured.
    void countTelegrams() {
        printed_ += echosounder_.takeOutput();
        for (qsizetype end = printed_.indexOf('\n'); end >= 0; end = printed_.indexOf('\n')) {
            if (pathPrinted_) {
                ++report_.telegramsReceived;
                report_.telegramsMalformed += printed_.first(end).contains("MALFORMED") ? 1 : 0;
            }
            pathPrinted_ = true;
            printed_.remove(0, end + 1);
        }
    }

    // Closing writes the lines still in memory, so the file must then hold every sample.
    void closeWindow() {
        window_->close();
        const QString counter = find<QLabel>("lb_nnn")->text();
        report_.samples = counter.section(u' ', -1).toLongLong();
        report_.log = test_support::judgeLog(
            QString::fromLocal8Bit(readFile(logPath())), report_.samples,
            [](qint64 k) { return logDateTime(kFirstDate.addSecs(k)); }, QLocale());
    }

    void judge() {
        report_.linesSent = journal_.sent.value_or(0);
        report_.garbageSent = journal_.count("garbage");
        report_.noiseSent = journal_.count("noise");
        report_.longSent = journal_.count("long");
        report_.recordsSent = report_.linesSent - report_.garbageSent - report_.noiseSent;
        report_.flood = test_support::judgeFlood(journal_, events_);
        report_.faults += report_.flood.faults;
        report_.faults += report_.log.faults;
        if (report_.telegramsSent == 0 || report_.telegramsReceived != report_.telegramsSent ||
            report_.telegramsMalformed != 0) {
            report_.faults.append(QStringLiteral("telegrams: %1 sent, %2 received, %3 malformed")
                                      .arg(report_.telegramsSent)
                                      .arg(report_.telegramsReceived)
                                      .arg(report_.telegramsMalformed));
        }
        judgeMemory();
        for (const FakeDialogs::Shown& message : dialogs_.messages) {
            report_.faults.append(QStringLiteral("message box: ") + message.text);
        }
        if (!instrument_.stop() || !echosounder_.stop()) {
            report_.faults.append(QStringLiteral("a simulator did not end cleanly"));
        }
    }

    // What this program records of the window's doings grows with the run and is left out.
    void judgeMemory() {
        report_.memoryJudged = !kFreedMemoryHeld;
        const qint64 growth =
            report_.residentEnd - report_.residentMiddle - (eventBytesEnd_ - eventBytesMiddle_);
        if (report_.memoryJudged && growth > kMemoryGrowthAllowed) {
            report_.faults.append(
                QStringLiteral("resident memory grew by %1 kB over the second half")
                    .arg(growth / 1024));
        }
    }

    SoakPlan plan_;
    QTemporaryDir work_;
    Simulator instrument_;
    Simulator echosounder_;
    FakeDialogs dialogs_;
    qint64 dated_ = 0;
    std::unique_ptr<frm_main> window_;
    test_support::WindowEvents events_;
    qint64 lastRead_ = -1;
    bool reopenedLast_ = false;
    QElapsedTimer lastEvent_;
    qint64 eventBytesMiddle_ = 0;
    qint64 eventBytesEnd_ = 0;
    QByteArray printed_;
    bool pathPrinted_ = false;
    test_support::FloodJournal journal_;
    SoakReport report_;
};

}  // namespace

SoakReport runSoak(const SoakPlan& plan) {
    return Soak(plan).run();
}
