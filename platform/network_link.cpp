#include "platform/network_link.h"

#include <QAbstractSocket>

#include "platform/tcp_client_link.h"
#include "platform/tcp_listen_link.h"
#include "platform/udp_link.h"

#ifndef Q_OS_WIN
#include <sys/ioctl.h>
#endif

std::unique_ptr<NetworkLink> NetworkLink::make(const LinkAddress& address) {
    switch (address.kind) {
        case LinkAddress::Kind::Tcp:
            return std::make_unique<TcpClientLink>(address);
        case LinkAddress::Kind::TcpListen:
            return std::make_unique<TcpListenLink>(address);
        case LinkAddress::Kind::Udp:
            break;
    }
    return std::make_unique<UdpLink>(address);
}

void NetworkLink::prepare(QAbstractSocket& socket) {
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

// What the system still queues counts too: a far end that reads nothing fills it first.
qint64 NetworkLink::unsent(const QAbstractSocket& socket) {
    qint64 waiting = socket.bytesToWrite();
#ifndef Q_OS_WIN
    int queued = 0;
    if (::ioctl(static_cast<int>(socket.socketDescriptor()), TIOCOUTQ, &queued) == 0) {
        waiting += queued;
    }
#endif
    return waiting;
}
