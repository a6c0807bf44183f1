#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "app/frm_main.h"
#include "app/headless.h"
#include "app/run_settings.h"
#include "platform/console.h"
#include "platform/end_requests.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_serial_port.h"
#include "platform/settings_store.h"

namespace {

// A settings file that cannot be used; nothing runs half-configured, and a service manager need
// not start it again until the file is mended.
constexpr int kRefusedSettings = 2;
// A log file that cannot be made ready, as on a disk not yet mounted: worth another start.
constexpr int kLogNotReady = 1;

struct CommandLine {
    bool headless = false;
    QString settings;
};

// The options; process() prints the help or the version and ends the program when asked to.
CommandLine readCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Sondrel Converter: reads a CTD on one serial port, shows salinity and sound velocity, "
        "sends the sound velocity to an echosounder on another and logs the readings.\n"
        "Ports, telegram and log file are chosen in the window; the port texts are remembered "
        "in the settings file.\n"
        "With --headless no window opens: the program runs what section [Run] of the settings "
        "file says (Instrument, Input, Output, Telegram, SendInterval, LogFile, "
        "SampleInterval), with the ports of [COM_Port] and the options of [Options], and writes "
        "every change of a connection's status to standard error. SIGTERM, SIGINT and SIGHUP "
        "end it with every logged line written. A settings file it cannot use ends it with exit "
        "status 2."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("Run without a window, as the settings file says, for a logging server."));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Read and write this INI file instead of the per-user settings."),
        QStringLiteral("file"));
    parser.addOption(headless);
    parser.addOption(settings);
    parser.process(app);
    return {parser.isSet(headless), parser.value(settings)};
}

// Text alone, and a run without a window, need no display.
bool needsNoDisplay(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" ||
            arg == "--version" || arg == "--headless") {
            return true;
        }
    }
    return false;
}

void refuse(const QString& message) {
    std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
}

// Whoever ends the program from outside may not wait for an answer.
template <typename End>
void endOnRequest(QObject* receiver, End end) {
    auto* requests = new EndRequests(receiver);
    QObject::connect(requests, &EndRequests::endRequested, receiver, end);
}

int runHeadless() {
    const QString file = QDir::toNativeSeparators(settings_store::location());
    if (!QFileInfo(settings_store::location()).isFile()) {
        refuse(QStringLiteral("%1: there is no such settings file.").arg(file));
        return kRefusedSettings;
    }
    const ReadRunSettings run = readRunSettings();
    const QStringList problems = settings_store::problems() + run.problems;
    if (!problems.isEmpty()) {
        refuse(
            QStringLiteral("%1: %2").arg(file, problems.join(QStringLiteral("\n%1: ").arg(file))));
        return kRefusedSettings;
    }
    Services services;
    services.makePort = [](QObject* parent) -> SerialPort* { return new QtSerialPort(parent); };
    Headless headless(services, settings_store::options());
    endOnRequest(&headless, [&headless] { headless.end(); });
    if (!headless.start(run.run)) {
        return kLogNotReady;
    }
    return QCoreApplication::exec();
}

int runWindow() {
    QtDialogs dialogs;
    Services services;
    services.dialogs = &dialogs;
    services.makePort = [](QObject* parent) -> SerialPort* { return new QtSerialPort(parent); };

    frm_main window(services);
    dialogs.setParent(&window);
    // Open boxes are closed and the window ends as if closed, without asking.
    const auto endUnattended = [&] {
        dialogs.dismissAll();
        window.endUnattended();
    };
    endOnRequest(&window, endUnattended);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window, endUnattended);
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    console::attachToParent();
    QCoreApplication::setOrganizationName(QStringLiteral("Sondrel"));
    QCoreApplication::setApplicationName(QStringLiteral("Sondrel"));
    QCoreApplication::setApplicationVersion(
        QStringLiteral(SONDREL_VERSION "\nLicence: GPL-3.0-or-later"));
    if (needsNoDisplay(argc, argv)) {
        const QCoreApplication app(argc, argv);
        const CommandLine line = readCommandLine(app);
        if (!line.settings.isEmpty()) {
            settings_store::useFile(line.settings);
        }
        return runHeadless();
    }
    QApplication app(argc, argv);
    const CommandLine line = readCommandLine(app);
    if (!line.settings.isEmpty()) {
        settings_store::useFile(line.settings);
    }
    return runWindow();
}
