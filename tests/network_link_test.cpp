#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <functional>
#include <memory>

#include "input/input_controller.h"
#include "platform/mapped_port.h"
#include "platform/port_connection.h"
#include "support/event_loop.h"
#include "support/loopback.h"
#include "support/pty.h"

namespace {

using namespace std::chrono_literals;
using test_support::runUntil;

constexpr int kPortNumber = 41;
using test_support::kStranger;
using test_support::kStrangerDatagramsApart;

quint16 freeTcpPort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost));
    return probe.serverPort();
}

quint16 freeUdpPort() {
    QUdpSocket probe;
    EXPECT_TRUE(probe.bind(QHostAddress::LocalHost, 0));
    return probe.localPort();
}

// A port number mapped to a link, opened with the program's own reopening, and everything it
// says and receives.
struct LinkUnderTest {
    explicit LinkUnderTest(const QString& mapping) {
        test_support::mapPort(kPortNumber, mapping);
        port.setObjectName(QStringLiteral("Com_in"));
        QObject::connect(&reopener, &PortReopener::stateChanged,
                         [this](const ConnectionState& s) { state = s; });
        QObject::connect(&port, &SerialPort::failed, [this](const PortError& error) {
            lost << error.reason;
            state = ConnectionState::reconnecting(error.reason);
            reopener.start();
        });
        QObject::connect(&port, &SerialPort::dataReceived, [this] { received += port.readAll(); });
    }
    ~LinkUnderTest() { test_support::mapPort(kPortNumber, QString()); }
    LinkUnderTest(const LinkUnderTest&) = delete;
    LinkUnderTest& operator=(const LinkUnderTest&) = delete;

    void start() {
        const PortReopener::Started started =
            reopener.connect(QString::number(kPortNumber), QStringLiteral("19200,N,8,1"),
                             WhenAbsent::Tell, [](const QString&) {});
        ASSERT_TRUE(started.result.ok()) << started.result.error().reason.toStdString();
        state = started.state;
    }
    bool says(const QString& text) const { return state.details() == text; }
    bool waitFor(const QString& text) {
        const bool seen = runUntil([&] { return says(text); }, 5s);
        EXPECT_TRUE(seen) << "wanted \"" << text.toStdString() << "\", saw \""
                          << state.details().toStdString() << '"';
        return seen;
    }

    MappedPort port;
    PortReopener reopener{&port, nullptr};
    ConnectionState state;
    QStringList lost;
    QByteArray received;
};

// The far end of a tcp:// link: a device server in TCP-server mode, keeping each connection.
struct DeviceServer {
    explicit DeviceServer(quint16 port) {
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost, port));
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* next = server.nextPendingConnection()) {
                connections.push_back(next);
            }
        });
    }
    QTcpSocket* last() { return connections.empty() ? nullptr : connections.back(); }

    QTcpServer server;
    std::vector<QTcpSocket*> connections;
};

// A device server in TCP-client mode, from the given source address.
std::unique_ptr<QTcpSocket> dialIn(quint16 port,
                                   const QHostAddress& from = QHostAddress::LocalHost) {
    auto socket = std::make_unique<QTcpSocket>();
    socket->bind(from);
    socket->connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(socket->waitForConnected(5000)) << socket->errorString().toStdString();
    return socket;
}

struct Behaviour {
    const char* name;
    std::function<void()> run;
};

