#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <iostream>
#include <memory>

#include "app/frm_main.h"
#include "logging/log_line.h"
#include "platform/number_text.h"
#include "platform/timer.h"
#include "support/event_loop.h"
#include "support/fake_dialogs.h"
#include "support/process_stats.h"
#include "support/reading_watch.h"
#include "support/simulator.h"
#include "support/soak_verdict.h"
#include "support/watched_port.h"

// sondrel_soak [--seconds N]
//
// The real window, offscreen, with real serial ports, reads a simulated instrument that floods
// a 115200-baud line with records, garbage, binary noise and over-long records, while it logs
// every 0.1 s and sends a telegram every 100 ms to a simulated echosounder. Exits with 1 when a
// record was missed, a log line lost or repeated, a telegram lost or malformed, or memory grew.
namespace {

using namespace std::chrono_literals;
using test_support::kReopen;
using test_support::runUntil;

// Enough for a window that falls behind to catch up; none of the waits asserts a duration.
constexpr auto kGrace = 60s;
// After a last reopen nothing more may come: the rest of the flood went with the bad record.
constexpr auto kQuietAfterReopen = 3s;
// What resident memory may gain over the second half. Everything the window holds is bounded
// (the incoming-data box, the receive buffer, the log lines waiting), so after the first half it
// stays within a few hundred kilobytes; a leak of a few dozen bytes a record passes this within
// minutes. AddressSanitizer's quarantine grows by design; its leak check stands in there.
constexpr qint64 kMemoryGrowthAllowed = 2 * 1024 * 1024;
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryJudged = false;
#else
constexpr bool kMemoryJudged = true;
#endif
// Samples are dated one second apart whatever the real time, so every log line names its sample.
const QDateTime kFirstDate(QDate(2024, 1, 1), QTime(0, 0));

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void print(const char* what, const QString& value) {
    std::cout << "  " << QString::fromLatin1(what).leftJustified(38).toStdString()
              << value.toStdString() << '\n';
}

struct Memory {
    qint64 resident = process_stats::residentBytes();
    qint64 heap = process_stats::heapInUse();
};

QString mebibytes(const Memory (&at)[3], qint64 Memory::*figure) {
    QStringList shown;
    for (const Memory& m : at) {
        shown << number_text::formatPattern(m.*figure / (1024.0 * 1024), u"0.0", QLocale::c());
    }
    return shown.join(" / ") + " MiB";
}

class Soak {
public:
    explicit Soak(int seconds) : seconds_(seconds) {}

    QStringList run() {
        if (!instrument_.ready() || !echosounder_.ready()) {
            faults_.append(QStringLiteral("the simulators did not start"));
        } else if (!open()) {
            faults_.append(QStringLiteral("the window did not connect and log"));
        } else {
            soak();
        }
        for (const FakeDialogs::Shown& message : dialogs_.messages) {
            faults_.append(QStringLiteral("message box: ") + message.text);
        }
        if (!instrument_.stop() || !echosounder_.stop()) {
            faults_.append(QStringLiteral("a simulator did not end cleanly"));
        }
        return faults_;
    }

private:
    QString path(const char* name) const { return work_.filePath(QLatin1String(name)); }
    template <typename T>
    T* find(const char* name) {
        return window_->findChild<T*>(QLatin1String(name));
    }
    void type(const char* box, const char* text) { find<QLineEdit>(box)->setText(text); }
    void click(const char* button) { find<QPushButton>(button)->click(); }

    // The window reading port 1 at 115200 baud, sending on port 2 every 100 ms and logging every
    // 0.1 s; lb_press shows line n as n/1000 dbar.
    bool open() {
        Services services;
        services.dialogs = &dialogs_;
        services.makePort = [](QObject* parent) -> SerialPort* {
            return new test_support::WatchedPort(parent);
        };
        services.clock = [this] { return kFirstDate.addSecs(++dated_); };
        window_ = std::make_unique<frm_main>(services);
        window_->show();
        new test_support::ReadingWatch(find<QLabel>("lb_press"), [this](const QString& text) {
            const auto dbar = number_text::parse(text);
            lastRead_ = dbar ? std::llround(*dbar * 1000) : -2;
            events_.push_back(lastRead_);
            lastEvent_.start();
        });
        type("Text3", "1");
        type("Text2", "115200,N,8,1");
        click("Command3");
        auto* input = find<test_support::WatchedPort>("Com_in");
        QObject::connect(input, &test_support::WatchedPort::openTried, [this](bool opened) {
            if (opened) {
                events_.push_back(kReopen);
                lastEvent_.start();
            }
        });
        type("Text5", "2");
        type("tx_timer", "100");
        click("Command4");
        auto* output = find<SerialPort>("com_out");
        QObject::connect(find<Timer>("Timer4"), &Timer::tick,
                         [this, output] { telegramsSent_ += output->isOpen() ? 1 : 0; });
        type("Text7", "0.1");
        click("Command6");
        dialogs_.chosenFiles.push_back(path("log.txt"));
        click("Command5");
        return input->isOpen() && output->isOpen() && window_->data_file == path("log.txt");
    }

