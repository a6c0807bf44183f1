#include <gtest/gtest.h>

#include <QNetworkDatagram>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <functional>
#include <memory>
#include <utility>

#include "support/event_loop.h"
#include "support/headless_program.h"
#include "support/loopback.h"

namespace {

using namespace std::chrono_literals;
using test_support::kRecordA;
using test_support::kStrangerDatagramsApart;
using test_support::kTelegramA;
using test_support::startHeadless;
using test_support::writeFile;

// The far end of a network link as a device server plays it: it serves (the program connects
// with tcp://), dials in (the program listens with tcp-listen://) or sends datagrams (udp://).
class DeviceServer {
public:
    // Simulated: sondrel-sim plays a Kestrane behind a device server in TCP-server mode, a
    // garbage line among every five, and sends by itself.
    enum class Mode { Serves, DialsIn, SendsDatagrams, Simulated };

    explicit DeviceServer(Mode mode) : mode_(mode) {
        QTcpServer probe;
        EXPECT_TRUE(probe.listen(QHostAddress::LocalHost));
        port_ = probe.serverPort();
        probe.close();
        if (mode_ == Mode::Serves) {
            EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, port_));
        } else if (mode_ == Mode::Simulated) {
            simulator_.start(QStringLiteral(SONDREL_TOOLS_DIR "/sondrel-sim/sondrel-sim"),
                             {"--mode", "kestrane", "--tcp-listen", "0", "--conductivity", "42.914",
                              "--pressure", "0", "--temperature", "15", "--interval", "50",
                              "--garbage-every", "5"});
            EXPECT_TRUE(test_support::runUntil([&] { return simulator_.canReadLine(); }, 20s));
            simulated_ = QString::fromLatin1(simulator_.readLine().trimmed());
        }
    }
    ~DeviceServer() {
        simulator_.terminate();
        simulator_.waitForFinished();
    }
    DeviceServer(const DeviceServer&) = delete;
    DeviceServer& operator=(const DeviceServer&) = delete;

    QString mapping() const {
        if (mode_ == Mode::Simulated) {
            return simulated_;
        }
        static constexpr const char* kForms[] = {"tcp://127.0.0.1:%1", "tcp-listen://:%1",
                                                 "udp://:%1?from=127.0.0.1"};
        return QString::fromLatin1(kForms[static_cast<int>(mode_)]).arg(port_);
    }
    void write(const QByteArray& bytes) {
        if (mode_ == Mode::Simulated) {
            return;
        }
        if (mode_ == Mode::SendsDatagrams) {
            QUdpSocket().writeDatagram(bytes, QHostAddress::LocalHost, port_);
            if (!kStrangerDatagramsApart) {
                return;
            }
            // A stranger's false record, which would steer the echosounder if it were read.
            QUdpSocket stranger;
            EXPECT_TRUE(stranger.bind(test_support::kStranger));
            stranger.writeDatagram("0099.000\tMS/CM\t000.000\tDBAR\t30.000\tC\r\n",
                                   QHostAddress::LocalHost, port_);
            return;
        }
        QTcpSocket* line = nullptr;
        ASSERT_TRUE(test_support::runUntil([&] { return (line = connection()) != nullptr; }, 20s));
        line->write(bytes);
    }
    // Waits until `done` holds for what came, which it returns.
    QByteArray readUntil(const std::function<bool(const QByteArray&)>& done) {
        test_support::runUntil(
            [&] {
                if (QTcpSocket* line = connection()) {
                    received_ += line->readAll();
                }
                return done(received_);
            },
            20s);
        return received_;
    }

private:
    // The connection, once there: a listening program may not listen yet when asked first.
    QTcpSocket* connection() {
        if (mode_ == Mode::Serves && !line_ &&
            (server_.hasPendingConnections() || server_.waitForNewConnection(100))) {
            line_.reset(server_.nextPendingConnection());
        } else if (mode_ == Mode::DialsIn &&
                   (!line_ || line_->state() != QAbstractSocket::ConnectedState)) {
            line_ = std::make_unique<QTcpSocket>();
            line_->connectToHost(QHostAddress::LocalHost, port_);
            if (!line_->waitForConnected(1000)) {
                line_.reset();
            }
        }
        return line_.get();
    }

    Mode mode_;
    quint16 port_ = 0;
    QTcpServer server_;
    std::unique_ptr<QTcpSocket> line_;
    QByteArray received_;
    QProcess simulator_;
    QString simulated_;
};

