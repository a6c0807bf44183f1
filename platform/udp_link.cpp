#include "platform/udp_link.h"

#include <QNetworkDatagram>
#include <utility>

UdpLink::UdpLink(const LinkAddress& address)
    : NetworkLink(address), strangers_(address.from, "datagram", "ignored", this) {
    connect(&socket_, &QUdpSocket::readyRead, this, &UdpLink::receive);
    connect(&strangers_, &LinkStrangers::counted, this, &NetworkLink::changed);
}

bool UdpLink::isOpen() const {
    return socket_.state() == QAbstractSocket::BoundState;
}

PortResult UdpLink::open() {
    if (isOpen()) {
        return {};
    }
    const QHostAddress group(address().host);
    const bool multicast = group.isMulticast();
    // A group is joined on a socket bound to all addresses; the group address itself is no
    // address of this machine on every system.
    const QHostAddress bound = address().host.isEmpty() || multicast
                                   ? QHostAddress(group.protocol() == QAbstractSocket::IPv6Protocol
                                                      ? QHostAddress::AnyIPv6
                                                      : QHostAddress::AnyIPv4)
                                   : group;
    if (!socket_.bind(bound, address().port,
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        const QString why = socket_.errorString();
        socket_.close();
        return PortError{SerialPort::kDeviceFailure,
                         QStringLiteral("cannot listen on %1: %2").arg(address().text(), why)};
    }
    if (multicast && !socket_.joinMulticastGroup(group)) {
        const QString why = socket_.errorString();
        socket_.close();
        return PortError{SerialPort::kDeviceFailure,
                         QStringLiteral("cannot join %1: %2").arg(address().text(), why)};
    }
    return {};
}

void UdpLink::close() {
    socket_.close();
    received_.clear();
    strangers_.reset();
}

QByteArray UdpLink::readAll() {
    return std::exchange(received_, {});
}

PortResult UdpLink::write(const QByteArray& bytes) {
    Q_UNUSED(bytes);
    return PortError{SerialPort::kNotSerialDevice,
                     QStringLiteral("%1 only receives; telegrams go by datagram through the UDP "
                                    "output")
                         .arg(address().text())};
}

ConnectionState UdpLink::state() const {
    ConnectionState state = ConnectionState::listening(address().text());
    state.note = strangers_.note();
    return state;
}

// Every datagram waiting is taken at once, so the system's buffer never fills while one is read;
// beyond the read buffer what comes is dropped whole, as a serial line's full buffer drops bytes.
void UdpLink::receive() {
    bool arrived = false;
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_.receiveDatagram();
        if (!strangers_.admit(datagram.senderAddress())) {
            continue;
        }
        const QByteArray data = datagram.data();
        if (readBuffer_ > 0 && received_.size() + data.size() > readBuffer_) {
            continue;
        }
        received_ += data;
        arrived = true;
    }
    if (arrived) {
        emit dataReceived();
    }
}
