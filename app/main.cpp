#include <QApplication>
#include <QCommandLineParser>

#include "app/frm_main.h"
#include "platform/console.h"
#include "platform/end_requests.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_serial_port.h"

namespace {

// The options; process() prints the help or the version and ends the program when asked to.
void readCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Sondrel Converter: reads a CTD on one serial port, shows salinity and sound velocity, "
        "sends the sound velocity to an echosounder on another and logs the readings.\n"
        "Ports, telegram and log file are chosen in the window; the port texts are remembered "
        "in the settings file."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
}

// Text alone needs no display: asked for on a machine without one, it is printed all the same.
bool asksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" ||
            arg == "--version") {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    console::attachToParent();
    QCoreApplication::setOrganizationName(QStringLiteral("Sondrel"));
    QCoreApplication::setApplicationName(QStringLiteral("Sondrel"));
    QCoreApplication::setApplicationVersion(
        QStringLiteral(SONDREL_VERSION "\nLicence: GPL-3.0-or-later"));
    if (asksForTextOnly(argc, argv)) {
        const QCoreApplication app(argc, argv);
        readCommandLine(app);
    }
    QApplication app(argc, argv);
    readCommandLine(app);

    QtDialogs dialogs;
    Services services;
    services.dialogs = &dialogs;
    services.makePort = [](QObject* parent) -> SerialPort* { return new QtSerialPort(parent); };

    frm_main window(services);
    dialogs.setParent(&window);
    // Whoever ends the program from outside may not wait for an answer: open boxes are closed
    // and the window ends as if closed, without asking.
    const auto endUnattended = [&] {
        dialogs.dismissAll();
        window.endUnattended();
    };
    EndRequests endRequests;
    QObject::connect(&endRequests, &EndRequests::endRequested, &window, endUnattended);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, endUnattended);
    window.show();
    return QApplication::exec();
}