const std::vector<Behaviour>& behaviours() {
    static const std::vector<Behaviour> table{
        {"a refused tcp:// link is tried again until the device server is up",
         [] {
             const quint16 p = freeTcpPort();
             LinkUnderTest link(QStringLiteral("tcp://127.0.0.1:%1").arg(p));
             link.start();
             const QString at = QStringLiteral("127.0.0.1:%1").arg(p);
             ASSERT_TRUE(link.waitFor("Reconnecting ... (" + at + " refused the connection)"));
             DeviceServer device(p);
             ASSERT_TRUE(link.waitFor("Connected: tcp://" + at));
             ASSERT_TRUE(runUntil([&] { return device.last() != nullptr; }, 5s));
             device.last()->write("12.5 35.1\r\n");
             EXPECT_TRUE(runUntil([&] { return link.received == "12.5 35.1\r\n"; }, 5s));
         }},
        {"a dropped tcp:// connection comes back by itself",
         [] {
             const quint16 p = freeTcpPort();
             DeviceServer device(p);
             LinkUnderTest link(QStringLiteral("tcp://localhost:%1").arg(p));
             link.start();
             ASSERT_TRUE(link.waitFor(QStringLiteral("Connected: tcp://localhost:%1").arg(p)));
             ASSERT_TRUE(runUntil([&] { return device.last() != nullptr; }, 5s));
             device.last()->close();
             ASSERT_TRUE(link.waitFor(
                 QStringLiteral("Reconnecting ... (localhost:%1 closed the connection)").arg(p)));
             ASSERT_TRUE(link.waitFor(QStringLiteral("Connected: tcp://localhost:%1").arg(p)));
             ASSERT_EQ(device.connections.size(), 2U);
             device.last()->write("after\n");
             EXPECT_TRUE(runUntil([&] { return link.received == "after\n"; }, 5s));
         }},
        {"a tcp:// link silent past its limit is closed and opened again",
         [] {
             const quint16 p = freeTcpPort();
             DeviceServer device(p);
             LinkUnderTest link(QStringLiteral("tcp://127.0.0.1:%1").arg(p));
             link.port.setSilenceLimit(300);
             link.start();
             ASSERT_TRUE(link.waitFor(QStringLiteral("Connected: tcp://127.0.0.1:%1").arg(p)));
             ASSERT_TRUE(link.waitFor(
                 QStringLiteral("Reconnecting ... (no data from tcp://127.0.0.1:%1 for 0.3 s)")
                     .arg(p)));
             EXPECT_TRUE(runUntil([&] { return device.connections.size() >= 2; }, 5s));
         }},
        {"a second device server replaces the first on a tcp-listen:// link",
         [] {
             const quint16 p = freeTcpPort();
             LinkUnderTest link(QStringLiteral("tcp-listen://:%1").arg(p));
             link.start();
             EXPECT_TRUE(link.says(QStringLiteral("Listening on tcp-listen://0.0.0.0:%1").arg(p)));
             const auto first = dialIn(p);
             ASSERT_TRUE(link.waitFor(
                 QStringLiteral("Connected: tcp-listen://0.0.0.0:%1 from 127.0.0.1").arg(p)));
             first->write("half a li");
             ASSERT_TRUE(runUntil([&] { return link.received == "half a li"; }, 5s));
             const auto second = dialIn(p);
             EXPECT_TRUE(
                 runUntil([&] { return first->state() == QAbstractSocket::UnconnectedState; }, 5s));
             // Told as a loss, the half line is dropped before the new connection's bytes.
             EXPECT_EQ(link.lost, QStringList{"a new connection from 127.0.0.1 replaced the one "
                                              "from 127.0.0.1"});
             ASSERT_TRUE(link.waitFor(
                 QStringLiteral("Connected: tcp-listen://0.0.0.0:%1 from 127.0.0.1").arg(p)));
             link.received.clear();
             second->write("from the second\n");
             EXPECT_TRUE(runUntil([&] { return link.received == "from the second\n"; }, 5s));
             EXPECT_TRUE(link.port.write("$SV1500.00\r\n").ok());
             EXPECT_TRUE(runUntil([&] { return second->bytesAvailable() == 12; }, 5s));
         }},
        {"from= keeps a stranger off a tcp-listen:// link",
         [] {
             const quint16 p = freeTcpPort();
             // On all addresses an IPv4 peer is seen as ::ffff:127.0.0.2, and still a stranger.
             LinkUnderTest link(QStringLiteral("tcp-listen://:%1?from=127.0.0.1").arg(p));
             link.start();
             const auto stranger = dialIn(p, kStranger);
             ASSERT_TRUE(link.waitFor(
                 QStringLiteral("Listening on tcp-listen://0.0.0.0:%1 (1 connection from "
                                "127.0.0.2 refused)")
                     .arg(p)));
             EXPECT_TRUE(runUntil(
                 [&] { return stranger->state() == QAbstractSocket::UnconnectedState; }, 5s));
             const auto device = dialIn(p);
             EXPECT_TRUE(link.waitFor(QStringLiteral("Connected: tcp-listen://0.0.0.0:%1 from "
                                                     "127.0.0.1 (1 connection from 127.0.0.2 "
                                                     "refused)")
                                          .arg(p)));
         }},
        {"an input stopped while its link waits shuts the door on a device server",
         [] {
             const quint16 p = freeTcpPort();
             test_support::mapPort(kPortNumber, QStringLiteral("tcp-listen://:%1").arg(p));
             InputController input([](QObject* parent) { return new MappedPort(parent); }, nullptr);
             ASSERT_TRUE(input
                             .start(*instruments::table().named("Kestrane"),
                                    QString::number(kPortNumber), "19200,N,8,1", WhenAbsent::Tell)
                             .ok());
             EXPECT_EQ(input.state().kind, ConnectionState::Kind::Listening);
             input.close();
             QTcpSocket device;
             device.connectToHost(QHostAddress::LocalHost, p);
             EXPECT_FALSE(device.waitForConnected(5000));
             EXPECT_EQ(device.error(), QAbstractSocket::ConnectionRefusedError);
             test_support::mapPort(kPortNumber, QString());
         }},
        {"every record of a datagram stream is read, and a stranger's are not",
         [] {
             const quint16 p = freeUdpPort();
             LinkUnderTest link(QStringLiteral("udp://:%1?from=127.0.0.1").arg(p));
             link.start();
             ASSERT_TRUE(link.says(QStringLiteral("Listening on udp://0.0.0.0:%1").arg(p)));
             EXPECT_TRUE(link.port.startsAtRecord());
             QUdpSocket device, stranger;
             ASSERT_TRUE(stranger.bind(kStranger, 0));
             QByteArray sent;
             for (int n = 0; n < 200; ++n) {
                 const QByteArray record = QByteArray::number(n) + " 12.5 35.1\r\n";
                 sent += record;
                 device.writeDatagram(record, QHostAddress::LocalHost, p);
                 if (kStrangerDatagramsApart && n % 50 == 0) {
                     stranger.writeDatagram("999 0 0\r\n", QHostAddress::LocalHost, p);
                 }
                 // The system's buffer holds a few hundred datagrams; the link takes them as
                 // they come.
                 QCoreApplication::processEvents();
             }
             EXPECT_TRUE(runUntil([&] { return link.received.size() >= sent.size(); }, 5s));
             EXPECT_EQ(link.received, sent);
             if (kStrangerDatagramsApart) {
                 EXPECT_TRUE(link.waitFor(
                     QStringLiteral("Listening on udp://0.0.0.0:%1 (4 datagrams from 127.0.0.2 "
                                    "ignored)")
                         .arg(p)));
             }
         }},
        {"a flood waits beyond the read buffer, and unread telegrams count as unsent",
         [] {
             const quint16 p = freeTcpPort();
             DeviceServer device(p);
             LinkUnderTest link(QStringLiteral("tcp://127.0.0.1:%1").arg(p));
             QObject::disconnect(&link.port, &SerialPort::dataReceived, nullptr, nullptr);
             link.port.setReadBufferSize(4096);
             link.start();
             ASSERT_TRUE(
                 runUntil([&] { return device.last() != nullptr && link.port.isOpen(); }, 5s));
             const QByteArray block(1 << 20, 'x');
             for (int n = 0; n < 16; ++n) {
                 device.last()->write(block);
                 test_support::runFor(20ms);
             }
             EXPECT_LE(link.port.readAll().size(), 4096);
             // A receiver that reads nothing: its system's buffer fills, then the link's.
             device.last()->setReadBufferSize(1);
             const QByteArray telegrams(16 << 20, 't');
             ASSERT_TRUE(link.port.write(telegrams).ok());
             test_support::runFor(100ms);
             EXPECT_GT(link.port.bytesWaitingToSend(), 0);
         }},
    };
    return table;
}

TEST(NetworkLink, BehavesAsADeviceServerNeeds) {
    for (const Behaviour& behaviour : behaviours()) {
        SCOPED_TRACE(behaviour.name);
        behaviour.run();
    }
}

}  // namespace
