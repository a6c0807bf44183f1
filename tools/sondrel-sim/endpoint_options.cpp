#include "endpoint_options.h"

#include <iostream>

#include "host_port.h"
#include "serial_endpoint.h"
#include "tcp_client_endpoint.h"
#include "tcp_server_endpoint.h"
#include "udp_endpoint.h"

namespace endpoint_options {
namespace {

const QCommandLineOption kDevice("device",
                                 "Use this serial device instead of a new pseudo-terminal.",
                                 "path");
const QCommandLineOption kBaud("baud", "Baud rate of --device.", "rate", "19200");
const QCommandLineOption kLink("link", "Create a symbolic link at this path to the device to open.",
                               "path");
const QCommandLineOption kTcpListen(
    "tcp-listen",
    "Play a serial device server instead, listening on this TCP port on all addresses (0: a free "
    "one) for the program under test, which is given tcp://127.0.0.1:PORT. One connection at a "
    "time, a newer one closing the older; what is sent while none is there is lost.",
    "port");
const QCommandLineOption kTcp("tcp",
                              "Play a serial device server instead, connecting to the program "
                              "under test, which listens with tcp-listen://:PORT, at this "
                              "address: again every 200 ms while refused, and again once the "
                              "connection ends; what is sent while not connected is lost.",
                              "host:port");
const QCommandLineOption kUdp(
    "udp",
    "Use UDP datagrams instead. A mode that sends (an instrument) sends every write as one "
    "datagram to this address, where the program under test listens with udp://:PORT; it "
    "receives on a port of the system's choosing. A mode that receives (the receiver) takes the "
    "datagrams that arrive at this address (port 0: a free one) and sends nowhere.",
    "host:port");

// One option that names where to meet the program under test.
struct Way {
    const QCommandLineOption& option;
    // Only a path in the file system can be linked to.
    bool linkable;
    std::optional<Opener> (*read)(const QCommandLineParser& parser, Mode::Flow flow);
};

QString nameOf(const QCommandLineOption& option) {
    return QStringLiteral("--") + option.names().front();
}

// The serial endpoint `open` gives, linked to as --link asks.
Opener linked(const QCommandLineParser& parser,
              std::function<std::unique_ptr<SerialEndpoint>()> open) {
    const std::optional<QString> link =
        parser.isSet(kLink) ? std::optional(parser.value(kLink)) : std::nullopt;
    return [open, link]() -> std::unique_ptr<Endpoint> {
        std::unique_ptr<SerialEndpoint> endpoint = open();
        if (!endpoint || (link && !endpoint->linkAs(*link))) {
            return nullptr;
        }
        return endpoint;
    };
}

std::optional<HostPort> readHostPort(const QCommandLineParser& parser,
                                     const QCommandLineOption& option, int lowestPort) {
    const std::optional<HostPort> place = HostPort::parse(parser.value(option), lowestPort);
    if (!place) {
        std::cerr << "sondrel-sim: " << nameOf(option).toStdString()
                  << " needs HOST:PORT, a host with an address and a port from " << lowestPort
                  << " to 65535, not \"" << parser.value(option).toStdString() << "\"\n";
    }
    return place;
}

std::optional<Opener> device(const QCommandLineParser& parser, Mode::Flow) {
    bool ok = false;
    const int baud = parser.value(kBaud).toInt(&ok);
    return linked(parser, [path = parser.value(kDevice), baud = ok ? baud : 0] {
        return SerialEndpoint::openDevice(path, baud);
    });
}

std::optional<Opener> tcpListen(const QCommandLineParser& parser, Mode::Flow) {
    const std::optional<quint16> port = parsePort(parser.value(kTcpListen), 0);
    if (!port) {
        std::cerr << "sondrel-sim: --tcp-listen needs a port from 0 to 65535, not \""
                  << parser.value(kTcpListen).toStdString() << "\"\n";
        return std::nullopt;
    }
    return
        [port = *port]() -> std::unique_ptr<Endpoint> { return TcpServerEndpoint::listen(port); };
}

std::optional<Opener> tcp(const QCommandLineParser& parser, Mode::Flow) {
    const std::optional<HostPort> program = readHostPort(parser, kTcp, 1);
    if (!program) {
        return std::nullopt;
    }
    return [program = *program]() -> std::unique_ptr<Endpoint> {
        return std::make_unique<TcpClientEndpoint>(program);
    };
}

std::optional<Opener> udp(const QCommandLineParser& parser, Mode::Flow flow) {
    const bool receives = flow == Mode::Flow::Receives;
    const std::optional<HostPort> place = readHostPort(parser, kUdp, receives ? 0 : 1);
    if (!place) {
        return std::nullopt;
    }
    return [place = *place, receives]() -> std::unique_ptr<Endpoint> {
        if (receives) {
            return UdpEndpoint::bindTo(place);
        }
        return UdpEndpoint::sendTo(place);
    };
}

const Way kWays[] = {{kDevice, true, device},
                     {kTcpListen, false, tcpListen},
                     {kTcp, false, tcp},
                     {kUdp, false, udp}};

}  // namespace

void add(QCommandLineParser& parser) {
    parser.addOptions({kDevice, kBaud, kLink, kTcpListen, kTcp, kUdp});
}

std::optional<Opener> choose(const QCommandLineParser& parser, Mode::Flow flow) {
    const Way* chosen = nullptr;
    for (const Way& way : kWays) {
        if (!parser.isSet(way.option)) {
            continue;
        }
        if (chosen) {
            std::cerr << "sondrel-sim: " << nameOf(chosen->option).toStdString() << " and "
                      << nameOf(way.option).toStdString()
                      << " exclude each other: the simulator meets the program one way\n";
            return std::nullopt;
        }
        chosen = &way;
    }
    if (!chosen) {
        return linked(parser, [] { return SerialEndpoint::openPty(); });
    }
    if (!chosen->linkable && parser.isSet(kLink)) {
        std::cerr << "sondrel-sim: --link makes a path to a pseudo-terminal or a device; "
                  << nameOf(chosen->option).toStdString() << " has none\n";
        return std::nullopt;
    }
    return chosen->read(parser, flow);
}

}  // namespace endpoint_options
