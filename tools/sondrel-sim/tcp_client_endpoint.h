#pragma once

#include <chrono>
#include <memory>

#include "host_port.h"
#include "tcp_endpoint.h"

// A device server that connects to the program under test, which listens: again about every
// 200 ms while the program refuses, and again once a connection has ended.
class TcpClientEndpoint final : public TcpEndpoint {
public:
    explicit TcpClientEndpoint(HostPort program) : program_(program) {}

    QString path() const override;
    QString where() const override;

protected:
    void seek(std::chrono::milliseconds wait) override;

private:
    // Lets the attempt in progress go on for at most `wait`, less once it has come to an end
    // either way.
    void pursue(std::chrono::milliseconds wait);

    const HostPort program_;
    std::unique_ptr<QTcpSocket> attempt_;
    std::chrono::steady_clock::time_point nextAttempt_;
};
