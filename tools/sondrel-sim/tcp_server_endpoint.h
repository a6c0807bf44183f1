#pragma once

#include <QTcpServer>
#include <memory>

#include "tcp_endpoint.h"

// A device server that the program under test connects to, on a TCP port on all addresses. A
// newer connection takes the place of the one before, as the program reconnecting after a
// failure it noticed before the device server did would find it.
class TcpServerEndpoint final : public TcpEndpoint {
public:
    // Listening on `port` (0: a free one); nullptr, with the reason on standard error, when the
    // port cannot be had.
    static std::unique_ptr<TcpServerEndpoint> listen(quint16 port);

    QString path() const override;
    QString where() const override;

protected:
    void seek(std::chrono::milliseconds wait) override;

private:
    TcpServerEndpoint() = default;

    QTcpServer server_;
};