// An instrument and an echosounder behind device servers, in each of the ways a device server
// offers a line: the program reads every record, the first of a datagram stream included, and
// sends exact telegrams, over the link and by UDP.
TEST(HeadlessNetwork, ReadsAndSendsThroughDeviceServers) {
    using Mode = DeviceServer::Mode;
    for (const auto& [input, output] : {std::pair{Mode::Serves, Mode::DialsIn},
                                        {Mode::DialsIn, Mode::Serves},
                                        {Mode::SendsDatagrams, Mode::DialsIn},
                                        {Mode::Simulated, Mode::DialsIn}}) {
        DeviceServer instrument(input);
        DeviceServer echosounder(output);
        SCOPED_TRACE(instrument.mapping().toStdString() + " to " +
                     echosounder.mapping().toStdString());
        QUdpSocket network;
        ASSERT_TRUE(network.bind(QHostAddress::LocalHost));
        const QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("Sondrel.conf"));
        ASSERT_TRUE(writeFile(
            settings,
            QStringLiteral("[COM_Port]\nIN=\"41:19200,N,8,1\"\n"
                           "OUT=\"42:4800,N,8,1\"\n[Ports]\nCOM41=%1\n"
                           "COM42=%2\n[Options]\nUdpTarget=127.0.0.1:%3\nUdpSending=true\n"
                           "[Run]\nInput=true\nOutput=true\n"
                           "Telegram=SVP 20\nSendInterval=100\n")
                .arg(instrument.mapping(), echosounder.mapping())
                .arg(network.localPort())
                .toUtf8()));
        QProcess program;
        startHeadless(program, settings);
        QByteArray errors;
        const auto told = [&](const QString& text) {
            return test_support::runUntil(
                [&] { return (errors += program.readAllStandardError()).contains(text.toUtf8()); },
                20s);
        };
        static constexpr const char* kReady[] = {
            "Connected: tcp://127.0.0.1:", "Listening on tcp-listen://0.0.0.0:",
            "Listening on udp://0.0.0.0:", "Connected: tcp://127.0.0.1:"};
        ASSERT_TRUE(
            told(QStringLiteral("input: ") + QLatin1String(kReady[static_cast<int>(input)])))
            << errors.constData();
        // A datagram stream begins at a record; a connection is cut into wherever it joins. A
        // bad record drops what was received, but never the connection.
        const bool byDatagram = input == Mode::SendsDatagrams;
        instrument.write(QByteArray(byDatagram ? "" : "C\r\n") + "0042.914\tMS/CM\r\n");
        ASSERT_TRUE(told(QStringLiteral("input: 1 record rejected"))) << errors.constData();
        instrument.write(QByteArray(byDatagram ? "" : "\r\n") + kRecordA);
        const QByteArray sent = echosounder.readUntil(
            [](const QByteArray& bytes) { return bytes.count(kTelegramA) >= 3; });
        EXPECT_EQ(sent,
                  QByteArray(kTelegramA).repeated(sent.size() / qsizetype(sizeof kTelegramA - 1)));
        EXPECT_GE(sent.count(kTelegramA), 3) << errors.constData();
        QList<QByteArray> datagrams;
        while (network.hasPendingDatagrams()) {
            datagrams << network.receiveDatagram().data();
        }
        EXPECT_FALSE(datagrams.isEmpty());
        EXPECT_EQ(datagrams, QList<QByteArray>(datagrams.size(), kTelegramA));
        EXPECT_TRUE(test_support::endedCleanly(program)) << errors.constData();
        // The stranger is told once, however often turned away.
        errors += program.readAllStandardError();
        EXPECT_EQ(errors.count("from 127.0.0.2 ignored"),
                  byDatagram && kStrangerDatagramsApart ? 1 : 0)
            << errors.constData();
    }
}

}  // namespace
