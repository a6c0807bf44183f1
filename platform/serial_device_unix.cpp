#include "platform/serial_device.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace serial_device {

// Only a character device can be a terminal, and only the terminal itself tells whether it is
// one. Opened without becoming the controlling terminal and without waiting for a carrier.
bool isNotSerial(const QString& device) {
    const QByteArray path = QFile::encodeName(device);
    struct stat status {};
    if (::stat(path.constData(), &status) != 0) {
        return false;
    }
    if (!S_ISCHR(status.st_mode)) {
        return true;
    }
    const int descriptor = ::open(path.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool notTerminal = ::isatty(descriptor) == 0 && errno == ENOTTY;
    ::close(descriptor);
    return notTerminal;
}

// A terminal that has hung up answers no terminal call any more.
bool isRemoved(const QSerialPort& port) {
    termios settings{};
    return ::tcgetattr(port.handle(), &settings) != 0;
}

}  // namespace serial_device
