#include <QCoreApplication>
#include <QFile>
#include <array>
#include <iostream>

#include "ascii_mode.h"
#include "endpoint.h"
#include "kestrane_mode.h"
#include "receiver_mode.h"
#include "run_control.h"
#include "seasun_mode.h"

// sondrel-sim --mode kestrane [--link PATH] [--device PATH --baud N] [mode options]
//
// Opens a new pseudo-terminal (or the given device), prints the path for the program under
// test to open, optionally links it to a stable path that a settings store can map a port
// number to, and plays the chosen far end until stopped with SIGTERM or SIGINT.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sondrel-sim"));
    const std::array modes{kestraneMode(), asciiMode(), seaSunMode(), receiverMode()};

    QStringList modeNames;
    for (const Mode& m : modes) {
        modeNames.append(QLatin1String(m.name));
    }
    const QCommandLineOption modeOption(
        "mode",
        QStringLiteral("The far end to play: %1.").arg(modeNames.join(QStringLiteral(", "))),
        "mode", "kestrane");
    const QCommandLineOption deviceOption(
        "device", "Use this serial device instead of a new pseudo-terminal.", "path");
    const QCommandLineOption baudOption("baud", "Baud rate of --device.", "rate", "19200");
    const QCommandLineOption linkOption(
        "link", "Create a symbolic link at this path to the device to open.", "path");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A simulated instrument for Sondrel Converter."));
    parser.addOptions({modeOption, deviceOption, baudOption, linkOption});

    // The mode decides which further options exist, so it is read first on its own.
    parser.parse(QCoreApplication::arguments());
    const QString modeName = parser.value(modeOption);
    const auto mode = std::find_if(modes.begin(), modes.end(), [&](const Mode& m) {
        return modeName == QLatin1String(m.name);
    });
    if (mode == modes.end()) {
        std::cerr << "sondrel-sim: unknown mode " << modeName.toStdString()
                  << "; modes: " << modeNames.join(QStringLiteral(", ")).toStdString() << '\n';
        return 2;
    }
    mode->addOptions(parser);
    parser.addHelpOption();
    parser.process(app);

    run_control::installStopHandlers();
    std::unique_ptr<Endpoint> endpoint;
    if (parser.isSet(deviceOption)) {
        bool ok = false;
        const int baud = parser.value(baudOption).toInt(&ok);
        endpoint = Endpoint::openDevice(parser.value(deviceOption), ok ? baud : 0);
    } else {
        endpoint = Endpoint::openPty();
    }
    if (!endpoint || (parser.isSet(linkOption) && !endpoint->linkAs(parser.value(linkOption)))) {
        return 1;
    }
    std::cout << QFile::encodeName(endpoint->path()).constData() << std::endl;
    std::cerr << "sondrel-sim: " << mode->description << " on "
              << QFile::encodeName(endpoint->path()).constData() << '\n';
    return mode->run(parser, *endpoint);
}
