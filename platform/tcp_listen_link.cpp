#include "platform/tcp_listen_link.h"

namespace {

QHostAddress listenAddress(const LinkAddress& address) {
    return address.host.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(address.host);
}

}  // namespace

TcpListenLink::TcpListenLink(const LinkAddress& address)
    : NetworkLink(address), strangers_(address.from, "connection", "refused", this) {
    // Only one connection is kept; the rest would wait unanswered in the system's queue.
    server_.setMaxPendingConnections(1);
    silence_.setSingleShot(true);
    connect(&server_, &QTcpServer::newConnection, this, &TcpListenLink::accept);
    connect(&strangers_, &LinkStrangers::counted, this, &NetworkLink::changed);
    connect(&silence_, &QTimer::timeout, this, [this] {
        lose(QStringLiteral("no data from %1 for %2 s")
                 .arg(peerName_)
                 .arg(silence_.interval() / 1000.0));
    });
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

void TcpListenLink::take(QTcpSocket* peer) {
    dropPeer();
    peer_ = peer;
    peerName_ = link_address::addressText(peer->peerAddress());
    prepare(*peer, readBuffer_);
    connect(peer, &QTcpSocket::readyRead, this, [this, peer] {
        if (peer == peer_) {
            if (silence_.interval() > 0) {
                silence_.start();
            }
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
    if (silence_.interval() > 0) {
        silence_.start();
    }
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
