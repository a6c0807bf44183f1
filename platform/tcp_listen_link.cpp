#include "platform/tcp_listen_link.h"

namespace {

constexpr int kResumeAcceptingMs = 1000;

QHostAddress listenAddress(const LinkAddress& address) {
    return address.host.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(address.host);
}

}  // namespace

TcpListenLink::TcpListenLink(const LinkAddress& address)
    : NetworkLink(address), strangers_(address.from, "connection", "refused", this) {
    // Only one connection is kept; the rest would wait unanswered in the system's queue.
    server_.setMaxPendingConnections(1);
    connect(&server_, &QTcpServer::newConnection, this, &TcpListenLink::accept);
    // After an error that does not pass at once (a peer that reset before it was taken, no file
    // handles left) Qt takes no more connections; the door would stay shut for good. Opened again
    // a second later, a lasting error costs one try a second, not a busy loop.
    connect(&server_, &QTcpServer::acceptError, this, [this] {
        QTimer::singleShot(kResumeAcceptingMs, &server_, [this] { server_.resumeAccepting(); });
    });
    connect(&strangers_, &LinkStrangers::counted, this, &NetworkLink::changed);
    connect(&silence_, &QTimer::timeout, this, [this] { lose(silence_.reason(peerName_)); });
}

PortResult TcpListenLink::open() {
    if (!server_.isListening() && !server_.listen(listenAddress(address()), address().port)) {
        return PortError{
            SerialPort::kDeviceFailure,
            QStringLiteral("cannot listen on %1: %2").arg(address().text(), server_.errorString())};
    }
    if (peer_) {
        return {};
    }
    return PortError{SerialPort::kAwaitingPeer,
                     QStringLiteral("no device server has connected to %1").arg(address().text())};
}

void TcpListenLink::close() {
    dropPeer();
    server_.close();
    strangers_.reset();
}

QByteArray TcpListenLink::readAll() {
    return peer_ ? peer_->readAll() : QByteArray();
}

PortResult TcpListenLink::write(const QByteArray& bytes) {
    if (!peer_) {
        return PortError{
            SerialPort::kLinkDown,
            QStringLiteral("no device server is connected to %1").arg(address().text())};
    }
    peer_->write(bytes);
    return {};
}

void TcpListenLink::setReadBufferSize(qint64 bytes) {
    readBuffer_ = bytes;
    if (peer_) {
        peer_->setReadBufferSize(bytes);
    }
}

void TcpListenLink::setSilenceLimit(int ms) {
    silence_.setInterval(ms);
}

ConnectionState TcpListenLink::state() const {
    ConnectionState state = peer_
                                ? ConnectionState::connected(
                                      QStringLiteral("%1 from %2").arg(address().text(), peerName_))
                                : ConnectionState::listening(address().text());
    state.note = strangers_.note();
    return state;
}

void TcpListenLink::accept() {
    while (QTcpSocket* incoming = server_.nextPendingConnection()) {
        if (strangers_.admit(incoming->peerAddress())) {
            take(incoming);
        } else {
            incoming->abort();
            incoming->deleteLater();
        }
    }
}

// The connection before is lost as if it had failed, so that a line it left half-received does
// not join the first bytes of the new one.
void TcpListenLink::take(QTcpSocket* peer) {
    const QString name = link_address::addressText(peer->peerAddress());
    if (peer_) {
        lose(QStringLiteral("a new connection from %1 replaced the one from %2")
                 .arg(name, peerName_));
    }
    peer_ = peer;
    peerName_ = name;
    prepare(*peer);
    peer->setReadBufferSize(readBuffer_);
    connect(peer, &QTcpSocket::readyRead, this, [this, peer] {
        if (peer == peer_) {
            silence_.heard();
            emit dataReceived();
        }
    });
    connect(peer, &QTcpSocket::errorOccurred, this, [this, peer] {
        if (peer == peer_) {
            lose(peer->error() == QAbstractSocket::RemoteHostClosedError
                     ? QStringLiteral("%1 closed the connection").arg(peerName_)
                     : QStringLiteral("%1: %2").arg(peerName_, peer->errorString()));
        }
    });
    silence_.heard();
    emit changed();
    if (peer->bytesAvailable() > 0) {
        emit dataReceived();
    }
}

void TcpListenLink::dropPeer() {
    silence_.stop();
    if (QTcpSocket* old = peer_) {
        peer_ = nullptr;
        old->abort();
        old->deleteLater();
    }
}

// The listener stays: the device server connects again to the same door.
void TcpListenLink::lose(const QString& reason) {
    dropPeer();
    emit failed(PortError{SerialPort::kLinkDown, reason});
}