    void soak() {
        followFlood();
        // Every telegram that left must arrive.
        click("Command7");
        runUntil([&] { return countTelegrams() >= telegramsSent_; }, 10s);
        print("telegrams sent / received", QStringLiteral("%1 / %2 (%3 malformed)")
                                               .arg(telegramsSent_)
                                               .arg(telegramsReceived_)
                                               .arg(telegramsMalformed_));
        if (telegramsSent_ == 0 || telegramsReceived_ != telegramsSent_ || telegramsMalformed_) {
            faults_.append(QStringLiteral("telegrams lost or malformed"));
        }
        // Closing writes the lines still in memory, so the file must then hold every sample.
        window_->close();
        const qint64 samples = find<QLabel>("lb_nnn")->text().section(u' ', -1).toLongLong();
        print("log lines expected", QString::number(samples));
        faults_ += test_support::judgeLog(
            QString::fromLocal8Bit(readFile(path("log.txt"))), samples,
            [](qint64 k) { return logDateTime(kFirstDate.addSecs(k)); }, QLocale());
    }

    void followFlood() {
        // What this program records of the window's doings is left out of its memory.
        const auto recorded = [this] { return qint64(events_.size() * sizeof(qint64)); };
        Memory at[3];
        qint64 recordedMiddle = 0;
        QTimer telegramCount;
        QObject::connect(&telegramCount, &QTimer::timeout, [this] { countTelegrams(); });
        telegramCount.start(1000);
        QTimer::singleShot(std::chrono::seconds(seconds_) / 2, &telegramCount, [&] {
            at[1] = Memory();
            recordedMiddle = recorded();
        });
        // The flood ends with "sent <count>" in the journal.
        const auto ended = [&] { return readFile(path("journal")).right(64).contains("sent "); };
        if (!runUntil(ended, std::chrono::seconds(seconds_) + kGrace)) {
            faults_.append(QStringLiteral("the simulated instrument did not finish"));
        }
        // Measured before the journal is read in, which is the driver's memory, not the window's.
        at[2] = Memory();
        const qint64 growth = at[2].resident - at[1].resident - (recorded() - recordedMiddle);
        if (kMemoryJudged && growth > kMemoryGrowthAllowed) {
            faults_.append(QStringLiteral("resident memory grew by %1 kB over the second half")
                               .arg(growth / 1024));
        }
        print("resident memory start / middle / end", mebibytes(at, &Memory::resident));
        print("heap in use start / middle / end", mebibytes(at, &Memory::heap));
        const auto journal = test_support::FloodJournal::parse(readFile(path("journal")));
        qint64 lastRecord = journal.sent.value_or(0) - 1;
        while (lastRecord >= 0 && !journal.isRecord(lastRecord)) {
            --lastRecord;
        }
        runUntil(
            [&] {
                return lastRead_ == lastRecord ||
                       (!events_.empty() && events_.back() == kReopen &&
                        std::chrono::milliseconds(lastEvent_.elapsed()) > kQuietAfterReopen);
            },
            kGrace);
        const auto flood = test_support::judgeFlood(journal, events_);
        print("lines sent", QString::number(journal.sent.value_or(0)));
        print("records read", QString::number(flood.read));
        print("records rejected (port reopened)", QString::number(flood.rejected));
        print("records dropped with a rejected one", QString::number(flood.discarded));
        faults_ += flood.faults;
    }

    // The echosounder prints the device path, then one line per telegram. Only a count is kept,
    // so that the transcript of a long run does not weigh on the memory measured.
    qint64 countTelegrams() {
        printed_ += echosounder_.takeOutput();
        for (qsizetype end = printed_.indexOf('\n'); end >= 0; end = printed_.indexOf('\n')) {
            telegramsReceived_ += pathPrinted_ ? 1 : 0;
            telegramsMalformed_ += pathPrinted_ && printed_.first(end).contains("MALFORMED");
            pathPrinted_ = true;
            printed_.remove(0, end + 1);
        }
        return telegramsReceived_;
    }

    int seconds_;
    QTemporaryDir work_;
    Simulator instrument_{
        1,
        {"--mode", "kestrane", "--rate", "11520", "--sequence", "--garbage-every", "97",
         "--noise-every", "61", "--long-every", "37", "--long-length", "700", "--duration",
         QString::number(seconds_), "--hold", "--journal", path("journal")}};
    Simulator echosounder_{2, {"--mode", "receiver"}};
    FakeDialogs dialogs_;
    qint64 dated_ = 0;
    std::unique_ptr<frm_main> window_;
    test_support::WindowEvents events_;
    qint64 lastRead_ = -2;
    QElapsedTimer lastEvent_;
    qint64 telegramsSent_ = 0;
    qint64 telegramsReceived_ = 0;
    qint64 telegramsMalformed_ = 0;
    QByteArray printed_;
    bool pathPrinted_ = false;
    QStringList faults_;
};

}  // namespace

int main(int argc, char** argv) {
    // A settings store of its own (port mapping, "IN", "OUT"), so the user's stays untouched.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int seconds = args.size() == 1                             ? 20
                        : args.size() == 3 && args[1] == "--seconds" ? args[2].toInt()
                                                                     : 0;
    if (seconds < 2) {
        std::cerr << "usage: sondrel_soak [--seconds N], N a whole number of at least 2\n";
        return 2;
    }
    std::cout << "Soak: " << seconds << " s of a flood at 11520 bytes/s\n";
    const QStringList faults = Soak(seconds).run();
    for (const QString& fault : faults) {
        std::cout << "FAULT: " << fault.toStdString() << '\n';
    }
    std::cout << (faults.isEmpty() ? "PASS" : "FAIL") << std::endl;
    return faults.isEmpty() ? 0 : 1;
}
