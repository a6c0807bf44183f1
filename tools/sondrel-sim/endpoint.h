#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>

// The simulator's end of a serial line: the master side of a new pseudo-terminal, whose slave
// path the program under test opens, or a real serial device given by path. Raw either way:
// bytes pass unchanged.
class Endpoint {
public:
    // A new pseudo-terminal; nullptr (with the reason on standard error) when none is free.
    static std::unique_ptr<Endpoint> openPty();
    // A serial device at the given baud rate (one of the standard rates).
    static std::unique_ptr<Endpoint> openDevice(const QString& path, int baudRate);

    ~Endpoint();
    Endpoint(const Endpoint&) = delete;
    Endpoint& operator=(const Endpoint&) = delete;

    // The path the program under test opens: the slave of the pseudo-terminal, or the device.
    QString path() const { return path_; }
    int fd() const { return fd_; }

    // A symbolic link at `link` to path(), replacing an older link there, so that a settings
    // store can map a port number to a path that stays the same from run to run. The link is
    // removed when the endpoint closes.
    bool linkAs(const QString& link);

    // Writes every byte; false when the line failed or a stop was requested meanwhile.
    bool write(QByteArrayView bytes);

private:
    Endpoint(int fd, int heldSlave, QString path) : fd_(fd), heldSlave_(heldSlave), path_(path) {}

    int fd_;
    // The simulator keeps the slave of its pseudo-terminal open as well, so that the program
    // under test closing and reopening it is no hang-up and loses nothing written meanwhile.
    int heldSlave_;
    QString path_;
    QString link_;
};
