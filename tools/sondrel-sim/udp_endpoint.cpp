#include "udp_endpoint.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "run_control.h"

namespace {

using std::chrono::milliseconds;

// The longest one wait lasts, so that a stop request is seen.
constexpr milliseconds kStep(50);
// The most one IPv4 datagram carries; a longer write goes out in datagrams of this size.
constexpr qsizetype kLargestDatagram = 65507;

}  // namespace

std::unique_ptr<UdpEndpoint> UdpEndpoint::sendTo(const HostPort& destination) {
    std::unique_ptr<UdpEndpoint> endpoint(new UdpEndpoint);
    if (!endpoint->bind({QHostAddress::Any, 0})) {
        return nullptr;
    }
    endpoint->destination_ = destination;
    endpoint->path_ = QStringLiteral("udp://:%1").arg(destination.port);
    endpoint->where_ = QStringLiteral("UDP datagrams to %1").arg(destination.text());
    return endpoint;
}

std::unique_ptr<UdpEndpoint> UdpEndpoint::bindTo(const HostPort& own) {
    std::unique_ptr<UdpEndpoint> endpoint(new UdpEndpoint);
    if (!endpoint->bind(own)) {
        return nullptr;
    }
    endpoint->path_ =
        HostPort{endpoint->socket_.localAddress(), endpoint->socket_.localPort()}.text();
    endpoint->where_ = QStringLiteral("UDP port %1").arg(endpoint->path_);
    return endpoint;
}

bool UdpEndpoint::bind(const HostPort& own) {
    if (!socket_.bind(own.address, own.port)) {
        std::cerr << "sondrel-sim: cannot bind UDP " << own.text().toStdString() << ": "
                  << socket_.errorString().toStdString() << '\n';
        return false;
    }
    return true;
}

bool UdpEndpoint::write(QByteArrayView bytes) {
    if (run_control::stopRequested()) {
        return false;
    }
    if (!destination_) {
        return true;
    }
    for (qsizetype at = 0; at < bytes.size(); at += kLargestDatagram) {
        const QByteArrayView piece =
            bytes.sliced(at, std::min(kLargestDatagram, bytes.size() - at));
        while (socket_.writeDatagram(piece.data(), piece.size(), destination_->address,
                                     destination_->port) < 0) {
            // A full send buffer empties by itself; anything else is the network's failure.
            if (socket_.error() != QAbstractSocket::TemporaryError) {
                std::cerr << "sondrel-sim: cannot send to " << destination_->text().toStdString()
                          << ": " << socket_.errorString().toStdString() << '\n';
                return false;
            }
            if (!run_control::pause(milliseconds(1))) {
                return false;
            }
        }
    }
    return true;
}

std::int64_t UdpEndpoint::read(char* data, std::int64_t size, milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    while (unread_.isEmpty()) {
        if (socket_.hasPendingDatagrams()) {
            unread_.resize(std::max<qint64>(socket_.pendingDatagramSize(), 0));
            const qint64 n = socket_.readDatagram(unread_.data(), unread_.size());
            if (n < 0) {
                std::cerr << "sondrel-sim: cannot receive: " << socket_.errorString().toStdString()
                          << '\n';
                return -1;
            }
            unread_.truncate(n);
            continue;
        }
        const auto left =
            std::chrono::duration_cast<milliseconds>(until - std::chrono::steady_clock::now());
        if (run_control::stopRequested() || left <= milliseconds::zero()) {
            return 0;
        }
        socket_.waitForReadyRead(static_cast<int>(std::min(left, kStep).count()));
    }
    const auto n = std::min<std::int64_t>(size, unread_.size());
    std::memcpy(data, unread_.constData(), static_cast<std::size_t>(n));
    unread_.remove(0, n);
    return n;
}
