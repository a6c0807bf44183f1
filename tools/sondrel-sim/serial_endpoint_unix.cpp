#include "serial_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "run_control.h"

namespace {

speed_t toSpeed(int baudRate) {
    switch (baudRate) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

void complain(const char* what) {
    std::cerr << "sondrel-sim: " << what << ": " << std::strerror(errno) << '\n';
}

}  // namespace

std::unique_ptr<SerialEndpoint> SerialEndpoint::openPty() {
    termios raw{};
    cfmakeraw(&raw);
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, &raw, nullptr) != 0) {
        complain("no pseudo-terminal");
        return nullptr;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<SerialEndpoint>(
        new SerialEndpoint(master, slave, QString::fromLocal8Bit(ttyname(slave))));
}

std::unique_ptr<SerialEndpoint> SerialEndpoint::openDevice(const QString& path, int baudRate) {
    const speed_t speed = toSpeed(baudRate);
    if (speed == B0) {
        std::cerr << "sondrel-sim: unsupported baud rate " << baudRate << '\n';
        return nullptr;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        complain(QFile::encodeName(path).constData());
        return nullptr;
    }
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    cfsetspeed(&settings, speed);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) {
        complain("cannot configure the device");
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SerialEndpoint>(new SerialEndpoint(fd, -1, path));
}

SerialEndpoint::~SerialEndpoint() {
    if (!link_.isEmpty()) {
        QFile::remove(link_);
    }
    ::close(static_cast<int>(line_));
    if (heldSlave_ >= 0) {
        ::close(static_cast<int>(heldSlave_));
    }
}

bool SerialEndpoint::linkAs(const QString& link) {
    if (QFileInfo(link).isSymLink()) {
        QFile::remove(link);
    }
    if (!QFile::link(path_, link)) {
        std::cerr << "sondrel-sim: cannot create the link " << QFile::encodeName(link).constData()
                  << '\n';
        return false;
    }
    link_ = link;
    return true;
}

// Waits in short steps while the line cannot take more, so that a stop request is seen.
bool SerialEndpoint::write(QByteArrayView bytes) {
    const int fd = static_cast<int>(line_);
    qsizetype done = 0;
    while (done < bytes.size()) {
        if (run_control::stopRequested()) {
            return false;
        }
        const ssize_t n =
            ::write(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (n >= 0) {
            done += n;
            continue;
        }
        if (errno != EAGAIN && errno != EINTR) {
            complain("write");
            return false;
        }
        pollfd writable{fd, POLLOUT, 0};
        poll(&writable, 1, 100);
    }
    return true;
}

std::int64_t SerialEndpoint::read(char* data, std::int64_t size, std::chrono::milliseconds wait) {
    const int fd = static_cast<int>(line_);
    pollfd readable{fd, POLLIN, 0};
    poll(&readable, 1, static_cast<int>(wait.count()));
    const ssize_t n = ::read(fd, data, static_cast<size_t>(size));
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
        return -1;
    }
    return std::max<ssize_t>(n, 0);
}
