#include <QApplication>
#include <QCommandLineParser>

#include "app/frm_main.h"
#include "app/headless.h"
#include "platform/console.h"
#include "platform/end_requests.h"
#include "platform/qt_dialogs.h"
#include "platform/mapped_port.h"
#include "platform/settings_store.h"

namespace {

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

int runWindow() {
    QtDialogs dialogs;
    Services services;
    services.dialogs = &dialogs;
    services.makePort = [](QObject* parent) -> SerialPort* { return new MappedPort(parent); };

    frm_main window(services);
    dialogs.setParent(&window);
    // Open boxes are closed and the window ends as if closed, without asking.
    const auto endUnattended = [&] {
        dialogs.dismissAll();
        window.endUnattended();
    };
    QObject::connect(new EndRequests(&window), &EndRequests::endRequested, &window, endUnattended);
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
