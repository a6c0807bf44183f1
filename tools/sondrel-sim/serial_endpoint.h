#pragma once

#include <memory>

#include "endpoint.h"

// The master side of a new pseudo-terminal, whose slave path the program under test opens, or
// a real serial device given by path. Pseudo-terminals and links are Linux's; Windows has the
// devices ("COM3").
class SerialEndpoint final : public Endpoint {
public:
    // A new pseudo-terminal; nullptr (with the reason on standard error) when none is free or the
    // system has none.
    static std::unique_ptr<SerialEndpoint> openPty();
    // A serial device at the given baud rate (one of the standard rates).
    static std::unique_ptr<SerialEndpoint> openDevice(const QString& path, int baudRate);

    ~SerialEndpoint() override;

    // The slave of the pseudo-terminal, or the device.
    QString path() const override { return path_; }
    QString where() const override { return path_; }

    // A symbolic link at `link` to path(), replacing an older link there, so that a settings
    // store can map a port number to a path that stays the same from run to run. The link is
    // removed when the endpoint closes.
    bool linkAs(const QString& link);

    bool write(QByteArrayView bytes) override;
    std::int64_t read(char* data, std::int64_t size, std::chrono::milliseconds wait) override;

private:
    // The line as the system knows it: a file descriptor on Linux, a HANDLE on Windows.
    using Handle = std::intptr_t;

    SerialEndpoint(Handle line, Handle heldSlave, QString path)
        : line_(line), heldSlave_(heldSlave), path_(path) {}

    Handle line_;
    // The simulator keeps the slave of its pseudo-terminal open as well, so that the program
    // under test closing and reopening it is no hang-up and loses nothing written meanwhile. -1
    // for a device.
    Handle heldSlave_;
    QString path_;
    QString link_;
};
