#pragma once

#include <QTcpSocket>
#include <memory>

#include "endpoint.h"

// The network side of a serial device server: one TCP connection at a time to the program under
// test. While there is none, what the simulator writes is lost, as a device server drops the
// serial line's bytes that nobody takes, and nothing comes to read. A connection the far end
// closes is no failure of the line: the next one carries on.
class TcpEndpoint : public Endpoint {
public:
    bool write(QByteArrayView bytes) final;
    std::int64_t read(char* data, std::int64_t size, std::chrono::milliseconds wait) final;

protected:
    // Looks for a connection newer than the one in use, or makes one while there is none,
    // waiting at most `wait` for it while there is none.
    virtual void seek(std::chrono::milliseconds wait) = 0;

    // Takes `connection` in place of the one in use, which is closed.
    void adopt(std::unique_ptr<QTcpSocket> connection);
    bool connected() const { return connection_ != nullptr; }

private:
    // Lets go of the connection once it has ended and everything that came on it has been read.
    void dropIfEnded();

    std::unique_ptr<QTcpSocket> connection_;
    QString peer_;
};
