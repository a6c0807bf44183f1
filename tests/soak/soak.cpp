#include <QApplication>
#include <QCommandLineParser>
#include <QTemporaryDir>
#include <iostream>

#include "platform/number_text.h"
#include "soak_run.h"

// sondrel_soak [--seconds N]
//
// Runs the window through a flood of instrument lines for N seconds and reports what it read,
// rejected, sent and logged and how much memory it held; exits with 1 when a record was missed,
// a log line lost or repeated, a telegram lost, or memory kept growing.
namespace {

QString mebibytes(qint64 bytes) {
    return number_text::formatPattern(static_cast<double>(bytes) / (1024 * 1024), u"0.0",
                                      QLocale::c());
}

void print(const char* what, const QString& value) {
    std::cout << "  " << QString::fromLatin1(what).leftJustified(38).toStdString()
              << value.toStdString() << '\n';
}

void print(const SoakPlan& plan, const SoakReport& r) {
    std::cout << "Soak: " << plan.duration.count() << " s of a flood at " << plan.bytesPerSecond
              << " bytes/s; one line in " << plan.garbageEvery << " garbage, one in "
              << plan.noiseEvery << " binary noise, one in " << plan.longEvery << " a "
              << plan.longLength << "-byte record\n";
    const auto n = [](qint64 value) { return QString::number(value); };
    print("lines sent", n(r.linesSent));
    print("records sent", n(r.recordsSent) + " (" + n(r.longSent) + " over-long)");
    print("bad lines sent", n(r.garbageSent + r.noiseSent) + " (" + n(r.garbageSent) +
                                " garbage, " + n(r.noiseSent) + " binary noise)");
    print("records read", n(r.flood.read) + " (" + n(r.flood.longRead) + " over-long)");
    print("records rejected (port reopened)", n(r.flood.rejected));
    print("records dropped with a rejected one",
          n(r.flood.discarded) + " (widest stretch " + n(r.flood.widestDiscard) + " lines)");
    print("lines sent before the port opened", n(r.flood.beforeFirstRead));
    print("telegrams sent / received", n(r.telegramsSent) + " / " + n(r.telegramsReceived) + " (" +
                                           n(r.telegramsMalformed) + " malformed)");
    print("log lines written / expected", n(r.log.lines) + " / " + n(r.samples));
    print("resident memory start / middle / end",
          mebibytes(r.residentStart) + " / " + mebibytes(r.residentMiddle) + " / " +
              mebibytes(r.residentEnd) + " MiB" +
              (r.memoryJudged ? "" : " (growth not judged under AddressSanitizer)"));
    print("heap in use start / middle / end", mebibytes(r.heapStart) + " / " +
                                                  mebibytes(r.heapMiddle) + " / " +
                                                  mebibytes(r.heapEnd) + " MiB");
    for (const QString& fault : r.faults) {
        std::cout << "FAULT: " << fault.toStdString() << '\n';
    }
    std::cout << (r.faults.isEmpty() ? "PASS" : "FAIL") << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    // The settings store (port mapping, "IN", "OUT") lives in a directory of its own, so the
    // user's settings stay untouched.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs the window through a flood of instrument lines and checks that no "
                       "record, log line or telegram is lost and that memory does not grow."));
    const QCommandLineOption seconds("seconds", "Length of the flood.", "seconds", "20");
    parser.addOption(seconds);
    parser.addHelpOption();
    parser.process(app);
    bool ok = false;
    SoakPlan plan;
    plan.duration = std::chrono::seconds(parser.value(seconds).toInt(&ok));
    if (!ok || plan.duration.count() < 2) {
        std::cerr << "sondrel_soak: --seconds needs a whole number of at least 2\n";
        return 2;
    }
    const SoakReport report = runSoak(plan);
    print(plan, report);
    return report.faults.isEmpty() ? 0 : 1;
}
