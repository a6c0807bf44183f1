#pragma once

#include <QUdpSocket>
#include <memory>
#include <optional>

#include "endpoint.h"
#include "host_port.h"

// Datagrams instead of a stream. Reads take what arrives at the endpoint's own port, a
// datagram's bytes in order; writes go out to the destination, each as one datagram, as a
// device server sends on every piece the serial line delivered.
class UdpEndpoint final : public Endpoint {
public:
    // Sends to `destination` from a port of the system's choosing, where replies come to read.
    static std::unique_ptr<UdpEndpoint> sendTo(const HostPort& destination);
    // Takes what arrives at `own` (port 0: a free one); what is written goes nowhere, as no
    // destination is known.
    static std::unique_ptr<UdpEndpoint> bindTo(const HostPort& own);

    QString path() const override { return path_; }
    QString where() const override { return where_; }

    bool write(QByteArrayView bytes) override;
    std::int64_t read(char* data, std::int64_t size, std::chrono::milliseconds wait) override;

private:
    UdpEndpoint() = default;
    bool bind(const HostPort& own);

    QUdpSocket socket_;
    std::optional<HostPort> destination_;
    // What a read too small for the latest datagram left of it.
    QByteArray unread_;
    QString path_;
    QString where_;
};
