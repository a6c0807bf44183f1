#include "tcp_endpoint.h"

#include <algorithm>
#include <iostream>

#include "host_port.h"
#include "run_control.h"

namespace {

using std::chrono::milliseconds;

// The longest one wait lasts, so that a stop request is seen.
constexpr milliseconds kStep(50);

// How much may wait for the far end before a write waits too, as a device server holds a
// little of the serial line: enough that writes never wait for the network's round trip, little
// enough that a reader that stops reading holds the instrument up, as on a serial line.
constexpr qint64 kMostQueued = 256 * 1024;

}  // namespace

bool TcpEndpoint::write(QByteArrayView bytes) {
    if (run_control::stopRequested()) {
        return false;
    }
    seek(milliseconds::zero());
    if (!connection_) {
        return true;
    }
    // Only a write that finds the queue full waits: one that waited for every piece to leave
    // would cap the rate at one piece per round trip.
    connection_->write(bytes.data(), bytes.size());
    connection_->flush();
    dropIfEnded();
    while (connection_ && connection_->bytesToWrite() > kMostQueued) {
        if (run_control::stopRequested()) {
            return false;
        }
        connection_->waitForBytesWritten(static_cast<int>(kStep.count()));
        dropIfEnded();
        seek(milliseconds::zero());
    }
    return true;
}

std::int64_t TcpEndpoint::read(char* data, std::int64_t size, milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<milliseconds>(until - std::chrono::steady_clock::now());
        const milliseconds step = std::clamp(left, milliseconds::zero(), kStep);
        seek(step);
        if (connection_ && connection_->bytesAvailable() == 0) {
            connection_->waitForReadyRead(static_cast<int>(step.count()));
        }
        if (connection_ && connection_->bytesAvailable() > 0) {
            return connection_->read(data, size);
        }
        dropIfEnded();
        if (run_control::stopRequested() || left <= milliseconds::zero()) {
            return 0;
        }
    }
}

void TcpEndpoint::adopt(std::unique_ptr<QTcpSocket> connection) {
    if (connection_) {
        std::cerr << "sondrel-sim: the connection with " << peer_.toStdString()
                  << " gives way to a newer one\n";
    }
    // The endpoint alone decides when the connection goes, not a server that made it.
    connection->setParent(nullptr);
    // Each piece goes out as the instrument wrote it, as a device server passes on what the
    // serial line delivered: held back to fill a packet, pieces would reach the reader merged.
    connection->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connection_ = std::move(connection);
    peer_ = HostPort{connection_->peerAddress(), connection_->peerPort()}.text();
    std::cerr << "sondrel-sim: connected with " << peer_.toStdString() << '\n';
}

void TcpEndpoint::dropIfEnded() {
    if (connection_ && connection_->state() != QAbstractSocket::ConnectedState &&
        connection_->bytesAvailable() == 0) {
        std::cerr << "sondrel-sim: the connection with " << peer_.toStdString() << " ended\n";
        connection_.reset();
    }
}
