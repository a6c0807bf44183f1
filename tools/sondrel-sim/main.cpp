#include <QCoreApplication>
#include <QFile>
#include <array>
#include <iostream>

#include "ascii_mode.h"
#include "endpoint_options.h"
#include "kestrane_mode.h"
#include "receiver_mode.h"
#include "run_control.h"
#include "seasun_mode.h"

// sondrel-sim --mode kestrane [--link PATH] [--device PATH --baud N | --tcp-listen PORT |
//             --tcp HOST:PORT | --udp HOST:PORT] [mode options]
//
// Opens a new pseudo-terminal (or the given device, or a network port as a serial device server
// would), prints what the program under test is to open, optionally links a pseudo-terminal or
// device to a stable path that a settings store can map a port number to, and plays the chosen
// far end until stopped with SIGTERM or SIGINT.
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
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A simulated instrument for Sondrel Converter."));
    parser.addOption(modeOption);
    endpoint_options::add(parser);

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

    const std::optional<endpoint_options::Opener> open =
        endpoint_options::choose(parser, mode->flow);
    if (!open) {
        return 2;
    }
    run_control::installStopHandlers();
    const std::unique_ptr<Endpoint> endpoint = (*open)();
    if (!endpoint) {
        return 1;
    }
    std::cout << QFile::encodeName(endpoint->path()).constData() << std::endl;
    std::cerr << "sondrel-sim: " << mode->description << " on "
              << QFile::encodeName(endpoint->where()).constData() << '\n';
    return mode->run(parser, *endpoint);
}
