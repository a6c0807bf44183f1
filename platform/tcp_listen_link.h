#pragma once

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include "platform/link_strangers.h"
#include "platform/network_link.h"

// tcp-listen://[ADDRESS]:PORT: waits for a device server in TCP-client mode. It keeps one
// connection: a new one from an accepted peer replaces the one before, since a device server that
// rebooted leaves its old connection half open. The link is open while a peer is connected.
class TcpListenLink : public NetworkLink {
    Q_OBJECT
public:
    explicit TcpListenLink(const LinkAddress& address);

    bool isOpen() const override { return !peer_.isNull(); }
    bool isInUse() const override { return server_.isListening(); }
    PortResult open() override;
    void close() override;
    QByteArray readAll() override;
    PortResult write(const QByteArray& bytes) override;
    qint64 bytesWaitingToSend() const override { return peer_ ? unsent(*peer_) : 0; }
    void setReadBufferSize(qint64 bytes) override;
    void setSilenceLimit(int ms) override;
    ConnectionState state() const override;

private:
    void accept();
    void take(QTcpSocket* peer);
    void dropPeer();
    void lose(const QString& reason);

    QTcpServer server_;
    QPointer<QTcpSocket> peer_;
    QString peerName_;
    LinkStrangers strangers_;
    LinkSilence silence_;
    qint64 readBuffer_ = 0;
};
