#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>
#include <vector>

#include "app/frm_main.h"
#include "instrument_stream.h"
#include "platform/number_text.h"
#include "platform/mapped_port.h"
#include "support/event_loop.h"
#include "support/fake_dialogs.h"
#include "support/fake_port.h"
#include "support/process_stats.h"
#include "support/pty.h"
#include "support/reading_watch.h"

// sondrel_window_bench [--records N] [--idle-seconds S]
//
// Figures of the whole window, offscreen: records per second through its reader, the latency
// from the last byte of a record written into a pseudo-terminal to the updated fields, and the
// processor time of the idle window with its ports open and every timer running. Each figure is
// printed as "name<TAB>value<TAB>unit".
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kSeaSunPort = 1;
constexpr int kInstrumentPort = 2;
constexpr int kReceiverPort = 3;
// What one read of a fast port brings at a time.
constexpr qsizetype kPiece = 256;

void figure(const char* name, double value, const char* unit) {
    std::cout << name << '\t'
              << number_text::formatPattern(value, u"0.0", QLocale::c()).toStdString() << '\t'
              << unit << std::endl;
}

class Window {
public:
    explicit Window(std::function<SerialPort*(QObject*)> makePort) {
        Services services;
        services.dialogs = &dialogs;
        services.makePort = std::move(makePort);
        window = std::make_unique<frm_main>(services);
        window->show();
    }
    template <typename T>
    T* find(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }
    void type(const char* box, const QString& text) { find<QLineEdit>(box)->setText(text); }
    void click(const char* button) { find<QAbstractButton>(button)->click(); }

    FakeDialogs dialogs;
    std::unique_ptr<frm_main> window;
};

SerialPort* realPort(QObject* parent) {
    return new MappedPort(parent);
}

// Pieces of a stream handed to the reader as a port would, each followed by what the event loop
// does between two reads (painting the window among it).
void throughput(int records) {
    QStringList journal;
    Window w([&](QObject* parent) { return new FakePort(parent, &journal); });
    w.click("Command3");
    auto* port = static_cast<FakePort*>(w.find<SerialPort>("Com_in"));
    const QByteArray bytes = instrumentStream(records);
    QElapsedTimer clock;
    clock.start();
    for (qsizetype at = 0; at < bytes.size(); at += kPiece) {
        port->incoming = bytes.sliced(at, std::min(kPiece, bytes.size() - at));
        emit port->dataReceived();
        QCoreApplication::processEvents();
    }
    figure("window_records_per_second", records / (clock.nsecsElapsed() / 1e9), "records/s");
}

// One record at a time into a pseudo-terminal; the time runs from the return of the write that
// puts its last byte in to the moment lb_sound, the last thing a reading updates, changes.
bool latency(int records) {
    test_support::PtyDevice instrument(kInstrumentPort);
    Window w(realPort);
    w.type("Text3", QString::number(kInstrumentPort));
    w.click("Command3");
    QEventLoop loop;
    Clock::time_point shown;
    new test_support::ReadingWatch(w.find<QLabel>("lb_sound"), [&](const QString&) {
        shown = Clock::now();
        loop.quit();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (!instrument.pty().write("\r\n")) {
        return false;
    }
    constexpr int kWarmUp = 20;
    std::vector<double> micros;
    for (int k = 0; k < records + kWarmUp; ++k) {
        // Pressure steps of 5 dbar move the sound velocity by more than its last decimal.
        const QByteArray record =
            "0035.000\tMS/CM\t" +
            number_text::formatPattern(10 + 5 * k, u"00.000", QLocale::c()).toLatin1() +
            "\tDBAR\t10.000\tC\r\n";
        shown = {};
        if (!instrument.pty().write(record)) {
            return false;
        }
        const Clock::time_point written = Clock::now();
        guard.start(5s);
        loop.exec();
        if (shown < written) {
            std::cerr << "sondrel_window_bench: record " << k << " was not shown\n";
            return false;
        }
        if (k >= kWarmUp) {
            micros.push_back(std::chrono::duration<double, std::micro>(shown - written).count());
        }
    }
    std::sort(micros.begin(), micros.end());
    figure("latency_median", micros[micros.size() / 2], "us");
    figure("latency_p99", micros[micros.size() * 99 / 100], "us");
    figure("latency_max", micros.back(), "us");
    return true;
}

// Both instrument ports and the output open, the log sampling, the Sea & Sun poll, the send
// timer and the lamp timer running, and no data coming in.
bool idle(std::chrono::seconds duration) {
    test_support::PtyDevice seaSun(kSeaSunPort);
    test_support::PtyDevice instrument(kInstrumentPort);
    test_support::PtyDevice receiver(kReceiverPort);
    QTemporaryDir dir;
    Window w(realPort);
    w.click("op_sst");
    w.type("Text3", QString::number(kSeaSunPort));
    w.click("Command3");
    w.click("op_kestrane");
    w.type("Text3", QString::number(kInstrumentPort));
    w.type("Text2", QStringLiteral("19200,N,8,1"));
    w.click("Command3");
    w.type("Text5", QString::number(kReceiverPort));
    w.click("Command4");
    w.dialogs.chosenFiles.push_back(dir.filePath(QStringLiteral("log.txt")));
    w.click("Command5");
    for (const char* port : {"Com_SST", "Com_in", "com_out"}) {
        if (!w.find<SerialPort>(port)->isOpen()) {
            std::cerr << "sondrel_window_bench: " << port << " did not open\n";
            return false;
        }
    }
    test_support::runFor(2s);
    const auto cpuBefore = process_stats::cpuTime();
    QElapsedTimer clock;
    clock.start();
    test_support::runFor(duration);
    const double cpu = std::chrono::duration<double>(process_stats::cpuTime() - cpuBefore).count();
    figure("idle_cpu", 100 * cpu / (clock.nsecsElapsed() / 1e9), "% of one core");
    figure("idle_resident_memory", process_stats::residentBytes() / (1024.0 * 1024.0), "MiB");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Port numbers are mapped in a settings store of its own; the user's stays untouched.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption records("records", "Records for the latency.", "n", "1000");
    const QCommandLineOption idleSeconds("idle-seconds", "Length of the idle measurement.",
                                         "seconds", "30");
    parser.addOptions({records, idleSeconds});
    parser.addHelpOption();
    parser.process(app);
    bool recordsOk = false;
    bool secondsOk = false;
    const int count = parser.value(records).toInt(&recordsOk);
    const int seconds = parser.value(idleSeconds).toInt(&secondsOk);
    if (!recordsOk || count < 1 || !secondsOk || seconds < 1) {
        std::cerr << "sondrel_window_bench: --records and --idle-seconds need whole numbers of at "
                     "least 1\n";
        return 2;
    }
    throughput(100'000);
    return latency(count) && idle(std::chrono::seconds(seconds)) ? 0 : 1;
}
