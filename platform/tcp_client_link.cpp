#include "platform/tcp_client_link.h"

TcpClientLink::TcpClientLink(const LinkAddress& address) : NetworkLink(address) {
    connect(&socket_, &QTcpSocket::connected, this, &TcpClientLink::onConnected);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &TcpClientLink::onError);
    connect(&socket_, &QTcpSocket::readyRead, this, &TcpClientLink::onReadyRead);
    connect(&silence_, &QTimer::timeout, this,
            [this] { lose(silence_.reason(this->address().text())); });
}

bool TcpClientLink::isOpen() const {
    return connected_;
}

PortResult TcpClientLink::open() {
    if (connected_) {
        return {};
    }
    const bool trying = socket_.state() != QAbstractSocket::UnconnectedState;
    if (trying && attempt_.elapsed() >= kAttemptMs) {
        socket_.abort();
        lastReason_ = QStringLiteral("%1 does not answer").arg(address().hostPort());
    }
    if (socket_.state() == QAbstractSocket::UnconnectedState) {
        attempt_.start();
        socket_.connectToHost(address().host, address().port);
    }
    return PortError{SerialPort::kLinkDown,
                     lastReason_.isEmpty()
                         ? QStringLiteral("connecting to %1").arg(address().hostPort())
                         : lastReason_};
}

void TcpClientLink::close() {
    connected_ = false;
    silence_.stop();
    socket_.abort();
    lastReason_.clear();
}

PortResult TcpClientLink::write(const QByteArray& bytes) {
    if (!connected_) {
        return PortError{SerialPort::kLinkDown,
                         QStringLiteral("%1 is not connected").arg(address().text())};
    }
    socket_.write(bytes);
    return {};
}

void TcpClientLink::setReadBufferSize(qint64 bytes) {
    socket_.setReadBufferSize(bytes);
}

void TcpClientLink::setSilenceLimit(int ms) {
    silence_.setInterval(ms);
}

ConnectionState TcpClientLink::state() const {
    return ConnectionState::connected(address().text());
}

void TcpClientLink::onConnected() {
    prepare(socket_);
    connected_ = true;
    lastReason_.clear();
    silence_.heard();
    emit changed();
}

// While the link is down the reason waits for the next open(); once up, the far end has gone.
void TcpClientLink::onError(QAbstractSocket::SocketError error) {
    QString reason;
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            reason = QStringLiteral("%1 refused the connection").arg(address().hostPort());
            break;
        case QAbstractSocket::RemoteHostClosedError:
            reason = QStringLiteral("%1 closed the connection").arg(address().hostPort());
            break;
        case QAbstractSocket::HostNotFoundError:
            reason = QStringLiteral("no host is named %1").arg(address().host);
            break;
        default:
            reason = QStringLiteral("%1: %2").arg(address().hostPort(), socket_.errorString());
            break;
    }
    if (connected_) {
        lose(reason);
    } else {
        lastReason_ = reason;
        socket_.abort();
    }
}

void TcpClientLink::onReadyRead() {
    silence_.heard();
    emit dataReceived();
}

void TcpClientLink::lose(const QString& reason) {
    connected_ = false;
    silence_.stop();
    socket_.abort();
    lastReason_ = reason;
    emit failed(PortError{SerialPort::kLinkDown, reason});
}
