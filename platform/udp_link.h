#pragma once

#include <QUdpSocket>

#include "platform/link_strangers.h"
#include "platform/network_link.h"

// udp://[ADDRESS]:PORT: takes the datagrams that a device server sends to this port, unicast or
// broadcast, or to the multicast group that ADDRESS names. Datagrams carry no connection, so the
// link is open as soon as it listens, and its bytes begin at a record.
class UdpLink : public NetworkLink {
    Q_OBJECT
public:
    explicit UdpLink(const LinkAddress& address);

    bool isOpen() const override;
    PortResult open() override;
    void close() override;
    QByteArray readAll() override;
    PortResult write(const QByteArray& bytes) override;
    qint64 bytesWaitingToSend() const override { return 0; }
    void setReadBufferSize(qint64 bytes) override { readBuffer_ = bytes; }
    ConnectionState state() const override;
    bool startsAtRecord() const override { return true; }

private:
    void receive();

    QUdpSocket socket_;
    LinkStrangers strangers_;
    QByteArray received_;
    qint64 readBuffer_ = 0;
};
