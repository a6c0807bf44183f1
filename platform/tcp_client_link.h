#pragma once

#include <QElapsedTimer>
#include <QTcpSocket>

#include "platform/network_link.h"

// tcp://HOST:PORT: connects to a device server in TCP-server mode. Each open() while the link is
// down reports how the attempt before went and starts the next, looking the name up again, so a
// device server that changed its address or rebooted is found.
class TcpClientLink : public NetworkLink {
    Q_OBJECT
public:
    // An attempt that has had no answer for this long is given up: a device server without power
    // answers nothing, and the system would wait minutes.
    static constexpr int kAttemptMs = 5000;

    explicit TcpClientLink(const LinkAddress& address);

    bool isOpen() const override;
    bool isInUse() const override { return socket_.state() != QAbstractSocket::UnconnectedState; }
    PortResult open() override;
    void close() override;
    QByteArray readAll() override { return socket_.readAll(); }
    PortResult write(const QByteArray& bytes) override;
    qint64 bytesWaitingToSend() const override { return isOpen() ? unsent(socket_) : 0; }
    void setReadBufferSize(qint64 bytes) override;
    void setSilenceLimit(int ms) override;
    ConnectionState state() const override;

private:
    void onConnected();
    void onError(QAbstractSocket::SocketError error);
    void onReadyRead();
    void lose(const QString& reason);

    QTcpSocket socket_;
    QElapsedTimer attempt_;
    LinkSilence silence_;
    QString lastReason_;
    bool connected_ = false;
};
