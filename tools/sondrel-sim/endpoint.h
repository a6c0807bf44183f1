#pragma once

#include <QByteArrayView>
#include <QString>
#include <chrono>
#include <cstdint>

// The simulator's end of the line to the program under test: a serial line, or the network
// port of a serial device server. Raw either way: bytes pass unchanged.
class Endpoint {
public:
    Endpoint() = default;
    virtual ~Endpoint() = default;
    Endpoint(const Endpoint&) = delete;
    Endpoint& operator=(const Endpoint&) = delete;

    // What the program under test is given to reach the simulator: the path it opens, or the
    // link of its network port.
    virtual QString path() const = 0;
    // Where the simulator plays, in words for the person watching.
    virtual QString where() const = 0;

    // Writes every byte; false when the line failed or a stop was requested meanwhile.
    virtual bool write(QByteArrayView bytes) = 0;
    // Up to `size` bytes that have come, waiting for the first of them at most `wait`: the count,
    // 0 when none came, -1 when the line failed.
    virtual std::int64_t read(char* data, std::int64_t size, std::chrono::milliseconds wait) = 0;
};
